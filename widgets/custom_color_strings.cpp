#include "widgets/custom_color_strings.h"

#include <charconv>
#include <cstdint>
#include <cstdio>

namespace {

constexpr TColor kUnparsedColor = 0xFFFFFF;

TColor ParseHexColor(std::string_view Text) {
    std::uint32_t Value = 0;
    const char* End = Text.data() + Text.size();
    const auto [Stop, Error] = std::from_chars(Text.data(), End, Value, 16);
    if (Text.empty() || Error != std::errc() || Stop != End) {
        return kUnparsedColor;
    }
    return static_cast<TColor>(Value);
}

} // namespace

TColorArrayClass WhiteCustomColors() {
    TColorArrayClass Colors(kCustomColorColumns, kCustomColorRows);
    for (int C = 1; C <= kCustomColorColumns; ++C) {
        for (int R = 1; R <= kCustomColorRows; ++R) {
            Colors.SetColors(C, R, RGB(255, 255, 255));
        }
    }
    return Colors;
}

std::vector<std::string> CustomColorStrings(const TColorArrayClass& Colors) {
    std::vector<std::string> Result;
    Result.reserve(kCustomColorCount);
    for (int K = 0; K < kCustomColorCount; ++K) {
        const TColor Color =
            Colors.Colors(K % kCustomColorColumns + 1, K / kCustomColorColumns + 1);
        char Text[32];
        std::snprintf(Text, sizeof Text, "Color%c=%08X", 'A' + K,
                      static_cast<std::uint32_t>(Color));
        Result.emplace_back(Text);
    }
    return Result;
}

std::optional<TCustomColor> ParseCustomColorString(std::string_view Text) {
    const auto Equals = Text.find('=');
    if (Equals == std::string_view::npos || Equals == 0) {
        return std::nullopt;
    }
    const int K = Text[Equals - 1] - 'A';
    if (K < 0 || K >= kCustomColorCount) {
        return std::nullopt;
    }
    return TCustomColor{K % kCustomColorColumns + 1, K / kCustomColorColumns + 1,
                        ParseHexColor(Text.substr(Equals + 1))};
}

void ReadCustomColorStrings(const std::vector<std::string>& Strings, TColorArrayClass& Colors) {
    for (const std::string& Text : Strings) {
        if (const auto Parsed = ParseCustomColorString(Text)) {
            Colors.SetColors(Parsed->Column, Parsed->Row, Parsed->Color);
        }
    }
}
