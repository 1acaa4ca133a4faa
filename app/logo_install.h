#pragma once

#include "core/exception.h"

#include <string>

class TPixelGraphic;

// Putting logos in place of the system's shut-down pictures, and the one-time backups of the
// pictures found there.

// Reduces the composed Logo to the system's logo format (ReduceLogo) and installs it as
// FileName, a BMP file under any name. The picture is written in full to a temporary file
// beside FileName, flushed to disk and renamed over FileName in one step, so FileName is at
// every instant the old or the new complete picture; the new file keeps the old one's
// permissions. Raises EFCreateError ("Cannot create file ...") when it cannot be written, and
// the old file stays.
void InstallLogo(const TPixelGraphic& Logo, const std::string& FileName);

enum class TBackupResult {
    brMade,         // the backup was made now
    brExists,       // a backup was made before
    brNoSystemLogo, // there is no system logo to back up
    brFailed,       // the copy could not be made (Error tells why)
};

struct TBackup {
    TBackupResult Result = TBackupResult::brFailed;
    int Error = 0; // errno of a failed copy
};

// Copies WindowsDir + Name to ProgramDir + Name unless that backup exists already (it is made
// once and never refreshed). The copy is written like a logo, so an interrupted copy leaves no
// partial backup behind.
TBackup BackupLogo(const std::string& WindowsDir, const std::string& ProgramDir,
                   const std::string& Name);

// A system logo that has no backup and could not get one: it is not to be replaced, or the
// original would exist nowhere.
class EBackupError : public Exception {
public:
    EBackupError(const std::string& SystemLogo, const std::string& Backup, int Error);
};
