#include "tests/app/ui/window_fixture.h"

#include "app/ui/controls/page_control.h"
#include "pgraphic/view/image_view/pg_image.h"

#include <QTabBar>

void WindowTest::ShowPage(int Index) {
    QTabBar* Tabs = Window.Pages()->tabBar();
    QTest::mouseClick(Tabs, Qt::LeftButton, {}, Tabs->tabRect(Index).center());
    QApplication::processEvents();
    EXPECT_EQ(Window.Pages()->ActivePageIndex(), Index);
}

std::unique_ptr<TPixelGraphic> CopyOf(const TPixelGraphic& Picture) {
    auto Copy = std::make_unique<TPixelGraphic>();
    Copy->CopyFrom(&Picture);
    return Copy;
}

const TPixelGraphic& PreviewPicture(const TLogoPage& Page) {
    static const TPixelGraphic Empty;
    const TPixelGraphic* Shown = std::as_const(*Page.Image).PixelGraphic();
    EXPECT_NE(Shown, nullptr) << "the preview shows nothing";
    return Shown != nullptr ? *Shown : Empty;
}
