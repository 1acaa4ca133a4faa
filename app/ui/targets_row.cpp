#include "app/ui/targets_row.h"

#include "app/ui/control_placing.h"
#include "app/ui/controls/elided_label.h"

#include <QLabel>
#include <QPushButton>

namespace {

constexpr int kMargin = 8;
constexpr int kGap = 6;
constexpr int kButtonWidth = 89;
constexpr int kButtonHeight = 25;

} // namespace

TTargetsRow::TTargetsRow(QWidget* Parent) : QWidget(Parent) {
    lbTargetsCaption = PlaceLabel(new QLabel(QStringLiteral("Logos go to:"), this),
                                  QStringLiteral("lbTargetsCaption"), kMargin, 0);
    lbTargets = new TElidedLabel(this);
    lbTargets->setObjectName(QStringLiteral("lbTargets"));
    btChangeTargets =
        PlaceButton(new QPushButton(QStringLiteral("Change…"), this),
                    QStringLiteral("btChangeTargets"), 0, 0, kButtonWidth, kButtonHeight);
    btChangeTargets->setToolTip(QStringLiteral("Add or remove the folders and disk images the "
                                               "logos are written to, and try them out"));
}

// The caption at the left, the button at the right, the targets between them, all centred in
// the row's height.
void TTargetsRow::resizeEvent(QResizeEvent*) {
    const int Middle = height() / 2;
    lbTargetsCaption->move(kMargin, Middle - lbTargetsCaption->height() / 2);
    const int ButtonLeft = width() - kMargin - kButtonWidth;
    btChangeTargets->move(ButtonLeft, Middle - kButtonHeight / 2);
    const int TargetsLeft = lbTargetsCaption->geometry().right() + 1 + kGap;
    const int TextHeight = lbTargets->fontMetrics().height();
    lbTargets->setGeometry(TargetsLeft, Middle - TextHeight / 2,
                           std::max(0, ButtonLeft - kGap - TargetsLeft), TextHeight);
}
