#pragma once

#include "pgraphic/view/transparent/transparent_control.h"

#include <QRadioButton>

// A radio button that shows the picture behind it unless its Transparent is switched off.
// Selecting or deselecting it invalidates it as any other change does.
class TPGRadioButton : public QRadioButton, public TPGTransparentControl {
public:
    explicit TPGRadioButton(QWidget* Parent = nullptr);
    explicit TPGRadioButton(const QString& Text, QWidget* Parent = nullptr);

    using TPGTransparentControl::Color;
    using TPGTransparentControl::SetColor;
    using TPGTransparentControl::SetTransparent;

protected:
    bool event(QEvent* Event) override;
};
