#pragma once

#include "core/color.h"
#include "pgraphic/view/view_rect.h"

#include <vector>

class QColor;
class QPainter;

// The small clock that shows the progress of a picture being prepared: the minute hand turns
// once from 0 to 100 percent, the hour hand moves on by a twelfth of a turn with every stage.

// Width and height of one clock.
constexpr int kPGClockSize = 15;

// How a view or a dialog shows its progress clocks.
struct TPGProgressClockStyle {
    TColor BkColor = clBtnFace;
    TColor LineColor = clBtnShadow;
    bool Visible = true;

    friend bool operator==(const TPGProgressClockStyle&, const TPGProgressClockStyle&) = default;
};

// The progress clock's properties of a view or a dialog, held as one style: a class that shows
// clocks derives from this and draws them in FClockStyle.
class TPGProgressClockProperties {
public:
    TColor ProgressClockBkColor() const { return FClockStyle.BkColor; }
    void SetProgressClockBkColor(TColor Value) { FClockStyle.BkColor = Value; }
    TColor ProgressClockLineColor() const { return FClockStyle.LineColor; }
    void SetProgressClockLineColor(TColor Value) { FClockStyle.LineColor = Value; }
    bool ProgressClockVisible() const { return FClockStyle.Visible; }
    void SetProgressClockVisible(bool Value) { FClockStyle.Visible = Value; }

protected:
    TPGProgressClockStyle FClockStyle;
};

// Ends of both hands relative to the clock's centre; angle 0 points up, angles grow clockwise.
struct TPGClockHands {
    TPGPoint Hour;
    TPGPoint Minute;
};
TPGClockHands PGClockHands(int Step, int Percent);

// Top-left corners of the clocks shown in an empty display rectangle Box: one in its centre
// when it is larger than 20 x 20, and with FiveClocks four more near its corners when it is
// larger than 100 x 100.
std::vector<TPGPoint> PGProgressClockPositions(const TPGRect& Box, bool FiveClocks);

// Draws one clock with its top-left corner at (X, Y): face and outline, then the hands.
void PGDrawProgressClock(QPainter& Painter, int X, int Y, int Step, int Percent,
                         const QColor& LineColor, const QColor& FaceColor);
// The same in Style's colours.
void PGDrawProgressClock(QPainter& Painter, int X, int Y, int Step, int Percent,
                         const TPGProgressClockStyle& Style);
// Draws the clocks of the empty display rectangle Box in Style; none when Style hides them.
void PGDrawProgressClocks(QPainter& Painter, const TPGRect& Box, bool FiveClocks, int Step,
                          int Percent, const TPGProgressClockStyle& Style);
