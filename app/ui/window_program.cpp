#include "app/ui/window_program.h"

#include "app/install/program_places.h"
#include "app/program/display_environment.h"
#include "app/program/program_services.h"
#include "app/program/unattended_program.h"
#include "app/ui/application.h"
#include "app/ui/fm_vespera.h"
#include "app/ui/message_dialog.h"
#include "app/ui/show_main_window.h"
#include "app/vespera_app.h"
#include "platform/show_command.h"

#include <memory>

int SettingsWindowProgram(int& Argc, char** Argv) {
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

int UnattendedWindowProgram(int& Argc, char** Argv) {
    const TVesperaApplication Application(Argc, Argv);
    if (RunsWithoutDisplay()) {
        return RunUnattendedProcess(nullptr);
    }
    TfmVespera* Window = nullptr; // built when a failed run leaves it open
    TUnattendedDisplay OnScreen;
    // Until there is a window, messages go where those of a window not yet placed would.
    OnScreen.Messages = [&Window](const TMessageBoxRequest& Request) {
        TMessageBoxRequest Placed = Request;
        if (!Placed.Position) {
            Placed.Position =
                Window != nullptr ? Window->MessagePosition() : TfmVespera::MessagePositionAt(0, 0);
        }
        return DialogMessageBox(Placed);
    };
    OnScreen.KeepOpen = [&Window](TVesperaApp& App) {
        TfmVespera Shown(App);
        Window = &Shown;
        Shown.ShowProgramState();
        ShowMainWindow(Shown, kShowMinNoActive);
        QApplication::exec();
        Window = nullptr;
    };
    return RunUnattendedProcess(&OnScreen);
}

extern "C" int VesperaWindowProgram(int* Argc, char** Argv, int Unattended) {
    return Unattended != 0 ? UnattendedWindowProgram(*Argc, Argv)
                           : SettingsWindowProgram(*Argc, Argv);
}
