#pragma once

#include "app/composition/logo_composer.h"
#include "app/install/install_places.h"
#include "app/install/program_places.h"
#include "app/logo/logo_index.h"
#include "app/records/record_chooser.h"
#include "app/settings/settings_model.h"
#include "app/view_update.h"
#include "core/multicast_event.h"
#include "core/object.h"
#include "pgraphic/image/pixel_graphic.h"

#include <optional>
#include <string>
#include <vector>

struct TInstallEvents;
struct TInstallSession;

// The logo program without its window. It joins the rooms: the settings (Settings()), the record
// choice (Records()), the composer of the logos and the install run; it starts the
// program up and reacts to each change of a setting. The settings window binds its controls to
// Settings() and learns what to show from OnUpdate, one event per action that carries the
// values and pictures to show.
class TVesperaApp : public TObject {
public:
    TVesperaApp();

    // --- State ---------------------------------------------------------------------------------
    const TProgramPlaces& Places() const { return FPlaces; }
    const std::string& ProgramDir() const { return FPlaces.ProgramDir; }
    const std::string& WindowsDir() const { return FPlaces.WindowsDir; }
    TSettingsModel& Settings() { return FSettings; }
    const TSettingsModel& Settings() const { return FSettings; }
    const TRecordChooser& Records() const { return FRecords; }
    // A logo's composition and its background (the composer's).
    TPixelGraphic& Logo(TLogo Logo) { return FComposer.Logo(Logo); }
    TPixelGraphic& Back(TLogo Logo) { return FComposer.Back(Logo); }
    // True until start-up is over; meanwhile no background is built and no logo composed.
    bool Loading() const { return FLoading; }
    // The text drawn on a logo: the question on the first, the answer on the last.
    const std::string& Text(TLogo Logo) const { return FRecords.Text(Logo); }
    const std::string& FileDescription() const { return FRecords.Texts().FileDescription; }
    // A logo's default text as the last record choice took it.
    const std::string& DefaultText(TLogo Logo) const { return FRecords.DefaultText(Logo); }
    // For a window that is built after start-up: whether a record choice gave texts from a record
    // file.
    bool RecordTextsShown() const { return FRecords.TextsFromFile(); }

    // --- Start-up ------------------------------------------------------------------------------
    // Everything the program's start does that needs no window: takes the places, loads the
    // settings file, selects the record file the settings name (by its full path) and the fonts
    // (SelectFonts with FontFamilies, the families the font lists offer), sets the single-logo
    // boxes from OnlyOne, ends Loading and builds and composes both logos. A record file that
    // cannot be read is reported and start-up goes on with the default texts; other failures are
    // raised (when both backgrounds fail, the first is reported and the second raised, both
    // logos having been tried). Without ComposeLogos a start-up that built both backgrounds
    // leaves both logos to be composed by its caller (the unattended run composes them anyway);
    // after a failure the logos whose backgrounds were built are composed all the same.
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
    // Takes the default texts and chooses a record of the record file in use; the update carries
    // the texts when they come from a file. The logos are not redrawn.
    void ChooseRecord();
    // The record file to use (its full path) or, with an empty name, none: the file in use, and
    // a new choice.
    void SelectRecordFile(const std::string& FileName);

    // --- Composition ---------------------------------------------------------------------------
    // Rebuilds a logo's background (unless single-logo mode leaves it unused) and recomposes the
    // logo; nothing while loading.
    void RebuildBackground(TLogo Logo);
    // Recomposes a logo (TLogoComposer::RecomposeLogo); nothing while loading.
    void RecomposeLogo(TLogo Logo);
    // Recomposes both logos; nothing while loading.
    void RecomposeLogos();
    // The picture chosen for a logo's background (none: the choice was cancelled) is kept, and
    // the background is rebuilt in either case.
    void UseBackgroundPicture(TLogo Logo, const std::optional<std::string>& Chosen);
    // Which logos' previews are in view (TLogoComposer::SetInView).
    void SetPreviewsInView(const TPerLogo<bool>& InView);
    // Shows every composed logo anew.
    void ShowPreviews();
    // What the settings window shows for a logo as things stand.
    const TPixelGraphic& PreviewPicture(TLogo Logo) { return FComposer.PreviewPicture(Logo); }

    // --- Installation --------------------------------------------------------------------------
    // The places the logos go in this run (install_places.h), each with its backup folder.
    std::vector<TInstallPlace> InstallPlaces() const;
    // Installs the logos single-logo mode does not skip into every place: the first as
    // logow.sys, then the last as logos.sys, each reported by OnLogoInstalled, the whole
    // bracketed by OnInstalling. A system logo without a backup is backed up first; when that
    // fails it is not replaced (EBackupError). A place that fails does not stop the next; every
    // failure is reported, the last one raised once all places have been done (install_run.h).
    void InstallLogos();
    // The one-time backups of logow.sys and logos.sys in every place, each announced by a
    // message. A failed backup is not reported here: it is tried again before its logo is
    // replaced.
    void BackupLogos();
    // The unattended run's work: backups, both logos composed again and installed, then
    // OnTerminate.
    void InstallUnattended();

    // --- Events --------------------------------------------------------------------------------
    // What to show after an action: once per change of a setting (after the program's reaction
    // to it) and once per other action of the core that changed something to show.
    TMulticastEvent<TObject*, const TViewUpdate&> OnUpdate;
    // Installing begins (Busy) and ends (not Busy), also when it failed.
    TMulticastEvent<TObject*, bool> OnInstalling;
    // A logo file was installed.
    TMulticastEvent<TObject*, const std::string&> OnLogoInstalled;
    // The unattended run is over: the program is to end.
    TMulticastEvent<TObject*> OnTerminate;

private:
    void SettingChanged(TSettingChange Change);
    // The program's reaction to a change of a setting.
    void React(TSettingChange Change);
    // A default text changed: while a default text is on a logo, a new choice and both logos.
    void DefaultTextChanged();
    // The default texts as the settings hold them.
    TPerLogo<std::string> DefaultTexts() const;
    // Runs Work as one action: what it gives to show goes out in one update at its end, also
    // when it fails. Nested actions join the one running.
    template <typename TWork>
    void Act(TWork&& Work);
    void Publish(const TViewUpdate& Update);
    void InstallEachLogo();
    TInstallEvents InstallEvents();
    // Runs Work with the install session of the unattended run while it lasts, else a new one.
    template <typename TWork>
    void WithInstallSession(TWork&& Work);

    TProgramPlaces FPlaces;
    TSettingsModel FSettings;
    TRecordChooser FRecords;
    TLogoComposer FComposer;
    TEventConnection FSettingsConnection;
    TEventConnection FComposerConnection;
    TViewUpdate* FPending = nullptr;            // the update of the action running
    TInstallSession* FInstallSession = nullptr; // the unattended run's, while it lasts
    bool FLoading = true;
};

// Whether the command line (arguments after the program's name) asks for the unattended run:
// its first argument is "/AUTO" in any case.
bool IsAutoRunCommand(const std::vector<std::string>& Arguments);
