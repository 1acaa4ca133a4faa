#include "pgraphic/view/transparent_controls.h"

#include "pgraphic/view/transparent_control.h"

#include <QWidget>

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
