#pragma once

#include <string_view>

// The integer that a settings-file value stands for: signed decimal, "$" followed by hexadecimal
// digits, or "0x"/"0X" followed by hexadecimal digits (so longer than two characters). A
// hexadecimal value is a 32-bit pattern (up to 8 significant digits; "$FFFFFFFF" is -1), a
// decimal one must lie within the 32-bit signed range. Anything else, blanks included, gives
// Default.
int IniStrToInt(std::string_view Text, int Default);
