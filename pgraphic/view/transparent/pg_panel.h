#pragma once

#include "pgraphic/view/transparent/transparent_control.h"

#include <QWidget>

// The cut of a panel's bevel.
enum TPanelBevel { bvNone, bvLowered, bvRaised };

// A panel: an outer bevel, a border band in Color, an inner bevel and a one-line caption in the
// middle. Transparent (the default), only the bands and the caption are painted and the picture
// behind shows through the rest; opaque, the inside is filled with Color. A change of the panel
// invalidates its transparent children too.
class TPGPanel : public QWidget, public TPGTransparentControl {
public:
    explicit TPGPanel(QWidget* Parent = nullptr);

    using TPGTransparentControl::Color;
    using TPGTransparentControl::SetColor;
    using TPGTransparentControl::SetTransparent;

    // Every setter repaints when the value changes.
    const QString& Caption() const { return FCaption; }
    void SetCaption(const QString& Value);
    // Horizontal placement of the caption: Qt::AlignLeft, Qt::AlignRight or Qt::AlignHCenter
    // (the default).
    Qt::Alignment Alignment() const { return FAlignment; }
    void SetAlignment(Qt::Alignment Value);
    // bvNone and bvRaised by default.
    TPanelBevel BevelInner() const { return FBevelInner; }
    void SetBevelInner(TPanelBevel Value);
    TPanelBevel BevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(TPanelBevel Value);
    // Width of each bevel, at least 1 (the default).
    int BevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(int Value);
    // Width of the band between the bevels, at least 0 (the default).
    int BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(int Value);

    // The client rectangle inside the bevels and the border band.
    QRect InteriorRect() const;

protected:
    bool event(QEvent* Event) override;
    void paintEvent(QPaintEvent* Event) override;

private:
    void DrawCaption(QPainter& Painter, const QRect& Rect) const;
    void DrawBands(QPainter& Painter) const;

    QString FCaption;
    Qt::Alignment FAlignment = Qt::AlignHCenter;
    TPanelBevel FBevelInner = bvNone;
    TPanelBevel FBevelOuter = bvRaised;
    int FBevelWidth = 1;
    int FBorderWidth = 0;
};
