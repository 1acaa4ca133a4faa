#pragma once

#include <QAbstractItemDelegate>

// The item height of a file list whose font is FontHeight pixels high, on a screen whose default
// font is ScreenFontHeight high: FontHeight + min(FontHeight, ScreenFontHeight) div 4, at
// least 18.
int FileListItemHeight(int FontHeight, int ScreenFontHeight);

// Draws the items of a file list: with glyphs, the 16 x 16 icon at left + 2 (in its selected
// state for the selected item) and the text at left + 22; without, the text at left + 2. The
// text is centred vertically on its line height, the icon one pixel above the text's top.
class TFileItemDelegate : public QAbstractItemDelegate {
public:
    explicit TFileItemDelegate(QObject* Parent = nullptr) : QAbstractItemDelegate(Parent) {}

    bool ShowGlyphs() const { return FShowGlyphs; }
    void SetShowGlyphs(bool Value) { FShowGlyphs = Value; }
    int ItemHeight() const { return FItemHeight; }
    void SetItemHeight(int Value) { FItemHeight = Value; }

    void paint(QPainter* Painter, const QStyleOptionViewItem& Option,
               const QModelIndex& Index) const override;
    QSize sizeHint(const QStyleOptionViewItem& Option, const QModelIndex& Index) const override;

private:
    bool FShowGlyphs = true;
    int FItemHeight = 18;
};
