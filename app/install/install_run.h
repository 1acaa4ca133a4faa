#pragma once

#include "app/install/install_places.h"

#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class TInstallTarget;

// Installing the logos into every place of a run, each place on its own.

// A logo ready to install: its file name and its bytes in the system's format (LogoFileData).
struct TLogoFile {
    std::string Name;
    std::string Data;
};

// What installing into one place came to.
struct TPlaceOutcome {
    std::string Place;                        // the place, for messages
    std::vector<std::string> Installed;       // where each logo installed there now is
    std::vector<std::exception_ptr> Failures; // in order; each says what failed and where
};

// What the installation tells while it goes on.
struct TInstallEvents {
    // The one-time backup of the logo Name of Place, whose target is Target, was made.
    std::function<void(const TInstallPlace& Place, const TInstallTarget& Target,
                       const std::string& Name)>
        OnBackupMade;
    // A logo was installed; Where names it ("/home/me/win/logow.sys",
    // "/vm/w98.img::1/WINDOWS/LOGOW.SYS").
    std::function<void(const std::string& Where)> OnInstalled;
};

// The install targets of a run's places, each made and held (TInstallTarget::Hold: opened,
// checked, locked and located) once, at its first use, until this ends: the backups and every
// logo of a place are done under one hold, and nothing can start using a disk image in between.
class TPlaceTargets {
public:
    TPlaceTargets();
    TPlaceTargets(const TPlaceTargets&) = delete;
    TPlaceTargets& operator=(const TPlaceTargets&) = delete;
    ~TPlaceTargets();

    // The target of Place, a place with a valid target, held.
    TInstallTarget& Of(const TInstallPlace& Place);

private:
    std::map<const TInstallPlace*, std::unique_ptr<TInstallTarget>> FHeld;
};

// One run's places, in order, with their targets held as they are used.
struct TInstallSession {
    explicit TInstallSession(std::vector<TInstallPlace> ThePlaces) : Places(std::move(ThePlaces)) {}

    const std::vector<TInstallPlace> Places;
    TPlaceTargets Targets;
};

// Installs Logos, in order, into each of the session's places, in order. In each place a logo that
// has no backup yet is backed up first; when that fails the logo is not replaced and the next one
// is tried. A logo that cannot be written ends the work in that place. A place that cannot be
// reached, or whose target is not valid, fails as a whole. Whatever fails in one place, the next
// place is still done. A failure other than that of the logo's file itself (an EFileError
// naming it) is raised again as EFailureIn with the logo's place as its subject. Failures other
// than the program's own (such as running out of memory) end everything. The same session given
// to BackupLogoFiles before keeps each place held from the backups to the last logo.
std::vector<TPlaceOutcome> InstallLogoFiles(TInstallSession& Session,
                                            const std::vector<TLogoFile>& Logos,
                                            const TInstallEvents& Events);

// The one-time backups of the logos Names in each of the session's places. Failures are passed
// over: the backup is tried again before its logo is replaced.
void BackupLogoFiles(TInstallSession& Session, const std::vector<std::string>& Names,
                     const TInstallEvents& Events);

// The message that tells that the backup of the logo Name of Place was made: the system's own
// for the Windows folder, whose backups lie in the program folder; for others naming the place
// as its target found it (a disk image with the partition and folder used).
std::string BackupMadeMessage(const TInstallPlace& Place, const TInstallTarget& Target,
                              const std::string& Name);
