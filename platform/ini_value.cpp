#include "platform/ini_value.h"

#include <cstdint>

namespace {

int HexDigit(char C) {
    if (C >= '0' && C <= '9') {
        return C - '0';
    }
    if (C >= 'a' && C <= 'f') {
        return C - 'a' + 10;
    }
    if (C >= 'A' && C <= 'F') {
        return C - 'A' + 10;
    }
    return -1;
}

bool ParseHex(std::string_view Digits, int& Value) {
    if (Digits.empty()) {
        return false;
    }
    std::uint64_t Result = 0;
    for (const char C : Digits) {
        const int Digit = HexDigit(C);
        if (Digit < 0) {
            return false;
        }
        Result = Result * 16 + static_cast<std::uint64_t>(Digit);
        if (Result > 0xFFFFFFFFu) {
            return false;
        }
    }
    Value = static_cast<int>(static_cast<std::uint32_t>(Result));
    return true;
}

bool ParseDecimal(std::string_view Text, int& Value) {
    bool Negative = false;
    if (!Text.empty() && (Text.front() == '-' || Text.front() == '+')) {
        Negative = Text.front() == '-';
        Text.remove_prefix(1);
    }
    if (Text.empty()) {
        return false;
    }
    std::int64_t Result = 0;
    for (const char C : Text) {
        if (C < '0' || C > '9') {
            return false;
        }
        Result = Result * 10 + (C - '0');
        if (Result > 0x80000000LL) {
            return false;
        }
    }
    if (Negative) {
        Result = -Result;
    }
    if (Result > 0x7FFFFFFFLL) {
        return false;
    }
    Value = static_cast<int>(Result);
    return true;
}

} // namespace

int IniStrToInt(std::string_view Text, int Default) {
    int Value = Default;
    bool Ok = false;
    if (!Text.empty() && Text.front() == '$') {
        Ok = ParseHex(Text.substr(1), Value);
    } else if (Text.size() > 2 && Text[0] == '0' && (Text[1] == 'x' || Text[1] == 'X')) {
        Ok = ParseHex(Text.substr(2), Value);
    } else {
        Ok = ParseDecimal(Text, Value);
    }
    return Ok ? Value : Default;
}
