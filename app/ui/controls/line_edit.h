#pragma once

#include <QLineEdit>

// A one-line edit whose selection can stay in view while another control has the focus
// (HideSelection off); by default leaving the edit clears its selection, as QLineEdit does.
class TEdit : public QLineEdit {
public:
    explicit TEdit(QWidget* Parent = nullptr);

    void SetHideSelection(bool Value) { FHideSelection = Value; }

protected:
    void focusOutEvent(QFocusEvent* Event) override;

private:
    bool FHideSelection = true;
};
