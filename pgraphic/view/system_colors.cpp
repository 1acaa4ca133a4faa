#include "pgraphic/view/system_colors.h"

#include "platform/system_colors.h"

QColor PGQColor(TColor Color) {
    const TColor Value = ResolveSysColor(Color);
    return {GetRValue(Value), GetGValue(Value), GetBValue(Value)};
}
