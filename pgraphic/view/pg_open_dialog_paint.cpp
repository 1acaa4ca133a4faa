// The picture open dialog: drawing the preview panel, its progress clock and the description.

#include "pgraphic/canvas/painting.h"
#include "pgraphic/canvas/raster_op.h"
#include "pgraphic/image/pixel_graphic.h"
#include "pgraphic/view/open_dialog_panels.h"
#include "pgraphic/view/open_dialog_text.h"
#include "pgraphic/view/pg_open_dialog.h"
#include "pgraphic/view/preview_geometry.h"
#include "pgraphic/view/progress_clock.h"
#include "pgraphic/view/view_rect_qt.h"
#include "platform/qt/qt_color.h"

#include <QFontMetrics>
#include <QPainter>

namespace {

QColor ShadeColor(TPGFrameShade Shade) {
    switch (Shade) {
    case fsShadow:
        return ToQColor(clBtnShadow);
    case fsBlack:
        return Qt::black;
    case fsWhite:
        return Qt::white;
    case fsFace:
        break;
    }
    return ToQColor(clBtnFace);
}

} // namespace

void TPGOpenDialog::DrawPreviewClock(int Step, int Percent) {
    if (!FProgressClockVisible) {
        return;
    }
    FClockShown = true;
    FClockStep = Step;
    FClockPercent = Percent;
    if (QWidget* Panel = FPreviewPanel.data()) {
        const TPGPoint At = PGPreviewClockPosition(ToRect(Panel->rect()));
        Panel->repaint(At.X, At.Y, kPGClockSize, kPGClockSize);
    }
}

void TPGOpenDialog::DrawPreview(QPainter& Painter, const QRect& Client) {
    const TPGRect C = ToRect(Client);
    Painter.fillRect(ToQRect(PGPreviewInside(C)), ToQColor(clBtnFace));
    for (const TPGFrameStrip& Strip : PGSunkenFrame(C)) {
        Painter.fillRect(ToQRect(Strip.Area), ShadeColor(Strip.Shade));
    }
    if (FPreview) {
        const TPGRect At = PGPreviewPaintRect(C, FPreview->Width(), FPreview->Height());
        if (At.Width() > 0 && At.Height() > 0) {
            DrawToDC(*FPreview, Painter, ToQRect(At), false, cmSrcCopy);
        }
    } else if (FClockShown && FProgressClockVisible) {
        DrawClock(Painter, Client);
    }
}

void TPGOpenDialog::DrawClock(QPainter& Painter, const QRect& Client) {
    const TPGPoint At = PGPreviewClockPosition(ToRect(Client));
    // The clock's square is the face colour around the dial.
    Painter.fillRect(At.X, At.Y, kPGClockSize, kPGClockSize, ToQColor(clBtnFace));
    PGDrawProgressClock(Painter, At.X, At.Y, FClockStep, FClockPercent,
                        ToQColor(FProgressClockLineColor), ToQColor(FProgressClockBkColor));
}

void TPGOpenDialog::DrawDescription(QPainter& Painter, const QRect& Client) {
    Painter.fillRect(Client, ToQColor(clBtnFace));
    if (!FShowInfo || !FDescriptionValid) {
        return;
    }
    const std::vector<std::string> Lines = PGDescriptionLines(FDescription);
    const int Count = static_cast<int>(Lines.size());
    const QFontMetrics Metrics(FDescriptionPanel->font());
    Painter.setFont(FDescriptionPanel->font());
    Painter.setPen(ToQColor(SystemColor(COLOR_BTNTEXT)));
    for (int I = 0; I < Count; ++I) {
        // A line too long for the panel ends in an ellipsis rather than being cut off.
        const QString Text =
            Metrics.elidedText(QString::fromStdString(Lines[I]), Qt::ElideRight, Client.width());
        const QRect Line(Client.left(),
                         Client.top() + PGDescriptionLineTop(I, Count, Client.height()),
                         Client.width(), Metrics.height());
        Painter.drawText(Line, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, Text);
    }
}
