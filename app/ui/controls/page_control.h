#pragma once

#include "core/events.h"
#include "core/object.h"

#include <QTabWidget>

// A page control: pages behind tabs of one fixed width. OnChange reports a page change the user
// made, after the new page is shown; choosing a page in code reports nothing.
class TPageControl : public QTabWidget, public TObject {
public:
    explicit TPageControl(QWidget* Parent = nullptr);

    int TabWidth() const { return FTabWidth; }
    void SetTabWidth(int Value);

    int ActivePageIndex() const { return currentIndex(); }
    void SetActivePageIndex(int Value);

    TNotifyEvent OnChange;

private:
    class TTabBar;

    int FTabWidth = 0;
    bool FSettingPage = false;
};
