#include "widgets/file_item_delegate.h"

#include "widgets/item_text.h"

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
    FillItemBackground(*Painter, Rect, Selected, Option.palette);
    const int TextLeft = Rect.left() + (FShowGlyphs ? 22 : 2);
    if (FShowGlyphs) {
        const QIcon Glyph = Index.data(Qt::DecorationRole).value<QIcon>();
        if (!Glyph.isNull()) {
            // The icon one pixel above the text's top.
            const int GlyphTop = ItemTextLine(Rect, TextLeft, Option.font).top() - 1;
            Glyph.paint(Painter, QRect(Rect.left() + 2, GlyphTop, kIconSize, kIconSize),
                        Qt::AlignCenter, Selected ? QIcon::Selected : QIcon::Normal);
        }
    }
    DrawItemText(*Painter, Rect, TextLeft, Index.data(Qt::DisplayRole).toString(), Selected,
                 Enabled, Option.palette, Option.font);
}

QSize TFileItemDelegate::sizeHint(const QStyleOptionViewItem& Option,
                                  const QModelIndex& Index) const {
    const int TextWidth = QFontMetrics(Option.font).horizontalAdvance(Index.data().toString());
    return {TextWidth + (FShowGlyphs ? 24 : 4), FItemHeight};
}
