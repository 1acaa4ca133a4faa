#include "widgets/item_text.h"

#include "platform/qt/qt_color.h"

#include <QFontMetrics>
#include <algorithm>

void FillItemBackground(QPainter& Painter, const QRect& Rect, bool Selected,
                        const QPalette& Palette) {
    Painter.fillRect(Rect, Palette.color(Selected ? QPalette::Highlight : QPalette::Base));
}

QRect ItemTextLine(const QRect& Rect, int TextLeft, const QFont& Font) {
    const int TextHeight = QFontMetrics(Font).height(); // the height of "Pp"
    return {TextLeft, Rect.top() + (Rect.height() - TextHeight) / 2,
            std::max(0, Rect.right() - TextLeft + 1), TextHeight};
}

void DrawItemText(QPainter& Painter, const QRect& Rect, int TextLeft, const QString& Text,
                  bool Selected, bool Enabled, const QPalette& Palette, const QFont& Font) {
    Painter.setFont(Font);
    Painter.setPen(!Enabled   ? PaletteQColor(clGrayText, Palette)
                   : Selected ? Palette.color(QPalette::HighlightedText)
                              : Palette.color(QPalette::Text));
    Painter.drawText(ItemTextLine(Rect, TextLeft, Font),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, Text);
}
