// Vespera: rewrites the shut-down pictures logow.sys and logos.sys with a random record of a
// record file. Without arguments it opens its settings window; "vespera /AUTO" writes new logos
// unattended, as the start-up link runs it at log-in.

#include "app/program_places.h"
#include "app/ui/application.h"
#include "app/ui/fm_vespera.h"
#include "app/ui/message_dialog.h"
#include "app/ui/program_services.h"
#include "app/ui/show_main_window.h"
#include "app/ui/unattended_program.h"
#include "app/vespera_app.h"
#include "platform/show_command.h"

#include <iostream>
#include <string>
#include <vector>

namespace {

int NoDisplayForTheWindow() {
    std::cerr << "vespera: the settings window needs a display; \"vespera /AUTO\" writes new "
                 "logos without one\n";
    return 2;
}

// The settings window, shown as the program was started, until the user closes it.
int SettingsWindowProgram(int& Argc, char** Argv) {
    if (!DisplayNamed()) {
        return NoDisplayForTheWindow();
    }
    TVesperaApplication Application(Argc, Argv);
    if (RunsWithoutDisplay()) {
        return NoDisplayForTheWindow(); // the offscreen platform, asked for by name
    }
    TVesperaApp App;
    TfmVespera Window(App);
    // Message boxes placed where the main window's messages go.
    const TProgramServices Services([&Window](const TMessageBoxRequest& Request) {
        TMessageBoxRequest Placed = Request;
        if (!Placed.Position) {
            Placed.Position = Window.MessagePosition();
        }
        return DialogMessageBox(Placed);
    });
    const TProgramPlaces Places = RunningProgramPlaces();
    ProvideSampleRecordFile(Places);
    Window.FormCreate(Places);
    ShowMainWindow(Window, StartupShowCommand());
    return QApplication::exec();
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> Arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    return IsAutoRunCommand(Arguments) ? UnattendedProgram(argc, argv)
                                       : SettingsWindowProgram(argc, argv);
}
