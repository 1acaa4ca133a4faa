#pragma once

#include "app/logo/logo_image.h"
#include "core/color.h"
#include "core/exception.h"

#include <cstdint>
#include <vector>

// The animated band of the start-up logo. The system rotates the palette entries from the first
// animated one to 255 (each takes the next one's colour, the first wraps to 255); the band's
// rows use those entries alone, laid out along the band, so the rotation moves its colours
// sideways.

enum class TBandColors : std::uint8_t {
    Rainbow,  // all hues once round, as the system's own logo
    Gradient, // From to To and back, so that the rotation shows no seam
};

enum class TBandPlace : std::uint8_t { Bottom, Top };

// The system's own logo animates its last 20 entries.
constexpr int kSystemFirstAnimated = 236;
// The picture keeps the border entry, the 16 system colours and one colour of its own at least;
// the band two entries at least, or the rotation would show nothing.
constexpr int kMinFirstAnimated = 18;
constexpr int kMaxFirstAnimated = 254;
// The band takes whole rows of the 400 and leaves one row to the picture at least.
constexpr int kMinBandHeight = 1;
constexpr int kMaxBandHeight = kLogoHeight - 1;

struct TStartupBand {
    bool On = true;
    int FirstAnimated = kSystemFirstAnimated; // entries FirstAnimated..255 are animated
    TBandColors Colors = TBandColors::Rainbow;
    TColor From = RGB(0, 0, 128); // the gradient's ends, plain RGB colours
    TColor To = RGB(0, 255, 255);
    int Height = 20; // rows of the 400
    TBandPlace Place = TBandPlace::Bottom;

    bool operator==(const TStartupBand&) const = default;
};

// A band value outside its range; the message names it.
class EStartupBand : public Exception {
public:
    using Exception::Exception;
};

// Raises EStartupBand when a value of a band that is on lies outside its range or a gradient
// end is a system colour rather than an RGB one. A band that is off passes whatever it holds.
void CheckStartupBand(const TStartupBand& Band);

// The first palette entry of the animation as the logo file records it: 0 without a band.
int FirstAnimatedEntry(const TStartupBand& Band);

// The rows of the 400 the band takes: from FirstRow, Rows of them (none when it is off).
struct TBandRows {
    int FirstRow = 0;
    int Rows = 0;
};
TBandRows BandRows(const TStartupBand& Band);

// The colours of the animated entries, FirstAnimated..255 in order.
std::vector<TColor> BandEntryColors(const TStartupBand& Band);

// The palette entry that column Column (0..319) of the installed logo's band shows: the
// animated entries in order from left to right, each across an equal share of the width. One
// rotation step moves the colours one share to the left.
int BandEntry(const TStartupBand& Band, int Column);
