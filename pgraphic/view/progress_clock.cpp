#include "pgraphic/view/progress_clock.h"

#include "platform/qt/qt_color.h"

#include <QColor>
#include <QPainter>
#include <cmath>
#include <numbers>

namespace {

constexpr int kHourHand = 6;
constexpr int kMinuteHand = 7;
constexpr int kCentre = 7;

// The end of a hand of Length at Angle; halves round to even.
TPGPoint HandEnd(long double Angle, int Length) {
    return {static_cast<int>(std::nearbyint(std::sin(Angle) * Length)),
            -static_cast<int>(std::nearbyint(std::cos(Angle) * Length))};
}

} // namespace

TPGClockHands PGClockHands(int Step, int Percent) {
    constexpr long double Pi = std::numbers::pi_v<long double>;
    const long double Minute = Percent * Pi / 50;
    const long double Hour = ((Step - 1) * 2 * Pi + Minute) / 12;
    return {HandEnd(Hour, kHourHand), HandEnd(Minute, kMinuteHand)};
}

std::vector<TPGPoint> PGProgressClockPositions(const TPGRect& Box, bool FiveClocks) {
    std::vector<TPGPoint> Positions;
    const int W = Box.Width();
    const int H = Box.Height();
    if (W > 20 && H > 20) {
        Positions.push_back({Box.Left + W / 2 - kCentre, Box.Top + H / 2 - kCentre});
    }
    if (FiveClocks && W > 100 && H > 100) {
        Positions.push_back({Box.Left + 5, Box.Top + 5});
        Positions.push_back({Box.Right - 20, Box.Top + 5});
        Positions.push_back({Box.Left + 5, Box.Bottom - 20});
        Positions.push_back({Box.Right - 20, Box.Bottom - 20});
    }
    return Positions;
}

void PGDrawProgressClock(QPainter& Painter, int X, int Y, int Step, int Percent,
                         const QColor& LineColor, const QColor& FaceColor) {
    Painter.save();
    Painter.setRenderHint(QPainter::Antialiasing, false);
    Painter.setPen(QPen(LineColor, 0));
    Painter.setBrush(FaceColor);
    // The outline runs along the clock's outer pixels: a 15 x 15 circle.
    Painter.drawEllipse(QRect(X, Y, kPGClockSize - 1, kPGClockSize - 1));
    const QPoint Centre(X + kCentre, Y + kCentre);
    const TPGClockHands Hands = PGClockHands(Step, Percent);
    Painter.drawLine(Centre, Centre + QPoint(Hands.Hour.X, Hands.Hour.Y));
    Painter.drawLine(Centre, Centre + QPoint(Hands.Minute.X, Hands.Minute.Y));
    Painter.restore();
}

void PGDrawProgressClock(QPainter& Painter, int X, int Y, int Step, int Percent,
                         const TPGProgressClockStyle& Style) {
    PGDrawProgressClock(Painter, X, Y, Step, Percent, ToQColor(Style.LineColor),
                        ToQColor(Style.BkColor));
}

void PGDrawProgressClocks(QPainter& Painter, const TPGRect& Box, bool FiveClocks, int Step,
                          int Percent, const TPGProgressClockStyle& Style) {
    if (!Style.Visible) {
        return;
    }
    const QColor Line = ToQColor(Style.LineColor);
    const QColor Face = ToQColor(Style.BkColor);
    for (const TPGPoint& At : PGProgressClockPositions(Box, FiveClocks)) {
        PGDrawProgressClock(Painter, At.X, At.Y, Step, Percent, Line, Face);
    }
}
