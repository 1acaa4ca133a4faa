#include "widgets/default_palette.h"

#include "core/standard_colors.h"

#include <array>

namespace {

constexpr int kColumns = 4;
constexpr int kRows = 5;

// [column][row], as red, green, blue.
constexpr std::array<std::array<TColor, kRows>, kColumns> kFixedTable{{
    {RGB(255, 255, 255), RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255), RGB(191, 215, 191)},
    {RGB(0, 0, 0), RGB(127, 0, 0), RGB(0, 127, 0), RGB(0, 0, 127), RGB(159, 191, 239)},
    {RGB(191, 191, 191), RGB(255, 255, 0), RGB(0, 255, 255), RGB(255, 0, 255), RGB(255, 247, 239)},
    {RGB(127, 127, 127), RGB(127, 127, 0), RGB(0, 127, 127), RGB(127, 0, 127), RGB(159, 159, 159)},
}};

} // namespace

TColorArrayClass DefaultPaletteColors(int ScreenColorDepth) {
    TColorArrayClass Result(kColumns, kRows);
    const bool SixteenColors = ScreenColorDepth == 4;
    for (int C = 1; C <= kColumns; ++C) {
        for (int R = 1; R <= kRows; ++R) {
            const auto Pen = static_cast<std::size_t>((C - 1) * kRows + R);
            Result.SetColors(C, R,
                             SixteenColors && Pen <= kStandardColors.size()
                                 ? kStandardColors[Pen - 1]
                                 : kFixedTable[static_cast<std::size_t>(C - 1)]
                                              [static_cast<std::size_t>(R - 1)]);
        }
    }
    return Result;
}
