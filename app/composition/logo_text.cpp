#include "app/composition/logo_text.h"

#include "app/logo/logo_image.h"
#include "pgraphic/canvas/canvas.h"
#include "platform/display.h"
#include "platform/qt/qt_color.h"
#include "platform/qt/qt_string.h"
#include "platform/system_colors.h"

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QRect>
#include <QString>
#include <array>
#include <cmath>
#include <cstdlib>

namespace {

constexpr int kBoxLeft = 20;
constexpr int kBoxRight = 620;
constexpr int kTextFlags = Qt::AlignHCenter | Qt::TextWordWrap;

// One text's room and margins.
constexpr int kOneTextHeight = 360;
constexpr int kTwoTextsHeight = 350;
constexpr int kMargin = 20;
constexpr int kGap = 10;

QFont LogoFont(const TFontInfo& F) {
    QFont Font(ToQString(F.Logo->Font));
    Font.setPixelSize(FontPixelSize(F.Size));
    Font.setBold(F.Logo->Bold);
    Font.setItalic(F.Logo->Italic);
    return Font;
}

// The text as the layout takes it: CR LF, and a CR or LF alone, break lines.
QString LayoutText(std::string_view Text) {
    QString Result = ToQString(Text);
    Result.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    Result.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return Result;
}

bool DrawsText(TTextEffect Effect) {
    return Effect == TTextEffect::Nothing || Effect == TTextEffect::Shadow ||
           Effect == TTextEffect::Raised;
}

int OneTextTop(TTextPosition Position, int Height) {
    switch (Position) {
    case TTextPosition::Top:
        return kMargin;
    case TTextPosition::Bottom:
        return kLogoHeight - kMargin - Height;
    case TTextPosition::Middle:
    case TTextPosition::Unselected:
        break;
    }
    return (kLogoHeight - Height) / 2;
}

// The text layout of one composition: the painter of the logo's canvas, opened on first use and
// set up to paint glyphs only, with the font of the text in hand. Texts are measured and drawn
// through it in the form LayoutText gives them.
class TTextLayout {
public:
    explicit TTextLayout(TPixelGraphic& Image) : FImage(Image) {}

    // Height of Text in the text box at font F; 0 for an empty text.
    int Measure(const TFontInfo& F, const QString& Text) {
        if (Text.isEmpty()) {
            return 0;
        }
        const QRect Box(kBoxLeft, 0, kBoxRight - kBoxLeft, kLogoHeight);
        return Painter(F).boundingRect(Box, kTextFlags, Text).height();
    }

    // Draws Text at Top with the effect and colours of F's logo.
    void Draw(const TFontInfo& F, const QString& Text, int Top) {
        const TLogoValues& Logo = *F.Logo;
        if (Text.isEmpty() || !DrawsText(Logo.Effect)) {
            return;
        }
        QPainter& P = Painter(F);
        const TColor Color = Logo.TextColor;
        if (Logo.Effect == TTextEffect::Shadow) {
            DrawInBox(P, Text, Logo.ShadowColor, kBoxLeft + 2, Top + 2, kBoxRight + 2);
        } else if (Logo.Effect == TTextEffect::Raised) {
            DrawInBox(P, Text, ShadeColor(Color, 80), kBoxLeft - 1, Top - 1, kBoxRight - 1);
            DrawInBox(P, Text, ShadeColor(Color, -80), kBoxLeft + 1, Top + 1, kBoxRight + 1);
        }
        DrawInBox(P, Text, Color, kBoxLeft, Top, kBoxRight);
        FCanvas->Changed();
    }

private:
    // The canvas's painter with F as its font, made anew only when F differs from the last. The
    // painter is asked of the canvas each time, which costs a flag test while it is open, so
    // that a flush of the image between two texts cannot leave a closed one in hand (the canvas
    // carries the painter's settings over to the next).
    QPainter& Painter(const TFontInfo& F) {
        if (FCanvas == nullptr) {
            FCanvas = &PGCanvasOf(FImage);
            QPainter& Opened = FCanvas->Painter();
            Opened.setBrush(Qt::NoBrush);
            Opened.setBackgroundMode(Qt::TransparentMode);
        }
        QPainter& Result = FCanvas->Painter();
        if (FFont != F) {
            FFont = F;
            Result.setFont(LogoFont(F));
        }
        return Result;
    }

    static void DrawInBox(QPainter& Painter, const QString& Text, TColor Color, int Left, int Top,
                          int Right) {
        if (Top >= kLogoHeight) {
            return; // the box holds no row of the picture
        }
        Painter.setPen(ToQColor(Color));
        Painter.drawText(QRect(Left, Top, Right - Left, kLogoHeight - Top), kTextFlags, Text);
    }

    TPixelGraphic& FImage;
    TPGCanvas* FCanvas = nullptr;
    TFontInfo FFont; // the painter's font; none (no logo) at first
};

} // namespace

int FontPixelSize(int Points) {
    const long Pixels = std::lround(static_cast<double>(Points) * ScreenPixelsPerInch() / 72.0);
    return Pixels < 1 ? 1 : static_cast<int>(Pixels);
}

int MeasureText(TPixelGraphic& Image, const TFontInfo& F, const std::string& Text) {
    return TTextLayout(Image).Measure(F, LayoutText(Text));
}

void DrawTextWithEffect(TPixelGraphic& Image, const TFontInfo& F, const std::string& Text,
                        int Top) {
    TTextLayout(Image).Draw(F, LayoutText(Text), Top);
}

TColor ShadeColor(TColor Color, int Percent) {
    const TColor C = ResolveSysColor(Color);
    const int Target = Percent > 0 ? 255 : 0;
    const int P = std::abs(Percent);
    const auto Shade = [&](int Channel) { return Channel + (Target - Channel) * P / 100; };
    return RGB(Shade(GetRValue(C)), Shade(GetGValue(C)), Shade(GetBValue(C)));
}

namespace {

// A text alone: shrunk until it fits, placed by its logo's position.
void DrawOneText(TTextLayout& Layout, const TTextInfo& T) {
    const QString Text = LayoutText(T.Text);
    TFontInfo Font{T.Logo, T.Logo->Size};
    int Height = Layout.Measure(Font, Text);
    while (Height > kOneTextHeight && Font.Size > kSmallestFitSize) {
        --Font.Size;
        Height = Layout.Measure(Font, Text);
    }
    Layout.Draw(Font, Text, OneTextTop(T.Logo->Position, Height));
}

// The question above the answer: both shrunk a point at a time until they fit together,
// centred as a block.
void DrawTextPair(TTextLayout& Layout, const TTextInfo& First, const TTextInfo& Last) {
    const std::array<QString, 2> Texts{LayoutText(First.Text), LayoutText(Last.Text)};
    std::array<TFontInfo, 2> Fonts{{{First.Logo, First.Logo->Size}, {Last.Logo, Last.Logo->Size}}};
    std::array<int, 2> Heights{Layout.Measure(Fonts[0], Texts[0]),
                               Layout.Measure(Fonts[1], Texts[1])};
    while (Heights[0] + Heights[1] > kTwoTextsHeight &&
           (Fonts[0].Size > kSmallestFitSize || Fonts[1].Size > kSmallestFitSize)) {
        for (std::size_t I = 0; I < 2; ++I) {
            if (Fonts[I].Size > kSmallestFitSize) {
                --Fonts[I].Size;
                Heights[I] = Layout.Measure(Fonts[I], Texts[I]);
            }
        }
    }
    const int Top = (kLogoHeight - kGap - Heights[0] - Heights[1]) / 2;
    Layout.Draw(Fonts[0], Texts[0], Top);
    Layout.Draw(Fonts[1], Texts[1], Top + Heights[0] + kGap);
}

} // namespace

void DrawLogoText(TPixelGraphic& Image, std::span<const TTextInfo> Texts) {
    TTextLayout Layout(Image);
    if (Texts.size() == 1) {
        DrawOneText(Layout, Texts[0]);
    } else if (Texts.size() == 2) {
        DrawTextPair(Layout, Texts[0], Texts[1]);
    }
}
