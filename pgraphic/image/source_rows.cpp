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
    for (int X = First; X <= Last; ++X, Out += 3) {
        const TColor C = Source.PixelColors(X, Y);
        Out[0] = GetBValue(C);
        Out[1] = GetGValue(C);
        Out[2] = GetRValue(C);
    }
    return Scratch.data();
}
