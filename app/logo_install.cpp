#include "app/logo_install.h"

#include "app/logo/logo_image.h"
#include "core/stream.h"
#include "pgraphic/image/pixel_graphic.h"
#include "platform/atomic_file.h"
#include "platform/file_ops.h"
#include "platform/paths.h"

#include <cerrno>
#include <cstring>
#include <string_view>
#include <sys/stat.h>

void InstallLogo(const TPixelGraphic& Logo, const std::string& FileName) {
    TPixelGraphic Installed;
    ReduceLogo(Logo, Installed);
    TMemoryStream Bytes;
    Installed.SaveToStreamExt(Bytes, "bmp");
    const std::string_view Data(reinterpret_cast<const char*>(Bytes.Bytes().data()),
                                Bytes.Bytes().size());
    if (!WriteFileAtomically(FileName, Data, TReplaceMode::rmReplace)) {
        throw EFCreateError("Cannot create file \"" + FileName + "\". " + std::strerror(errno));
    }
}

TBackup BackupLogo(const std::string& WindowsDir, const std::string& ProgramDir,
                   const std::string& Name) {
    const std::string SystemLogo = WindowsDir + Name;
    const std::string Backup = ProgramDir + Name;
    RemoveStaleTemporaryFiles(Backup);
    if (FileExists(Backup)) {
        return {TBackupResult::brExists};
    }
    if (struct stat Info{};
        ::stat(SystemLogo.c_str(), &Info) != 0 && (errno == ENOENT || errno == ENOTDIR)) {
        return {TBackupResult::brNoSystemLogo};
    }
    if (!CopyFileAtomically(SystemLogo, Backup, TReplaceMode::rmFailIfExists)) {
        return {TBackupResult::brFailed, errno};
    }
    return {TBackupResult::brMade};
}

EBackupError::EBackupError(const std::string& SystemLogo, const std::string& Backup, int Error)
    : Exception("Cannot back up \"" + SystemLogo + "\" to \"" + Backup + "\". " +
                std::strerror(Error) + ". " + ExtractFileName(SystemLogo) + " was not replaced.") {}
