#include "app/ui/controls/line_edit.h"

TEdit::TEdit(QWidget* Parent) : QLineEdit(Parent) {}

void TEdit::focusOutEvent(QFocusEvent* Event) {
    const int Start = selectionStart();
    const int Length = selectionLength();
    QLineEdit::focusOutEvent(Event); // clears the selection
    if (!FHideSelection && Start >= 0 && Length > 0) {
        // The selection comes back with the cursor at its end, as it was.
        const bool CursorAtStart = cursorPosition() == Start;
        setSelection(CursorAtStart ? Start + Length : Start, CursorAtStart ? -Length : Length);
    }
}
