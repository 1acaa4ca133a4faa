#pragma once

#include "pgraphic/image/pg_exceptions.h"

#include <string>
#include <string_view>

// Raises a reader's or writer's failure: exception class E with the format's prefix ("PCX: ")
// in front of the table text.
template <typename E>
[[noreturn]] void RaiseFormatFailure(std::string_view Prefix, TPGLangStrId Id,
                                     TPGLangArg S1 = std::nullopt, TPGLangArg S2 = std::nullopt) {
    throw E(PGFormatMessage(Prefix, Id, S1, S2));
}

// The same with a text the message table does not hold (a library's own error text, "Unsupported
// compression LZW").
template <typename E>
[[noreturn]] void RaiseFormatFailure(std::string_view Prefix, std::string_view Text) {
    throw E(std::string(Prefix).append(Text));
}
