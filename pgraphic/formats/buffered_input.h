#pragma once

#include "pgraphic/formats/format_failure.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class TStream;

// Reads a stream through a buffer for decoders that consume a few bytes at a time. The data
// ends where the stream ended when reading began; running past that end raises the format's own
// end-of-file failure.
class TPGBufferedInput {
public:
    TPGBufferedInput(TStream& Stream, const TPGFormatFailure& Failure);
    TPGBufferedInput(const TPGBufferedInput&) = delete;
    TPGBufferedInput& operator=(const TPGBufferedInput&) = delete;

    std::uint8_t ReadByte() {
        if (FNext == FLast) {
            Refill();
        }
        return *FNext++;
    }
    // The next byte, or false at the end of the data.
    bool TryReadByte(std::uint8_t& Value) {
        if (FNext == FLast && !FillBuffer()) {
            return false;
        }
        Value = *FNext++;
        return true;
    }
    // Exactly Count bytes; large reads bypass the buffer.
    void Read(void* Dest, std::size_t Count);
    // Bytes not read yet: those buffered and those the stream still holds.
    std::int64_t Remaining() const { return (FLast - FNext) + FStreamLeft; }

private:
    void Refill();
    bool FillBuffer();

    TStream& FStream;
    TPGFormatFailure FFailure;
    std::int64_t FStreamLeft;
    std::vector<std::uint8_t> FBuffer;
    const std::uint8_t* FNext = nullptr;
    const std::uint8_t* FLast = nullptr;
};
