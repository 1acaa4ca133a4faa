// How the file list and the font box draw an item's background and text.

#include "widgets/item_text.h"

#include <QImage>
#include <gtest/gtest.h>
#include <set>

namespace {

// A palette in which every colour an item may use is distinct.
QPalette ItemColours() {
    QPalette Colors;
    Colors.setColor(QPalette::Base, Qt::white);
    Colors.setColor(QPalette::Highlight, Qt::red);
    Colors.setColor(QPalette::Text, Qt::blue);
    Colors.setColor(QPalette::HighlightedText, Qt::green);
    Colors.setColor(QPalette::Disabled, QPalette::Text, Qt::magenta);
    return Colors;
}

// Text without antialiasing, so that every inked pixel has the pen's colour.
QFont SharpFont() {
    QFont Font;
    Font.setPixelSize(14);
    Font.setStyleStrategy(QFont::NoAntialias);
    return Font;
}

struct TDrawn {
    std::set<QRgb> Colors; // of the pixels that differ from the background
    QRect Inked;           // their bounding box
};

// An item of 120 x 30 drawn with its text from x = 20; what differs from the background.
TDrawn DrawItem(bool Selected, bool Enabled) {
    const QPalette Colors = ItemColours();
    QImage Image(120, 30, QImage::Format_RGB32);
    Image.fill(Qt::black);
    {
        QPainter Painter(&Image);
        FillItemBackground(Painter, Image.rect(), Selected, Colors);
        DrawItemText(Painter, Image.rect(), 20, "Wp", Selected, Enabled, Colors, SharpFont());
    }
    const QRgb Back = Colors.color(Selected ? QPalette::Highlight : QPalette::Base).rgb();
    TDrawn Drawn;
    for (int Y = 0; Y < Image.height(); ++Y) {
        for (int X = 0; X < Image.width(); ++X) {
            if (Image.pixel(X, Y) != Back) {
                Drawn.Colors.insert(Image.pixel(X, Y));
                Drawn.Inked |= QRect(X, Y, 1, 1);
            }
        }
    }
    return Drawn;
}

TEST(ItemText, PenFollowsTheStateAndTheBackgroundTheSelection) {
    EXPECT_EQ(DrawItem(false, true).Colors, std::set<QRgb>{QColor(Qt::blue).rgb()});
    EXPECT_EQ(DrawItem(true, true).Colors, std::set<QRgb>{QColor(Qt::green).rgb()});
    EXPECT_EQ(DrawItem(false, false).Colors, std::set<QRgb>{QColor(Qt::magenta).rgb()});
    EXPECT_EQ(DrawItem(true, false).Colors, std::set<QRgb>{QColor(Qt::magenta).rgb()});
}

TEST(ItemText, TextStaysOnItsCentredLineFromTheLeftGiven) {
    const QRect Line = ItemTextLine(QRect(0, 0, 120, 30), 20, SharpFont());
    const int Height = QFontMetrics(SharpFont()).height();
    EXPECT_EQ(Line, QRect(20, (30 - Height) / 2, 100, Height));
    const QRect Inked = DrawItem(false, true).Inked;
    EXPECT_GE(Inked.left(), 20);
    EXPECT_TRUE(Line.contains(Inked)) << Inked.top() << " " << Inked.bottom();

    // An item's own top counts, and a left beyond the right edge leaves an empty line.
    EXPECT_EQ(ItemTextLine(QRect(0, 40, 120, 30), 20, SharpFont()).top(), 40 + (30 - Height) / 2);
    EXPECT_EQ(ItemTextLine(QRect(0, 0, 10, 30), 20, SharpFont()).width(), 0);
}

} // namespace
