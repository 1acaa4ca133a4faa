#include "platform/install_target/folder_target.h"

#include "core/stream.h"
#include "platform/atomic_file.h"
#include "platform/file_ops.h"
#include "platform/paths.h"
#include "platform/whole_file.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace {

std::string Reason() {
    return std::strerror(errno);
}

} // namespace

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
    return FileExists(FFolder + Name);
}

std::string TFolderTarget::ReadLogo(const std::string& Name) {
    const std::string FileName = FFolder + Name;
    std::string Data;
    if (!FileExists(FileName) || !ReadWholeFile(FileName, Data)) {
        throw EFOpenError("Cannot open file \"" + FileName + "\". " + Reason());
    }
    return Data;
}

void TFolderTarget::ReplaceLogo(const std::string& Name, std::string_view Data) {
    const std::string FileName = FFolder + Name;
    if (!WriteFileAtomically(FileName, Data, TReplaceMode::rmReplace)) {
        const std::string Why = Reason();
        // A path that names nothing at all is most often a disk image's name mistyped.
        struct stat Info {};
        if (::stat(FFolder.c_str(), &Info) != 0 && errno == ENOENT) {
            throw EFCreateError("\"" + Description() +
                                "\" does not exist: no disk image or folder of that name.");
        }
        throw EFCreateError("Cannot create file \"" + FileName + "\". " + Why);
    }
}

void TFolderTarget::CopyLogo(const std::string& Name, const std::string& FileName) {
    RemoveStaleTemporaryFiles(FileName);
    if (!CopyFileAtomically(FFolder + Name, FileName, TReplaceMode::rmFailIfExists)) {
        throw EFCreateError("Cannot create file \"" + FileName + "\". " + Reason());
    }
}

void TFolderTarget::RemoveLeftovers(const std::string& Name) {
    RemoveStaleTemporaryFiles(FFolder + Name);
}
