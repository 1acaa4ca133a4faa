#pragma once

#include "core/multicast_event.h"

#include <QWidget>

class QPainter;
class QRect;

// A panel of the picture open dialog: its owner draws all of it; it takes neither focus nor
// input and holds no logic of its own.
class TPGOwnerDrawPanel : public QWidget {
public:
    explicit TPGOwnerDrawPanel(QWidget* Parent);

    // Draws the panel into its client rectangle.
    TMulticastEvent<QPainter&, const QRect&> OnDrawItem;

protected:
    void paintEvent(QPaintEvent* Event) override;
};
