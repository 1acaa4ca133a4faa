#pragma once

#include "pgraphic/view/transparent/transparent_control.h"

#include <QFrame>

// A bevel: a frame with no background of its own, always transparent. Its shape and shadow are
// the frame's (a sunken panel unless set otherwise).
class TPGBevel : public QFrame, public TPGTransparentControl {
public:
    explicit TPGBevel(QWidget* Parent = nullptr);

protected:
    bool event(QEvent* Event) override;
};
