#include "platform/utf8_prefix.h"

std::string_view Utf8Prefix(std::string_view S, std::size_t MaxBytes) {
    if (S.size() <= MaxBytes) {
        return S;
    }
    std::size_t Cut = MaxBytes;
    const auto Byte = [&S](std::size_t I) { return static_cast<unsigned char>(S[I]); };
    if ((Byte(Cut) & 0xC0) == 0x80) {
        // The cut falls on a continuation byte: drop the incomplete sequence before it.
        std::size_t I = Cut;
        while (I > 0 && Cut - I < 3 && (Byte(I - 1) & 0xC0) == 0x80) {
            --I;
        }
        if (I > 0 && Byte(I - 1) >= 0xC0) {
            Cut = I - 1;
        }
    }
    return S.substr(0, Cut);
}
