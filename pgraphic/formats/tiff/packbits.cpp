#include "pgraphic/formats/tiff/packbits.h"

#include "core/stream.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace tiff {

namespace {

constexpr std::size_t kMaxChunk = 128;
constexpr std::size_t kWindowSize = 4096;

std::size_t EmitLiteral(const std::uint8_t* Source, std::size_t Count, std::uint8_t* Dest) {
    std::uint8_t* Out = Dest;
    while (Count > 0) {
        const std::size_t Chunk = std::min(Count, kMaxChunk);
        *Out++ = static_cast<std::uint8_t>(Chunk - 1);
        std::memcpy(Out, Source, Chunk);
        Out += Chunk;
        Source += Chunk;
        Count -= Chunk;
    }
    return static_cast<std::size_t>(Out - Dest);
}

// A repeat of 1 - n; a last chunk of one byte comes out as control 0, which decodes the same.
std::size_t EmitRepeat(std::uint8_t Value, std::size_t Count, std::uint8_t* Dest) {
    std::uint8_t* Out = Dest;
    while (Count > 0) {
        const std::size_t Chunk = std::min(Count, kMaxChunk);
        *Out++ = static_cast<std::uint8_t>(1 - static_cast<int>(Chunk));
        *Out++ = Value;
        Count -= Chunk;
    }
    return static_cast<std::size_t>(Out - Dest);
}

std::size_t RunLength(const std::uint8_t* Row, std::size_t From, std::size_t Length) {
    std::size_t End = From + 1;
    while (End < Length && Row[End] == Row[From]) {
        ++End;
    }
    return End - From;
}

// The first position at or after From where three equal bytes begin; Length if none does.
// Little-endian hosts test eight positions at a time.
std::size_t FindTriple(const std::uint8_t* Row, std::size_t From, std::size_t Length) {
    std::size_t I = From;
    if constexpr (std::endian::native == std::endian::little) {
        constexpr std::uint64_t Ones = 0x0101010101010101u, Highs = 0x8080808080808080u;
        for (; I + 10 <= Length; I += 8) {
            std::uint64_t X, Y, Z;
            std::memcpy(&X, Row + I, 8);
            std::memcpy(&Y, Row + I + 1, 8);
            std::memcpy(&Z, Row + I + 2, 8);
            // A zero byte k of T: the bytes at I + k, I + k + 1 and I + k + 2 are equal.
            const std::uint64_t T = (X ^ Y) | (Y ^ Z);
            const std::uint64_t Zero = (T - Ones) & ~T & Highs;
            if (Zero != 0) {
                return I + static_cast<std::size_t>(std::countr_zero(Zero) >> 3);
            }
        }
    }
    for (; I + 2 < Length; ++I) {
        if (Row[I] == Row[I + 1] && Row[I + 1] == Row[I + 2]) {
            return I;
        }
    }
    return Length;
}

} // namespace

// One pass over the runs of the row. Pairs that follow a repeat (or begin the row) wait: the
// next single byte turns them into the start of a literal, the next run of three or more keeps
// them as repeats. A literal goes on over single bytes and pairs up to the next run of three.
std::size_t PackBitsEncode(const std::uint8_t* Row, std::size_t Length, std::uint8_t* Dest) {
    std::uint8_t* Out = Dest;
    std::size_t Pairs = 0; // start of the waiting pairs, which end at I
    const auto EmitPairs = [&](std::size_t End) {
        for (std::size_t P = Pairs; P < End; P += 2) {
            Out += EmitRepeat(Row[P], 2, Out);
        }
    };
    std::size_t I = 0;
    while (I < Length) {
        const std::size_t Run = RunLength(Row, I, Length);
        if (Run == 2) {
            I += 2;
            continue;
        }
        if (Run >= 3) {
            EmitPairs(I);
            Out += EmitRepeat(Row[I], Run, Out);
            I += Run;
        } else {
            const std::size_t End = FindTriple(Row, I, Length);
            Out += EmitLiteral(Row + Pairs, End - Pairs, Out);
            I = End;
        }
        Pairs = I;
    }
    EmitPairs(Length);
    return static_cast<std::size_t>(Out - Dest);
}

TPackBitsDecoder::TPackBitsDecoder(TStream& Stream)
    : FStream(Stream), FSize(Stream.Size()), FWindow(kWindowSize) {}

void TPackBitsDecoder::Load() {
    const std::int64_t Length =
        std::min<std::int64_t>(static_cast<std::int64_t>(kWindowSize), FSize - FPosition);
    if (FPosition < 0 || Length <= 0) {
        throw EReadError();
    }
    FStream.SetPosition(FPosition);
    FStream.ReadBuffer(FWindow.data(), Length);
    FWindowStart = FPosition;
    FWindowLength = Length;
}

void TPackBitsDecoder::CopyBytes(std::uint8_t* Dest, std::size_t Count) {
    while (Count > 0) {
        if (FPosition < FWindowStart || FPosition >= FWindowStart + FWindowLength) {
            Load();
        }
        const auto Offset = static_cast<std::size_t>(FPosition - FWindowStart);
        const std::size_t Chunk = std::min(Count, static_cast<std::size_t>(FWindowLength) - Offset);
        std::memcpy(Dest, FWindow.data() + Offset, Chunk);
        Dest += Chunk;
        Count -= Chunk;
        FPosition += static_cast<std::int64_t>(Chunk);
    }
}

bool TPackBitsDecoder::DecodeRow(std::uint8_t* Row, std::size_t Length) {
    std::size_t Done = 0;
    while (Done < Length) {
        const auto Control = static_cast<std::int8_t>(NextByte());
        if (Control >= 0) {
            const auto Count = static_cast<std::size_t>(Control) + 1;
            if (Count > Length - Done) {
                return false;
            }
            CopyBytes(Row + Done, Count);
            Done += Count;
        } else if (Control != -128) {
            const auto Count = static_cast<std::size_t>(1 - Control);
            if (Count > Length - Done) {
                return false;
            }
            std::memset(Row + Done, NextByte(), Count);
            Done += Count;
        }
    }
    return true;
}

} // namespace tiff
