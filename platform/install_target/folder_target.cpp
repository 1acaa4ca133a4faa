#include "platform/install_target/folder_target.h"

#include "core/stream.h"
#include "platform/atomic_file.h"
#include "platform/file_ops.h"
#include "platform/paths.h"
#include "platform/whole_file.h"

#include <cerrno>
#include <sys/stat.h>

TFolderTarget::TFolderTarget(const std::string& Folder)
    : FFolder(IncludeTrailingPathDelimiter(Folder)) {}

std::string TFolderTarget::Description() const {
    return ExcludeTrailingPathDelimiter(FFolder);
}

std::string TFolderTarget::LogoPlace(const std::string& Name) const {
    return FFolder + Name;
}

TTargetSpec TFolderTarget::PlaceFound() {
    return {TTargetKind::tkFolder, Description()};
}

bool TFolderTarget::LogoExists(const std::string& Name) {
    return FileExists(LogoPlace(Name));
}

std::string TFolderTarget::ReadLogo(const std::string& Name) {
    return ReadWholeFile(LogoPlace(Name), TAbsentFile::afRefused);
}

void TFolderTarget::ReplaceLogo(const std::string& Name, std::string_view Data) {
    try {
        WriteFileAtomically(LogoPlace(Name), Data, TReplaceMode::rmReplace);
    } catch (const EFileError&) {
        // A path that names nothing at all is most often a disk image's name mistyped.
        struct stat Info {};
        if (::stat(FFolder.c_str(), &Info) != 0 && errno == ENOENT) {
            throw Exception("\"" + Description() +
                            "\" does not exist: no disk image or folder of that name.");
        }
        throw;
    }
}

void TFolderTarget::CopyLogo(const std::string& Name, const std::string& FileName) {
    RemoveStaleTemporaryFiles(FileName);
    CopyFileAtomically(LogoPlace(Name), FileName, TReplaceMode::rmFailIfExists);
}
