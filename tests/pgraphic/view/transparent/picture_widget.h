#pragma once

#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>
#include <QWidget>

// The colour of the test picture at (X, Y): a colour of its own for every position nearby, with
// blue always between 137 and 200, so that no grey, yellow or pure blue of a control is mistaken
// for it.
inline QRgb PictureColor(int X, int Y) {
    return qRgb((X * 5) % 256, (Y * 7) % 256, 200 - (X + Y) % 64);
}

// A window that paints the test picture, standing for an image view, and remembers what it
// painted since the last Forget.
class TPictureWidget : public QWidget {
public:
    using QWidget::QWidget;

    QRegion Painted;
    void Forget() { Painted = QRegion(); }

protected:
    void paintEvent(QPaintEvent* Event) override {
        Painted += Event->region();
        QImage Picture(size(), QImage::Format_RGB32);
        for (int Y = 0; Y < height(); ++Y) {
            for (int X = 0; X < width(); ++X) {
                Picture.setPixel(X, Y, PictureColor(X, Y));
            }
        }
        QPainter(this).drawImage(0, 0, Picture);
    }
};
