#include "app/install/startup_shortcut.h"

#include "app/report/failure_report.h"
#include "platform/folders.h"
#include "platform/show_command.h"

#include <cerrno>

TShellLinkInfo StartupShortcutInfo(const std::string& ProgramFile) {
    TShellLinkInfo Info;
    Info.Path = ProgramFile;
    Info.Description = "Vespera";
    Info.Arguments = "/AUTO";
    Info.ShowCmd = kShowMinNoActive;
    Info.Flags = slDescription | slArguments | slShowCmd;
    return Info;
}

void CreateStartupShortcut(const std::string& ProgramFile) {
    const std::string Folder = GetStartupFolder();
    const int Result =
        Folder.empty() ? -ENOENT
                       : CreateShellLink(Folder + "/Vespera.LNK", StartupShortcutInfo(ProgramFile));
    if (Result < 0) {
        ShowProgramMessage("ERROR creating a shortcut to Vespera on the StartUp folder",
                           TMsgDlgType::mtError);
    } else {
        ShowProgramMessage("A shortcut has been successfully created on the StartUp folder",
                           TMsgDlgType::mtInformation);
    }
}

void StartupShortcutClick(const std::string& ProgramFile) {
    if (ShowProgramMessage(
            "A shortcut to Vespera will be created in your Startup\r\nGroup. Are you sure "
            "you want to continue?",
            TMsgDlgType::mtConfirmation, TMsgDlgButtons::mbYesNo,
            TModalResult::mrYes) == TModalResult::mrYes) {
        CreateStartupShortcut(ProgramFile);
    }
}
