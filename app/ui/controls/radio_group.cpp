#include "app/ui/controls/radio_group.h"

#include "core/set_if_changed.h"

#include <QEvent>
#include <QRadioButton>
#include <QStyle>
#include <algorithm>

namespace {

constexpr int kButtonLeft = 8; // under the caption's first letter

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
    Select(std::clamp(Value, -1, Count() - 1));
}

// Index (-1: none) becomes the selected item: its button checked, the one before unchecked, then
// OnClick.
void TRadioGroup::Select(int Index) {
    const int Old = FItemIndex;
    SetIfChanged(FItemIndex, Index, [&] {
        if (Index >= 0) {
            Button(Index)->setChecked(true);
        }
        if (Old >= 0) {
            Button(Old)->setChecked(false);
        }
        if (OnClick) {
            OnClick(this);
        }
    });
}

void TRadioGroup::ButtonToggled(int Index, bool Checked) {
    if (Checked) {
        Select(Index);
    } else if (Index == FItemIndex) {
        Button(Index)->setChecked(true); // a click on the selected button keeps it selected
    }
}

// The buttons stand in one column inside the frame, below the caption: each as high as what it
// shows (its indicator, its text), with the free rows spread evenly above, between and below
// them, so that nothing touches where the box leaves room for it.
void TRadioGroup::ArrangeButtons() {
    if (FButtons.empty()) {
        return;
    }
    const QRect Interior = InteriorRect();
    const int Rows = Count();
    int ContentHeight = 0;
    for (const QRadioButton* Button : FButtons) {
        const int Indicator =
            Button->style()->pixelMetric(QStyle::PM_ExclusiveIndicatorHeight, nullptr, Button);
        const int Text = Button->text().isEmpty() ? 0 : Button->fontMetrics().height();
        ContentHeight = std::max({ContentHeight, Indicator, Text});
    }
    const int Height = std::clamp(ContentHeight, 0, std::max(0, Interior.height() / Rows));
    const int Free = std::max(0, Interior.height() - Rows * Height);
    // One free column before the frame's right line.
    const int Width = std::max(0, Interior.right() - kButtonLeft);
    for (int I = 0; I < Rows; ++I) {
        const int Top = Interior.top() + I * Height + Free * (I + 1) / (Rows + 1);
        FButtons[static_cast<std::size_t>(I)]->setGeometry(kButtonLeft, Top, Width, Height);
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
