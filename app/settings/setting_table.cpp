#include "app/settings/setting_table.h"

#include "core/set_if_changed.h"

#include <algorithm>
#include <array>
#include <stdexcept>
#include <type_traits>

namespace {

using S = TSetting;
using R = TRecompute;
using G = TGeneralValues;
using L = TLogoValues;

// The index range of a group of three choices as the group takes it.
constexpr int kNoChoice = -1;
constexpr int kLastChoice = 2;

constexpr std::array kGeneralRows{
    TGeneralSettingRow{S::TextFile, "TextFile", &G::TextFile, R::Nothing},
    TGeneralSettingRow{S::OnlyOne, "Only One", &G::OnlyOne, R::Nothing},
    TGeneralSettingRow{S::PreviewAsInstalled, "AsInstalled", &G::PreviewAsInstalled, R::Previews},
};

// "Font" names a font that may not be installed: it is read into FontName, from which start-up
// selects Font, and Font is what is saved. The picture's path changes with the picture dialog,
// which rebuilds the background however it ends.
constexpr std::array kLogoRows{
    TLogoSettingRow{S::FontName, "Font", &L::FontName, R::Nothing},
    TLogoSettingRow{S::Font, "Font", &L::Font, R::Logo},
    TLogoSettingRow{S::Size, "Size", &L::Size, R::Logo, L::kMinFontSize, L::kMaxFontSize},
    TLogoSettingRow{S::Position, "Position", &L::Position, R::Logo, kNoChoice, kLastChoice},
    TLogoSettingRow{S::TextColor, "TextColor", &L::TextColor, R::Logo},
    TLogoSettingRow{S::ShadowColor, "ShadowColor", &L::ShadowColor, R::Logo},
    TLogoSettingRow{S::Effect, "Effect", &L::Effect, R::Logo, kNoChoice, kLastChoice},
    TLogoSettingRow{S::Bold, "Bold", &L::Bold, R::Logo},
    TLogoSettingRow{S::Italic, "Italic", &L::Italic, R::Logo},
    TLogoSettingRow{S::SingleColor, "Color1", &L::SingleColor, R::Background},
    TLogoSettingRow{S::GradientTop, "Color2", &L::GradientTop, R::Background},
    TLogoSettingRow{S::GradientBottom, "Color3", &L::GradientBottom, R::Background},
    TLogoSettingRow{S::Bitmap, "Bitmap", &L::Bitmap, R::Nothing},
    TLogoSettingRow{S::Background, "Background", &L::Background, R::Background, kNoChoice,
                    kLastChoice},
    TLogoSettingRow{S::Line, "Line", &L::Line, R::DefaultTexts},
    // Saved as the general "Only One".
    TLogoSettingRow{S::Only, nullptr, &L::Only, R::BothBackgrounds},
};

constexpr std::array kGeneralLoadOrder{S::TextFile, S::OnlyOne};
constexpr std::array kOwnSettingsOrder{S::PreviewAsInstalled};

// The two logo sections read the shadow colour at different places.
constexpr std::array kFirstLogoLoadOrder{
    S::FontName,       S::Size,   S::Position,   S::TextColor,   S::ShadowColor,
    S::Effect,         S::Bold,   S::Italic,     S::SingleColor, S::GradientTop,
    S::GradientBottom, S::Bitmap, S::Background, S::Line,
};
constexpr std::array kLastLogoLoadOrder{
    S::FontName,       S::Size,   S::Position,    S::TextColor,   S::Effect,
    S::Bold,           S::Italic, S::ShadowColor, S::SingleColor, S::GradientTop,
    S::GradientBottom, S::Bitmap, S::Background,  S::Line,
};
constexpr std::array kLogoSaveOrder{
    S::Font,           S::Size,       S::Position, S::TextColor,   S::ShadowColor,
    S::Effect,         S::Bold,       S::Italic,   S::SingleColor, S::GradientTop,
    S::GradientBottom, S::Background, S::Bitmap,   S::Line,
};

template <typename TRows>
const typename TRows::value_type* FindRow(const TRows& Rows, TSetting Setting) {
    const auto Found = std::find_if(Rows.begin(), Rows.end(),
                                    [Setting](const auto& Row) { return Row.Setting == Setting; });
    return Found != Rows.end() ? &*Found : nullptr;
}

template <typename T>
constexpr bool kIsChoice = std::is_enum_v<T>;

} // namespace

const TLogoValues& DefaultLogoValues(TLogo Logo) {
    static const TPerLogo<TLogoValues> kDefaults{{
        TLogoValues{.FontName = "Arial",
                    .Font = "Arial",
                    .Size = 18,
                    .Position = TTextPosition::Middle,
                    .TextColor = RGB(0, 255, 0),
                    .ShadowColor = RGB(0, 0, 0),
                    .Effect = TTextEffect::Shadow,
                    .SingleColor = RGB(0, 128, 128),
                    .GradientTop = RGB(0, 128, 128),
                    .GradientBottom = RGB(0, 128, 0),
                    .Background = TBackgroundKind::Single,
                    .Line = "You can put your own text and colors here"},
        TLogoValues{.FontName = "Arial",
                    .Font = "Arial",
                    .Size = 18,
                    .Position = TTextPosition::Middle,
                    .TextColor = RGB(255, 255, 0),
                    .ShadowColor = RGB(128, 0, 0),
                    .Effect = TTextEffect::Shadow,
                    .SingleColor = RGB(0, 0, 0),
                    .GradientTop = RGB(0, 0, 128),
                    .GradientBottom = RGB(0, 0, 0),
                    .Background = TBackgroundKind::Single,
                    .Line = "And here too. See the help file to find out how"},
    }};
    return kDefaults[Logo];
}

const TGeneralSettingRow* GeneralSettingRow(TSetting Setting) {
    return FindRow(kGeneralRows, Setting);
}

const TLogoSettingRow* LogoSettingRow(TSetting Setting) {
    return FindRow(kLogoRows, Setting);
}

template <typename TValues>
TSettingValue ValueOf(const TValues& Values, const TSettingRow<TValues>& Row) {
    return std::visit(
        [&](auto Member) -> TSettingValue {
            const auto& Field = Values.*Member;
            if constexpr (kIsChoice<std::remove_cvref_t<decltype(Field)>>) {
                return static_cast<int>(Field);
            } else {
                return Field;
            }
        },
        Row.Member);
}

template <typename TValues>
bool StoreValue(TValues& Values, const TSettingRow<TValues>& Row, const TSettingValue& Value) {
    return std::visit(
        [&](auto Member) {
            auto& Field = Values.*Member;
            using TField = std::remove_cvref_t<decltype(Field)>;
            using TCarried = std::conditional_t<kIsChoice<TField>, int, TField>;
            const TCarried* Carried = std::get_if<TCarried>(&Value);
            if (Carried == nullptr) {
                throw std::invalid_argument("a value of another kind for a setting");
            }
            TField New;
            if constexpr (std::is_same_v<TCarried, int>) {
                New = static_cast<TField>(std::clamp(*Carried, Row.Min, Row.Max));
            } else {
                New = *Carried;
            }
            return SetIfChanged(Field, std::move(New));
        },
        Row.Member);
}

template TSettingValue ValueOf(const TGeneralValues&, const TGeneralSettingRow&);
template TSettingValue ValueOf(const TLogoValues&, const TLogoSettingRow&);
template bool StoreValue(TGeneralValues&, const TGeneralSettingRow&, const TSettingValue&);
template bool StoreValue(TLogoValues&, const TLogoSettingRow&, const TSettingValue&);

std::span<const TSetting> GeneralLoadOrder() {
    return kGeneralLoadOrder;
}

std::span<const TSetting> OwnSettingsOrder() {
    return kOwnSettingsOrder;
}

std::span<const TSetting> LogoLoadOrder(TLogo Logo) {
    static constexpr TPerLogo<std::span<const TSetting>> kOrders{
        {kFirstLogoLoadOrder, kLastLogoLoadOrder}};
    return kOrders[Logo];
}

std::span<const TSetting> LogoSaveOrder() {
    return kLogoSaveOrder;
}
