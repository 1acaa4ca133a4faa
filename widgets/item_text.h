#pragma once

#include <QFont>
#include <QPainter>
#include <QPalette>
#include <QRect>
#include <QString>

// How the lists of the form widgets draw an item's background and text: the highlight behind a
// selected item, the base colour behind the others; the text in one line from TextLeft,
// centred vertically on its line height, grey when disabled, in the highlighted-text colour when
// selected.

void FillItemBackground(QPainter& Painter, const QRect& Rect, bool Selected,
                        const QPalette& Palette);

// The line an item's text takes in Rect from TextLeft: as high as Font's lines, centred
// vertically, up to Rect's right edge.
QRect ItemTextLine(const QRect& Rect, int TextLeft, const QFont& Font);

void DrawItemText(QPainter& Painter, const QRect& Rect, int TextLeft, const QString& Text,
                  bool Selected, bool Enabled, const QPalette& Palette, const QFont& Font);
