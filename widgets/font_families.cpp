#include "widgets/font_families.h"

#include "platform/font_family_order.h"

#include <QFontDatabase>
#include <QStringList>
#include <algorithm>
#include <string>
#include <utility>

std::vector<TFontFamily> InstalledFontFamilies(TFontDevice) {
    const QStringList Names = QFontDatabase::families();
    std::vector<TFontFamily> Result;
    Result.reserve(static_cast<std::size_t>(Names.size()));
    for (const QString& Name : Names) {
        if (QFontDatabase::isPrivateFamily(Name)) {
            continue;
        }
        std::uint8_t Bits = 0;
        if (!QFontDatabase::isFixedPitch(Name)) {
            Bits |= kVariablePitchBit;
        }
        if (QFontDatabase::isScalable(Name)) {
            Bits |= kTrueTypeBit;
        }
        Result.push_back({Name, Bits});
    }
    return Result;
}

std::vector<TFontFamily> FilterFontFamilies(std::vector<TFontFamily> Families, TFontType Type) {
    std::erase_if(Families, [Type](const TFontFamily& Family) {
        switch (Type) {
        case ftAll:
            return false;
        case ftTrueType:
            return (Family.PitchAndFamily & kTrueTypeBit) == 0;
        case ftFixedPitch:
            return (Family.PitchAndFamily & kVariablePitchBit) != 0;
        case ftPrinter:
        default:
            return true;
        }
    });
    return Families;
}

void SortFontFamilies(std::vector<TFontFamily>& Families) {
    // Each name is converted once, not on every comparison.
    std::vector<std::pair<std::string, TFontFamily>> Keyed;
    Keyed.reserve(Families.size());
    for (TFontFamily& Family : Families) {
        Keyed.emplace_back(Family.Name.toStdString(), std::move(Family));
    }
    std::stable_sort(Keyed.begin(), Keyed.end(), [](const auto& A, const auto& B) {
        return FontFamilyBefore(A.first, B.first);
    });
    for (std::size_t I = 0; I < Keyed.size(); ++I) {
        Families[I] = std::move(Keyed[I].second);
    }
}
