#pragma once

#include "pgraphic/image/pg_exceptions.h"

#include <exception>
#include <string>
#include <string_view>

// How a reader or writer raises its failures: one exception class, and the format's prefix
// ("PCX: ") in front of every message. Each format declares its own in its private header:
//
//     inline constexpr TPGFormatFailure Fail{"PCX: ", PGFailureOf<EPGPCXFileFormatReader>};
//
// and raises with Fail(TPGLangStrId::Invalid, "Index"), Fail("a text of its own") or
// Fail.EndOfFile().
class TPGFormatFailure {
public:
    // Makes the exception of the format's class with the whole message.
    using TMakeFailure = std::exception_ptr (*)(std::string Message);

    constexpr TPGFormatFailure(std::string_view Prefix, TMakeFailure Make)
        : FPrefix(Prefix), FMake(Make) {}

    // The table text with its placeholders filled.
    [[noreturn]] void operator()(TPGLangStrId Id, TPGLangArg S1 = std::nullopt,
                                 TPGLangArg S2 = std::nullopt) const;
    // A text the message table does not hold (a library's own error text, "Unsupported
    // compression LZW").
    [[noreturn]] void operator()(std::string_view Text) const;
    // The data ended before the file's structures did.
    [[noreturn]] void EndOfFile() const;

    // The same failure under another prefix ("TIFF (PackBits): "); Prefix must outlive the
    // call.
    constexpr TPGFormatFailure WithPrefix(std::string_view Prefix) const { return {Prefix, FMake}; }

private:
    std::string_view FPrefix;
    TMakeFailure FMake;
};

template <typename E>
std::exception_ptr PGFailureOf(std::string Message) {
    return std::make_exception_ptr(E(std::move(Message)));
}
