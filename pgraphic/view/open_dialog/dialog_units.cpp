#include "pgraphic/view/open_dialog/dialog_units.h"

#include <QFont>
#include <QFontMetrics>
#include <cstdint>
#include <cstdlib>

TPGDialogBaseUnits PGDialogBaseUnitsFrom(int LettersWidth, int CharHeight) {
    return {(LettersWidth / 26 + 1) / 2, CharHeight};
}

TPGDialogBaseUnits PGDialogBaseUnits(const QFont& Font) {
    const QFontMetrics Metrics(Font);
    return PGDialogBaseUnitsFrom(
        Metrics.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"),
        Metrics.height());
}

int PGMulDiv(int Number, int Numerator, int Denominator) {
    if (Denominator == 0) {
        return 0;
    }
    const std::int64_t Product = std::int64_t{Number} * Numerator;
    const std::int64_t Half = std::abs(std::int64_t{Denominator}) / 2;
    const bool Negative = (Product < 0) != (Denominator < 0);
    const std::int64_t Magnitude = (std::abs(Product) + Half) / std::abs(std::int64_t{Denominator});
    return static_cast<int>(Negative ? -Magnitude : Magnitude);
}

TPGRect PGMapDialogRect(const TPGRect& Units, const TPGDialogBaseUnits& Base) {
    return {PGMulDiv(Units.Left, Base.AverageCharWidth, 4), PGMulDiv(Units.Top, Base.CharHeight, 8),
            PGMulDiv(Units.Right, Base.AverageCharWidth, 4),
            PGMulDiv(Units.Bottom, Base.CharHeight, 8)};
}
