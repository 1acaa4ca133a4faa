#include "app/ui/controls/spin_edit.h"

#include <QLineEdit>

TSpinEdit::TSpinEdit(int MinValue, int MaxValue, QWidget* Parent) : QSpinBox(Parent) {
    setRange(MinValue, MaxValue);
    lineEdit()->setReadOnly(true);
}
