#pragma once

#include <string_view>

// The order of font family names (UTF-8) in every font list: without regard to the case of ASCII
// letters, which compare as lower case; names that differ only in that case in byte order, so
// that the order is total and a sort gives the same list however the families came. Other
// characters compare by their bytes, which is the order of their code points.
bool FontFamilyBefore(std::string_view A, std::string_view B);
