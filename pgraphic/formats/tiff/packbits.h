#pragma once

// PackBits, the byte-oriented run-length scheme of TIFF: a signed control byte n followed by
// n + 1 literal bytes (0 <= n <= 127) or by one byte repeated 1 - n times (-127 <= n <= -1);
// -128 does nothing.

#include <cstddef>
#include <cstdint>
#include <vector>

class TStream;

namespace tiff {

// Largest encoding of Length bytes: no chunk emits more than two bytes per byte it covers.
constexpr std::size_t PackBitsMaxSize(std::size_t Length) {
    return 2 * Length;
}

// Encodes one row into Dest (room for PackBitsMaxSize(Length) bytes); returns the bytes written.
// Runs of three or more equal bytes are repeats, single bytes literals; a pair of equal bytes
// joins the literal next to it and is a repeat only between repeats.
std::size_t PackBitsEncode(const std::uint8_t* Row, std::size_t Length, std::uint8_t* Dest);

// Decodes rows from a stream through a 4096-byte window that is reloaded wherever the next byte
// lies outside it. Reading past the end of the stream raises the stream read error.
class TPackBitsDecoder {
public:
    explicit TPackBitsDecoder(TStream& Stream);

    // The stream position the next control byte is read from.
    void SetPosition(std::int64_t Position) { FPosition = Position; }
    std::int64_t Position() const { return FPosition; }
    // Fills Row with Length decoded bytes; false when a run or literal would go beyond them.
    bool DecodeRow(std::uint8_t* Row, std::size_t Length);

private:
    std::uint8_t NextByte() {
        if (FPosition < FWindowStart || FPosition >= FWindowStart + FWindowLength) {
            Load();
        }
        return FWindow[static_cast<std::size_t>(FPosition++ - FWindowStart)];
    }
    void CopyBytes(std::uint8_t* Dest, std::size_t Count);
    void Load();

    TStream& FStream;
    std::int64_t FSize;
    std::vector<std::uint8_t> FWindow;
    std::int64_t FWindowStart = 0;
    std::int64_t FWindowLength = 0;
    std::int64_t FPosition = 0;
};

} // namespace tiff
