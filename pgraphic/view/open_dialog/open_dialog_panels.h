#pragma once

#include <QWidget>
#include <functional>

class QPainter;

// A panel of the picture open dialog: its owner draws all of it; it takes neither focus nor
// input and holds no logic of its own.
class TPGOwnerDrawPanel : public QWidget {
public:
    explicit TPGOwnerDrawPanel(QWidget* Parent);

    // Draws the panel into its client rectangle.
    std::function<void(QPainter& Painter, const QRect& Client)> OnDrawItem;

protected:
    void paintEvent(QPaintEvent* Event) override;
};
