#include "pgraphic/view/transparent/pg_panel.h"

#include "core/set_if_changed.h"

#include <QPainter>
#include <algorithm>

namespace {

// Draws Width nested one-pixel frames inward from Rect, the top and left sides in TopLeft, the
// bottom and right sides in BottomRight, and shrinks Rect by what was drawn.
void Frame3D(QPainter& Painter, QRect& Rect, const QColor& TopLeft, const QColor& BottomRight,
             int Width) {
    for (int Line = 0; Line < Width && !Rect.isEmpty(); ++Line) {
        Painter.setPen(TopLeft);
        Painter.drawLine(Rect.left(), Rect.bottom(), Rect.left(), Rect.top());
        Painter.drawLine(Rect.left(), Rect.top(), Rect.right(), Rect.top());
        Painter.setPen(BottomRight);
        Painter.drawLine(Rect.right(), Rect.top(), Rect.right(), Rect.bottom());
        Painter.drawLine(Rect.left(), Rect.bottom(), Rect.right(), Rect.bottom());
        Rect.adjust(1, 1, -1, -1);
    }
}

} // namespace

TPGPanel::TPGPanel(QWidget* Parent) : QWidget(Parent), TPGTransparentControl(this, true) {}

void TPGPanel::SetCaption(const QString& Value) {
    SetIfChanged(FCaption, Value, [this] { Invalidate(); });
}

void TPGPanel::SetAlignment(Qt::Alignment Value) {
    SetIfChanged(FAlignment, Value & Qt::AlignHorizontal_Mask, [this] { Invalidate(); });
}

void TPGPanel::SetBevelInner(TPanelBevel Value) {
    SetIfChanged(FBevelInner, Value, [this] { Invalidate(); });
}

void TPGPanel::SetBevelOuter(TPanelBevel Value) {
    SetIfChanged(FBevelOuter, Value, [this] { Invalidate(); });
}

void TPGPanel::SetBevelWidth(int Value) {
    SetIfChanged(FBevelWidth, std::max(Value, 1), [this] { Invalidate(); });
}

void TPGPanel::SetBorderWidth(int Value) {
    SetIfChanged(FBorderWidth, std::max(Value, 0), [this] { Invalidate(); });
}

QRect TPGPanel::InteriorRect() const {
    // In 64 bits: the widths may be as large as int allows.
    long long Inset = FBorderWidth;
    Inset += FBevelInner != bvNone ? FBevelWidth : 0;
    Inset += FBevelOuter != bvNone ? FBevelWidth : 0;
    const int Margin = static_cast<int>(std::min<long long>(Inset, std::max(width(), height())));
    return rect().adjusted(Margin, Margin, -Margin, -Margin);
}

bool TPGPanel::event(QEvent* Event) {
    InvalidateOnChange(*Event);
    return QWidget::event(Event);
}

// The opaque inside is Qt's fill with Color before this runs.
void TPGPanel::paintEvent(QPaintEvent* /*Event*/) {
    QPainter Painter(this);
    if (Transparent()) {
        // The caption in the middle row of the whole panel; then only the bands are painted.
        const int TextHeight = fontMetrics().height();
        DrawCaption(Painter, QRect(0, (height() - TextHeight) / 2, width(), TextHeight));
        Painter.setClipRegion(QRegion(rect()) - QRegion(InteriorRect()));
        DrawBands(Painter);
    } else {
        DrawBands(Painter);
        DrawCaption(Painter, InteriorRect());
    }
}

void TPGPanel::DrawCaption(QPainter& Painter, const QRect& Rect) const {
    Painter.setPen(palette().color(foregroundRole()));
    Painter.drawText(Rect, static_cast<int>(FAlignment | Qt::AlignVCenter) | Qt::TextExpandTabs,
                     FCaption);
}

void TPGPanel::DrawBands(QPainter& Painter) const {
    const auto Cut = [this](TPanelBevel Bevel) {
        const QColor Light = palette().color(QPalette::Light);
        const QColor Dark = palette().color(QPalette::Dark);
        return Bevel == bvRaised ? std::pair(Light, Dark) : std::pair(Dark, Light);
    };
    QRect Rect = rect();
    if (FBevelOuter != bvNone) {
        const auto [TopLeft, BottomRight] = Cut(FBevelOuter);
        Frame3D(Painter, Rect, TopLeft, BottomRight, FBevelWidth);
    }
    Frame3D(Painter, Rect, Color(), Color(), FBorderWidth);
    if (FBevelInner != bvNone) {
        const auto [TopLeft, BottomRight] = Cut(FBevelInner);
        Frame3D(Painter, Rect, TopLeft, BottomRight, FBevelWidth);
    }
}
