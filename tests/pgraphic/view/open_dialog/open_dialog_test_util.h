#pragma once

#include "pgraphic/image/pixel_graphic.h"
#include "pgraphic/view/worker/worker_events.h"

#include <QEvent>
#include <QObject>
#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Pictures written for the picture open dialog's tests, and a record of what its worker posts.
namespace OpenDialogTest {

// The colour of pixel (X, Y) of the test pictures.
inline TColor PictureColor(int X, int Y) {
    return RGB(X * 7 & 0xFF, Y * 5 & 0xFF, (X + Y) & 0xFF);
}

inline void SavePicture(const std::string& FileName, int Width, int Height) {
    TPixelGraphic Picture;
    Picture.SetSize(Width, Height, bc24);
    for (int Y = 0; Y < Height; ++Y) {
        std::uint8_t* Row = Picture.ScanLine(Y);
        for (int X = 0; X < Width; ++X) {
            const TColor Color = PictureColor(X, Y);
            Row[3 * X] = GetBValue(Color);
            Row[3 * X + 1] = GetGValue(Color);
            Row[3 * X + 2] = GetRValue(Color);
        }
    }
    Picture.SaveToFile(FileName);
}

// A photograph-like JPEG: smooth gradients with grain, which costs a decoder as much as a real
// photograph of that size.
inline void SavePhoto(const std::string& FileName, int Width, int Height) {
    TPixelGraphic Picture;
    Picture.SetSize(Width, Height, bc24);
    std::uint32_t Noise = 12345;
    for (int Y = 0; Y < Height; ++Y) {
        std::uint8_t* Row = Picture.ScanLine(Y);
        for (int X = 0; X < Width; ++X) {
            Noise = Noise * 1664525U + 1013904223U;
            const int Grain = static_cast<int>(Noise >> 27) - 16;
            Row[3 * X] = static_cast<std::uint8_t>(std::clamp(X * 255 / Width + Grain, 0, 255));
            Row[3 * X + 1] =
                static_cast<std::uint8_t>(std::clamp(Y * 255 / Height + Grain, 0, 255));
            Row[3 * X + 2] = static_cast<std::uint8_t>(std::clamp(128 + Grain * 3, 0, 255));
        }
    }
    Picture.SaveToFile(FileName);
}

// Watches the events a worker posts to an object: the run of every preview and progress report
// in the order they arrive (letting them through).
class TPostedEvents : public QObject {
public:
    struct TProgress {
        std::uint64_t Run;
        int Step;
        int Percent;
    };

    explicit TPostedEvents(QObject* Watched) { Watched->installEventFilter(this); }

    std::vector<std::uint64_t> Previews;
    std::vector<TProgress> Progress;

    bool eventFilter(QObject* Watched, QEvent* Event) override {
        if (Event->type() == TPGImageReadyEvent::EventType()) {
            Previews.push_back(static_cast<TPGImageReadyEvent*>(Event)->Run());
        } else if (Event->type() == TPGProgressReportEvent::EventType()) {
            const auto* Report = static_cast<TPGProgressReportEvent*>(Event);
            Progress.push_back({Report->Run(), Report->Step(), Report->Percent()});
        }
        return QObject::eventFilter(Watched, Event);
    }
};

} // namespace OpenDialogTest
