#include "app/ui/focus_frame_style.h"

#include <QAbstractScrollArea>
#include <QStyleOption>

TFocusFrameStyle::TFocusFrameStyle(QStyle* Base) : QProxyStyle(Base) {}

void TFocusFrameStyle::drawPrimitive(PrimitiveElement Element, const QStyleOption* Option,
                                     QPainter* Painter, const QWidget* Widget) const {
    const bool FocusedScrollArea = Element == PE_Frame && (Option->state & State_HasFocus) &&
                                   qobject_cast<const QAbstractScrollArea*>(Widget) != nullptr;
    QProxyStyle::drawPrimitive(FocusedScrollArea ? PE_FrameLineEdit : Element, Option, Painter,
                               Widget);
}
