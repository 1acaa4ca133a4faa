#include "platform/install_target/folder_target.h"

#include "platform/atomic_file.h"
#include "platform/file_ops.h"
#include "platform/paths.h"
#include "platform/whole_file.h"

TFolderTarget::TFolderTarget(const std::string& Folder)
    : FFolder(IncludeTrailingPathDelimiter(Folder)) {}

std::string TFolderTarget::Description() const {
    return ExcludeTrailingPathDelimiter(FFolder);
}

std::string TFolderTarget::LogoPlace(const std::string& Name) const {
    return FFolder + Name;
}

bool TFolderTarget::LogoExists(const std::string& Name) {
    return FileExists(LogoPlace(Name));
}

std::string TFolderTarget::ReadLogo(const std::string& Name) {
    return ReadWholeFile(LogoPlace(Name), TAbsentFile::afRefused);
}

void TFolderTarget::ReplaceLogo(const std::string& Name, std::string_view Data) {
    WriteFileAtomically(LogoPlace(Name), Data, TReplaceMode::rmReplace);
}

void TFolderTarget::CopyLogo(const std::string& Name, const std::string& FileName) {
    RemoveStaleTemporaryFiles(FileName);
    CopyFileAtomically(LogoPlace(Name), FileName, TReplaceMode::rmFailIfExists);
}
