#include "platform/font_family_order.h"

#include <algorithm>

namespace {

unsigned char FoldedByte(char C) {
    const auto Byte = static_cast<unsigned char>(C);
    return Byte >= 'A' && Byte <= 'Z' ? static_cast<unsigned char>(Byte - 'A' + 'a') : Byte;
}

bool FoldedLess(char X, char Y) {
    return FoldedByte(X) < FoldedByte(Y);
}

} // namespace

bool FontFamilyBefore(std::string_view A, std::string_view B) {
    if (std::lexicographical_compare(A.begin(), A.end(), B.begin(), B.end(), FoldedLess)) {
        return true;
    }
    if (std::lexicographical_compare(B.begin(), B.end(), A.begin(), A.end(), FoldedLess)) {
        return false;
    }
    return A < B;
}
