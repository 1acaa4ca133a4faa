#pragma once

#include "widgets/font_families.h"

#include <QAbstractItemDelegate>

// Draws the items of a font box at a fixed height: a 12 x 12 tile with the family's glyph at
// left + 4, vertically centred, and the name at left + 24.
class TFontItemDelegate : public QAbstractItemDelegate {
public:
    explicit TFontItemDelegate(QObject* Parent = nullptr) : QAbstractItemDelegate(Parent) {}

    void SetFontDevice(TFontDevice Device) { FDevice = Device; }
    int ItemHeight() const { return FItemHeight; }
    void SetItemHeight(int Height) { FItemHeight = Height; }

    void PaintItem(QPainter& Painter, const QRect& Rect, const QString& Name,
                   std::uint8_t PitchAndFamily, bool Selected, bool Enabled,
                   const QPalette& Palette, const QFont& Font) const;

    void paint(QPainter* Painter, const QStyleOptionViewItem& Option,
               const QModelIndex& Index) const override;
    QSize sizeHint(const QStyleOptionViewItem& Option, const QModelIndex& Index) const override;

private:
    TFontDevice FDevice = fdScreen;
    int FItemHeight = 16;
};

// The item height of a font box whose font is FontHeight pixels high: room for the text and
// the 12-pixel glyph, with a pixel above and below.
int FontItemHeight(int FontHeight);
