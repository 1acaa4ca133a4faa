#pragma once

#include <cstdint>

// The system's colours. A colour value (0x00BBGGRR, red in the low byte) that is negative names
// a system colour by the index in its low byte (0x80000000 + index); these resolve to the
// colours of the classic Windows scheme, the same on every desktop, so that a logo looks the
// same wherever it is made.

// Color with a system colour resolved to its RGB value; other values are returned as they are.
// An index the system does not know resolves to black.
std::int32_t ColorToRGB(std::int32_t Color);
