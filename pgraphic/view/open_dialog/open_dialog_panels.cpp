#include "pgraphic/view/open_dialog/open_dialog_panels.h"

#include <QPainter>

TPGOwnerDrawPanel::TPGOwnerDrawPanel(QWidget* Parent) : QWidget(Parent) {
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TPGOwnerDrawPanel::paintEvent(QPaintEvent*) {
    if (OnDrawItem.Assigned()) {
        QPainter Painter(this);
        OnDrawItem(Painter, rect());
    }
}
