#pragma once

#include "app/composition/background.h"
#include "app/composition/logo_text.h"
#include "app/install/install_places.h"
#include "app/install/logo_file_install.h"
#include "app/install/program_places.h"
#include "app/logo/logo_index.h"
#include "app/records/random_source.h"
#include "app/records/record_choice.h"
#include "app/settings/settings_model.h"
#include "core/multicast_event.h"
#include "core/object.h"
#include "pgraphic/image/pixel_graphic.h"

#include <optional>
#include <string>
#include <vector>

struct TInstallEvents;

// The logo program without its window: the state the whole program shares (folders, settings,
// texts, each logo's background and composition), start-up, the record choice, the composition,
// installation and the unattended run. The settings window binds its controls to Settings() and
// calls these; it learns what to show through the events.
class TVesperaApp : public TObject {
public:
    TVesperaApp();

    // --- State ---------------------------------------------------------------------------------
    const TProgramPlaces& Places() const { return FPlaces; }
    const std::string& ProgramDir() const { return FPlaces.ProgramDir; }
    const std::string& WindowsDir() const { return FPlaces.WindowsDir; }
    TSettingsModel& Settings() { return FSettings; }
    const TSettingsModel& Settings() const { return FSettings; }
    // A logo's composition and its background: 640 x 400 true-colour images, sized at start-up.
    TPixelGraphic& Logo(TLogo Logo) { return FLogos[Logo].Logo; }
    TPixelGraphic& Back(TLogo Logo) { return FLogos[Logo].Back; }
    // True until start-up is over; meanwhile no background is built and no logo composed.
    bool Loading() const { return FLoading; }
    // The text drawn on a logo: the question on the first, the answer on the last.
    const std::string& Text(TLogo Logo) const;
    const std::string& FileDescription() const { return FTexts.FileDescription; }
    // A logo's default text as the last record choice took it.
    const std::string& DefaultText(TLogo Logo) const { return FLogos[Logo].DefaultText; }
    TRandomSource& Random() { return FRandom; }
    // What the events have told so far, for a window that is built after start-up: whether a
    // logo has been composed (OnShowLogo), and whether a record choice gave texts from a record
    // file (OnShowTexts).
    bool LogoComposed(TLogo Logo) const { return FLogos[Logo].Composed; }
    bool RecordTextsShown() const { return FRecordTextsShown; }

    // --- Start-up ------------------------------------------------------------------------------
    // Everything the program's start does that needs no window: takes the places, sizes the
    // four images, loads the settings file, selects the record file the settings name (by its
    // full path) and the fonts (SelectFonts with FontFamilies, the families the font lists
    // offer), sets the single-logo boxes from OnlyOne, ends Loading and builds and composes both
    // logos. A record file that cannot be read is reported and start-up goes on with the default
    // texts; other failures are raised (when both backgrounds fail, the first is reported and the
    // second raised, both logos having been tried). Without ComposeLogos a start-up that built
    // both backgrounds leaves both logos to be composed by its caller (the unattended run
    // composes them anyway); after a failure the logos whose backgrounds were built are composed
    // all the same.
    void Start(const TProgramPlaces& Places, const std::vector<std::string>& FontFamilies,
               bool ComposeLogos = true);
    // The settings file's values into Settings(), and back (see settings_file.h).
    void LoadSettings();
    void SaveSettings();
    // Selects each logo's font from the font name the settings file gave.
    void SelectFonts(const std::vector<std::string>& FontFamilies);
    // The record file that start-up selects: the full path of the file "TextFile" names, or
    // empty when it names none that exists.
    std::string StartupRecordFile() const;

    // --- Records -------------------------------------------------------------------------------
    // Takes the default texts and chooses a record of the record file in use; OnShowTexts tells
    // when the texts come from a file. The logos are not redrawn.
    void ChooseRecord();
    // The record file to use (its full path) or, with an empty name, none: the file in use, and
    // a new choice.
    void SelectRecordFile(const std::string& FileName);

    // --- Composition ---------------------------------------------------------------------------
    // What a logo's background and texts are drawn from, as the settings stand.
    TBackgroundInfo GetBackgroundInfo(TLogo Logo);
    TTextInfo GetTextInfo(TLogo Logo);
    // Rebuilds a logo's background (unless single-logo mode leaves it unused) and recomposes the
    // logo.
    void RebuildBackground(TLogo Logo);
    // Recomposes a logo from its kept background (the other one's in single-logo mode), then
    // OnShowLogo. In single-logo mode the other logo takes the same composition and is shown
    // too, whichever page's setting changed.
    void RecomposeLogo(TLogo Logo);
    // Recomposes both logos; in single-logo mode the one composition they share is made once.
    void RecomposeLogos();
    // The picture chosen for a logo's background (none: the choice was cancelled) is kept, and
    // the background is rebuilt in either case.
    void UseBackgroundPicture(TLogo Logo, const std::optional<std::string>& Chosen);
    // What the settings window shows for a logo: its composition or, with the preview as
    // installed, that logo as installation reduces it and the machine shows it
    // (InstalledLogoPreview), made at the first call after each composition.
    const TPixelGraphic& PreviewPicture(TLogo Logo);

    // --- Installation --------------------------------------------------------------------------
    // The places the logos go in this run (install_places.h), each with its backup folder.
    std::vector<TInstallPlace> InstallPlaces() const;
    // Installs the logos single-logo mode does not skip into every place: the first as
    // logow.sys, then the last as logos.sys, each reported by OnLogoInstalled, the whole
    // bracketed by OnInstalling. A system logo without a backup is backed up first; when that
    // fails it is not replaced (EBackupError). A place that fails does not stop the next; every
    // failure is reported, the last one raised once all places have been done
    // (logo_installer.h).
    void InstallLogos();
    // The one-time backups of logow.sys and logos.sys in every place, each announced by a
    // message. A failed backup is not reported here: it is tried again before its logo is
    // replaced.
    void BackupLogos();
    // The unattended run's work: backups, both logos composed again and installed, then
    // OnTerminate.
    void InstallUnattended();

    // --- Events --------------------------------------------------------------------------------
    // A setting changed (before the program's own reaction to it).
    TMulticastEvent<TObject*, TSettingChange> OnSettingChange;
    // A record choice gave new texts to show.
    TMulticastEvent<TObject*> OnShowTexts;
    // A logo is to be shown anew: it was composed (Image), or the choice of the preview as
    // installed changed. PreviewPicture gives what to show.
    TMulticastEvent<TObject*, TLogo, const TPixelGraphic&> OnShowLogo;
    // Installing begins (Busy) and ends (not Busy), also when it failed.
    TMulticastEvent<TObject*, bool> OnInstalling;
    // A logo file was installed.
    TMulticastEvent<TObject*, const std::string&> OnLogoInstalled;
    // The unattended run is over: the program is to end.
    TMulticastEvent<TObject*> OnTerminate;

private:
    struct TLogoState {
        TPixelGraphic Logo;
        TPixelGraphic Back;
        std::string DefaultText;
        bool Composed = false;
        TPixelGraphic Installed;       // the preview as installed
        bool InstalledCurrent = false; // made from the composition as it stands
    };

    void SettingChanged(TSettingChange Change);
    // The default texts as the settings hold them, for the logos that show no record.
    void TakeDefaultTexts();
    // A default text changed: while a default text is on a logo, a new choice and both logos.
    void DefaultTextChanged();
    void BuildBackground(TLogo Logo);
    // A logo was composed: its preview as installed is out of date; OnShowLogo.
    void ShowLogo(TLogo Logo);
    void InstallEachLogo();
    TInstallEvents InstallEvents();

    TProgramPlaces FPlaces;
    TSettingsModel FSettings;
    TEventConnection FSettingsConnection;
    TPerLogo<TLogoState> FLogos;
    bool FLoading = true;
    TRecordTexts FTexts;
    TRandomSource FRandom;
    bool FRecordTextsShown = false;
};

// Whether the command line (arguments after the program's name) asks for the unattended run:
// its first argument is "/AUTO" in any case.
bool IsAutoRunCommand(const std::vector<std::string>& Arguments);
