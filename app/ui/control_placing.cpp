#include "app/ui/control_placing.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

namespace {

template <typename TControl>
TControl* PlaceSized(TControl* Control, const QString& Name, int Left, int Top) {
    Control->setObjectName(Name);
    Control->move(Left, Top);
    Control->adjustSize();
    return Control;
}

} // namespace

QLabel* PlaceLabel(QLabel* Label, const QString& Name, int Left, int Top) {
    return PlaceSized(Label, Name, Left, Top);
}

QCheckBox* PlaceCheckBox(QCheckBox* Box, const QString& Name, int Left, int Top) {
    return PlaceSized(Box, Name, Left, Top);
}

QPushButton* PlaceButton(QPushButton* Button, const QString& Name, int Left, int Top, int Width,
                         int Height) {
    Place(Button, Name, Left, Top, Width, Height);
    Button->setAutoDefault(true);
    return Button;
}

void MakeBold(QLabel* Label) {
    QFont Bold = Label->font();
    Bold.setBold(true);
    Label->setFont(Bold);
    Label->adjustSize();
}

void SetTextColor(QLabel* Label, const QColor& Color) {
    QPalette Palette = Label->palette();
    Palette.setColor(QPalette::WindowText, Color);
    Label->setPalette(Palette);
}
