#include "app/composition/font_choice.h"

#include "platform/font_family_order.h"
#include "platform/qt/qt_string.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QString>
#include <QStringList>
#include <algorithm>

namespace {

bool SameFamily(const std::string& A, const std::string& B) {
    return ToQString(A).compare(ToQString(B), Qt::CaseInsensitive) == 0;
}

std::vector<std::string>::const_iterator FindFamily(const std::vector<std::string>& Families,
                                                    const std::string& Name) {
    return std::find_if(Families.begin(), Families.end(),
                        [&](const std::string& Family) { return SameFamily(Family, Name); });
}

} // namespace

std::vector<std::string> SortedFontFamilies() {
    const QStringList Names = QFontDatabase::families();
    std::vector<std::string> Families;
    Families.reserve(static_cast<std::size_t>(Names.size()));
    for (const QString& Name : Names) {
        if (!QFontDatabase::isPrivateFamily(Name)) {
            Families.push_back(ToStdString(Name));
        }
    }
    std::stable_sort(Families.begin(), Families.end(), FontFamilyBefore);
    return Families;
}

std::string SelectFontFamily(const std::vector<std::string>& Families, const std::string& Name) {
    if (Families.empty()) {
        return {};
    }
    if (const auto Found = FindFamily(Families, Name); Found != Families.end()) {
        return *Found;
    }
    if (!Name.empty()) {
        const QFontInfo Substitute{QFont(ToQString(Name))};
        if (const auto Found = FindFamily(Families, ToStdString(Substitute.family()));
            Found != Families.end()) {
            return *Found;
        }
    }
    return Families.front();
}
