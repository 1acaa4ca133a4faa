#pragma once

#include "app/install/program_places.h"
#include "platform/install_target/target_spec.h"

#include <optional>
#include <string>
#include <vector>

class TInstallTargetList;

// Where the logos go in this run: the places to install to, each with the folder that keeps its
// one-time backups.

// What named a place.
enum class TPlaceSource {
    psOverride,  // $VESPERA_WINDIR, which overrides every other
    psSettings,  // the install targets of the settings
    psAutomatic, // none named: the Windows folder found on this machine
};

struct TInstallPlace {
    TPlaceSource Source = TPlaceSource::psAutomatic;
    std::string Text;                // the target as named
    std::optional<TTargetSpec> Spec; // none when Text is not a valid target
    std::string Error;               // why it is not
    // The folder of its backups, with its trailing "/". For a disk image this is the folder
    // named after the target as written, as older versions named it: which folder is the
    // place's is known once the image is read (PlaceBackupDir).
    std::string BackupDir;
    std::string ProgramDir; // with its trailing "/": the backup folders lie below it
    // Whether BackupDir is the program folder itself, where the Windows folder's backups always
    // were.
    bool BackupsInProgramFolder = false;

    // The place for messages: the folder, or the image with its partition and folder; the text
    // as named when it is not valid.
    std::string Description() const;
};

// The places of a run, in order: $VESPERA_WINDIR alone when it is set (Places.ForcedTarget);
// else the targets of Targets; else the Windows folder found on this machine
// (Places.WindowsDir).
//
// Backups: the Windows folder's stay in the program folder, where they always were: the
// automatic place's, a folder that $VESPERA_WINDIR names, and a folder of the settings that is
// the Windows folder found on this machine. Every other place keeps its backups in a folder of
// its own under the program folder (BackupFolderName); a disk image, that of the place found in
// it (PlaceBackupDir).
std::vector<TInstallPlace> ResolveInstallPlaces(const TProgramPlaces& Places,
                                                const TInstallTargetList& Targets);

// The folder that keeps the backups of Place, with its trailing "/", once its target has found
// where it is (Found: TInstallTarget::PlaceFound). A disk image's backups belong to the image,
// partition and folder found, however the target names them: the program folder +
// BackupFolderName(Found). Older versions named the folder after the target as written; the
// one such name that differs is that of the automatic choice of the partition ("IMAGE::",
// partition 0). When that folder holds backups of the system's logos made before any in the
// place's own (or none is there), it holds the originals and stays the place's. A folder keeps
// Place.BackupDir.
std::string PlaceBackupDir(const TInstallPlace& Place, const TTargetSpec& Found);

// The folder, relative to the program folder and with its trailing "/", that keeps the backups
// of the target Spec: "backups/" + a readable part made from the target's file or folder name
// (letters, digits, ".", "_" and "-" only) + "-" + 16 hexadecimal digits of a fixed hash of the
// target's absolute path (links resolved as far as they exist), partition and folder. The same
// target always gets the same folder, however it is written; two targets almost never share one.
std::string BackupFolderName(const TTargetSpec& Spec);
