#include "pgraphic/formats/colors_text.h"

#include <cstdint>

std::string PowerOfTwoText(int Bits) {
    if (Bits < 0) {
        return "0";
    }
    if (Bits > 63) {
        return "2^" + std::to_string(Bits);
    }
    return std::to_string(std::uint64_t{1} << Bits);
}
