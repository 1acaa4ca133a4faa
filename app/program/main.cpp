// Vespera: rewrites the shut-down pictures logow.sys and logos.sys with a random record of a
// record file. Without arguments it opens its settings window; "vespera /AUTO" writes new logos
// unattended, as the start-up link runs it at log-in.

#include "app/program/display_environment.h"
#include "app/program/unattended_program.h"
#include "app/program/window_loader.h"
#include "app/vespera_app.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    const std::vector<std::string> Arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    if (IsAutoRunCommand(Arguments)) {
        return UnattendedProgram(argc, argv);
    }
    if (!DisplayNamed()) {
        return NoDisplayForTheWindow();
    }
    std::string Error;
    const TWindowProgram SettingsWindow = LoadWindowProgram(Error);
    if (SettingsWindow == nullptr) {
        std::cerr << "vespera: " << Error << '\n';
        return 2;
    }
    return SettingsWindow(&argc, argv, 0);
}
