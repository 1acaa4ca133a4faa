#include "app/ui/radio_group.h"

#include <QEvent>
#include <QRadioButton>
#include <algorithm>

namespace {

constexpr int kButtonLeft = 8;
constexpr int kSideMargins = 10;
constexpr int kBottomMargin = 5;

} // namespace

TRadioGroup::TRadioGroup(const QString& Caption, const QStringList& Items, QWidget* Parent)
    : TPGGroupBox(Caption, Parent) {
    for (int I = 0; I < Items.size(); ++I) {
        auto* Button = new QRadioButton(Items[I], this);
        // Each button unchecks itself only through SetItemIndex, so none may stay selected.
        Button->setAutoExclusive(false);
        connect(Button, &QRadioButton::toggled, this,
                [this, I](bool Checked) { ButtonToggled(I, Checked); });
        FButtons.push_back(Button);
    }
    ArrangeButtons();
}

void TRadioGroup::SetItemIndex(int Value) {
    const int Index = std::clamp(Value, -1, Count() - 1);
    if (Index == FItemIndex) {
        return;
    }
    if (Index >= 0) {
        FButtons[static_cast<std::size_t>(Index)]->setChecked(true); // runs ButtonToggled
    } else {
        const int Old = FItemIndex;
        FItemIndex = -1;
        FButtons[static_cast<std::size_t>(Old)]->setChecked(false);
        if (OnClick) {
            OnClick(this);
        }
    }
}

void TRadioGroup::ButtonToggled(int Index, bool Checked) {
    if (!Checked) {
        if (Index == FItemIndex) {
            // A click on the selected button keeps it selected.
            FButtons[static_cast<std::size_t>(Index)]->setChecked(true);
        }
        return;
    }
    if (Index == FItemIndex) {
        return;
    }
    const int Old = FItemIndex;
    FItemIndex = Index;
    if (Old >= 0) {
        FButtons[static_cast<std::size_t>(Old)]->setChecked(false);
    }
    if (OnClick) {
        OnClick(this);
    }
}

// The rows share the height below the caption's line equally; what does not divide goes half
// above them.
void TRadioGroup::ArrangeButtons() {
    if (FButtons.empty()) {
        return;
    }
    const int TextHeight = fontMetrics().height();
    const int Rows = Count();
    const int Available = height() - TextHeight - kBottomMargin;
    const int RowHeight = std::max(0, Available / Rows);
    const int Top = TextHeight + 1 + std::max(0, Available % Rows) / 2;
    const int Width = std::max(0, width() - kSideMargins);
    for (int I = 0; I < Rows; ++I) {
        FButtons[static_cast<std::size_t>(I)]->setGeometry(kButtonLeft, Top + I * RowHeight, Width,
                                                           RowHeight);
    }
}

void TRadioGroup::resizeEvent(QResizeEvent* Event) {
    TPGGroupBox::resizeEvent(Event);
    ArrangeButtons();
}

void TRadioGroup::changeEvent(QEvent* Event) {
    TPGGroupBox::changeEvent(Event);
    if (Event->type() == QEvent::FontChange) {
        ArrangeButtons();
    }
}
