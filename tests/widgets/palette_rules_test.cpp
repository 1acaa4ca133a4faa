// The rules of the colour button and its popup that hold without any window: where the popup
// goes, which swatch a point hits, the default swatches, the custom colours' string form and
// where the button draws its parts.

#include "platform/qt/qt_color.h"
#include "widgets/color_button_layout.h"
#include "widgets/custom_color_strings.h"
#include "widgets/default_palette.h"
#include "widgets/palette_geometry.h"

#include <QApplication>
#include <gtest/gtest.h>

namespace {

TEST(PaletteGeometry, PopupGoesBelowTheButtonUnlessTheScreenEndsFirst) {
    const QRect Screen(0, 0, 800, 600);
    // Bottom-left corner of a 45 x 22 button at (100, 200): the popup's top-left.
    EXPECT_EQ(PalettePosition(QRect(100, 200, 45, 22), Screen), QPoint(100, 222));
    // Just fits: 479 + 121 = 600.
    EXPECT_EQ(PalettePosition(QRect(10, 457, 45, 22), Screen), QPoint(10, 479));
    // One pixel more and it goes above: top at the button's top - 121.
    EXPECT_EQ(PalettePosition(QRect(10, 458, 45, 22), Screen), QPoint(10, 458 - 121));
    // A screen below another counts from its own top.
    EXPECT_EQ(PalettePosition(QRect(0, 1000, 45, 22), QRect(0, 600, 800, 600)), QPoint(0, 1022));
}

TEST(PaletteGeometry, PointsHitSwatchesOnAnEighteenPixelPitch) {
    const QSize Client = kPaletteClientSize;
    EXPECT_EQ(Client, QSize(72, 115));
    EXPECT_EQ(CellAt({0, 0}, Client), (TPaletteCell{1, 1}));
    EXPECT_EQ(CellAt({17, 17}, Client), (TPaletteCell{1, 1}));
    EXPECT_EQ(CellAt({18, 17}, Client), (TPaletteCell{2, 1}));
    EXPECT_EQ(CellAt({71, 89}, Client), (TPaletteCell{4, 5}));
    // Below the fifth row and left of the other-colour swatch: nothing.
    EXPECT_EQ(CellAt({10, 90}, Client), kNoCell);
    EXPECT_EQ(CellAt({52, 100}, Client), kNoCell);
    // The other-colour swatch: x from width - 19 to width - 1, y from 96 to 113.
    EXPECT_EQ(CellAt({53, 96}, Client), kOtherCell);
    EXPECT_EQ(CellAt({71, 113}, Client), kOtherCell);
    EXPECT_EQ(CellAt({71, 114}, Client), kNoCell);
    // Outside the client area nothing is hit, however the division would round.
    EXPECT_EQ(CellAt({-5, 3}, Client), kNoCell);
    EXPECT_EQ(CellAt({3, -5}, Client), kNoCell);
    EXPECT_EQ(CellAt({72, 3}, Client), kNoCell);
}

TEST(PaletteGeometry, SwatchBoxesStartAtTwoWithTheOtherSwatchBottomRight) {
    EXPECT_EQ(SwatchOrigin({1, 1}, 72), QPoint(2, 2));
    EXPECT_EQ(SwatchOrigin({4, 5}, 72), QPoint(56, 74));
    EXPECT_EQ(SwatchOrigin(kOtherCell, 72), QPoint(54, 97));
    // Every swatch's box centre hits its own cell.
    for (int C = 1; C <= kPaletteColumns; ++C) {
        for (int R = 1; R <= kPaletteRows; ++R) {
            EXPECT_EQ(CellAt(SwatchOrigin({C, R}, 72) + QPoint(8, 8), kPaletteClientSize),
                      (TPaletteCell{C, R}));
        }
    }
    EXPECT_EQ(CellAt(SwatchOrigin(kOtherCell, 72) + QPoint(8, 8), kPaletteClientSize), kOtherCell);
}

TEST(DefaultPalette, TwentyStaticColoursOrSixteenPensOnASixteenColourDisplay) {
    const TColorArrayClass Fixed = DefaultPaletteColors(24);
    ASSERT_EQ(Fixed.Columns(), 4);
    ASSERT_EQ(Fixed.Rows(), 5);
    EXPECT_EQ(Fixed.Colors(1, 1), RGB(255, 255, 255));
    EXPECT_EQ(Fixed.Colors(2, 1), RGB(0, 0, 0));
    EXPECT_EQ(Fixed.Colors(1, 2), RGB(255, 0, 0));
    EXPECT_EQ(Fixed.Colors(3, 5), RGB(255, 247, 239));
    EXPECT_EQ(Fixed.Colors(4, 5), RGB(159, 159, 159));
    const TColorArrayClass Eight = DefaultPaletteColors(8);
    EXPECT_TRUE(Eight.Equals(&Fixed));

    // Pen (c - 1) * 5 + r: black first, white sixteenth, the rest from the table.
    const TColorArrayClass Pens = DefaultPaletteColors(4);
    EXPECT_EQ(Pens.Colors(1, 1), RGB(0, 0, 0));
    EXPECT_EQ(Pens.Colors(1, 2), RGB(128, 0, 0));
    EXPECT_EQ(Pens.Colors(2, 1), RGB(128, 0, 128)); // pen 6
    EXPECT_EQ(Pens.Colors(3, 1), RGB(0, 255, 0));   // pen 11
    EXPECT_EQ(Pens.Colors(4, 1), RGB(255, 255, 255));
    EXPECT_EQ(Pens.Colors(4, 2), Fixed.Colors(4, 2));
    EXPECT_EQ(Pens.Colors(4, 5), Fixed.Colors(4, 5));
}

TEST(PaletteGeometry, FindsTheFirstSwatchColumnByColumnBySystemColoursResolved) {
    TColorArrayClass Palette = DefaultPaletteColors(24);
    EXPECT_EQ(FindPaletteCell(Palette, RGB(0, 127, 0)), (TPaletteCell{2, 3}));
    EXPECT_EQ(FindPaletteCell(Palette, RGB(1, 2, 3)), kNoCell);
    // A colour twice: the first column wins over the first row.
    Palette.SetColors(1, 5, RGB(0, 0, 0));
    EXPECT_EQ(FindPaletteCell(Palette, RGB(0, 0, 0)), (TPaletteCell{1, 5}));
    // A system colour matches the swatch of its current value, and the other way round.
    const TColor Face = ColorToRGB(clBtnFace);
    Palette.SetColors(3, 3, Face);
    EXPECT_EQ(FindPaletteCell(Palette, clBtnFace), (TPaletteCell{3, 3}));
    Palette.SetColors(2, 2, clBtnFace);
    EXPECT_EQ(FindPaletteCell(Palette, Face), (TPaletteCell{2, 2}));
}

TEST(CustomColorStrings, LettersRunAlongRowOneThenRowTwo) {
    TColorArrayClass Grid(8, 2);
    Grid.SetColors(1, 1, 0x0000FF);
    Grid.SetColors(8, 1, 0x123456);
    Grid.SetColors(1, 2, 0xABCDEF);
    Grid.SetColors(8, 2, clBtnFace);
    const std::vector<std::string> Strings = CustomColorStrings(Grid);
    ASSERT_EQ(Strings.size(), 16U);
    EXPECT_EQ(Strings[0], "ColorA=000000FF");
    EXPECT_EQ(Strings[7], "ColorH=00123456");
    EXPECT_EQ(Strings[8], "ColorI=00ABCDEF");
    EXPECT_EQ(Strings[15], "ColorP=8000000F");

    TColorArrayClass Back(8, 2);
    ReadCustomColorStrings(Strings, Back);
    EXPECT_TRUE(Back.Equals(&Grid));
}

TEST(CustomColorStrings, TheLetterPlacesTheColourAndBadHexGivesWhite) {
    EXPECT_EQ(ParseCustomColorString("ColorJ=00ff00")->Color, 0x00FF00);
    const auto J = ParseCustomColorString("ColorJ=00ff00");
    EXPECT_EQ(J->Column, 2);
    EXPECT_EQ(J->Row, 2);
    for (const char* Bad :
         {"ColorA=", "ColorA=xyz", "ColorA=12 ", "ColorA=-1", "ColorA=123456789"}) {
        ASSERT_TRUE(ParseCustomColorString(Bad)) << Bad;
        EXPECT_EQ(ParseCustomColorString(Bad)->Color, 0xFFFFFF) << Bad;
    }
    // Letters outside A to P, and strings without "=", name no cell.
    for (const char* None : {"ColorQ=0", "Colora=0", "Color@=0", "=0", "ColorA0", ""}) {
        EXPECT_FALSE(ParseCustomColorString(None)) << None;
    }
    TColorArrayClass Grid(8, 2);
    ReadCustomColorStrings({"ColorZ=123", "ColorP=7", "garbage"}, Grid);
    EXPECT_EQ(Grid.Colors(8, 2), 7);
}

TEST(ColorButtonLayout, SwatchSeparatorAndArrowOfADefaultButton) {
    const TColorButtonLayout Up = ColorButtonLayout({45, 22}, false, {5, 3});
    EXPECT_EQ(Up.Content, QRect(QPoint(3, 3), QPoint(41, 18)));
    EXPECT_EQ(Up.Swatch, QRect(QPoint(5, 4), QPoint(29, 17)));
    EXPECT_EQ(Up.SeparatorX, 33);
    EXPECT_EQ(Up.ArrowTopLeft, QPoint(36, 10));
    // The arrow stays inside the content.
    EXPECT_LE(Up.ArrowTopLeft.x() + 5 - 1, Up.Content.right());

    const TColorButtonLayout Down = ColorButtonLayout({45, 22}, true, {5, 3});
    EXPECT_EQ(Down.Swatch, Up.Swatch.translated(1, 1));
    EXPECT_EQ(Down.SeparatorX, 34);
    EXPECT_EQ(Down.ArrowTopLeft, QPoint(37, 11));
}

} // namespace
