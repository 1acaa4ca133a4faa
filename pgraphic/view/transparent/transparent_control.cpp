#include "pgraphic/view/transparent/transparent_control.h"

#include "core/set_if_changed.h"

#include <QEvent>
#include <QPalette>
#include <QScopedValueRollback>
#include <QWidget>

TPGTransparentControl::TPGTransparentControl(QWidget* Self, bool InvalidatesChildren)
    : FSelf(*Self), FInvalidatesChildren(InvalidatesChildren) {}

void TPGTransparentControl::Invalidate() {
    if (FInvalidating) {
        return;
    }
    const QScopedValueRollback Guard(FInvalidating, true);
    QWidget* Parent = FSelf.parentWidget();
    if (IsTransparentControl(Parent)) {
        dynamic_cast<TPGTransparentControl&>(*Parent).Invalidate();
    }
    FSelf.update();
    if (FInvalidatesChildren) {
        InvalidateTransparentChildren(FSelf);
    }
}

void TPGTransparentControl::SetTransparent(bool Value) {
    SetIfChanged(FTransparent, Value, [this, Value] {
        // Opaque, Qt fills the background with the palette's colour and paints nothing below.
        FSelf.setAutoFillBackground(!Value);
        Invalidate();
    });
}

QColor TPGTransparentControl::Color() const {
    return FSelf.palette().color(FSelf.backgroundRole());
}

void TPGTransparentControl::SetColor(const QColor& Value) {
    if (Value == Color()) {
        return;
    }
    QPalette Palette = FSelf.palette();
    Palette.setColor(FSelf.backgroundRole(), Value);
    FSelf.setPalette(Palette); // the palette change invalidates
}

void TPGTransparentControl::InvalidateOnChange(const QEvent& Event) {
    switch (Event.type()) {
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::FontChange:
    case QEvent::PaletteChange:
    case QEvent::EnabledChange:
    case QEvent::StyleChange:
        Invalidate();
        break;
    default:
        break;
    }
}

bool IsTransparentControl(const QWidget* Control) {
    const auto* Transparent = dynamic_cast<const TPGTransparentControl*>(Control);
    return Transparent != nullptr && Transparent->Transparent();
}

void InvalidateTransparentChildren(const QWidget& Parent) {
    for (QWidget* Child : Parent.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (IsTransparentControl(Child)) {
            dynamic_cast<TPGTransparentControl&>(*Child).Invalidate();
        }
    }
}
