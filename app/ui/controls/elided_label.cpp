#include "app/ui/controls/elided_label.h"

#include "core/set_if_changed.h"

#include <QEvent>
#include <QHelpEvent>
#include <QPainter>
#include <QStyle>
#include <QToolTip>

TElidedLabel::TElidedLabel(QWidget* Parent) : QWidget(Parent) {}

void TElidedLabel::SetText(const QString& Value) {
    SetIfChanged(FText, Value, [this] {
        updateGeometry();
        update();
    });
}

void TElidedLabel::SetDetails(const QString& Value) {
    FDetails = Value;
}

QString TElidedLabel::ShownText() const {
    return fontMetrics().elidedText(FText, Qt::ElideMiddle, width());
}

QSize TElidedLabel::sizeHint() const {
    return {fontMetrics().horizontalAdvance(FText), fontMetrics().height()};
}

QSize TElidedLabel::minimumSizeHint() const {
    return {0, fontMetrics().height()};
}

bool TElidedLabel::event(QEvent* Event) {
    if (Event->type() == QEvent::ToolTip) {
        QString Tip = ShownText() == FText ? QString() : FText;
        if (!FDetails.isEmpty()) {
            Tip += (Tip.isEmpty() ? QString() : QStringLiteral("\n\n")) + FDetails;
        }
        if (Tip.isEmpty()) {
            QToolTip::hideText();
        } else {
            QToolTip::showText(static_cast<QHelpEvent*>(Event)->globalPos(), Tip, this);
        }
        return true;
    }
    return QWidget::event(Event);
}

void TElidedLabel::paintEvent(QPaintEvent*) {
    QPainter Painter(this);
    style()->drawItemText(&Painter, rect(), Qt::AlignLeft | Qt::AlignVCenter, palette(),
                          isEnabled(), ShownText(), foregroundRole());
}
