#include "widgets/file_item_delegate.h"

#include "widgets/system_colors.h"

#include <QIcon>
#include <QPainter>
#include <algorithm>

namespace {

constexpr int kIconSize = 16;

} // namespace

int FileListItemHeight(int FontHeight, int ScreenFontHeight) {
    return std::max(18, FontHeight + std::min(FontHeight, ScreenFontHeight) / 4);
}

void TFileItemDelegate::paint(QPainter* Painter, const QStyleOptionViewItem& Option,
                              const QModelIndex& Index) const {
    const QRect& Rect = Option.rect;
    const bool Selected = (Option.state & QStyle::State_Selected) != 0;
    const bool Enabled = (Option.state & QStyle::State_Enabled) != 0;
    const QPalette& Colors = Option.palette;
    Painter->fillRect(Rect, Colors.color(Selected ? QPalette::Highlight : QPalette::Base));

    const int TextHeight = QFontMetrics(Option.font).height(); // the height of "Pp"
    const int TextTop = Rect.top() + (Rect.height() - TextHeight) / 2;
    const int TextLeft = Rect.left() + (FShowGlyphs ? 22 : 2);
    if (FShowGlyphs) {
        const QIcon Glyph = Index.data(Qt::DecorationRole).value<QIcon>();
        if (!Glyph.isNull()) {
            Glyph.paint(Painter, QRect(Rect.left() + 2, TextTop - 1, kIconSize, kIconSize),
                        Qt::AlignCenter, Selected ? QIcon::Selected : QIcon::Normal);
        }
    }
    Painter->setFont(Option.font);
    Painter->setPen(!Enabled   ? ToQColor(clGrayText, Colors)
                    : Selected ? Colors.color(QPalette::HighlightedText)
                               : Colors.color(QPalette::Text));
    Painter->drawText(
        QRect(TextLeft, TextTop, std::max(0, Rect.right() - TextLeft + 1), TextHeight),
        Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, Index.data(Qt::DisplayRole).toString());
}

QSize TFileItemDelegate::sizeHint(const QStyleOptionViewItem& Option,
                                  const QModelIndex& Index) const {
    const int TextWidth = QFontMetrics(Option.font).horizontalAdvance(Index.data().toString());
    return {TextWidth + (FShowGlyphs ? 24 : 4), FItemHeight};
}
