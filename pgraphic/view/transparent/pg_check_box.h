#pragma once

#include "pgraphic/view/transparent/transparent_control.h"

#include <QCheckBox>

// A check box that shows the picture behind it unless its Transparent is switched off. Checking
// or unchecking it invalidates it as any other change does.
class TPGCheckBox : public QCheckBox, public TPGTransparentControl {
public:
    explicit TPGCheckBox(QWidget* Parent = nullptr);
    explicit TPGCheckBox(const QString& Text, QWidget* Parent = nullptr);

    using TPGTransparentControl::Color;
    using TPGTransparentControl::SetColor;
    using TPGTransparentControl::SetTransparent;

protected:
    bool event(QEvent* Event) override;
};
