#include "pgraphic/view/transparent/pg_label.h"

TPGLabel::TPGLabel(QWidget* Parent) : QLabel(Parent), TPGTransparentControl(this) {}

TPGLabel::TPGLabel(const QString& Text, QWidget* Parent)
    : QLabel(Text, Parent), TPGTransparentControl(this) {}

bool TPGLabel::event(QEvent* Event) {
    InvalidateOnChange(*Event);
    return QLabel::event(Event);
}
