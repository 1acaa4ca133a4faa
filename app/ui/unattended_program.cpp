#include "app/ui/unattended_program.h"

#include "app/program_places.h"
#include "app/ui/application.h"
#include "app/ui/fm_vespera.h"
#include "app/ui/message_dialog.h"
#include "app/ui/program_services.h"
#include "app/ui/show_main_window.h"
#include "app/unattended_run.h"
#include "app/vespera_app.h"
#include "platform/show_command.h"

#include <QApplication>
#include <QGuiApplication>
#include <QtGlobal>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <memory>
#include <new>
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

int RunUnattendedProgram(int& Argc, char** Argv) {
    GQtMessages = qInstallMessageHandler(EndOnFatalQtMessage);
    UseOffscreenWithoutDisplay();
    std::unique_ptr<QGuiApplication> Application;
    if (HeadlessPlatformNamed()) {
        Application = std::make_unique<QGuiApplication>(Argc, Argv);
        NameApplication();
    } else {
        Application = std::make_unique<TVesperaApplication>(Argc, Argv);
    }
    const bool Headless =
        qobject_cast<QApplication*>(Application.get()) == nullptr || RunsWithoutDisplay();

    TVesperaApp App;
    std::unique_ptr<TfmVespera> Window; // built when a failed run leaves it open
    // Until there is a window, messages go where those of a window not yet placed would.
    const TErrorCounter Counter(
        Headless ? TMessageBoxHook(ConsoleMessageBox)
                 : TMessageBoxHook([&Window](const TMessageBoxRequest& Request) {
                       TMessageBoxRequest Placed = Request;
                       if (!Placed.Position) {
                           Placed.Position = Window ? Window->MessagePosition()
                                                    : TfmVespera::MessagePositionAt(0, 0);
                       }
                       return DialogMessageBox(Placed);
                   }));
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
    if (!Headless) {
        // A failed run stays open, minimised, until the user closes it.
        Window = std::make_unique<TfmVespera>(App);
        Window->ShowProgramState();
        ShowMainWindow(*Window, kShowMinNoActive);
        QApplication::exec();
    }
    return 1;
}

} // namespace

int UnattendedProgram(int& Argc, char** Argv) {
    try {
        return RunUnattendedProgram(Argc, Argv);
    } catch (const std::bad_alloc&) {
        WriteLastWords("Out of memory");
    } catch (const std::exception& E) {
        WriteLastWords(E.what());
    }
    return 1;
}
