#pragma once

#include <QWidget>

class QLabel;
class QPushButton;
class TElidedLabel;

// The row below the pages that shows where the logos go, with the button that changes it. Only
// the controls and their places; the settings window fills and binds them.
class TTargetsRow : public QWidget {
public:
    // The row's height in the window.
    static constexpr int kHeight = 33;

    explicit TTargetsRow(QWidget* Parent = nullptr);

    QLabel* lbTargetsCaption;
    TElidedLabel* lbTargets;
    QPushButton* btChangeTargets;

protected:
    void resizeEvent(QResizeEvent* Event) override;
};
