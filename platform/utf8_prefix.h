#pragma once

#include <cstddef>
#include <string_view>

// The longest start of S of at most MaxBytes bytes that does not end inside a UTF-8 sequence, so
// that text cut to a size stays valid text. Bytes that are not UTF-8 are cut anywhere.
std::string_view Utf8Prefix(std::string_view S, std::size_t MaxBytes);
