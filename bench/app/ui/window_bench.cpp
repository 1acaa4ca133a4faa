// Speed of the settings window: a keystroke in a default-text field, with no record file in use,
// until the record choice, both logos composed and handed to their previews, and the preview on
// the page shown painted on the screen; with the logos shown as composed and as installed.

#include "app/install/program_places.h"
#include "app/ui/controls/line_edit.h"
#include "app/ui/controls/page_control.h"
#include "app/ui/fm_vespera.h"
#include "app/ui/logo_page.h"
#include "app/vespera_app.h"
#include "pgraphic/view/image_view/pg_image.h"
#include "platform/message_box.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <benchmark/benchmark.h>
#include <fstream>

namespace {

// Notes the paint events of one widget.
class TPaintWatch : public QObject {
public:
    explicit TPaintWatch(QWidget* Watched) { Watched->installEventFilter(this); }
    bool Painted = false;

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override {
        if (Event->type() == QEvent::Paint) {
            Painted = true;
        }
        return QObject::eventFilter(Watched, Event);
    }
};

void BM_DefaultTextKeystrokeToPreviews(benchmark::State& State, bool AsInstalled) {
    const QTemporaryDir Dir;
    const std::string Folder = Dir.path().toStdString();
    std::filesystem::create_directories(Folder + "/program");
    std::filesystem::create_directories(Folder + "/windows");
    std::ofstream(Folder + "/program/vespera.INI") << "[General]\nTextFile=\n";
    TProgramPlaces Places;
    Places.ProgramFile = Folder + "/program/vespera";
    Places.ProgramDir = Folder + "/program/";
    Places.WindowsDir = Folder + "/windows/";
    const TMessageBoxHook Old = SetMessageBoxHook(ConsoleMessageBox);

    TVesperaApp App;
    TfmVespera Window(App);
    Window.FormCreate(Places);
    Window.show();
    if (!QTest::qWaitForWindowExposed(&Window)) {
        State.SkipWithError("the window was not shown");
        return;
    }
    QTabBar* Tabs = Window.Pages()->tabBar();
    QTest::mouseClick(Tabs, Qt::LeftButton, {}, Tabs->tabRect(1).center());
    QApplication::processEvents();
    TLogoPage& Page = *Window.LogoPage(TLogo::First);
    Page.AsInstalled->setChecked(AsInstalled);
    QApplication::processEvents();
    TPaintWatch Watch(Page.Image->viewport());
    // A keystroke recomposes both logos and comes back as one update; with the preview as
    // installed it carries the logo of the page in view only.
    int Handed = 0;
    const TEventConnection Counted = App.OnUpdate.Connect([&](TObject*, const TViewUpdate& Update) {
        Handed += Update.Logos[TLogo::First] != nullptr ? 1 : 0;
    });
    QLineEdit& Edit = *Page.DefaultText;
    Edit.setFocus();
    bool Typing = true;
    for (auto _ : State) {
        Watch.Painted = false;
        Handed = 0;
        QTest::keyClick(&Edit, Typing ? Qt::Key_A : Qt::Key_Backspace);
        Typing = !Typing;
        while (!Watch.Painted || Handed < 1) {
            QApplication::processEvents();
        }
    }
    SetMessageBoxHook(Old);
}
BENCHMARK_CAPTURE(BM_DefaultTextKeystrokeToPreviews, composed, false)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DefaultTextKeystrokeToPreviews, as_installed, true)
    ->Unit(benchmark::kMillisecond);

} // namespace
