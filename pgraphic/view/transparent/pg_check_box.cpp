#include "pgraphic/view/transparent/pg_check_box.h"

TPGCheckBox::TPGCheckBox(QWidget* Parent) : TPGCheckBox(QString(), Parent) {}

TPGCheckBox::TPGCheckBox(const QString& Text, QWidget* Parent)
    : QCheckBox(Text, Parent), TPGTransparentControl(this) {
    connect(this, &QCheckBox::stateChanged, this, [this] { Invalidate(); });
}

bool TPGCheckBox::event(QEvent* Event) {
    InvalidateOnChange(*Event);
    return QCheckBox::event(Event);
}
