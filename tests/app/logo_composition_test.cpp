// Backgrounds and texts of the logos, drawn with real fonts (Liberation through fontconfig) on
// Qt's offscreen platform.

#include "app/composition/background.h"
#include "app/composition/logo_text.h"
#include "app/logo/logo_image.h"
#include "pgraphic/image/pixel_graphic.h"
#include "tests/app/logo_pixels.h"
#include "tests/platform/test_files.h"

#include <gtest/gtest.h>

namespace {

class TLogoImage : public TPixelGraphic {
public:
    explicit TLogoImage(TColor Fill = RGB(0, 0, 0)) {
        SetSize(kComposedLogoWidth, kLogoHeight, bc24);
        SetBackGroundColor(Fill);
        Clear();
    }
};

// The text settings of a logo: Liberation Sans in Color, drawn with Effect and Shadow.
TLogoValues Style(TColor Color, TColor Shadow = 0, TTextEffect Effect = TTextEffect::Nothing,
                  TTextPosition Position = TTextPosition::Middle) {
    TLogoValues Values;
    Values.Font = "Liberation Sans";
    Values.TextColor = Color;
    Values.ShadowColor = Shadow;
    Values.Effect = Effect;
    Values.Position = Position;
    return Values;
}

const TLogoValues kWhite = Style(RGB(255, 255, 255));
const TLogoValues kYellow = Style(RGB(255, 255, 0));
const TLogoValues kCyan = Style(RGB(0, 255, 255));

TFontInfo Font(int Size, const TLogoValues& Style = kWhite) {
    return {&Style, Size};
}

// The logo values of Style at Size points.
TLogoValues Sized(TLogoValues Style, int Size) {
    Style.Size = Size;
    return Style;
}

// Lines of text joined by CR LF.
std::string Lines(int Count, const std::string& Line = "Riddle") {
    std::string Text;
    for (int I = 0; I < Count; ++I) {
        Text += (I == 0 ? "" : "\r\n") + Line;
    }
    return Text;
}

// The first and last rows holding a pixel other than Background; -1 when there is none.
std::pair<int, int> InkRows(const TPixelGraphic& Image, TColor Background) {
    int First = -1, Last = -1;
    for (int Y = 0; Y < Image.Height(); ++Y) {
        for (int X = 0; X < Image.Width(); ++X) {
            if (Image.PixelColors(X, Y) != Background) {
                First = First < 0 ? Y : First;
                Last = Y;
                break;
            }
        }
    }
    return {First, Last};
}

} // namespace

TEST(Background, SingleColourGradientAndBlack) {
    TLogoImage Image;
    BuildBackground(Image,
                    {.SingleColor = RGB(0, 128, 128), .Background = TBackgroundKind::Single});
    EXPECT_EQ(CountColor(Image, RGB(0, 128, 128)), 640 * 400);
    // A system colour (button face) resolves first.
    BuildBackground(Image, {.SingleColor = static_cast<TColor>(0x8000000F),
                            .Background = TBackgroundKind::Single});
    EXPECT_EQ(Image.PixelColors(639, 399), RGB(192, 192, 192));

    BuildBackground(Image, {.GradientTop = RGB(0, 0, 0),
                            .GradientBottom = RGB(255, 255, 255),
                            .Background = TBackgroundKind::Degraded});
    EXPECT_EQ(Image.PixelColors(0, 0), RGB(0, 0, 0));
    EXPECT_EQ(Image.PixelColors(639, 200), RGB(127, 127, 127));
    EXPECT_EQ(Image.PixelColors(5, 399), RGB(254, 254, 254));
    // Channels fall as well as rise, each truncated toward zero.
    BuildBackground(Image, {.GradientTop = RGB(255, 0, 10),
                            .GradientBottom = RGB(0, 255, 0),
                            .Background = TBackgroundKind::Degraded});
    EXPECT_EQ(Image.PixelColors(320, 1), RGB(255 - 255 / 400, 255 / 400, 10 - 10 / 400));
    EXPECT_EQ(Image.PixelColors(320, 399), RGB(1, 254, 1));

    BuildBackground(Image, {.SingleColor = RGB(9, 9, 9),
                            .GradientTop = RGB(9, 9, 9),
                            .Background = static_cast<TBackgroundKind>(5)});
    EXPECT_EQ(CountColor(Image, RGB(0, 0, 0)), 640 * 400);
    BuildBackground(Image, {.SingleColor = RGB(9, 9, 9),
                            .GradientTop = RGB(9, 9, 9),
                            .Background = TBackgroundKind::Unselected});
    EXPECT_EQ(CountColor(Image, RGB(0, 0, 0)), 640 * 400);
}

TEST(Background, APictureFillsTheWholeBackgroundAMissingOneLeavesItBlack) {
    TTempDir Dir;
    TPixelGraphic Picture;
    Picture.SetSize(100, 100, bc24);
    Picture.SetBackGroundColor(RGB(200, 30, 40));
    Picture.Clear();
    Picture.SaveToFile(Dir / "small.bmp");

    TLogoImage Image(RGB(1, 2, 3));
    BuildBackground(Image, {.Bitmap = Dir / "small.bmp", .Background = TBackgroundKind::Bitmap});
    EXPECT_EQ(CountColor(Image, RGB(200, 30, 40)), 640 * 400);

    BuildBackground(Image, {.Bitmap = Dir / "missing.bmp", .Background = TBackgroundKind::Bitmap});
    EXPECT_EQ(CountColor(Image, RGB(0, 0, 0)), 640 * 400);

    WriteFile(Dir / "broken.bmp", "BM this is no picture");
    Image.SetBackGroundColor(RGB(1, 2, 3));
    Image.Clear();
    EXPECT_ANY_THROW(BuildBackground(
        Image, {.Bitmap = Dir / "broken.bmp", .Background = TBackgroundKind::Bitmap}));
    EXPECT_EQ(CountColor(Image, RGB(0, 0, 0)), 640 * 400);
}

TEST(LogoText, ShadeColorMovesTowardWhiteOrBlack) {
    EXPECT_EQ(ShadeColor(RGB(0, 0, 0), 80), RGB(204, 204, 204));
    EXPECT_EQ(ShadeColor(RGB(255, 255, 255), -80), RGB(51, 51, 51));
    EXPECT_EQ(ShadeColor(RGB(255, 255, 255), 80), RGB(255, 255, 255));
    EXPECT_EQ(ShadeColor(RGB(10, 100, 201), 0), RGB(10, 100, 201)); // 0 goes toward black by 0
    EXPECT_EQ(ShadeColor(RGB(10, 100, 201), -50), RGB(5, 50, 101));
    EXPECT_EQ(ShadeColor(static_cast<TColor>(0x8000000F), -50), RGB(96, 96, 96));
}

TEST(LogoText, MeasuringCountsLinesBreaksAndWrapping) {
    TLogoImage Image;
    EXPECT_EQ(FontPixelSize(18), 24);
    EXPECT_EQ(MeasureText(Image, Font(18), ""), 0);
    const int One = MeasureText(Image, Font(18), "Riddle");
    EXPECT_GE(One, 24);
    EXPECT_LT(One, 40);
    const int Three = MeasureText(Image, Font(18), Lines(3));
    EXPECT_GE(Three, 3 * One);
    EXPECT_LT(Three, 3 * One + 6); // line spacing aside
    // Words wrap inside the 600-pixel box.
    const std::string Long = "word word word word word word word word word word word word word "
                             "word word word word word word word word word word word word";
    EXPECT_GE(MeasureText(Image, Font(18), Long), 2 * One);
    EXPECT_GT(MeasureText(Image, Font(36), "Riddle"), One);
    EXPECT_EQ(CountColor(Image, RGB(0, 0, 0)), 640 * 400); // measuring draws nothing
}

TEST(LogoText, EffectsDrawAtTheirOffsets) {
    const TColor Green = RGB(0, 255, 0), Red = RGB(255, 0, 0);
    TLogoImage Plain, Shadowed, Raised, None;
    const TLogoValues GreenPlain = Style(Green, Red, TTextEffect::Nothing);
    const TLogoValues GreenShadowed = Style(Green, Red, TTextEffect::Shadow);
    const TLogoValues GreenNone = Style(Green, Red, static_cast<TTextEffect>(3));
    DrawTextWithEffect(Plain, Font(30, GreenPlain), "Shadow test", 100);
    DrawTextWithEffect(Shadowed, Font(30, GreenShadowed), "Shadow test", 100);
    DrawTextWithEffect(None, Font(30, GreenNone), "Shadow test", 100);
    EXPECT_EQ(CountColor(None, RGB(0, 0, 0)), 640 * 400);
    EXPECT_EQ(CountColor(Plain, Red), 0); // the shadow colour plays no part in "Nothing"
    ASSERT_GT(CountColor(Plain, Green), 50);
    int Checked = 0;
    for (int Y = 0; Y < 398; ++Y) {
        for (int X = 0; X < 638; ++X) {
            if (Plain.PixelColors(X, Y) == Green) {
                // Where the text is solid, its shadow lies 2 pixels right and 2 down, under the
                // text (or its smoothed edge) wherever the text covers it.
                const TColor Below = Shadowed.PixelColors(X + 2, Y + 2);
                EXPECT_GE(GetRValue(Below) + GetGValue(Below), 250) << X << "," << Y;
                EXPECT_EQ(GetBValue(Below), 0);
                EXPECT_EQ(Shadowed.PixelColors(X, Y), Green);
                ++Checked;
            }
        }
    }
    EXPECT_GT(Checked, 50);
    EXPECT_GT(CountColor(Shadowed, Red), 50);

    // "3D" on white: the light copy is white too, the dark one (51, 51, 51).
    const TLogoValues WhiteRaised = Style(RGB(255, 255, 255), Red, TTextEffect::Raised);
    DrawTextWithEffect(Raised, Font(30, WhiteRaised), "Raised", 100);
    EXPECT_GT(CountColor(Raised, RGB(51, 51, 51)), 20);
    EXPECT_GT(CountColor(Raised, RGB(255, 255, 255)), 50);
    EXPECT_EQ(CountColor(Raised, Red), 0);
}

TEST(LogoText, AmpersandsAreDrawnAsThemselves) {
    TLogoImage Image;
    DrawTextWithEffect(Image, Font(40), "&", 100);
    EXPECT_GT(CountColor(Image, RGB(255, 255, 255)), 20);
    // "A&B" is as wide as its three characters: nothing is taken for a mnemonic.
    TLogoImage Three, Two;
    DrawTextWithEffect(Three, Font(40), "A&B", 100);
    DrawTextWithEffect(Two, Font(40), "AB", 100);
    EXPECT_GT(CountColor(Three, RGB(255, 255, 255)), CountColor(Two, RGB(255, 255, 255)));
}

TEST(LogoText, OneTextIsPlacedAtTheTopMiddleOrBottom) {
    const std::string Text = Lines(4);
    TLogoImage Probe;
    const int Height = MeasureText(Probe, Font(18), Text);
    ASSERT_GT(Height, 0);
    const int Tops[] = {20, (400 - Height) / 2, 380 - Height};
    for (const TTextPosition Position :
         {TTextPosition::Top, TTextPosition::Middle, TTextPosition::Bottom}) {
        TLogoImage Drawn, Expected;
        const TLogoValues Placed =
            Sized(Style(RGB(255, 255, 255), 0, TTextEffect::Nothing, Position), 18);
        const TTextInfo T[] = {{&Placed, Text}};
        DrawLogoText(Drawn, T);
        DrawTextWithEffect(Expected, Font(18), Text, Tops[static_cast<int>(Position)]);
        EXPECT_TRUE(SamePixels(Drawn, Expected)) << "position " << static_cast<int>(Position);
    }
}

TEST(LogoText, ATextTallerThan360PixelsIsDrawnAtTheFirstSizeThatFits) {
    TLogoImage Probe;
    // The first size from which the text no longer fits, and the text fitted.
    for (int Count = 6; Count <= 16; ++Count) {
        const std::string Text = Lines(Count);
        int Size = 72;
        while (Size > 8 && MeasureText(Probe, Font(Size), Text) <= 360) {
            --Size;
        }
        if (MeasureText(Probe, Font(Size), Text) <= 360) {
            continue;
        }
        int Fits = Size - 1;
        while (MeasureText(Probe, Font(Fits), Text) > 360) {
            --Fits;
        }
        const int Height = MeasureText(Probe, Font(Fits), Text);
        TLogoImage Drawn, Expected;
        const TLogoValues Bottom =
            Sized(Style(RGB(255, 255, 255), 0, TTextEffect::Nothing, TTextPosition::Bottom), Size);
        const TTextInfo T[] = {{&Bottom, Text}};
        DrawLogoText(Drawn, T);
        DrawTextWithEffect(Expected, Font(Fits), Text, 380 - Height);
        EXPECT_TRUE(SamePixels(Drawn, Expected)) << Count << " lines at " << Size;
    }
}

TEST(LogoText, TwoTextsShrinkTogetherAndAreCentredAsABlock) {
    TLogoImage Probe;
    // About 200 and 180 pixels: the first would fit alone, together they are too tall.
    const std::string Text1 = Lines(7), Text2 = Lines(6);
    const int Size = 22;
    const int H1 = MeasureText(Probe, Font(Size), Text1);
    const int H2 = MeasureText(Probe, Font(Size), Text2);
    ASSERT_LE(H1, 360);
    ASSERT_GT(H1 + H2, 350);
    int Fit = Size;
    while (MeasureText(Probe, Font(Fit), Text1) + MeasureText(Probe, Font(Fit), Text2) > 350) {
        --Fit;
    }
    const int F1 = MeasureText(Probe, Font(Fit), Text1);
    const int F2 = MeasureText(Probe, Font(Fit), Text2);
    const int Top1 = (390 - F1 - F2) / 2;

    TLogoImage Drawn, Expected;
    // The position is not used with two texts.
    const TLogoValues Question =
        Sized(Style(RGB(255, 255, 0), 0, TTextEffect::Nothing, TTextPosition::Top), Size);
    const TLogoValues Answer = Sized(kCyan, Size);
    const TTextInfo T[] = {{&Question, Text1}, {&Answer, Text2}};
    DrawLogoText(Drawn, T);
    DrawTextWithEffect(Expected, Font(Fit, kYellow), Text1, Top1);
    DrawTextWithEffect(Expected, Font(Fit, kCyan), Text2, Top1 + F1 + 10);
    EXPECT_TRUE(SamePixels(Drawn, Expected));
}

TEST(LogoText, HugeTextsEndAtTheSmallestSize) {
    TLogoImage Image;
    const TLogoValues Big = Sized(kWhite, 72);
    const std::string Xs = Lines(400, "x"), Ys = Lines(400, "y");
    const TTextInfo One[] = {{&Big, Xs}};
    DrawLogoText(Image, One); // ends although even 1 point is too tall
    const TTextInfo Two[] = {{&Big, Xs}, {&Big, Ys}};
    DrawLogoText(Image, Two);
    const auto [First, Last] = InkRows(Image, RGB(0, 0, 0));
    EXPECT_GE(First, 0);
}
