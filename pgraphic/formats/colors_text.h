#pragma once

#include <string>

// The number of colours of Bits bits per pixel as the information query shows it: 2 to the
// power of Bits in decimal ("2", "256", "65536"); beyond 63 bits, "2^" and the exponent.
std::string PowerOfTwoText(int Bits);
