#pragma once

#include "pgraphic/view/transparent/transparent_control.h"

#include <QLabel>

// A label that shows the picture behind it unless its Transparent is switched off.
class TPGLabel : public QLabel, public TPGTransparentControl {
public:
    explicit TPGLabel(QWidget* Parent = nullptr);
    explicit TPGLabel(const QString& Text, QWidget* Parent = nullptr);

    using TPGTransparentControl::Color;
    using TPGTransparentControl::SetColor;
    using TPGTransparentControl::SetTransparent;

protected:
    bool event(QEvent* Event) override;
};
