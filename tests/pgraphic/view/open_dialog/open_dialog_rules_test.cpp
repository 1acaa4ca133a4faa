// The picture open dialog's window-free logic: dialog units and layout, the preview's geometry,
// the texts it reads and shows, and its filter.

#include "pgraphic/view/open_dialog/dialog_units.h"
#include "pgraphic/view/open_dialog/open_dialog_layout.h"
#include "pgraphic/view/open_dialog/open_dialog_text.h"
#include "pgraphic/view/open_dialog/open_filter.h"
#include "pgraphic/view/open_dialog/preview_geometry.h"

#include <gtest/gtest.h>
#include <vector>

TEST(DialogUnits, AverageWidthAndRoundedConversion) {
    // 52 letters of 312 pixels: 6 on average; 313 to 337 round the same way.
    EXPECT_EQ(PGDialogBaseUnitsFrom(312, 13).AverageCharWidth, 6);
    EXPECT_EQ(PGDialogBaseUnitsFrom(337, 13).AverageCharWidth, 6);
    EXPECT_EQ(PGDialogBaseUnitsFrom(338, 13).AverageCharWidth, 7);
    EXPECT_EQ(PGMulDiv(105, 13, 8), 171); // 170.6
    EXPECT_EQ(PGMulDiv(20, 13, 8), 33);   // 32.5: halves away from zero
    EXPECT_EQ(PGMulDiv(-20, 13, 8), -33);
    EXPECT_EQ(PGMulDiv(7, 1, 0), 0);
    EXPECT_EQ(PGMapDialogRect({192, 20, 284, 105}, {6, 13}), (TPGRect{288, 33, 426, 171}));
}

TEST(OpenDialogLayout, PanelsBesideTheStandardControlsInPixels) {
    const TPGOpenDialogLayout Layout = PGOpenDialogLayout({6, 13});
    EXPECT_EQ(Layout.SideWidth, 432 - 288);
    EXPECT_EQ(Layout.SideHeight, 234);
    EXPECT_EQ(Layout.Preview, (TPGRect{0, 33, 138, 171}));
    EXPECT_EQ(Layout.Description, (TPGRect{2, 179, 140, 232})); // 289.5 and 427.5 round up
    // A larger font makes everything larger.
    const TPGOpenDialogLayout Large = PGOpenDialogLayout({8, 18});
    EXPECT_GT(Large.Preview.Width(), Layout.Preview.Width());
    EXPECT_GT(Large.Description.Top, Layout.Description.Top);
}

TEST(OpenDialogLayout, CentredAcrossAndAThirdDown) {
    EXPECT_EQ(PGOpenDialogPosition({0, 0, 1280, 1024}, 624, 412), (TPGPoint{328, 204}));
    EXPECT_EQ(PGOpenDialogPosition({1280, 0, 2560, 1024}, 624, 412), (TPGPoint{1608, 204}));
    // Larger than the screen: the excess is shared the same way.
    EXPECT_EQ(PGOpenDialogPosition({0, 0, 800, 600}, 1000, 900), (TPGPoint{-100, -100}));
}

TEST(PreviewGeometry, WorkerShrinksToTheInsideNeverEnlarges) {
    EXPECT_EQ(PGPreviewScaledSize(1000, 100, 180, 160), (TPGSize{180, 18}));
    EXPECT_EQ(PGPreviewScaledSize(100, 1000, 180, 160), (TPGSize{16, 160}));
    EXPECT_EQ(PGPreviewScaledSize(4000, 3000, 180, 160), (TPGSize{180, 135}));
    EXPECT_FALSE(PGPreviewScaledSize(100, 50, 180, 160));  // smaller: as it is
    EXPECT_FALSE(PGPreviewScaledSize(180, 160, 180, 160)); // fits exactly
    // Each side keeps at least one pixel.
    EXPECT_EQ(PGPreviewScaledSize(10000, 1, 180, 160), (TPGSize{180, 1}));
    EXPECT_EQ(PGPreviewScaledSize(1, 10000, 180, 160), (TPGSize{1, 160}));
    // No room at all (a panel of 4 pixels or less): no preview size.
    EXPECT_FALSE(PGPreviewScaledSize(1000, 100, 0, 160));
    EXPECT_FALSE(PGPreviewScaledSize(1000, 100, 180, -2));
}

TEST(PreviewGeometry, PaintedCentredAndFittedWhenLarger) {
    const TPGRect Client{0, 0, 184, 164};
    EXPECT_EQ(PGPreviewPaintRect(Client, 180, 18), (TPGRect{2, 73, 182, 91}));
    EXPECT_EQ(PGPreviewPaintRect(Client, 40, 30), (TPGRect{72, 67, 112, 97}));
    // Larger than the inside (after the panel shrank): fitted keeping its aspect ratio.
    EXPECT_EQ(PGPreviewPaintRect(Client, 400, 100), (TPGRect{2, 59, 182, 104}));
    EXPECT_EQ(PGPreviewPaintRect(Client, 100, 400), (TPGRect{72, 2, 112, 162}));
    EXPECT_EQ(PGPreviewPaintRect({0, 0, 4, 40}, 10, 10), (TPGRect{}));
    EXPECT_EQ(PGPreviewClockPosition(Client), (TPGPoint{84, 74}));
}

TEST(PreviewGeometry, SunkenFrameCoversTheTwoPixelRingOnce) {
    const TPGRect Client{0, 0, 12, 9};
    std::vector<std::vector<int>> Shade(9, std::vector<int>(12, -1));
    std::vector<std::vector<int>> Hits(9, std::vector<int>(12, 0));
    for (const TPGFrameStrip& Strip : PGSunkenFrame(Client)) {
        for (int Y = Strip.Area.Top; Y < Strip.Area.Bottom; ++Y) {
            for (int X = Strip.Area.Left; X < Strip.Area.Right; ++X) {
                Shade[Y][X] = Strip.Shade;
                ++Hits[Y][X];
            }
        }
    }
    const TPGRect Inside = PGPreviewInside(Client);
    EXPECT_EQ(Inside, (TPGRect{2, 2, 10, 7}));
    for (int Y = 0; Y < 9; ++Y) {
        for (int X = 0; X < 12; ++X) {
            EXPECT_EQ(Hits[Y][X], Inside.Contains(X, Y) ? 0 : 1) << X << "," << Y;
        }
    }
    EXPECT_EQ(Shade[0][0], fsShadow);
    EXPECT_EQ(Shade[7][0], fsShadow); // the left edge down to the last row but one
    EXPECT_EQ(Shade[0][10], fsShadow);
    EXPECT_EQ(Shade[1][1], fsBlack);
    EXPECT_EQ(Shade[6][1], fsBlack);
    EXPECT_EQ(Shade[1][9], fsBlack);
    EXPECT_EQ(Shade[8][0], fsWhite); // bottom-left and top-right corners are white
    EXPECT_EQ(Shade[0][11], fsWhite);
    EXPECT_EQ(Shade[8][11], fsWhite);
    EXPECT_EQ(Shade[7][1], fsFace);
    EXPECT_EQ(Shade[1][10], fsFace);
    EXPECT_EQ(Shade[7][10], fsFace);
}

TEST(OpenDialogText, FirstOfSeveralSelectedFiles) {
    EXPECT_EQ(PGFirstSelectedFile(R"(C:\pictures\"a.bmp" "b.bmp" "c.bmp")"),
              R"(C:\pictures\a.bmp)");
    EXPECT_EQ(PGFirstSelectedFile("/pictures/one.png"), "/pictures/one.png");
    EXPECT_EQ(PGFirstSelectedFile(R"(/pictures/"quoted".png)"), R"(/pictures/"quoted".png)");
    EXPECT_EQ(PGSelectedFilePath("/p/b.png", "/p", R"("a.png" "b.png")"), "/p/a.png");
    EXPECT_EQ(PGSelectedFilePath("/p/b.png", "/p/", R"("a.png" "b.png")"), "/p/a.png");
    // One name, or a name that merely contains the separator: the item the user is on.
    EXPECT_EQ(PGSelectedFilePath("/p/b.png", "/p", "b.png"), "/p/b.png");
    EXPECT_EQ(PGSelectedFilePath(R"(/p/x" "y.png)", "/p", R"(x" "y.png)"), R"(/p/x" "y.png)");
    EXPECT_EQ(PGSelectedFilePath("/p/sub", "/p", "b.png"), "/p/sub");
}

TEST(OpenDialogText, DescriptionLinesEndWithTheSizeLine) {
    TPGImageFileInfo Info;
    Info.Description = "Bitmap";
    Info.SubFormatText = "Windows, RGB";
    Info.Width = 640;
    Info.Height = 480;
    Info.ColorsText = "16.7M";
    Info.BitsPerPixel = 24;
    Info.ImageCount = 1;
    EXPECT_EQ(PGDescriptionSizeLine(Info), "640x480x16.7M 24 bit");
    EXPECT_EQ(PGDescriptionLines(Info),
              (std::vector<std::string>{"Bitmap", "Windows, RGB", "640x480x16.7M 24 bit"}));
    Info.DetailsText = "gAMA";
    Info.SubFormatText.clear();
    Info.ImageCount = 3;
    EXPECT_EQ(PGDescriptionLines(Info),
              (std::vector<std::string>{"Bitmap", "gAMA", "640x480x16.7M 24 bit, 3"}));
    EXPECT_EQ(PGDescriptionLineTop(0, 4, 70), 0);
    EXPECT_EQ(PGDescriptionLineTop(1, 4, 70), 17);
    EXPECT_EQ(PGDescriptionLineTop(3, 4, 70), 52);
}

TEST(OpenFilter, NameFiltersForTheFileDialog) {
    const std::vector<std::string> Filters = PGNameFilters(BuildOpenFilter());
    ASSERT_EQ(Filters.size(), 16U);
    EXPECT_EQ(Filters[0], "Image files (*.bmp *.dib *.jif *.jpeg *.jpg *.pbm *.pcx *.pgm *.png "
                          "*.ppm *.rle *.tga *.tif *.tiff)");
    EXPECT_EQ(Filters[5], "JPG - JPEG (JFIF compliant) (*.jpg)");
    EXPECT_EQ(Filters[15], "All files (*)");
    EXPECT_EQ(PGNameFilters("Text|*.txt;*.TXT|Any|"),
              (std::vector<std::string>{"Text (*.txt *.TXT)", "Any (*)"}));
    EXPECT_EQ(PGNameFilters("Odd|*.a|Dangling"), (std::vector<std::string>{"Odd (*.a)"}));
    EXPECT_TRUE(PGNameFilters("").empty());
}

TEST(OpenFilter, FilterIndexMapsBackToTheListedReaders) {
    TFileFormatReaders& Readers = FileFormatReaders();
    EXPECT_EQ(PGListedReaderCount(Readers), 14);
    EXPECT_EQ(PGFilterIndexExtension(Readers, 1), ""); // "Image files"
    EXPECT_EQ(PGFilterIndexExtension(Readers, 2), "bmp");
    EXPECT_EQ(PGFilterIndexExtension(Readers, 6), "jpg");
    EXPECT_EQ(PGFilterIndexExtension(Readers, 15), "tiff");
    EXPECT_EQ(PGFilterIndexExtension(Readers, 16), ""); // "All files"
    EXPECT_EQ(PGFilterIndexExtension(Readers, 0), "");
    EXPECT_EQ(PGFilterIndexExtension(Readers, -3), "");
}
