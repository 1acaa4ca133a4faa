#include "pgraphic/view/transparent/pg_group_box.h"

#include "core/set_if_changed.h"

#include <QPainter>
#include <algorithm>

namespace {

constexpr int kCaptionLeft = 8;
constexpr int kCaptionFlags = Qt::TextSingleLine | Qt::TextShowMnemonic;

// Outlines exactly the pixels of Rect with one-pixel lines of Color.
void FrameRect(QPainter& Painter, const QRect& Rect, const QColor& Color) {
    Painter.setPen(Color);
    Painter.setBrush(Qt::NoBrush);
    Painter.drawRect(Rect.adjusted(0, 0, -1, -1));
}

} // namespace

TPGGroupBox::TPGGroupBox(QWidget* Parent) : TPGGroupBox(QString(), Parent) {}

TPGGroupBox::TPGGroupBox(const QString& Title, QWidget* Parent)
    : QGroupBox(Title, Parent), TPGTransparentControl(this, true) {}

void TPGGroupBox::SetCtl3D(bool Value) {
    SetIfChanged(FCtl3D, Value, [this] { Invalidate(); });
}

QRect TPGGroupBox::CaptionRect() const {
    const QSize Size = fontMetrics().size(kCaptionFlags, title());
    return {QPoint(kCaptionLeft, 0), Size};
}

QRect TPGGroupBox::FrameBounds() const {
    return {QPoint(0, fontMetrics().height() / 2 - 1), QPoint(width() - 1, height() - 1)};
}

QRect TPGGroupBox::InteriorRect() const {
    const int Line = FrameLineWidth();
    QRect Interior = FrameBounds().adjusted(Line, Line, -Line, -Line);
    if (!title().isEmpty()) {
        Interior.setTop(std::max(Interior.top(), CaptionRect().bottom() + 1));
    }
    return Interior;
}

bool TPGGroupBox::event(QEvent* Event) {
    InvalidateOnChange(*Event);
    return QGroupBox::event(Event);
}

// The opaque background is Qt's fill with Color before this runs.
void TPGGroupBox::paintEvent(QPaintEvent* /*Event*/) {
    QPainter Painter(this);
    if (!title().isEmpty()) {
        const QRect Caption = CaptionRect();
        Painter.setPen(palette().color(foregroundRole()));
        Painter.drawText(Caption, kCaptionFlags, title());
        // The frame's top line does not cross the title.
        Painter.setClipRegion(QRegion(rect()) - QRegion(Caption.adjusted(-1, 0, 1, 0)));
    }
    const QRect Frame = FrameBounds();
    if (FCtl3D) {
        const QRect Inner = Frame.adjusted(1, 1, 0, 0);
        FrameRect(Painter, Inner, palette().color(QPalette::Light));
        FrameRect(Painter, Inner.translated(-1, -1), palette().color(QPalette::Dark));
    } else {
        FrameRect(Painter, Frame, palette().color(QPalette::Shadow));
    }
}
