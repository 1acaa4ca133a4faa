#include "pgraphic/image/source_rows.h"

const std::uint8_t* SourceRowBGR(const TPixelGraphic& Source, int Y, int First, int Last,
                                 std::vector<std::uint8_t>& Scratch) {
    const std::uint8_t* Row = Source.ScanLine(Y);
    const auto UFirst = static_cast<std::size_t>(First);
    if (Source.BitCount() == bc24) {
        return Row + 3 * UFirst;
    }
    const auto Count = static_cast<std::size_t>(Last - First + 1);
    Scratch.resize(3 * Count);
    std::uint8_t* Out = Scratch.data();
    if (Source.BitCount() == bc8) {
        // One byte per pixel; an index beyond the palette shows as entry 0, as in PixelColors.
        const std::vector<TColor>& Palette = Source.Palette();
        const TColor Beyond = Palette.empty() ? 0 : Palette[0];
        for (std::size_t I = 0; I < Count; ++I, Out += 3) {
            const std::uint8_t Index = Row[UFirst + I];
            const TColor C = Index < Palette.size() ? Palette[Index] : Beyond;
            Out[0] = GetBValue(C);
            Out[1] = GetGValue(C);
            Out[2] = GetRValue(C);
        }
        return Scratch.data();
    }
    for (int X = First; X <= Last; ++X, Out += 3) {
        const TColor C = Source.PixelColors(X, Y);
        Out[0] = GetBValue(C);
        Out[1] = GetGValue(C);
        Out[2] = GetRValue(C);
    }
    return Scratch.data();
}
