#pragma once

#include <string>
#include <string_view>

// Byte-wise text helpers for file formats whose keywords are ASCII. Bytes outside ASCII are
// compared and copied as they are, so text in any 8-bit or UTF-8 encoding passes unchanged.

// A and B equal when ASCII letters are compared without regard to case.
bool SameText(std::string_view A, std::string_view B);

// S begins with Prefix, compared exactly.
inline bool StartsWith(std::string_view S, std::string_view Prefix) {
    return S.substr(0, Prefix.size()) == Prefix;
}

// S with its ASCII letters in upper case.
std::string UpperCase(std::string_view S);

// S with its ASCII letters in lower case.
std::string LowerCase(std::string_view S);

// S without the spaces and tabs at either end.
std::string_view TrimBlanks(std::string_view S);
