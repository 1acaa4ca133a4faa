// A window with the form widgets at the sizes the settings window gives them, for looking at
// them in a real X server: colour buttons, a font box and a file list of a folder's "*.txt"
// files. The folder is the first argument, else the current folder.

#include "widgets/color_button.h"
#include "widgets/font_combo_box.h"
#include "widgets/icon_file_list_box.h"

#include <QApplication>
#include <QFont>
#include <QLabel>
#include <QWidget>
#include <cstdio>

int main(int argc, char** argv) {
    const QApplication App(argc, argv);
    QWidget Window;
    Window.setWindowTitle("Vespera widgets");
    QFont Font("Arial");
    Font.setPixelSize(11);
    Window.setFont(Font);
    Window.resize(420, 230);

    auto* Files = new TIconFileListBox(&Window);
    Files->setObjectName("Files");
    Files->SetMask("*.txt");
    if (argc > 1) {
        Files->SetDirectory(argv[1]);
    }
    Files->setGeometry(8, 32, 129, 177);
    new QLabel("Text File to use:", &Window);
    Window.findChild<QLabel*>()->move(22, 16);

    auto* FontBox = new TFontComboBox(&Window);
    FontBox->setGeometry(160, 36, 177, 22);
    FontBox->SetFontName("Arial");
    if (FontBox->ItemIndex() < 0) {
        FontBox->SetItemIndex(0);
    }

    const TColor Colors[] = {RGB(0, 255, 0), RGB(0, 0, 0), RGB(128, 128, 0), RGB(12, 34, 56)};
    int Left = 160;
    for (const TColor Color : Colors) {
        auto* Button = new TColorButton(&Window);
        Button->move(Left, 80);
        Button->SetColor(Color);
        Button->OnColorChange = [Button](TObject*) {
            std::printf("colour %08X\n", static_cast<unsigned>(Button->Color()));
            std::fflush(stdout);
        };
        Left += 56;
    }
    // The first button's custom colours: reds along row 1, blues along row 2, so the colour
    // dialog shows whether its wells hold the grid as laid out.
    auto* First = Window.findChild<TColorButton*>();
    TColorArrayClass Custom(8, 2);
    for (int C = 1; C <= 8; ++C) {
        Custom.SetColors(C, 1, RGB(C * 31, 0, 0));
        Custom.SetColors(C, 2, RGB(0, 0, C * 31));
    }
    First->SetCustomColors(Custom);
    // One button at the window's bottom edge, to see the popup open above it near the screen's end.
    auto* Low = new TColorButton(&Window);
    Low->move(344, 200);
    Low->SetColor(RGB(255, 0, 255));

    Files->OnClick = [Files](TObject*) {
        std::printf("file %s\n", Files->FileName().c_str());
        std::fflush(stdout);
    };
    FontBox->OnChange = [FontBox](TObject*) {
        std::printf("font %s\n", qPrintable(FontBox->FontName()));
        std::fflush(stdout);
    };
    Window.show();
    return QApplication::exec();
}
