#include "pgraphic/view/transparent/pg_radio_button.h"

TPGRadioButton::TPGRadioButton(QWidget* Parent) : TPGRadioButton(QString(), Parent) {}

TPGRadioButton::TPGRadioButton(const QString& Text, QWidget* Parent)
    : QRadioButton(Text, Parent), TPGTransparentControl(this) {
    connect(this, &QRadioButton::toggled, this, [this] { Invalidate(); });
}

bool TPGRadioButton::event(QEvent* Event) {
    InvalidateOnChange(*Event);
    return QRadioButton::event(Event);
}
