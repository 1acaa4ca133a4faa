#include "app/logo_install.h"

#include "app/logo/logo_image.h"
#include "core/stream.h"
#include "pgraphic/image/pixel_graphic.h"
#include "platform/atomic_file.h"
#include "platform/file_ops.h"

#include <cerrno>
#include <cstring>
#include <string_view>

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

bool BackupLogo(const std::string& WindowsDir, const std::string& ProgramDir,
                const std::string& Name) {
    const std::string Backup = ProgramDir + Name;
    RemoveStaleTemporaryFiles(Backup);
    if (FileExists(Backup)) {
        return false;
    }
    return CopyFileAtomically(WindowsDir + Name, Backup, TReplaceMode::rmFailIfExists);
}
