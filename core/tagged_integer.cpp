#include "core/tagged_integer.h"

#include <array>

namespace {

enum TValueTag : std::uint8_t { vaInt8 = 2, vaInt16 = 3, vaInt32 = 4 };

} // namespace

void WriteTaggedInteger(TStream& Stream, std::int32_t Value) {
    int Width = 4;
    TValueTag Tag = vaInt32;
    if (Value >= -128 && Value <= 127) {
        Width = 1;
        Tag = vaInt8;
    } else if (Value >= -32768 && Value <= 32767) {
        Width = 2;
        Tag = vaInt16;
    }
    std::array<std::uint8_t, 5> Bytes{Tag};
    const auto Bits = static_cast<std::uint32_t>(Value);
    for (int I = 0; I < Width; ++I) {
        Bytes[static_cast<std::size_t>(I) + 1] = static_cast<std::uint8_t>(Bits >> (8 * I));
    }
    Stream.WriteBuffer(Bytes.data(), Width + 1);
}

std::int32_t ReadTaggedInteger(TStream& Stream) {
    std::uint8_t Tag = 0;
    Stream.ReadBuffer(&Tag, 1);
    int Width = 0;
    switch (Tag) {
    case vaInt8:
        Width = 1;
        break;
    case vaInt16:
        Width = 2;
        break;
    case vaInt32:
        Width = 4;
        break;
    default:
        throw EReadError("Invalid property value");
    }
    std::array<std::uint8_t, 4> Bytes{};
    Stream.ReadBuffer(Bytes.data(), Width);
    std::uint32_t Bits = 0;
    for (int I = 0; I < Width; ++I) {
        Bits |= static_cast<std::uint32_t>(Bytes[static_cast<std::size_t>(I)]) << (8 * I);
    }
    // Sign-extend the narrower widths.
    const int Unused = 32 - 8 * Width;
    return static_cast<std::int32_t>(Bits << Unused) >> Unused;
}
