#include "pgraphic/formats/buffered_input.h"
#include "pgraphic/formats/pnm/pnm_structures.h"

#include <limits>

namespace pnm {

bool VariantOf(std::uint8_t Digit, TVariant& Variant) {
    if (Digit < '1' || Digit > '6') {
        return false;
    }
    const int Kind = (Digit - '1') % 3;
    Variant.Digit = static_cast<char>(Digit);
    Variant.Raw = Digit >= '4';
    Variant.Samples = Kind == 2 ? 3 : 1;
    Variant.Format = Kind == 0 ? bc1 : Kind == 1 ? bc8 : bc24;
    return true;
}

namespace {

bool IsDigit(std::uint8_t C) {
    return C >= '0' && C <= '9';
}

} // namespace

std::uint64_t ReadNumber(TPGBufferedInput& Input) {
    std::uint8_t C = Input.ReadByte();
    while (!IsDigit(C)) {
        if (C == '#') {
            while (Input.ReadByte() != '\n') {
            }
        }
        C = Input.ReadByte();
    }
    std::uint64_t Value = 0;
    do {
        Value = Value * 10 + (C - '0');
        if (Value >= kNumberTooLarge) {
            Value = kNumberTooLarge; // saturates; the rest of the digits are still consumed
        }
    } while (Input.TryReadByte(C) && IsDigit(C));
    return Value;
}

int ReadHeaderNumber(TPGBufferedInput& Input) {
    const std::uint64_t Value = ReadNumber(Input);
    if (Value > static_cast<std::uint64_t>(std::numeric_limits<int>::max())) {
        FailRead(TPGLangStrId::NotSupportedSubformat);
    }
    return static_cast<int>(Value);
}

TVariant ReadMagic(TPGBufferedInput& Input) {
    if (Input.ReadByte() != 'P') {
        FailRead(TPGLangStrId::NotAFile, "PBM, PGM, PPM");
    }
    TVariant Variant;
    if (!VariantOf(Input.ReadByte(), Variant)) {
        FailRead(TPGLangStrId::UnknownSubformat);
    }
    return Variant;
}

} // namespace pnm
