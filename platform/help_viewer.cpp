#include "platform/help_viewer.h"

#include "platform/file_ops.h"
#include "platform/message_box.h"
#include "platform/paths.h"
#include "platform/shell_open.h"

#include <filesystem>

namespace {

// The help file's name without its folder and its extension.
std::string BaseName(const std::string& HelpFile) {
    const std::string Name = ExtractFileName(HelpFile);
    return Name.substr(0, Name.rfind('.'));
}

void ShowHelpError(const std::string& Text) {
    TMessageBoxRequest Request;
    Request.Caption = "Help";
    Request.Text = Text;
    Request.Type = TMsgDlgType::mtError;
    ShowMessageBox(Request);
}

std::string CannotFindText(const std::string& ProgramFile, const std::string& HelpFile,
                           const std::string& Topic) {
    std::string Text = "Cannot find the help file " + HelpFile + ".";
    const std::vector<std::string> Folders = HelpFolders(ProgramFile, HelpFile);
    if (!Folders.empty()) {
        Text += "\nIts pages (" + Topic + ") were looked for in these folders, in this order:";
        for (const std::string& Folder : Folders) {
            Text += "\n" + Folder;
        }
    }
    return Text;
}

std::string CannotOpenText(const std::string& Page) {
    return "Cannot open the help page " + Page +
           ".\nNo program of this desktop could show it; open that file in a web browser.";
}

} // namespace

std::vector<std::string> HelpFolders(const std::string& ProgramFile, const std::string& HelpFile) {
    const std::string ProgramFolder = ExtractFilePath(ProgramFile);
    const std::string Base = BaseName(HelpFile);
    if (ProgramFolder.empty() || Base.empty()) {
        return {};
    }
    std::vector<std::string> Folders;
    for (const std::string& Folder :
         {ProgramFolder + "help/", ProgramFolder + "../share/doc/" + Base + "/html/"}) {
        Folders.push_back(std::filesystem::path(Folder).lexically_normal().string());
    }
    return Folders;
}

std::string HelpPage(const std::string& ProgramFile, const std::string& HelpFile,
                     const std::string& Topic) {
    for (const std::string& Folder : HelpFolders(ProgramFile, HelpFile)) {
        if (const std::string Page = Folder + Topic; FileExists(Page)) {
            std::error_code Error;
            const std::filesystem::path Clean = std::filesystem::weakly_canonical(Page, Error);
            return Error ? Page : Clean.string();
        }
    }
    return {};
}

bool ShowHelp(const std::string& ProgramFile, const std::string& HelpFile,
              const std::string& Topic) {
    const std::string Page = HelpPage(ProgramFile, HelpFile, Topic);
    if (Page.empty()) {
        ShowHelpError(CannotFindText(ProgramFile, HelpFile, Topic));
        return false;
    }
    const auto CannotOpen = [Page] { ShowHelpError(CannotOpenText(Page)); };
    if (ShellOpen(Page, CannotOpen)) {
        return true;
    }
    CannotOpen();
    return false;
}
