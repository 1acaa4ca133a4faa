#include "widgets/font_glyphs.h"

namespace {

const QColor kInk{0, 0, 0};
const QColor kSecondInk{128, 128, 128};
const QColor kPaper{255, 255, 255};
const QColor kMetal{192, 192, 192};
const QColor kScreen{0, 0, 128};

// A filled rectangle given by its corner pixels, both included, relative to the glyph.
void Block(QPainter& Painter, QPoint At, int X1, int Y1, int X2, int Y2, const QColor& Color) {
    Painter.fillRect(QRect(At + QPoint(X1, Y1), At + QPoint(X2, Y2)), Color);
}

// A letter T of a 7 x 8 box: a bar two pixels high and a stem two pixels wide.
void LetterT(QPainter& Painter, QPoint At, const QColor& Color) {
    Block(Painter, At, 0, 0, 6, 1, Color);
    Block(Painter, At, 3 - 1, 2, 3, 7, Color);
}

void TrueType(QPainter& Painter, QPoint At) {
    LetterT(Painter, At, kSecondInk);
    LetterT(Painter, At + QPoint(5, 3), kInk);
}

// A letter with even strokes over a baseline with four equal marks: type of one width.
void FixedPitch(QPainter& Painter, QPoint At) {
    Block(Painter, At, 2, 1, 9, 2, kInk); // top of the F
    Block(Painter, At, 2, 1, 3, 8, kInk); // stem
    Block(Painter, At, 2, 4, 7, 5, kInk); // middle bar
    for (int X = 0; X < 12; X += 3) {
        Block(Painter, At, X, 10, X + 1, 11, kSecondInk);
    }
}

void TrueTypeFixed(QPainter& Painter, QPoint At) {
    LetterT(Painter, At, kSecondInk);
    LetterT(Painter, At + QPoint(5, 2), kInk);
    for (int X = 0; X < 12; X += 3) {
        Block(Painter, At, X, 11, X + 1, 11, kInk);
    }
}

void Printer(QPainter& Painter, QPoint At) {
    Block(Painter, At, 3, 0, 8, 3, kPaper); // sheet going in
    Block(Painter, At, 2, 0, 2, 3, kInk);
    Block(Painter, At, 9, 0, 9, 3, kInk);
    Block(Painter, At, 0, 4, 11, 8, kInk); // body
    Block(Painter, At, 1, 5, 10, 7, kMetal);
    Block(Painter, At, 8, 5, 9, 5, kInk);    // button
    Block(Painter, At, 3, 9, 8, 11, kPaper); // sheet coming out
    Block(Painter, At, 2, 9, 2, 11, kInk);
    Block(Painter, At, 9, 9, 9, 11, kInk);
}

void Device(QPainter& Painter, QPoint At) {
    Block(Painter, At, 0, 0, 11, 8, kInk);    // monitor
    Block(Painter, At, 1, 1, 10, 7, kScreen); // screen
    Block(Painter, At, 5, 9, 6, 9, kInk);     // neck
    Block(Painter, At, 2, 10, 9, 11, kInk);   // foot
}

} // namespace

TFontGlyph FontGlyphFor(std::uint8_t PitchAndFamily, TFontDevice Device) {
    const bool IsTrueType = (PitchAndFamily & kTrueTypeBit) != 0;
    const bool IsFixed = (PitchAndFamily & kVariablePitchBit) == 0;
    if (IsTrueType && IsFixed) {
        return TFontGlyph::TrueTypeFixed;
    }
    if (IsTrueType) {
        return TFontGlyph::TrueType;
    }
    if (IsFixed) {
        return TFontGlyph::FixedPitch;
    }
    return Device == fdPrinter ? TFontGlyph::Printer : TFontGlyph::Device;
}

void DrawFontGlyph(QPainter& Painter, QPoint TopLeft, TFontGlyph Glyph) {
    switch (Glyph) {
    case TFontGlyph::TrueType:
        TrueType(Painter, TopLeft);
        break;
    case TFontGlyph::FixedPitch:
        FixedPitch(Painter, TopLeft);
        break;
    case TFontGlyph::TrueTypeFixed:
        TrueTypeFixed(Painter, TopLeft);
        break;
    case TFontGlyph::Printer:
        Printer(Painter, TopLeft);
        break;
    case TFontGlyph::Device:
        Device(Painter, TopLeft);
        break;
    }
}
