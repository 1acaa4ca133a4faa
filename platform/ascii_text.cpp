#include "platform/ascii_text.h"

namespace {

char AsciiUpper(char C) {
    return C >= 'a' && C <= 'z' ? static_cast<char>(C - 'a' + 'A') : C;
}

bool IsBlank(char C) {
    return C == ' ' || C == '\t';
}

} // namespace

bool SameText(std::string_view A, std::string_view B) {
    if (A.size() != B.size()) {
        return false;
    }
    for (std::size_t I = 0; I < A.size(); ++I) {
        if (AsciiUpper(A[I]) != AsciiUpper(B[I])) {
            return false;
        }
    }
    return true;
}

std::string UpperCase(std::string_view S) {
    std::string Result(S);
    for (char& C : Result) {
        C = AsciiUpper(C);
    }
    return Result;
}

std::string LowerCase(std::string_view S) {
    std::string Result(S);
    for (char& C : Result) {
        C = C >= 'A' && C <= 'Z' ? static_cast<char>(C - 'A' + 'a') : C;
    }
    return Result;
}

std::string_view TrimBlanks(std::string_view S) {
    while (!S.empty() && IsBlank(S.front())) {
        S.remove_prefix(1);
    }
    while (!S.empty() && IsBlank(S.back())) {
        S.remove_suffix(1);
    }
    return S;
}
