#pragma once

#include "core/events.h"
#include "core/object.h"
#include "pgraphic/view/transparent/pg_group_box.h"

#include <QStringList>
#include <vector>

class QRadioButton;

// A group of radio buttons in a framed box with a caption, one button per item, laid out in one
// column, evenly spaced inside the frame below the caption. ItemIndex is the selected item (-1:
// none).
// OnClick reports every change of the selection, by the user or in code.
class TRadioGroup : public TPGGroupBox, public TObject {
public:
    TRadioGroup(const QString& Caption, const QStringList& Items, QWidget* Parent = nullptr);

    int ItemIndex() const { return FItemIndex; }
    // An index above the last item selects the last; below -1 selects none.
    void SetItemIndex(int Value);
    int Count() const { return static_cast<int>(FButtons.size()); }
    QRadioButton* Button(int Index) const { return FButtons.at(static_cast<std::size_t>(Index)); }

    TNotifyEvent OnClick;

protected:
    void resizeEvent(QResizeEvent* Event) override;
    void changeEvent(QEvent* Event) override;

private:
    void ArrangeButtons();
    void Select(int Index);
    void ButtonToggled(int Index, bool Checked);

    std::vector<QRadioButton*> FButtons;
    int FItemIndex = -1;
};
