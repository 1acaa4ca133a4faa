// A window with image views to try by hand (or by xdotool in a real X server): a large view that
// scrolls, selects and tiles the picture, and a 320 x 200 preview that stretches it as the
// settings window does. Usage: view_demo [PICTURE]. Not run by the tests.

#include "pgraphic/image/pixel_graphic.h"
#include "pgraphic/view/image_view/pg_image.h"

#include <QApplication>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QWidget>
#include <iostream>

namespace {

// Colour bands with a grid, so that scaling, mirroring and tiling are easy to see.
std::unique_ptr<TPixelGraphic> SamplePicture() {
    auto Picture = std::make_unique<TPixelGraphic>();
    Picture->SetSize(900, 600, bc24);
    for (int Y = 0; Y < 600; ++Y) {
        for (int X = 0; X < 900; ++X) {
            const bool Grid = X % 50 == 0 || Y % 50 == 0;
            const TColor Color =
                Grid ? RGB(255, 255, 255) : RGB(X * 255 / 900, Y * 255 / 600, (X + Y) % 256);
            Picture->SetPixel(X, Y, static_cast<std::uint32_t>(Color));
        }
    }
    for (int Y = 20; Y < 120; ++Y) { // a mark in the top-left corner
        for (int X = 20; X < 40; ++X) {
            Picture->SetPixel(X, Y, 0);
        }
    }
    return Picture;
}

const char* ModeName(TActionMode Mode) {
    static const char* const Names[] = {"move image", "move, resize, create selection",
                                        "move selection", "move selection, move image", "none"};
    return Names[Mode];
}

} // namespace

int main(int argc, char** argv) {
    QApplication App(argc, argv);
    QWidget Window;
    Window.setWindowTitle("Image view");
    auto* Layout = new QGridLayout(&Window);

    auto* Large = new TPGImage(&Window);
    Large->setMinimumSize(480, 360);
    Large->SetCenter(true);
    Large->SetActionMode(amMoveResizeCreateSelection);

    auto* Panel = new QFrame(&Window);
    Panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel->setLineWidth(2);
    Panel->setFixedSize(324, 204);
    auto* Preview = new TPGImage(Panel);
    Preview->SetBorderStyle(bsNone);
    Preview->SetStretch(sAlways);
    Preview->SetBounds(2, 2, 320, 200);

    try {
        if (argc > 1) {
            Large->LoadFromFile(argv[1]);
        } else {
            const auto Picture = SamplePicture();
            Large->SetPixelGraphic(Picture.get());
        }
    } catch (const std::exception& Error) {
        std::cerr << "view_demo: " << Error.what() << '\n';
        return 1;
    }
    Preview->SetPixelGraphic(Large->PixelGraphic());

    auto* Status = new QLabel(&Window);
    const auto ShowState = [=] {
        Status->setText(QString("Mode: %1   Selection: %2, %3, %4 x %5")
                            .arg(ModeName(Large->ActionMode()))
                            .arg(Large->SelectionLeft())
                            .arg(Large->SelectionTop())
                            .arg(Large->SelectionWidth())
                            .arg(Large->SelectionHeight()));
    };
    Large->OnSelectionChange = [=](TObject*) { ShowState(); };
    ShowState();

    auto* Mode = new QPushButton("Next mode", &Window);
    QObject::connect(Mode, &QPushButton::clicked, [=] {
        Large->SetActionMode(static_cast<TActionMode>((Large->ActionMode() + 1) % 5));
        ShowState();
    });
    auto* Tiles = new QPushButton("Tiling", &Window);
    QObject::connect(Tiles, &QPushButton::clicked, [=] {
        Large->SetTiling(Large->Tiling() == tNone ? tMirror : tNone);
        Large->SetStretch(Large->Tiling() == tNone ? sNeverKAR : sZoomKAR);
        Large->SetZoomFactor(0.25L);
    });

    Layout->addWidget(Large, 0, 0, 3, 1);
    Layout->addWidget(Panel, 0, 1);
    Layout->addWidget(Mode, 1, 1);
    Layout->addWidget(Tiles, 2, 1);
    Layout->addWidget(Status, 3, 0, 1, 2);
    Window.show();
    return QApplication::exec();
}
