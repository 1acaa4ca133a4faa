#include "widgets/font_item_delegate.h"

#include "widgets/font_glyphs.h"
#include "widgets/font_list_model.h"
#include "widgets/system_colors.h"

#include <QPainter>
#include <algorithm>

int FontItemHeight(int FontHeight) {
    return std::max(FontHeight, kFontGlyphSize) + 2;
}

void TFontItemDelegate::PaintItem(QPainter& Painter, const QRect& Rect, const QString& Name,
                                  std::uint8_t PitchAndFamily, bool Selected, bool Enabled,
                                  const QPalette& Palette, const QFont& Font) const {
    const QColor Back = Palette.color(Selected ? QPalette::Highlight : QPalette::Base);
    Painter.fillRect(Rect, Back);

    const QPoint Tile(Rect.left() + 4, Rect.top() + (Rect.height() - kFontGlyphSize) / 2);
    Painter.fillRect(QRect(Tile, QSize(kFontGlyphSize, kFontGlyphSize)), Back);
    DrawFontGlyph(Painter, Tile, FontGlyphFor(PitchAndFamily, FDevice));

    Painter.setFont(Font);
    const int TextHeight = QFontMetrics(Font).height(); // the height of "Pp"
    const QRect TextRect(Rect.left() + 24, Rect.top() + (Rect.height() - TextHeight) / 2,
                         std::max(0, Rect.right() - (Rect.left() + 24) + 1), TextHeight);
    Painter.setPen(!Enabled   ? ToQColor(clGrayText, Palette)
                   : Selected ? Palette.color(QPalette::HighlightedText)
                              : Palette.color(QPalette::Text));
    Painter.drawText(TextRect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, Name);
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
