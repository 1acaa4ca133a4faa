#include "pgraphic/formats/buffered_input.h"

#include "core/stream.h"

#include <algorithm>
#include <cstring>

namespace {

// The first refill reads little, so that a header query reads little more than the header;
// each refill doubles the amount up to a size at which refills cost little next to decoding.
// A refill never asks for more than the stream holds.
constexpr std::size_t kFirstRefill = 1024;
constexpr std::size_t kCapacity = 64 * 1024;

} // namespace

TPGBufferedInput::TPGBufferedInput(TStream& Stream, const TPGFormatFailure& Failure)
    : FStream(Stream), FFailure(Failure),
      FStreamLeft(std::max<std::int64_t>(Stream.Size() - Stream.Position(), 0)) {}

bool TPGBufferedInput::FillBuffer() {
    if (FStreamLeft <= 0) {
        return false;
    }
    const std::size_t Size =
        FBuffer.empty() ? kFirstRefill : std::min(2 * FBuffer.size(), kCapacity);
    if (Size != FBuffer.size()) {
        FBuffer.resize(Size);
    }
    const auto Wanted = std::min<std::int64_t>(static_cast<std::int64_t>(Size), FStreamLeft);
    const std::int64_t Got = std::max<std::int64_t>(FStream.Read(FBuffer.data(), Wanted), 0);
    if (Got == 0) {
        FStreamLeft = 0;
        return false;
    }
    FStreamLeft -= Got;
    FNext = FBuffer.data();
    FLast = FNext + Got;
    return true;
}

void TPGBufferedInput::Refill() {
    if (!FillBuffer()) {
        FFailure.EndOfFile();
    }
}

void TPGBufferedInput::Read(void* Dest, std::size_t Count) {
    auto* Out = static_cast<std::uint8_t*>(Dest);
    const auto Buffered = static_cast<std::size_t>(FLast - FNext);
    const std::size_t First = std::min(Count, Buffered);
    if (First > 0) {
        std::memcpy(Out, FNext, First);
        FNext += First;
        Out += First;
        Count -= First;
    }
    if (Count == 0) {
        return;
    }
    if (Count >= std::max(FBuffer.size(), kFirstRefill)) {
        if (static_cast<std::int64_t>(Count) > FStreamLeft) {
            FFailure.EndOfFile();
        }
        const auto Wanted = static_cast<std::int64_t>(Count);
        const std::int64_t Got = FStream.Read(Out, Wanted);
        FStreamLeft -= std::max<std::int64_t>(Got, 0);
        if (Got != Wanted) {
            FStreamLeft = 0;
            FFailure.EndOfFile();
        }
        return;
    }
    Refill();
    while (Count > 0) {
        const std::size_t Part = std::min(Count, static_cast<std::size_t>(FLast - FNext));
        std::memcpy(Out, FNext, Part);
        FNext += Part;
        Out += Part;
        Count -= Part;
        if (Count > 0) {
            Refill();
        }
    }
}
