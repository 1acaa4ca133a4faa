#include "widgets/font_item_delegate.h"

#include "widgets/font_glyphs.h"
#include "widgets/font_list_model.h"
#include "widgets/item_text.h"

#include <QPainter>
#include <algorithm>

int FontItemHeight(int FontHeight) {
    return std::max(FontHeight, kFontGlyphSize) + 2;
}

void TFontItemDelegate::PaintItem(QPainter& Painter, const QRect& Rect, const QString& Name,
                                  std::uint8_t PitchAndFamily, bool Selected, bool Enabled,
                                  const QPalette& Palette, const QFont& Font) const {
    FillItemBackground(Painter, Rect, Selected, Palette);
    const QPoint Tile(Rect.left() + 4, Rect.top() + (Rect.height() - kFontGlyphSize) / 2);
    FillItemBackground(Painter, QRect(Tile, QSize(kFontGlyphSize, kFontGlyphSize)), Selected,
                       Palette);
    DrawFontGlyph(Painter, Tile, FontGlyphFor(PitchAndFamily, FDevice));
    DrawItemText(Painter, Rect, Rect.left() + 24, Name, Selected, Enabled, Palette, Font);
}

void TFontItemDelegate::paint(QPainter* Painter, const QStyleOptionViewItem& Option,
                              const QModelIndex& Index) const {
    PaintItem(*Painter, Option.rect, Index.data(Qt::DisplayRole).toString(),
              static_cast<std::uint8_t>(Index.data(TFontListModel::FontBitsRole).toUInt()),
              (Option.state & QStyle::State_Selected) != 0,
              (Option.state & QStyle::State_Enabled) != 0, Option.palette, Option.font);
}

QSize TFontItemDelegate::sizeHint(const QStyleOptionViewItem& Option, const QModelIndex&) const {
    return {Option.rect.width(), FItemHeight};
}
