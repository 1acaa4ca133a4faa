#include "app/program/unattended_program.h"

#include "app/install/program_places.h"
#include "app/program/display_environment.h"
#include "app/program/program_services.h"
#include "app/program/window_loader.h"
#include "app/unattended_install.h"
#include "app/vespera_app.h"

#include <QGuiApplication>
#include <QtGlobal>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <memory>
#include <new>
#include <string>
#include <unistd.h>

namespace {

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

// Written without taking memory, for when even the report of a failure ran out of it.
void WriteLastWords(const char* Text) {
    for (const char* Part : {"Vespera: ", Text, "\n"}) {
        const std::string_view View(Part);
        [[maybe_unused]] const ssize_t Written = ::write(STDERR_FILENO, View.data(), View.size());
    }
}

QtMessageHandler GQtMessages = nullptr;

// Qt gives up on a failure of its own (no platform plugin could be loaded, for lack of memory
// among other causes) with a fatal message, after which it would abort: the run ends instead as
// a failed run ends, with the message and status 1. Other messages go on as before.
void EndOnFatalQtMessage(QtMsgType Type, const QMessageLogContext& Context,
                         const QString& Message) {
    if (Type != QtFatalMsg) {
        if (GQtMessages != nullptr) {
            GQtMessages(Type, Context, Message);
        }
        return;
    }
    std::cout.flush();
    try {
        WriteLastWords(Message.toLocal8Bit().constData());
    } catch (...) {
        WriteLastWords("the window framework failed");
    }
    std::_Exit(1);
}

int StartUnattendedProgram(int& Argc, char** Argv) {
    GQtMessages = qInstallMessageHandler(EndOnFatalQtMessage);
    UseOffscreenWithoutDisplay();
    if (!HeadlessPlatformNamed()) {
        std::string Error;
        if (const TWindowProgram WithDisplay = LoadWindowProgram(Error)) {
            return WithDisplay(&Argc, Argv, 1);
        }
        // Without its window part the run goes on, its messages on standard error.
    }
    const QGuiApplication Application(Argc, Argv);
    NameApplication();
    return RunUnattendedProcess(nullptr);
}

} // namespace

int RunUnattendedProcess(const TUnattendedDisplay* WithDisplay) {
    TVesperaApp App;
    const TErrorCounter Counter(WithDisplay != nullptr ? WithDisplay->Messages
                                                       : TMessageBoxHook(ConsoleMessageBox));
    const std::shared_ptr<int> Errors = Counter.Errors();
    const TProgramServices Services(Counter);

    const TEventConnection Reported =
        App.OnLogoInstalled.Connect([](TObject*, const std::string& FileName) {
            std::cout << "vespera: wrote " << FileName << '\n';
        });
    const TProgramPlaces Places = RunningProgramPlaces();
    ProvideSampleRecordFile(Places);
    if (RunUnattended(App, Places)) {
        return *Errors == 0 ? 0 : 1;
    }
    if (WithDisplay != nullptr) {
        WithDisplay->KeepOpen(App);
    }
    return 1;
}

int UnattendedProgram(int& Argc, char** Argv) {
    try {
        return StartUnattendedProgram(Argc, Argv);
    } catch (const std::bad_alloc&) {
        WriteLastWords("Out of memory");
    } catch (const std::exception& E) {
        WriteLastWords(E.what());
    }
    return 1;
}
