#pragma once

#include "core/events.h"
#include "core/object.h"
#include "widgets/incremental_search.h"

#include <QComboBox>

// A drop-down list without an edit field that selects items as the user types their first
// letters (incremental_search.h). A selection by the user, by mouse, keys or typing, fires
// OnClick and then OnChange.
class TSearchComboBox : public QComboBox, public TObject {
public:
    explicit TSearchComboBox(QWidget* Parent = nullptr);

    bool BeepOnInvalidKey() const { return FBeepOnInvalidKey; }
    void SetBeepOnInvalidKey(bool Value) { FBeepOnInvalidKey = Value; }
    const QString& SearchPrefix() const { return FSearch.Prefix(); }

    int ItemIndex() const { return currentIndex(); }
    // Selects without firing the events; -1 selects nothing.
    void SetItemIndex(int Value) { setCurrentIndex(Value); }

    TNotifyEvent OnClick;
    TNotifyEvent OnChange;

protected:
    void keyPressEvent(QKeyEvent* Event) override;
    void focusOutEvent(QFocusEvent* Event) override;

private:
    void Apply(const TIncrementalSearch::TResult& Result);
    void UserSelected();

    TIncrementalSearch FSearch;
    bool FBeepOnInvalidKey = true;
};
