#pragma once

#include "pgraphic/view/transparent/transparent_control.h"

#include <QGroupBox>

// A group box that shows the picture behind it unless its Transparent is switched off. It paints
// itself: the title at the top left, and a frame from half the text height down that leaves the
// title free; etched (a highlight and a shadow line) with Ctl3D, else one dark line. A change of
// the box invalidates its transparent children too.
class TPGGroupBox : public QGroupBox, public TPGTransparentControl {
public:
    explicit TPGGroupBox(QWidget* Parent = nullptr);
    explicit TPGGroupBox(const QString& Title, QWidget* Parent = nullptr);

    using TPGTransparentControl::Color;
    using TPGTransparentControl::SetColor;
    using TPGTransparentControl::SetTransparent;

    // On by default.
    bool Ctl3D() const { return FCtl3D; }
    void SetCtl3D(bool Value);

    // The title's rectangle: at (8, 0), as wide and as high as the text.
    QRect CaptionRect() const;
    // What the frame's lines enclose, below the title when there is one.
    QRect InteriorRect() const;

protected:
    bool event(QEvent* Event) override;
    void paintEvent(QPaintEvent* Event) override;

private:
    // The frame's outer rectangle; its lines are 2 pixels wide with Ctl3D, else 1.
    QRect FrameBounds() const;
    int FrameLineWidth() const { return FCtl3D ? 2 : 1; }

    bool FCtl3D = true;
};
