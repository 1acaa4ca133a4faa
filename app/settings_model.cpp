#include "app/settings_model.h"

#include "core/set_if_changed.h"

#include <algorithm>
#include <stdexcept>
#include <string>

TLogoValues DefaultLogoValues(int Logo) {
    TLogoValues V;
    V.FontName = "Arial";
    V.Font = "Arial";
    V.Size = 18;
    V.Position = 1;
    V.Effect = 1;
    V.Background = 0;
    if (Logo == 1) {
        V.TextColor = RGB(0, 255, 0);
        V.ShadowColor = RGB(0, 0, 0);
        V.Color1 = RGB(0, 128, 128);
        V.Color2 = RGB(0, 128, 128);
        V.Color3 = RGB(0, 128, 0);
        V.Line = "You can put your own text and colors here";
    } else {
        V.TextColor = RGB(255, 255, 0);
        V.ShadowColor = RGB(128, 0, 0);
        V.Color1 = RGB(0, 0, 0);
        V.Color2 = RGB(0, 0, 128);
        V.Color3 = RGB(0, 0, 0);
        V.Line = "And here too. See the help file to find out how";
    }
    return V;
}

int ClampChoice(int Index) {
    return std::clamp(Index, -1, 2);
}

namespace {

void CheckLogo(int Logo) {
    if (Logo != 1 && Logo != 2) {
        throw std::out_of_range("logo " + std::to_string(Logo));
    }
}

} // namespace

const TLogoValues& TSettingsModel::Logo(int Logo) const {
    CheckLogo(Logo);
    return Logo == 1 ? FFirst : FLast;
}

TLogoValues& TSettingsModel::LogoValues(int Logo) {
    CheckLogo(Logo);
    return Logo == 1 ? FFirst : FLast;
}

template <typename T>
bool TSettingsModel::Assign(T& Field, const T& Value, int Logo, TSetting Setting) {
    return SetIfChanged(Field, Value, [&] {
        if (OnChange) {
            OnChange(this, TSettingChange{Logo, Setting});
        }
    });
}

bool TSettingsModel::SetTextFile(const std::string& Value) {
    return Assign(FTextFile, Value, 0, TSetting::TextFile);
}

bool TSettingsModel::SetOnlyOne(int Value) {
    return Assign(FOnlyOne, Value, 0, TSetting::OnlyOne);
}

bool TSettingsModel::SetOnlyFirst(bool Value) {
    return Assign(FOnlyFirst, Value, 0, TSetting::OnlyFirst);
}

bool TSettingsModel::SetOnlyLast(bool Value) {
    return Assign(FOnlyLast, Value, 0, TSetting::OnlyLast);
}

bool TSettingsModel::SetFontName(int Logo, const std::string& Value) {
    return Assign(LogoValues(Logo).FontName, Value, Logo, TSetting::FontName);
}

bool TSettingsModel::SetFont(int Logo, const std::string& Value) {
    return Assign(LogoValues(Logo).Font, Value, Logo, TSetting::Font);
}

bool TSettingsModel::SetSize(int Logo, int Value) {
    const int Size = std::clamp(Value, TLogoValues::kMinFontSize, TLogoValues::kMaxFontSize);
    return Assign(LogoValues(Logo).Size, Size, Logo, TSetting::Size);
}

bool TSettingsModel::SetPosition(int Logo, int Value) {
    return Assign(LogoValues(Logo).Position, ClampChoice(Value), Logo, TSetting::Position);
}

bool TSettingsModel::SetTextColor(int Logo, TColor Value) {
    return Assign(LogoValues(Logo).TextColor, Value, Logo, TSetting::TextColor);
}

bool TSettingsModel::SetShadowColor(int Logo, TColor Value) {
    return Assign(LogoValues(Logo).ShadowColor, Value, Logo, TSetting::ShadowColor);
}

bool TSettingsModel::SetEffect(int Logo, int Value) {
    return Assign(LogoValues(Logo).Effect, ClampChoice(Value), Logo, TSetting::Effect);
}

bool TSettingsModel::SetBold(int Logo, bool Value) {
    return Assign(LogoValues(Logo).Bold, Value, Logo, TSetting::Bold);
}

bool TSettingsModel::SetItalic(int Logo, bool Value) {
    return Assign(LogoValues(Logo).Italic, Value, Logo, TSetting::Italic);
}

bool TSettingsModel::SetColor1(int Logo, TColor Value) {
    return Assign(LogoValues(Logo).Color1, Value, Logo, TSetting::Color1);
}

bool TSettingsModel::SetColor2(int Logo, TColor Value) {
    return Assign(LogoValues(Logo).Color2, Value, Logo, TSetting::Color2);
}

bool TSettingsModel::SetColor3(int Logo, TColor Value) {
    return Assign(LogoValues(Logo).Color3, Value, Logo, TSetting::Color3);
}

bool TSettingsModel::SetBitmap(int Logo, const std::string& Value) {
    return Assign(LogoValues(Logo).Bitmap, Value, Logo, TSetting::Bitmap);
}

bool TSettingsModel::SetBackground(int Logo, int Value) {
    return Assign(LogoValues(Logo).Background, ClampChoice(Value), Logo, TSetting::Background);
}

bool TSettingsModel::SetLine(int Logo, const std::string& Value) {
    return Assign(LogoValues(Logo).Line, Value, Logo, TSetting::Line);
}
