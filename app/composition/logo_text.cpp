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
#include <cmath>
#include <cstdlib>
#include <optional>

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
    QFont Font(ToQString(F.Name));
    Font.setPixelSize(FontPixelSize(F.Size));
    Font.setBold(F.Bold);
    Font.setItalic(F.Italic);
    return Font;
}

bool SameFont(const TFontInfo& A, const TFontInfo& B) {
    return A.Name == B.Name && A.Size == B.Size && A.Bold == B.Bold && A.Italic == B.Italic;
}

// The text as the layout takes it: CR LF, and a CR or LF alone, break lines.
QString LayoutText(const std::string& Text) {
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

    void Draw(const TFontInfo& F, TColor ShadowColor, const QString& Text, TTextEffect Effect,
              int Top) {
        if (Text.isEmpty() || !DrawsText(Effect)) {
            return;
        }
        QPainter& P = Painter(F);
        if (Effect == TTextEffect::Shadow) {
            DrawInBox(P, Text, ShadowColor, kBoxLeft + 2, Top + 2, kBoxRight + 2);
        } else if (Effect == TTextEffect::Raised) {
            DrawInBox(P, Text, ShadeColor(F.Color, 80), kBoxLeft - 1, Top - 1, kBoxRight - 1);
            DrawInBox(P, Text, ShadeColor(F.Color, -80), kBoxLeft + 1, Top + 1, kBoxRight + 1);
        }
        DrawInBox(P, Text, F.Color, kBoxLeft, Top, kBoxRight);
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
        if (!FFont || !SameFont(*FFont, F)) {
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
    std::optional<TFontInfo> FFont; // the painter's font
};

} // namespace

int FontPixelSize(int Points) {
    const long Pixels = std::lround(static_cast<double>(Points) * ScreenPixelsPerInch() / 72.0);
    return Pixels < 1 ? 1 : static_cast<int>(Pixels);
}

int MeasureText(TPixelGraphic& Image, const TFontInfo& F, const std::string& Text) {
    return TTextLayout(Image).Measure(F, LayoutText(Text));
}

void DrawTextWithEffect(TPixelGraphic& Image, const TFontInfo& F, TColor ShadowColor,
                        const std::string& Text, TTextEffect Effect, int Top) {
    TTextLayout(Image).Draw(F, ShadowColor, LayoutText(Text), Effect, Top);
}

TColor ShadeColor(TColor Color, int Percent) {
    const TColor C = ResolveSysColor(Color);
    const int Target = Percent > 0 ? 255 : 0;
    const int P = std::abs(Percent);
    const auto Shade = [&](int Channel) { return Channel + (Target - Channel) * P / 100; };
    return RGB(Shade(GetRValue(C)), Shade(GetGValue(C)), Shade(GetBValue(C)));
}

void DrawLogoText(const TTextInfo& T) {
    TTextLayout Layout(*T.Image);
    const QString Text1 = LayoutText(T.Text1);
    TFontInfo Font1 = T.Font1;
    if (T.Count != 2) {
        int Height = Layout.Measure(Font1, Text1);
        while (Height > kOneTextHeight && Font1.Size > kSmallestFitSize) {
            --Font1.Size;
            Height = Layout.Measure(Font1, Text1);
        }
        Layout.Draw(Font1, T.Shadow1, Text1, T.Effect1, OneTextTop(T.Position, Height));
        return;
    }
    const QString Text2 = LayoutText(T.Text2);
    TFontInfo Font2 = T.Font2;
    int Height1 = Layout.Measure(Font1, Text1);
    int Height2 = Layout.Measure(Font2, Text2);
    while (Height1 + Height2 > kTwoTextsHeight &&
           (Font1.Size > kSmallestFitSize || Font2.Size > kSmallestFitSize)) {
        if (Font1.Size > kSmallestFitSize) {
            --Font1.Size;
            Height1 = Layout.Measure(Font1, Text1);
        }
        if (Font2.Size > kSmallestFitSize) {
            --Font2.Size;
            Height2 = Layout.Measure(Font2, Text2);
        }
    }
    const int Top1 = (kLogoHeight - kGap - Height1 - Height2) / 2;
    const int Top2 = Top1 + Height1 + kGap;
    Layout.Draw(Font1, T.Shadow1, Text1, T.Effect1, Top1);
    Layout.Draw(Font2, T.Shadow2, Text2, T.Effect2, Top2);
}

TFontInfo FontOf(const TLogoValues& Values) {
    return TFontInfo{Values.Font, Values.Size, Values.TextColor, Values.Bold, Values.Italic};
}
