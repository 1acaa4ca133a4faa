// Vespera: rewrites the shut-down pictures logow.sys and logos.sys with a random record of a
// record file. "vespera /AUTO" does it unattended, as the start-up link runs it at log-in.

#include "app/exception_report.h"
#include "app/font_choice.h"
#include "app/program_places.h"
#include "app/ui/application.h"
#include "app/ui/message_dialog.h"
#include "app/vespera_app.h"
#include "platform/clock.h"
#include "platform/message_box.h"
#include "platform/system_colors.h"
#include "widgets/system_colors.h"

#include <charconv>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

namespace {

// $VESPERA_CLOCK, milliseconds since 1970 in universal time, fixes the clock that seeds the
// record choice, so that a run can be repeated exactly. Nothing else reads the clock.
void FixClockFromEnvironment() {
    const char* Text = std::getenv("VESPERA_CLOCK");
    if (Text == nullptr) {
        return;
    }
    long long Milliseconds = 0;
    const char* End = Text + std::strlen(Text);
    const auto [Stop, Error] = std::from_chars(Text, End, Milliseconds);
    if (Error != std::errc() || Stop != End || Milliseconds < 0) {
        return;
    }
    const TClockTime Fixed{std::chrono::milliseconds(Milliseconds)};
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

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> Arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    if (!IsAutoRunCommand(Arguments)) {
        std::cerr << "vespera: the settings window is not available yet; run \"vespera /AUTO\" "
                     "to write new logos\n";
        return 2;
    }
    FixClockFromEnvironment();
    UseOffscreenWithoutDisplay();
    TVesperaApplication Application(argc, argv);
    const TErrorCounter Counter(RunsWithoutDisplay() ? TMessageBoxHook(ConsoleMessageBox)
                                                     : TMessageBoxHook(DialogMessageBox));
    const std::shared_ptr<int> Errors = Counter.Errors();
    SetMessageBoxHook(Counter);
    // System colours in the logos take the values the colour buttons show.
    SetSysColorSource(
        [](int Index) { return ColorToRGB(SystemColor(static_cast<TSystemColorIndex>(Index))); });

    TVesperaApp App;
    bool Terminated = false;
    App.OnTerminate = [&](TObject*) { Terminated = true; };
    App.OnLogoInstalled = [](TObject*, const std::string& FileName) {
        std::cout << "vespera: wrote " << FileName << '\n';
    };
    try {
        const TProgramPlaces Places = RunningProgramPlaces();
        ProvideSampleRecordFile(Places);
        App.FormCreate(Places, SortedFontFamilies());
        App.AutoRun();
    } catch (const std::exception& E) {
        ShowException(E);
    }
    SetSysColorSource(nullptr);
    SetMessageBoxHook(nullptr);
    return Terminated && *Errors == 0 ? 0 : 1;
}
