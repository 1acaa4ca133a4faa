#pragma once

#include <QSpinBox>

// A spin edit whose value changes only through its arrows (buttons, arrow keys, the wheel):
// typing into it is disabled.
class TSpinEdit : public QSpinBox {
public:
    TSpinEdit(int MinValue, int MaxValue, QWidget* Parent = nullptr);
};
