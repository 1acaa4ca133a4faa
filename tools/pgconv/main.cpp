// pgconv: describes, converts and lists picture files with the image library, and makes
// shutdown and start-up logos the way Vespera makes them.

#include "platform/message_box.h"
#include "tools/pgconv/arguments.h"
#include "tools/pgconv/commands.h"
#include "tools/pgconv/usage.h"

#include <exception>
#include <iostream>

namespace {

int RunCommand(const TPGConvOptions& Options) {
    switch (Options.Command) {
    case TPGConvCommand::Help:
        std::cout << UsageText();
        return 0;
    case TPGConvCommand::Info:
        return RunInfo(Options);
    case TPGConvCommand::Convert:
        return RunConvert(Options);
    case TPGConvCommand::Logo:
        return RunLogo(Options);
    case TPGConvCommand::Formats:
        return RunFormats();
    }
    return 2;
}

} // namespace

int main(int Argc, char** Argv) {
    TPGConvOptions Options;
    try {
        Options = ParseArguments(std::vector<std::string>(Argv + 1, Argv + Argc));
    } catch (const EUsageError& E) {
        std::cerr << "pgconv: " << E.what() << "\n\n" << UsageText();
        return 2;
    }
    // Warnings of readers and writers go to standard error and take their default answer.
    SetMessageBoxHook([](const TMessageBoxRequest& Request) {
        TMessageBoxRequest Shown = Request;
        Shown.Caption = "pgconv: " + Request.Caption;
        return ConsoleMessageBox(Shown);
    });
    try {
        return RunCommand(Options);
    } catch (const std::exception& E) {
        std::cerr << "pgconv: " << E.what() << '\n';
        return 1;
    }
}
