#include "pgraphic/image/color_writer.h"

#include <algorithm>

TPGErrorLimitTable BuildErrorLimitTable(bool Soft, int Limit) {
    std::array<std::int32_t, 256> Positive{};
    for (int E = 0; E <= 255; ++E) {
        Positive[static_cast<std::size_t>(E)] = E;
    }
    if (Limit != 255) {
        for (int E = std::max(Limit, 0); E <= 255; ++E) {
            Positive[static_cast<std::size_t>(E)] = Limit;
        }
    }
    if (Soft) {
        for (int E = Limit / 2; E <= 3 * Limit / 2 && E < 255; ++E) {
            Positive[static_cast<std::size_t>(E)] = E / 2 + Limit / 4;
        }
    }
    TPGErrorLimitTable Table{};
    for (int E = 0; E <= 255; ++E) {
        Table[static_cast<std::size_t>(255 + E)] = Positive[static_cast<std::size_t>(E)];
        Table[static_cast<std::size_t>(255 - E)] = -Positive[static_cast<std::size_t>(E)];
    }
    return Table;
}

std::pair<bool, int> ErrorLimitFor(const TPixelGraphic& Target) {
    if (!Target.DitherErrorLimitAuto()) {
        return {Target.DitherErrorLimitSoft(), Target.DitherErrorLimit()};
    }
    switch (Target.PaletteIdent()) {
    case pBlackWhite:
        return {true, 255};
    case pSysGray4:
    case pSys16:
    case pGray4:
        return {true, 128};
    case pGray236:
        return {true, 3};
    case pGray256:
        return {true, 2};
    case pSpecial125:
    case pSpecial252:
        return {true, 104};
    case pSpecial216:
        return {true, 86};
    default:
        return {true, 32};
    }
}

TPGColorWriter::TPGColorWriter(TPixelGraphic& Target)
    : FTarget(Target), FDirect(Target.BitCount() == bc24),
      FDithering(Target.Dither() && Target.BitCount() != bc24) {
    if (!FDithering) {
        return;
    }
    const auto [Soft, Limit] = ErrorLimitFor(Target);
    FLimit = BuildErrorLimitTable(Soft, Limit);
    const auto& Palette = Target.Palette();
    FGray = std::all_of(Palette.begin(), Palette.end(), [](TColor C) {
        return GetRValue(C) == GetGValue(C) && GetGValue(C) == GetBValue(C);
    });
    Target.FIsGrayPalette = FGray;
    const auto Size = (static_cast<std::size_t>(Target.Width()) + 2) * 3;
    FCurrent.assign(Size, 0);
    FNext.assign(Size, 0);
}

void TPGColorWriter::StartRow() {
    if (FDithering) {
        FCurrent.swap(FNext);
        std::fill(FNext.begin(), FNext.end(), 0);
    }
}

int TPGColorWriter::LimitedError(std::int32_t Accumulator) const {
    const int Error = Accumulator >= 0 ? (Accumulator + 8) / 16 : -((-Accumulator + 8) / 16);
    return FLimit[static_cast<std::size_t>(std::clamp(Error, -255, 255) + 255)];
}

TColor TPGColorWriter::EntryColor(int Index) const { return FTarget.PaletteColors(Index); }

void TPGColorWriter::WriteDithered(int X, int Y, TColor Color) {
    const int Dir = (Y % 2 == 0) ? 1 : -1;
    const auto Here = static_cast<std::size_t>(X + 1) * 3;
    const auto Ahead = static_cast<std::size_t>(X + 1 + Dir) * 3;
    const auto Behind = static_cast<std::size_t>(X + 1 - Dir) * 3;
    const auto Spread = [&](std::size_t Channel, int Error) {
        FCurrent[Ahead + Channel] += 7 * Error;
        FNext[Here + Channel] += 5 * Error;
        FNext[Behind + Channel] += 3 * Error;
        FNext[Ahead + Channel] += Error;
    };
    if (FGray) {
        const int T = std::clamp(GrayValue(Color, FTarget.RGBWeighting()) / 3 +
                                     LimitedError(FCurrent[Here + 1]),
                                 0, 255);
        const int Index = FTarget.NearestIndex(RGB(T, T, T));
        FTarget.WritePixel(X, Y, static_cast<std::uint32_t>(Index));
        Spread(1, T - GetGValue(EntryColor(Index)));
        return;
    }
    const int R = std::clamp(GetRValue(Color) + LimitedError(FCurrent[Here]), 0, 255);
    const int G = std::clamp(GetGValue(Color) + LimitedError(FCurrent[Here + 1]), 0, 255);
    const int B = std::clamp(GetBValue(Color) + LimitedError(FCurrent[Here + 2]), 0, 255);
    const int Index = FTarget.NearestIndex(RGB(R, G, B));
    FTarget.WritePixel(X, Y, static_cast<std::uint32_t>(Index));
    const TColor Entry = EntryColor(Index);
    Spread(0, R - GetRValue(Entry));
    Spread(1, G - GetGValue(Entry));
    Spread(2, B - GetBValue(Entry));
}
