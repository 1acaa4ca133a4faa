#include "app/install/logo_file_install.h"

#include "platform/atomic_file.h"
#include "platform/file_ops.h"
#include "platform/install_target/install_target.h"

#include <filesystem>
#include <system_error>

TBackup BackupLogo(TInstallTarget& Target, const std::string& BackupDir, const std::string& Name) {
    const std::string Backup = BackupDir + Name;
    RemoveStaleTemporaryFiles(Backup);
    if (FileExists(Backup)) {
        return {TBackupResult::brExists, {}};
    }
    if (!Target.LogoExists(Name)) {
        return {TBackupResult::brNoSystemLogo, {}};
    }
    if (std::error_code Error; !std::filesystem::create_directories(BackupDir, Error) && Error) {
        return {TBackupResult::brFailed,
                "Cannot create the folder \"" + BackupDir + "\". " + Error.message() + "."};
    }
    try {
        Target.CopyLogo(Name, Backup);
    } catch (const Exception& Failure) {
        return {TBackupResult::brFailed, Failure.Message()};
    }
    return {TBackupResult::brMade, {}};
}

namespace {

// Text as the end of a sentence.
std::string Sentence(std::string Text) {
    if (!Text.empty() && Text.back() != '.') {
        Text += '.';
    }
    return Text;
}

} // namespace

EBackupError::EBackupError(const std::string& SystemLogo, const std::string& Reason,
                           const std::string& Name)
    : Exception("Cannot back up \"" + SystemLogo + "\": " + Sentence(Reason) + " " + Name +
                " was not replaced.") {}
