// The picture open dialog as the settings window uses it, to try by hand (or by xdotool in a
// real X server): a button opens it on a folder of pictures, the chosen file is shown below.
// Usage: open_dialog_demo [FOLDER]; without a folder a few sample pictures, a text file and a
// sub-folder are written to a temporary folder first. Not run by the tests.

#include "pgraphic/image/pixel_graphic.h"
#include "pgraphic/view/open_dialog/pg_open_dialog.h"
#include "platform/system_colors.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <QWidget>
#include <array>
#include <filesystem>
#include <fstream>
#include <iostream>

namespace {

void SavePicture(const std::string& FileName, int Width, int Height) {
    TPixelGraphic Picture;
    Picture.SetSize(Width, Height, bc24);
    for (int Y = 0; Y < Height; ++Y) {
        std::uint8_t* Row = Picture.ScanLine(Y);
        for (int X = 0; X < Width; ++X) {
            Row[3 * X] = static_cast<std::uint8_t>(X * 255 / Width);
            Row[3 * X + 1] = static_cast<std::uint8_t>(Y * 255 / Height);
            Row[3 * X + 2] = static_cast<std::uint8_t>(((X / 40 + Y / 40) % 2) * 200);
        }
    }
    Picture.SaveToFile(FileName);
}

void WriteSamples(const std::string& Folder) {
    SavePicture(Folder + "/landscape.bmp", 640, 480);
    SavePicture(Folder + "/banner.png", 1000, 100);
    SavePicture(Folder + "/photo.jpg", 4000, 3000);
    SavePicture(Folder + "/tall.tga", 120, 600);
    SavePicture(Folder + "/small.ppm", 40, 30);
    std::ofstream(Folder + "/notes.txt") << "not a picture\n";
    std::filesystem::create_directory(Folder + "/more pictures");
}

} // namespace

int main(int argc, char** argv) {
    QApplication App(argc, argv);
    QTemporaryDir Samples;
    std::string Folder = argc > 1 ? argv[1] : Samples.path().toStdString();
    try {
        if (argc <= 1) {
            WriteSamples(Folder);
        }
    } catch (const std::exception& Error) {
        std::cerr << "open_dialog_demo: " << Error.what() << '\n';
        return 1;
    }

    // The program shows the system colours its controls show; the dialog draws with these.
    std::array<TColor, COLOR_INFOBK + 1> Classic{};
    for (int Index = 0; Index <= COLOR_INFOBK; ++Index) {
        Classic[static_cast<std::size_t>(Index)] = GetSysColor(Index);
    }
    SetSysColorSource([Classic](int Index) {
        const QPalette Palette = QApplication::palette();
        const auto From = [](const QColor& Color) {
            return RGB(Color.red(), Color.green(), Color.blue());
        };
        switch (Index) {
        case COLOR_BTNFACE:
            return From(Palette.color(QPalette::Button));
        case COLOR_BTNSHADOW:
            return From(Palette.color(QPalette::Dark));
        case COLOR_BTNTEXT:
            return From(Palette.color(QPalette::ButtonText));
        default:
            return Index >= 0 && Index <= COLOR_INFOBK ? Classic[static_cast<std::size_t>(Index)]
                                                       : TColor{0};
        }
    });

    QWidget Window;
    Window.setWindowTitle("Open dialog");
    auto* Layout = new QVBoxLayout(&Window);
    auto* Open = new QPushButton("Choose a background bitmap...", &Window);
    auto* Chosen = new QLabel("(nothing chosen)", &Window);
    Layout->addWidget(Open);
    Layout->addWidget(Chosen);

    // As the settings window has it.
    auto* dgOpen = new TPGOpenDialog(&Window);
    dgOpen->SetTitle("Select a background bitmap");
    dgOpen->SetStretchMode(smFast);
    dgOpen->SetInitialDir(Folder);
    QObject::connect(Open, &QPushButton::clicked, [=] {
        // The settings window starts the dialog at the background picture it has.
        if (const QString Current = Chosen->property("path").toString(); !Current.isEmpty()) {
            dgOpen->SetFileName(Current.toStdString());
        }
        if (dgOpen->Execute()) {
            Chosen->setProperty("path", QString::fromStdString(dgOpen->FileName()));
            Chosen->setText(QString::fromStdString(dgOpen->FileName()));
            std::cout << dgOpen->FileName() << std::endl;
        }
    });
    Window.resize(360, 80);
    Window.show();
    const int Result = QApplication::exec();
    SetSysColorSource(nullptr);
    return Result;
}
