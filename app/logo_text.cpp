#include "app/logo_text.h"

#include "app/logo/logo_image.h"
#include "pgraphic/canvas/canvas.h"
#include "platform/display.h"
#include "platform/qt/qt_color.h"
#include "platform/system_colors.h"

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QRect>
#include <QString>
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
    QFont Font(QString::fromStdString(F.Name));
    Font.setPixelSize(FontPixelSize(F.Size));
    Font.setBold(F.Bold);
    Font.setItalic(F.Italic);
    return Font;
}

// The text as the layout takes it: CR LF, and a CR or LF alone, break lines.
QString LayoutText(const std::string& Text) {
    QString Result = QString::fromUtf8(Text.data(), static_cast<qsizetype>(Text.size()));
    Result.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    Result.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return Result;
}

// The painter of Image's canvas set up for F, painting glyphs only.
QPainter& TextPainter(TPixelGraphic& Image, const TFontInfo& F) {
    QPainter& Painter = PGCanvasOf(Image).Painter();
    Painter.setFont(LogoFont(F));
    Painter.setBrush(Qt::NoBrush);
    Painter.setBackgroundMode(Qt::TransparentMode);
    return Painter;
}

void DrawInBox(QPainter& Painter, const QString& Text, TColor Color, int Left, int Top, int Right) {
    if (Top >= kLogoHeight) {
        return; // the box holds no row of the picture
    }
    Painter.setPen(ToQColor(Color));
    Painter.drawText(QRect(Left, Top, Right - Left, kLogoHeight - Top), kTextFlags, Text);
}

int OneTextTop(int Position, int Height) {
    switch (Position) {
    case 0:
        return kMargin;
    case 2:
        return kLogoHeight - kMargin - Height;
    default:
        return (kLogoHeight - Height) / 2;
    }
}

} // namespace

int FontPixelSize(int Points) {
    const long Pixels = std::lround(static_cast<double>(Points) * ScreenPixelsPerInch() / 72.0);
    return Pixels < 1 ? 1 : static_cast<int>(Pixels);
}

int MeasureText(TPixelGraphic& Image, const TFontInfo& F, const std::string& Text) {
    if (Text.empty()) {
        return 0;
    }
    QPainter& Painter = TextPainter(Image, F);
    const QRect Box(kBoxLeft, 0, kBoxRight - kBoxLeft, kLogoHeight);
    return Painter.boundingRect(Box, kTextFlags, LayoutText(Text)).height();
}

void DrawTextWithEffect(TPixelGraphic& Image, const TFontInfo& F, TColor ShadowColor,
                        const std::string& Text, int Effect, int Top) {
    if (Text.empty() || Effect < 0 || Effect > 2) {
        return;
    }
    TPGCanvas& Canvas = PGCanvasOf(Image);
    QPainter& Painter = TextPainter(Image, F);
    const QString Layout = LayoutText(Text);
    if (Effect == 1) {
        DrawInBox(Painter, Layout, ShadowColor, kBoxLeft + 2, Top + 2, kBoxRight + 2);
    } else if (Effect == 2) {
        DrawInBox(Painter, Layout, ShadeColor(F.Color, 80), kBoxLeft - 1, Top - 1, kBoxRight - 1);
        DrawInBox(Painter, Layout, ShadeColor(F.Color, -80), kBoxLeft + 1, Top + 1, kBoxRight + 1);
    }
    DrawInBox(Painter, Layout, F.Color, kBoxLeft, Top, kBoxRight);
    Canvas.Changed();
}

TColor ShadeColor(TColor Color, int Percent) {
    const TColor C = ResolveSysColor(Color);
    const int Target = Percent > 0 ? 255 : 0;
    const int P = std::abs(Percent);
    const auto Shade = [&](int Channel) { return Channel + (Target - Channel) * P / 100; };
    return RGB(Shade(GetRValue(C)), Shade(GetGValue(C)), Shade(GetBValue(C)));
}

void DrawLogoText(const TTextInfo& T) {
    TPixelGraphic& Image = *T.Image;
    TFontInfo Font1 = T.Font1;
    if (T.Count != 2) {
        int Height = MeasureText(Image, Font1, T.Text1);
        while (Height > kOneTextHeight && Font1.Size > kSmallestFitSize) {
            --Font1.Size;
            Height = MeasureText(Image, Font1, T.Text1);
        }
        DrawTextWithEffect(Image, Font1, T.Shadow1, T.Text1, T.Effect1,
                           OneTextTop(T.Position, Height));
        return;
    }
    TFontInfo Font2 = T.Font2;
    int Height1 = MeasureText(Image, Font1, T.Text1);
    int Height2 = MeasureText(Image, Font2, T.Text2);
    while (Height1 + Height2 > kTwoTextsHeight &&
           (Font1.Size > kSmallestFitSize || Font2.Size > kSmallestFitSize)) {
        if (Font1.Size > kSmallestFitSize) {
            --Font1.Size;
            Height1 = MeasureText(Image, Font1, T.Text1);
        }
        if (Font2.Size > kSmallestFitSize) {
            --Font2.Size;
            Height2 = MeasureText(Image, Font2, T.Text2);
        }
    }
    const int Top1 = (kLogoHeight - kGap - Height1 - Height2) / 2;
    const int Top2 = Top1 + Height1 + kGap;
    DrawTextWithEffect(Image, Font1, T.Shadow1, T.Text1, T.Effect1, Top1);
    DrawTextWithEffect(Image, Font2, T.Shadow2, T.Text2, T.Effect2, Top2);
}
