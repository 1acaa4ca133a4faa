#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

class QCheckBox;
class QLabel;
class QPushButton;

// Placing the controls of a window at the pixel places of its layout.

// Names Control, puts it at (Left, Top) with the given size and returns it.
template <typename TControl>
TControl* Place(TControl* Control, const QString& Name, int Left, int Top, int Width, int Height) {
    Control->setObjectName(Name);
    Control->setGeometry(Left, Top, Width, Height);
    return Control;
}

// A label or a check box is as large as its text: named, put at (Left, Top) and sized to it.
QLabel* PlaceLabel(QLabel* Label, const QString& Name, int Left, int Top);
QCheckBox* PlaceCheckBox(QCheckBox* Box, const QString& Name, int Left, int Top);

// A push button placed like Place; Return presses it while it has the focus, as the platform's
// dialogs do.
QPushButton* PlaceButton(QPushButton* Button, const QString& Name, int Left, int Top, int Width,
                         int Height);

// Shows a label's text in the bold face of its font, and sizes it anew.
void MakeBold(QLabel* Label);

// The colour of a text that warns of a problem.
inline const QColor kWarningColor{0xA0, 0x00, 0x00};
// Shows a label's text in Color.
void SetTextColor(QLabel* Label, const QColor& Color);
