#pragma once

#include <QProxyStyle>

// The application's style with one addition: a list or a text field of several lines that has
// the focus shows it in its frame, drawn as the style draws the frame of a one-line edit that has
// the focus. Styles such as Fusion draw their frames alike with and without the focus, so that
// Tab onto them changed nothing on the screen.
class TFocusFrameStyle : public QProxyStyle {
public:
    // Adds to Base, which it owns.
    explicit TFocusFrameStyle(QStyle* Base);

    void drawPrimitive(PrimitiveElement Element, const QStyleOption* Option, QPainter* Painter,
                       const QWidget* Widget) const override;
};
