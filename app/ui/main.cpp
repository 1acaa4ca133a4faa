// Vespera: rewrites the shut-down pictures logow.sys and logos.sys with a random record of a
// record file. Without arguments it opens its settings window; "vespera /AUTO" writes new logos
// unattended, as the start-up link runs it at log-in.

#include "app/program_places.h"
#include "app/ui/application.h"
#include "app/ui/desktop_services.h"
#include "app/ui/fm_vespera.h"
#include "app/ui/message_dialog.h"
#include "app/ui/show_main_window.h"
#include "app/vespera_app.h"
#include "platform/clock.h"
#include "platform/environment_number.h"
#include "platform/message_box.h"
#include "platform/shell_open.h"
#include "platform/show_command.h"
#include "platform/system_colors.h"
#include "widgets/system_colors.h"

#include <chrono>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

namespace {

// $VESPERA_CLOCK, milliseconds since 1970 in universal time, fixes the clock that seeds the
// record choice, so that a run can be repeated exactly. Nothing else reads the clock.
void FixClockFromEnvironment() {
    const std::optional<long long> Milliseconds = EnvironmentNumber("VESPERA_CLOCK");
    if (!Milliseconds || *Milliseconds < 0) {
        return;
    }
    const TClockTime Fixed{std::chrono::milliseconds(*Milliseconds)};
    SetClockSource([Fixed] { return Fixed; });
}

// Counts the error messages shown, so that the exit status can tell a failed run.
class TErrorCounter {
public:
    explicit TErrorCounter(TMessageBoxHook Show) : FShow(std::move(Show)) {}
    TModalResult operator()(const TMessageBoxRequest& Request) {
        if (Request.Type == TMsgDlgType::mtError) {
            ++*FErrors;
        }
        return FShow(Request);
    }
    std::shared_ptr<int> Errors() const { return FErrors; }

private:
    TMessageBoxHook FShow;
    std::shared_ptr<int> FErrors = std::make_shared<int>(0);
};

// Message boxes placed where the main window's messages go.
TMessageBoxHook PlacedDialogs(const TfmVespera& Window) {
    return [&Window](const TMessageBoxRequest& Request) {
        TMessageBoxRequest Placed = Request;
        if (!Placed.Position) {
            Placed.Position = Window.MessagePosition();
        }
        return DialogMessageBox(Placed);
    };
}

int NoDisplayForTheWindow() {
    std::cerr << "vespera: the settings window needs a display; \"vespera /AUTO\" writes new "
                 "logos without one\n";
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> Arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    const bool Unattended = IsAutoRunCommand(Arguments);
    if (!Unattended && !DisplayNamed()) {
        return NoDisplayForTheWindow();
    }
    FixClockFromEnvironment();
    UseOffscreenWithoutDisplay();
    TVesperaApplication Application(argc, argv);
    const bool Headless = RunsWithoutDisplay();
    if (Headless && !Unattended) {
        return NoDisplayForTheWindow(); // the offscreen platform, asked for by name
    }

    TVesperaApp App;
    TfmVespera Window(App);
    const TErrorCounter Counter(Headless ? TMessageBoxHook(ConsoleMessageBox)
                                         : PlacedDialogs(Window));
    const std::shared_ptr<int> Errors = Counter.Errors();
    SetMessageBoxHook(Counter);
    SetShellOpenHook(DesktopShellOpen);
    // System colours in the logos take the values the colour buttons show.
    SetSysColorSource(
        [](int Index) { return ColorToRGB(SystemColor(static_cast<TSystemColorIndex>(Index))); });

    bool Terminated = false;
    App.OnTerminate = [&](TObject*) { Terminated = true; };
    if (Unattended) {
        App.OnLogoInstalled = [](TObject*, const std::string& FileName) {
            std::cout << "vespera: wrote " << FileName << '\n';
        };
    }
    const TProgramPlaces Places = RunningProgramPlaces();
    ProvideSampleRecordFile(Places);
    Window.FormCreate(Places, Arguments);

    int Status = 0;
    if (Terminated) {
        // The unattended run is over: the program ends without showing its window.
        Status = *Errors == 0 ? 0 : 1;
    } else if (Unattended && Headless) {
        Status = 1; // nobody could close a window
    } else {
        // A failed unattended run stays open, minimised, until the user closes it.
        ShowMainWindow(Window, Unattended ? kShowMinNoActive : StartupShowCommand());
        Status = QApplication::exec();
        if (Unattended) {
            Status = 1;
        }
    }
    SetSysColorSource(nullptr);
    SetShellOpenHook(nullptr);
    SetMessageBoxHook(nullptr);
    return Status;
}
