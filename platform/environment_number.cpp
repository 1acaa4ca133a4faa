#include "platform/environment_number.h"

#include <charconv>
#include <cstdlib>
#include <cstring>

std::optional<long long> EnvironmentNumber(const char* Name) {
    const char* Text = std::getenv(Name);
    if (Text == nullptr) {
        return std::nullopt;
    }
    long long Value = 0;
    const char* End = Text + std::strlen(Text);
    const auto [Stop, Error] = std::from_chars(Text, End, Value);
    if (Error != std::errc() || Stop != End) {
        return std::nullopt;
    }
    return Value;
}
