#pragma once

#include "app/settings_model.h"
#include "core/object.h"
#include "platform/message_box.h"

#include <QWidget>
#include <string>
#include <vector>

class TGeneralPage;
class TLogoPage;
class TPageControl;
class TPGOpenDialog;
class TVesperaApp;
struct TProgramPlaces;

// The settings window: three pages ("General Settings", "First Logo", "Second Logo") over the
// logo program App. Its controls show App's settings and hand every change to them; App's
// reactions (record choice, composition, installation) come back through its events. The
// handlers carry the window's names; each is bound to its controls as the window's table lists.
class TfmVespera : public QWidget, public TObject {
public:
    explicit TfmVespera(TVesperaApp& App, QWidget* Parent = nullptr);
    ~TfmVespera() override;

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

    TVesperaApp& App() const { return FApp; }
    TPageControl* Pages() const { return FPages; }
    TGeneralPage* General() const { return FGeneral; }
    // Logo 1 ("First Logo") or 2 ("Second Logo").
    TLogoPage* LogoPage(int Logo) const;
    // The picture dialog both logo pages choose their background pictures with.
    TPGOpenDialog* dgOpen() const { return FOpen; }

    // --- Handlers ------------------------------------------------------------------------------
    void rgFirstEffectClick();
    void rgLastEffectClick();
    void rgFirstBackgroundClick();
    void rgLastBackgroundClick();
    void btFirstSelectClick();
    void btLastSelectClick();
    void cbOnlyClick();
    void PagesChange();
    void DefaultChange();
    void FilesClick();
    void FilesMouseUp(Qt::MouseButton Button);
    void btRandClick();
    void btUseClick();
    void btSaveLogosClick();
    void btSaveExitClick();
    void btStartClick();
    void btHelpClick();
    void btNavigateClick();
    void btPreview1Click();
    void btPreview2Click();
    // Runs BackupLogos; the window runs it once it is shown, every time it is shown.
    void FormShow();

protected:
    void showEvent(QShowEvent* Event) override;
    void keyPressEvent(QKeyEvent* Event) override;

private:
    void BindGeneralPage();
    void BindLogoPage(TLogoPage& Page);
    // App's settings changed: the control that shows the setting follows, and the visibility
    // rules that depend on it are applied.
    void SettingChange(TSettingChange Change);
    void ShowLogoSetting(TLogoPage& Page, TSetting Setting);
    void ShowTexts();
    void ShowTextFile();
    // Visibility by the text effect, by the background kind and by the single-logo mode.
    void ApplyShadowColorRule(int Logo);
    void ApplyBackgroundRule(int Logo);
    void ApplyPositionRule();
    void ApplyVisibilityRules();
    std::vector<std::string> FontFamilies() const;
    void SelectBitmap(int Logo);

    TVesperaApp& FApp;
    TPageControl* FPages;
    TGeneralPage* FGeneral;
    TLogoPage* FFirst;
    TLogoPage* FLast;
    TPGOpenDialog* FOpen;
};
