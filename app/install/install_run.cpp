#include "app/install/install_run.h"

#include "app/install/logo_file_install.h"
#include "app/report/failure_report.h"
#include "core/stream.h"
#include "platform/install_target/install_target.h"

#include <memory>

namespace {

// Whether Failure is that of the file Where itself, whose message names it.
bool IsFailureOfFile(const Exception& Failure, const std::string& Where) {
    const auto* File = dynamic_cast<const EFileError*>(&Failure);
    return File != nullptr && File->FileName() == Where;
}

// The failure being handled, with Where as its subject unless it is the failure of that file.
std::exception_ptr FailureAt(const Exception& Failure, const std::string& Where) {
    if (IsFailureOfFile(Failure, Where)) {
        return std::current_exception();
    }
    try {
        std::throw_with_nested(EFailureIn(Where, Failure.Message()));
    } catch (const EFailureIn&) {
        return std::current_exception();
    }
}

std::string PlaceSourceName(TPlaceSource Source) {
    return Source == TPlaceSource::psOverride ? "VESPERA_WINDIR" : "Install target";
}

void InstallInto(const TInstallPlace& Place, const std::vector<TLogoFile>& Logos,
                 const TInstallEvents& Events, TPlaceTargets& Targets, TPlaceOutcome& Outcome) {
    std::string Where = Place.Description();
    try {
        TInstallTarget* const Target = &Targets.Of(Place);
        Where = Target->Description();
        for (const TLogoFile& Logo : Logos) {
            Where = Target->LogoPlace(Logo.Name);
            const TBackup Backup =
                BackupLogo(*Target, PlaceBackupDir(Place, Target->PlaceFound()), Logo.Name);
            if (Backup.Result == TBackupResult::brMade && Events.OnBackupMade) {
                Events.OnBackupMade(Place, *Target, Logo.Name);
            }
            if (Backup.Result == TBackupResult::brFailed) {
                Outcome.Failures.push_back(
                    std::make_exception_ptr(EBackupError(Where, Backup.Reason, Logo.Name)));
                continue;
            }
            Target->ReplaceLogo(Logo.Name, Logo.Data);
            Where = Target->LogoPlace(Logo.Name);
            Outcome.Installed.push_back(Where);
            if (Events.OnInstalled) {
                Events.OnInstalled(Where);
            }
        }
    } catch (const Exception& Failure) {
        Outcome.Failures.push_back(FailureAt(Failure, Where));
    }
}

} // namespace

TPlaceTargets::TPlaceTargets() = default;

TPlaceTargets::~TPlaceTargets() {
    for (auto& [Place, Target] : FHeld) {
        Target->Release();
    }
}

TInstallTarget& TPlaceTargets::Of(const TInstallPlace& Place) {
    auto Found = FHeld.find(&Place);
    if (Found == FHeld.end()) {
        std::unique_ptr<TInstallTarget> Target = MakeInstallTarget(*Place.Spec);
        Target->Hold();
        Found = FHeld.emplace(&Place, std::move(Target)).first;
    }
    return *Found->second;
}

std::vector<TPlaceOutcome> InstallLogoFiles(TInstallSession& Session,
                                            const std::vector<TLogoFile>& Logos,
                                            const TInstallEvents& Events) {
    std::vector<TPlaceOutcome> Outcomes;
    for (const TInstallPlace& Place : Session.Places) {
        TPlaceOutcome& Outcome = Outcomes.emplace_back();
        Outcome.Place = Place.Description();
        if (!Place.Spec) {
            Outcome.Failures.push_back(
                std::make_exception_ptr(EFailureIn(PlaceSourceName(Place.Source), Place.Error)));
            continue;
        }
        InstallInto(Place, Logos, Events, Session.Targets, Outcome);
    }
    return Outcomes;
}

void BackupLogoFiles(TInstallSession& Session, const std::vector<std::string>& Names,
                     const TInstallEvents& Events) {
    for (const TInstallPlace& Place : Session.Places) {
        if (!Place.Spec) {
            continue;
        }
        try {
            TInstallTarget& Target = Session.Targets.Of(Place);
            for (const std::string& Name : Names) {
                const std::string BackupDir = PlaceBackupDir(Place, Target.PlaceFound());
                if (BackupLogo(Target, BackupDir, Name).Result == TBackupResult::brMade &&
                    Events.OnBackupMade) {
                    Events.OnBackupMade(Place, Target, Name);
                }
            }
        } catch (const Exception&) {
            // The place cannot be reached now; installing there will say so.
        }
    }
}

std::string BackupMadeMessage(const TInstallPlace& Place, const TInstallTarget& Target,
                              const std::string& Name) {
    std::string Text = "A Backup of your existing " + Name;
    if (!Place.BackupsInProgramFolder) {
        Text.append(" in ").append(Target.Description());
    }
    return Text + " has been done";
}
