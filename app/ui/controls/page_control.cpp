#include "app/ui/controls/page_control.h"

#include "core/set_if_changed.h"

#include <QTabBar>

// Tabs as wide as the control asks, or as their text when it asks for no width.
class TPageControl::TTabBar : public QTabBar {
public:
    explicit TTabBar(const TPageControl& Owner) : FOwner(Owner) {}

protected:
    QSize tabSizeHint(int Index) const override {
        QSize Size = QTabBar::tabSizeHint(Index);
        if (FOwner.TabWidth() > 0) {
            Size.setWidth(FOwner.TabWidth());
        }
        return Size;
    }

private:
    const TPageControl& FOwner;
};

TPageControl::TPageControl(QWidget* Parent) : QTabWidget(Parent) {
    setTabBar(new TTabBar(*this));
    setUsesScrollButtons(false);
    connect(this, &QTabWidget::currentChanged, this, [this] {
        if (!FSettingPage && OnChange) {
            OnChange(this);
        }
    });
}

void TPageControl::SetTabWidth(int Value) {
    SetIfChanged(FTabWidth, Value, [this] {
        tabBar()->updateGeometry();
        tabBar()->update();
    });
}

void TPageControl::SetActivePageIndex(int Value) {
    FSettingPage = true;
    setCurrentIndex(Value);
    FSettingPage = false;
}
