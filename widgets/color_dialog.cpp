#include "widgets/color_dialog.h"

#include "platform/qt/qt_color.h"
#include "widgets/custom_color_strings.h"

#include <QColorDialog>
#include <QPointer>

namespace {

// The dialog shows its custom colours in two rows of eight, counted down each column.
int DialogIndex(int Column, int Row) {
    return (Column - 1) * kCustomColorRows + (Row - 1);
}

// The dialog's sixteen custom colours as a grid.
TColorArrayClass DialogCustomColors() {
    TColorArrayClass Custom(kCustomColorColumns, kCustomColorRows);
    for (int C = 1; C <= kCustomColorColumns; ++C) {
        for (int R = 1; R <= kCustomColorRows; ++R) {
            Custom.SetColors(C, R, FromQColor(QColorDialog::customColor(DialogIndex(C, R))));
        }
    }
    return Custom;
}

} // namespace

bool ExecuteColorDialog(QWidget* Parent, TColor& Color, std::vector<std::string>& CustomColors) {
    TColorArrayClass Custom = DialogCustomColors();
    ReadCustomColorStrings(CustomColors, Custom);
    for (int C = 1; C <= kCustomColorColumns; ++C) {
        for (int R = 1; R <= kCustomColorRows; ++R) {
            QColorDialog::setCustomColor(DialogIndex(C, R), PaletteQColor(Custom.Colors(C, R)));
        }
    }

    const QPointer<QColorDialog> Dialog = new QColorDialog(PaletteQColor(Color), Parent);
    Dialog->setOption(QColorDialog::DontUseNativeDialog);
    const bool Accepted = Dialog->exec() == QDialog::Accepted;
    if (Dialog == nullptr) {
        return false; // the parent went away while the dialog ran
    }
    const QColor Chosen = Dialog->selectedColor();
    delete Dialog;
    if (!Accepted) {
        return false;
    }
    Color = FromQColor(Chosen);
    CustomColors = CustomColorStrings(DialogCustomColors());
    return true;
}
