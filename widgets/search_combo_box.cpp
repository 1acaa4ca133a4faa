#include "widgets/search_combo_box.h"

#include "platform/display.h"

#include <QKeyEvent>

namespace {

bool IsNavigationKey(int Key) {
    switch (Key) {
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_End:
    case Qt::Key_Home:
    case Qt::Key_Left:
    case Qt::Key_Up:
    case Qt::Key_Right:
    case Qt::Key_Down:
        return true;
    default:
        return false;
    }
}

} // namespace

TSearchComboBox::TSearchComboBox(QWidget* Parent) : QComboBox(Parent) {
    setEditable(false);
    QObject::connect(this, &QComboBox::activated, this, [this](int) { UserSelected(); });
}

void TSearchComboBox::UserSelected() {
    if (OnClick) {
        OnClick(this);
    }
    if (OnChange) {
        OnChange(this);
    }
}

void TSearchComboBox::Apply(const TIncrementalSearch::TResult& Result) {
    if (Result.Beep && FBeepOnInvalidKey) {
        Beep();
    }
    switch (Result.Action) {
    case TIncrementalSearch::TResult::Select:
        setCurrentIndex(Result.Index);
        UserSelected();
        break;
    case TIncrementalSearch::TResult::ClearSelection:
        setCurrentIndex(-1);
        UserSelected();
        break;
    case TIncrementalSearch::TResult::None:
        break;
    }
}

void TSearchComboBox::keyPressEvent(QKeyEvent* Event) {
    const auto ItemText = [this](int Index) { return itemText(Index); };
    const int Key = Event->key();
    if (Key == Qt::Key_Backspace) {
        Apply(FSearch.Backspace(count(), ItemText));
        Event->accept();
        return;
    }
    if (Key == Qt::Key_Escape) {
        FSearch.Clear();
        setCurrentIndex(-1);
        Event->accept();
        return;
    }
    if (IsNavigationKey(Key)) {
        FSearch.Clear();
        QComboBox::keyPressEvent(Event);
        return;
    }
    const bool Command =
        (Event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) != 0;
    const QString Text = Event->text();
    if (!Command && Text.size() == 1 && TIncrementalSearch::IsSearchCharacter(Text[0])) {
        Apply(FSearch.TypeCharacter(Text[0], count(), ItemText));
        Event->accept();
        return;
    }
    QComboBox::keyPressEvent(Event);
}

void TSearchComboBox::focusOutEvent(QFocusEvent* Event) {
    FSearch.Clear();
    QComboBox::focusOutEvent(Event);
}
