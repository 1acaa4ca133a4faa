#pragma once

#include "core/exception.h"

#include <string>

class TInstallTarget;

// Putting logos in place of the system's shut-down pictures, and the one-time backups of the
// pictures found there.

// The system's logo files: the first logo (the question) and the second (the answer).
inline constexpr const char* kFirstLogoFile = "logow.sys";
inline constexpr const char* kLastLogoFile = "logos.sys";

enum class TBackupResult {
    brMade,         // the backup was made now
    brExists,       // a backup was made before
    brNoSystemLogo, // there is no system logo to back up
    brFailed,       // the copy could not be made (Reason tells why)
};

struct TBackup {
    TBackupResult Result = TBackupResult::brFailed;
    std::string Reason; // why a copy failed
};

// Copies the logo Name of Target to BackupDir + Name (BackupDir with its trailing "/", created
// when missing) unless that backup exists already: it is made once and never refreshed. The
// copy is written to a temporary file and renamed, so an interrupted copy leaves no partial
// backup behind. Raises when Target cannot be reached to tell whether it has the logo.
TBackup BackupLogo(TInstallTarget& Target, const std::string& BackupDir, const std::string& Name);

// A system logo that has no backup and could not get one: it is not to be replaced, or the
// original would exist nowhere.
class EBackupError : public Exception {
public:
    // SystemLogo names the logo, Reason says why its copy failed (naming the backup when the
    // backup could not be written), Name is the logo's file name.
    EBackupError(const std::string& SystemLogo, const std::string& Reason, const std::string& Name);
};
