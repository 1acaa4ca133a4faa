#pragma once

#include "app/background.h"
#include "app/logo_install.h"
#include "app/logo_text.h"
#include "app/program_places.h"
#include "app/random_source.h"
#include "app/record_choice.h"
#include "app/settings_model.h"
#include "core/events.h"
#include "core/object.h"
#include "pgraphic/image/pixel_graphic.h"

#include <functional>
#include <string>
#include <vector>

// The logo program without its window: the state the whole program shares (folders, settings,
// texts, the two backgrounds and the two logos), start-up, the record choice, the composition
// handlers, installation and the unattended run. The settings window binds its controls to
// Settings() and calls the handlers; it learns what to show through the events.
class TVesperaApp : public TObject {
public:
    TVesperaApp();

    // --- State ---------------------------------------------------------------------------------
    const TProgramPlaces& Places() const { return FPlaces; }
    const std::string& ProgramDir() const { return FPlaces.ProgramDir; }
    const std::string& WindowsDir() const { return FPlaces.WindowsDir; }
    TSettingsModel& Settings() { return FSettings; }
    const TSettingsModel& Settings() const { return FSettings; }
    // 640 x 400 true-colour images, sized at start-up.
    TPixelGraphic& FirstLogo() { return FFirstLogo; }
    TPixelGraphic& LastLogo() { return FLastLogo; }
    TPixelGraphic& FirstBack() { return FFirstBack; }
    TPixelGraphic& LastBack() { return FLastBack; }
    // True until start-up is over; meanwhile no background is built and no logo composed.
    bool Loading() const { return FLoading; }
    const std::string& FirstText() const { return FTexts.FirstText; }
    const std::string& LastText() const { return FTexts.LastText; }
    const std::string& FileDescription() const { return FTexts.FileDescription; }
    // The default texts as the last record choice took them.
    const std::string& FirstDefault() const { return FFirstDefault; }
    const std::string& LastDefault() const { return FLastDefault; }
    TRandomSource& Random() { return FRandom; }
    // What the events have told so far, for a window that is built after start-up: whether logo
    // 1 or 2 has been composed (OnShowLogo), and whether a record choice gave texts from a
    // record file (OnShowTexts).
    bool LogoComposed(int Logo) const { return FComposed[Logo == 1 ? 0 : 1]; }
    bool RecordTextsShown() const { return FRecordTextsShown; }

    // --- Start-up ------------------------------------------------------------------------------
    // Everything the main window's creation does that needs no window: takes the places, sizes
    // the four images, loads the settings file, selects the record file the settings name
    // (FilesClick with its full path) and the fonts (SelectFonts with FontFamilies, the
    // families the font lists offer), checks the single-logo boxes from OnlyOne, ends Loading
    // and builds and composes both logos. A record file that cannot be read is reported and
    // start-up goes on with the default texts; other failures are raised (when both backgrounds
    // fail, the first is reported and the second raised, both logos having been tried).
    void FormCreate(const TProgramPlaces& Places, const std::vector<std::string>& FontFamilies);
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
    // A default text changed: while a default text is on a logo, a new choice and both logos.
    void DefaultChange();
    // A record file chosen (FileName, its full path) or, with an empty name, none (a right
    // click on the file list): the file in use, and a new choice.
    void FilesClick(const std::string& FileName);

    // --- Composition ---------------------------------------------------------------------------
    // Logo 1 (first page, FirstBack, FirstLogo) or 2.
    TBackgroundInfo GetBackgroundInfo(int Logo);
    TTextInfo GetTextInfo(int Logo);
    // Rebuild a background (unless single-logo mode leaves it unused) and recompose its logo.
    void FirstBackChange();
    void LastBackChange();
    // Recompose a logo from its kept background (the other one's in single-logo mode), then
    // OnShowLogo. In single-logo mode the other logo takes the same composition and is shown
    // too, whichever page's setting changed.
    void ChangesFirst();
    void ChangesLast();
    // The picture dialog of a page ended: with the chosen file (none after Cancel) the
    // background is rebuilt.
    void BitmapSelected(int Logo, const std::string* Chosen);

    // --- Installation --------------------------------------------------------------------------
    // Installs the logos single-logo mode does not skip: FirstLogo as logow.sys, then LastLogo
    // as logos.sys, each reported by OnLogoInstalled. A system logo without a backup is backed
    // up first; when that fails it is not replaced (EBackupError, raised after the other logo).
    void SaveLogos();
    // The one-time backups of logow.sys and logos.sys, each announced by a message. A failed
    // backup is not reported here: it is tried again before its logo is replaced.
    void BackupLogos();
    TBackup BackupLogo(const std::string& Name);
    // The button "Save Logos": ShowSaving(true) before the work (the window shows "Saving ...",
    // disables the button and paints), ShowSaving(false) after it, also when it failed.
    void SaveLogosClick(const std::function<void(bool Saving)>& ShowSaving);
    // The unattended run: backups, both logos composed again and installed, then OnTerminate.
    void AutoRun();

    // --- Events --------------------------------------------------------------------------------
    // A setting changed (before the program's own reaction to it).
    std::function<void(TObject* Sender, TSettingChange Change)> OnSettingChange;
    // A record choice gave new texts to show.
    TNotifyEvent OnShowTexts;
    // A logo was composed and is to be shown.
    std::function<void(TObject* Sender, int Logo, const TPixelGraphic& Image)> OnShowLogo;
    // A logo file was installed.
    std::function<void(TObject* Sender, const std::string& FileName)> OnLogoInstalled;
    // The unattended run is over: the program is to end.
    TNotifyEvent OnTerminate;

private:
    void SettingChanged(TSettingChange Change);
    void BackChange(int Logo);
    void Changes(int Logo);

    TProgramPlaces FPlaces;
    TSettingsModel FSettings;
    TPixelGraphic FFirstLogo;
    TPixelGraphic FLastLogo;
    TPixelGraphic FFirstBack;
    TPixelGraphic FLastBack;
    bool FLoading = true;
    TRecordTexts FTexts;
    std::string FFirstDefault;
    std::string FLastDefault;
    TRandomSource FRandom;
    bool FComposed[2] = {false, false};
    bool FRecordTextsShown = false;
};

// Whether the command line (arguments after the program's name) asks for the unattended run:
// its first argument is "/AUTO" in any case.
bool IsAutoRunCommand(const std::vector<std::string>& Arguments);
