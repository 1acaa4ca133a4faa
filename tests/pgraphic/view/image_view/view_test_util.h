#pragma once

#include "pgraphic/image/pixel_graphic.h"
#include "pgraphic/view/image_view/pg_image.h"

#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <memory>

// Helpers of the view tests, in a namespace of their own: other test files of the same program
// have helpers of the same names.
namespace ViewTest {

// The colour of picture pixel (X, Y): every pixel of a picture up to 256 x 256 differs.
inline TColor PictureColor(int X, int Y) {
    return RGB(X & 0xFF, Y & 0xFF, (X * 7 + Y * 13) & 0xFF);
}

inline std::unique_ptr<TPixelGraphic> MakePicture(int Width, int Height) {
    auto Picture = std::make_unique<TPixelGraphic>();
    Picture->SetSize(Width, Height, bc24);
    for (int Y = 0; Y < Height; ++Y) {
        for (int X = 0; X < Width; ++X) {
            Picture->SetPixel(X, Y, static_cast<std::uint32_t>(PictureColor(X, Y)));
        }
    }
    return Picture;
}

inline QRgb ToRgb(TColor Color) {
    return qRgb(GetRValue(Color), GetGValue(Color), GetBValue(Color));
}

// A borderless view of Width x Height, shown.
inline std::unique_ptr<TPGImage> ShownView(int Width, int Height) {
    auto View = std::make_unique<TPGImage>();
    View->SetBorderStyle(bsNone);
    View->resize(Width, Height);
    View->show();
    QApplication::processEvents();
    return View;
}

// What the client area shows (the view's painting with the picture box's on top).
inline QImage Shot(TPGImage& View) {
    return View.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

inline QRgb At(const QImage& Image, int X, int Y) {
    return Image.pixel(X, Y) | 0xFF000000U;
}

} // namespace ViewTest
