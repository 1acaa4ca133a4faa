#include "platform/help_viewer.h"

#include "platform/file_ops.h"
#include "platform/message_box.h"
#include "platform/paths.h"
#include "platform/shell_open.h"

#include <filesystem>

namespace {

constexpr const char* kContentsPage = "index.html";

// The help file's name without its folder and its extension.
std::string BaseName(const std::string& HelpFile) {
    const std::string Name = ExtractFileName(HelpFile);
    return Name.substr(0, Name.rfind('.'));
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

std::string HelpPage(const std::string& ProgramFile, const std::string& HelpFile, int /*Context*/) {
    for (const std::string& Folder : HelpFolders(ProgramFile, HelpFile)) {
        if (const std::string Page = Folder + kContentsPage; FileExists(Page)) {
            std::error_code Error;
            const std::filesystem::path Clean = std::filesystem::weakly_canonical(Page, Error);
            return Error ? Page : Clean.string();
        }
    }
    return {};
}

bool ShowHelp(const std::string& ProgramFile, const std::string& HelpFile, int Context) {
    const std::string Page = HelpPage(ProgramFile, HelpFile, Context);
    if (!Page.empty() && ShellOpen(Page)) {
        return true;
    }
    TMessageBoxRequest Request;
    Request.Caption = "Help";
    if (Page.empty()) {
        Request.Text = "Cannot find the help file " + HelpFile + ".";
        const std::vector<std::string> Folders = HelpFolders(ProgramFile, HelpFile);
        if (!Folders.empty()) {
            Request.Text += std::string("\nIts pages (") + kContentsPage +
                            ") were looked for in these folders, in this order:";
            for (const std::string& Folder : Folders) {
                Request.Text += "\n" + Folder;
            }
        }
    } else {
        Request.Text = "Cannot open the help page " + Page + ".";
    }
    Request.Type = TMsgDlgType::mtError;
    ShowMessageBox(Request);
    return false;
}
