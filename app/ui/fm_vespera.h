#pragma once

#include "app/logo/logo_index.h"
#include "app/settings/settings_model.h"
#include "app/view_update.h"
#include "core/multicast_event.h"
#include "core/object.h"
#include "platform/message_box.h"

#include <QWidget>
#include <string>
#include <vector>

class TGeneralPage;
class TLogoPage;
class TPageControl;
class TPGOpenDialog;
class TTargetsRow;
class TVesperaApp;
struct TProgramPlaces;

// The settings window: three pages ("General Settings", "First Logo", "Second Logo") over the
// logo program App, and below them, seen from every page, the row that shows where the logos go.
// Each control that shows a setting is bound to it: a change of the control is stored in App's
// settings, and a change of the setting shows in the control and in the visibility rules. App's
// reactions (record choice, composition, installation) come back through its events. The other
// controls run the window's handlers, which carry the window's names.
class TfmVespera : public QWidget, public TObject {
public:
    explicit TfmVespera(TVesperaApp& App, QWidget* Parent = nullptr);

    TfmVespera(const TfmVespera&) = delete;
    TfmVespera& operator=(const TfmVespera&) = delete;

    // Start-up with the window: the file list at the program folder, the settings loaded into
    // the controls, the record file and the fonts selected, the visibility rules applied, the
    // first page shown, both logos composed. A failure is shown in a message and ends the
    // sequence; the window stays usable. Returns whether the sequence ran to its end.
    bool FormCreate(const TProgramPlaces& Places);

    // The window built over a program that started without it (an unattended run that failed):
    // its controls show App's settings, the record file, the texts and the logos as they would
    // had the window been there from the start, the visibility rules applied, the first page
    // shown. Nothing of App changes.
    void ShowProgramState();

    // Where the window's messages go: its left edge + 100 and top edge + 80 on the screen.
    TScreenPoint MessagePosition() const;
    // Where the messages of a window whose top-left corner is at (Left, Top) go.
    static TScreenPoint MessagePositionAt(int Left, int Top);

    TPageControl* Pages() const { return FPages; }
    TGeneralPage* General() const { return FGeneral; }
    TLogoPage* LogoPage(TLogo Logo) const { return FLogoPages[Logo]; }
    TTargetsRow* TargetsRow() const { return FTargetsRow; }
    // The picture dialog both logo pages choose their background pictures with.
    TPGOpenDialog* dgOpen() const { return FOpen; }

    // --- Handlers ------------------------------------------------------------------------------
    // btFirstSelectClick and btLastSelectClick: the logo's background picture.
    void btSelectClick(TLogo Logo);
    void PagesChange();
    void FilesClick();
    void FilesMouseUp(Qt::MouseButton Button);
    void btRandClick();
    void btUseClick();
    void btSaveLogosClick();
    void btSaveExitClick();
    void btStartClick();
    void btHelpClick();
    // F1: the help page that describes the page in view.
    void PageHelp();
    void btNavigateClick();
    // btPreview1Click and btPreview2Click: the logo on the whole screen.
    void btPreviewClick(TLogo Logo);
    // Runs BackupLogos; the window runs it once it is shown, every time it is shown.
    void FormShow();
    // "Change…" below the pages: the install targets in their dialog; OK keeps the changes.
    void btChangeTargetsClick();

protected:
    void showEvent(QShowEvent* Event) override;
    void keyPressEvent(QKeyEvent* Event) override;

private:
    void BindGeneralPage();
    void BindLogoPage(TLogoPage& Page);
    // What an action of the core changed: the control of the setting that changed shows its
    // value, the visibility rules when the change affects them, the texts, the logos' pictures.
    void Show(const TViewUpdate& Update);
    void ShowSettingChange(const TSettingKey& Key, const TSettingValue& Value);
    void ShowLogoSettings(const TLogoPage& Page);
    void ShowTexts(const TRecordTexts& Texts);
    TPerLogo<bool> PreviewsInView() const;
    void ShowTextFile(const std::string& File);
    // Where the logos go, in the row below the pages.
    void ShowTargets();
    // "Saving ..." on the button while the logos are installed.
    void ShowInstalling(bool Busy);
    // Visibility by the text effect, by the background kind and by the single-logo mode.
    void ApplyVisibilityRules();
    std::vector<std::string> FontFamilies() const;

    TVesperaApp& FApp;
    TPageControl* FPages;
    TGeneralPage* FGeneral;
    TPerLogo<TLogoPage*> FLogoPages;
    TPGOpenDialog* FOpen;
    TTargetsRow* FTargetsRow;
    bool FSaveLogosFocused = false;
    std::vector<TEventConnection> FAppConnections;
};
