#include "app/logo/startup_band.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace {

int AnimatedCount(const TStartupBand& Band) {
    return kLogoPaletteEntries - Band.FirstAnimated;
}

void CheckRange(const char* What, int Value, int Min, int Max) {
    if (Value < Min || Value > Max) {
        throw EStartupBand(std::string("The start-up logo's ") + What + " must be " +
                           std::to_string(Min) + " to " + std::to_string(Max) + ", not " +
                           std::to_string(Value) + ".");
    }
}

std::uint8_t Mix(std::uint8_t From, std::uint8_t To, double Share) {
    return static_cast<std::uint8_t>(std::lround(From + (To - From) * Share));
}

// Entry Index of Count: From at 0, To halfway round, back towards From after.
TColor GradientColor(const TStartupBand& Band, int Index, int Count) {
    const double Share = 2.0 * std::min(Index, Count - Index) / Count;
    return RGB(Mix(GetRValue(Band.From), GetRValue(Band.To), Share),
               Mix(GetGValue(Band.From), GetGValue(Band.To), Share),
               Mix(GetBValue(Band.From), GetBValue(Band.To), Share));
}

// Entry Index of Count: the hue Index / Count of the way round from red, at full saturation
// and brightness.
TColor RainbowColor(int Index, int Count) {
    const double Hue = 6.0 * Index / Count; // 0..6, one unit per sector
    const int Sector = static_cast<int>(Hue);
    const auto Rising = static_cast<int>(std::lround(255 * (Hue - Sector)));
    const int Falling = 255 - Rising;
    switch (Sector) {
    case 0:
        return RGB(255, Rising, 0);
    case 1:
        return RGB(Falling, 255, 0);
    case 2:
        return RGB(0, 255, Rising);
    case 3:
        return RGB(0, Falling, 255);
    case 4:
        return RGB(Rising, 0, 255);
    default:
        return RGB(255, 0, Falling);
    }
}

} // namespace

void CheckStartupBand(const TStartupBand& Band) {
    if (!Band.On) {
        return;
    }
    CheckRange("first animated palette entry", Band.FirstAnimated, kMinFirstAnimated,
               kMaxFirstAnimated);
    CheckRange("band height", Band.Height, kMinBandHeight, kMaxBandHeight);
    if (IsSystemColor(Band.From) || IsSystemColor(Band.To)) {
        throw EStartupBand("The start-up logo's band colours must be RGB colours.");
    }
}

int FirstAnimatedEntry(const TStartupBand& Band) {
    return Band.On ? Band.FirstAnimated : 0;
}

TBandRows BandRows(const TStartupBand& Band) {
    if (!Band.On) {
        return {};
    }
    return {Band.Place == TBandPlace::Top ? 0 : kLogoHeight - Band.Height, Band.Height};
}

std::vector<TColor> BandEntryColors(const TStartupBand& Band) {
    const int Count = AnimatedCount(Band);
    std::vector<TColor> Colors;
    Colors.reserve(static_cast<std::size_t>(Count));
    for (int I = 0; I < Count; ++I) {
        Colors.push_back(Band.Colors == TBandColors::Rainbow ? RainbowColor(I, Count)
                                                             : GradientColor(Band, I, Count));
    }
    return Colors;
}

int BandEntry(const TStartupBand& Band, int Column) {
    return Band.FirstAnimated + Column * AnimatedCount(Band) / kInstalledLogoWidth;
}
