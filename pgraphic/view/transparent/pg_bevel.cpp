#include "pgraphic/view/transparent/pg_bevel.h"

TPGBevel::TPGBevel(QWidget* Parent) : QFrame(Parent), TPGTransparentControl(this) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
}

bool TPGBevel::event(QEvent* Event) {
    InvalidateOnChange(*Event);
    return QFrame::event(Event);
}
