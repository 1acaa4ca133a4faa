#include "widgets/font_families.h"

#include <QFontDatabase>
#include <QStringList>
#include <algorithm>

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
    std::stable_sort(Families.begin(), Families.end(),
                     [](const TFontFamily& A, const TFontFamily& B) {
                         const int Order = A.Name.compare(B.Name, Qt::CaseInsensitive);
                         return Order != 0 ? Order < 0 : A.Name < B.Name;
                     });
}
