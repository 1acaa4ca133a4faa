#include "app/vespera_app.h"

#include "app/composition/font_choice.h"
#include "app/install/install_run.h"
#include "app/install/logo_file_install.h"
#include "app/logo/logo_image.h"
#include "app/report/failure_report.h"
#include "app/settings/settings_file.h"
#include "platform/ascii_text.h"
#include "platform/file_ops.h"
#include "platform/ini_file.h"
#include "platform/paths.h"

#include <exception>

namespace {

// The system's logo files.
constexpr TPerLogo<const char*> kLogoFiles{{kFirstLogoFile, kLastLogoFile}};

// The logos as the pages of the settings window name them.
constexpr TPerLogo<const char*> kLogoNames{{"First Logo", "Second Logo"}};

// The record choice's text of each logo.
constexpr TPerLogo<std::string TRecordTexts::*> kRecordText{
    {&TRecordTexts::FirstText, &TRecordTexts::LastText}};

} // namespace

TVesperaApp::TVesperaApp()
    : FSettingsConnection(FSettings.OnChange.Connect(
          [this](TObject*, TSettingChange Change) { SettingChanged(Change); })) {}

const std::string& TVesperaApp::Text(TLogo Logo) const {
    return FTexts.*kRecordText[Logo];
}

// --- Start-up ----------------------------------------------------------------------------------

void TVesperaApp::Start(const TProgramPlaces& Places, const std::vector<std::string>& FontFamilies,
                        bool ComposeLogos) {
    FLoading = true;
    FPlaces = Places;
    for (const TLogo Logo : kLogos) {
        FLogos[Logo].Logo.SetSize(kComposedLogoWidth, kLogoHeight, bc24);
        FLogos[Logo].Back.SetSize(kComposedLogoWidth, kLogoHeight, bc24);
    }
    LoadSettings();
    if (const std::string RecordFile = StartupRecordFile(); !RecordFile.empty()) {
        try {
            SelectRecordFile(RecordFile);
        } catch (const std::exception& E) {
            ShowException(E); // the logos carry the default texts
        }
    }
    SelectFonts(FontFamilies);
    const int OnlyOne = FSettings.OnlyOne();
    FSettings.Set({TLogo::First, TSetting::Only}, OnlyOne == 1);
    FSettings.Set({TLogo::Last, TSetting::Only}, OnlyOne == 2);
    FLoading = false;
    // Each background is built, and the logo of each one built is composed, even when the other
    // background's picture cannot be read, so that neither preview stays empty; the failures are
    // reported in order, the last one raised.
    THeldFailures Failures;
    TPerLogo<bool> Built{{false, false}};
    for (const TLogo Logo : kLogos) {
        try {
            BuildBackground(Logo);
            Built[Logo] = true;
        } catch (const std::exception&) {
            Failures.Hold(std::current_exception());
        }
    }
    if (ComposeLogos || !Built[TLogo::First] || !Built[TLogo::Last]) {
        for (const TLogo Logo : kLogos) {
            try {
                if (Built[Logo]) {
                    RecomposeLogo(Logo);
                }
            } catch (const std::exception&) {
                Failures.Hold(std::current_exception());
            }
        }
    }
    Failures.RaiseLast();
}

void TVesperaApp::LoadSettings() {
    ::LoadSettings(FSettings, TIniFile(FPlaces.SettingsFile()));
}

void TVesperaApp::SaveSettings() {
    TIniFile File(FPlaces.SettingsFile());
    ::SaveSettings(FSettings, File);
}

void TVesperaApp::SelectFonts(const std::vector<std::string>& FontFamilies) {
    for (const TLogo Logo : kLogos) {
        FSettings.Set({Logo, TSetting::Font},
                      SelectFontFamily(FontFamilies, FSettings.Logo(Logo).FontName));
    }
}

std::string TVesperaApp::StartupRecordFile() const {
    const std::string RecordFile = FPlaces.RecordFilePath(FSettings.TextFile());
    return !RecordFile.empty() && FileExists(RecordFile) ? ExpandFileName(RecordFile)
                                                         : std::string();
}

// --- Settings changes --------------------------------------------------------------------------

void TVesperaApp::SettingChanged(TSettingChange Change) {
    OnSettingChange(this, Change);
    if (!Change.Logo) {
        // The general settings take effect where they are used; the preview's shows at once.
        if (GeneralSettingRow(Change.Setting)->Recompute == TRecompute::Previews) {
            for (const TLogo Logo : kLogos) {
                if (LogoComposed(Logo)) {
                    OnShowLogo(this, Logo, this->Logo(Logo));
                }
            }
        }
        return;
    }
    switch (LogoSettingRow(Change.Setting)->Recompute) {
    case TRecompute::Nothing:
    case TRecompute::Previews:
        break;
    case TRecompute::Logo:
        RecomposeLogo(*Change.Logo);
        break;
    case TRecompute::Background:
        RebuildBackground(*Change.Logo);
        break;
    case TRecompute::DefaultTexts:
        DefaultTextChanged();
        break;
    case TRecompute::BothBackgrounds:
        for (const TLogo Logo : kLogos) {
            RebuildBackground(Logo);
        }
        break;
    }
}

// --- Records -----------------------------------------------------------------------------------

void TVesperaApp::TakeDefaultTexts() {
    for (const TLogo Logo : kLogos) {
        FLogos[Logo].DefaultText = FSettings.Logo(Logo).Line;
    }
}

void TVesperaApp::ChooseRecord() {
    TakeDefaultTexts();
    if (!::ChooseRecord(FPlaces.RecordFilePath(FSettings.TextFile()), DefaultText(TLogo::First),
                        DefaultText(TLogo::Last), FTexts, FRandom)) {
        return;
    }
    FRecordTextsShown = true;
    OnShowTexts(this);
}

void TVesperaApp::DefaultTextChanged() {
    if (FLoading) {
        // Start-up chooses a record once it has selected the record file, which ends where a
        // choice now would, so the file is read once. The logos are not drawn meanwhile.
        TakeDefaultTexts();
        FTexts.FirstText = DefaultText(TLogo::First);
        FTexts.LastText = DefaultText(TLogo::Last);
        return;
    }
    const auto ShowsRecord = [this](TLogo Logo) { return Text(Logo) != DefaultText(Logo); };
    if (ShowsRecord(TLogo::First) && ShowsRecord(TLogo::Last)) {
        return;
    }
    ChooseRecord();
    RecomposeLogos();
}

void TVesperaApp::SelectRecordFile(const std::string& FileName) {
    FSettings.Set(TSetting::TextFile, FileName);
    ChooseRecord();
}

// --- Composition -------------------------------------------------------------------------------

TBackgroundInfo TVesperaApp::GetBackgroundInfo(TLogo Logo) {
    const TLogoValues& V = FSettings.Logo(Logo);
    TBackgroundInfo B;
    B.Image = &Back(Logo);
    B.Kind = V.Background;
    B.SingleColor = V.SingleColor;
    B.GradientTop = V.GradientTop;
    B.GradientBottom = V.GradientBottom;
    B.BitmapPath = V.Bitmap;
    return B;
}

TTextInfo TVesperaApp::GetTextInfo(TLogo Logo) {
    TTextInfo T;
    T.Image = &this->Logo(Logo);
    if (FSettings.SingleLogo()) {
        // The question above the answer, each in its own page's font, colours and effect.
        const TLogoValues& First = FSettings.Logo(TLogo::First);
        const TLogoValues& Last = FSettings.Logo(TLogo::Last);
        T.Font1 = FontOf(First);
        T.Font2 = FontOf(Last);
        T.Shadow1 = First.ShadowColor;
        T.Shadow2 = Last.ShadowColor;
        T.Effect1 = First.Effect;
        T.Effect2 = Last.Effect;
        T.Text1 = Text(TLogo::First);
        T.Text2 = Text(TLogo::Last);
        T.Position = TTextPosition::Middle;
        T.Count = 2;
        return T;
    }
    const TLogoValues& V = FSettings.Logo(Logo);
    T.Font1 = FontOf(V);
    T.Shadow1 = V.ShadowColor;
    T.Position = V.Position;
    T.Effect1 = V.Effect;
    T.Text1 = Text(Logo);
    T.Count = 1;
    return T;
}

void TVesperaApp::RebuildBackground(TLogo Logo) {
    if (FLoading) {
        return;
    }
    BuildBackground(Logo);
    RecomposeLogo(Logo);
}

void TVesperaApp::BuildBackground(TLogo Logo) {
    // In single-logo mode the logo that is not made keeps its background unbuilt.
    if (!FSettings.LogoSkipped(Logo)) {
        const TBackgroundInfo Background = GetBackgroundInfo(Logo);
        RunForSubject(std::string(kLogoNames[Logo]) + " background " + Background.BitmapPath,
                      [&] { ::BuildBackground(Background); });
    }
}

void TVesperaApp::RecomposeLogo(TLogo Logo) {
    if (FLoading) {
        return;
    }
    // A logo that the other one's single-logo box skips is drawn on that one's background.
    const TLogo Background = FSettings.LogoSkipped(Logo) ? OtherLogo(Logo) : Logo;
    this->Logo(Logo).StretchFrom(Back(Background));
    DrawLogoText(GetTextInfo(Logo));
    this->Logo(Logo).Flush(); // the drawing goes into the pixels now; its view is not kept
    ShowLogo(Logo);
    // In single-logo mode both logos are the same composition of both pages' settings: the
    // other one follows, so that the logo installed never lags behind a change made on the
    // page of the logo that is not installed.
    if (FSettings.SingleLogo()) {
        const TLogo Other = OtherLogo(Logo);
        this->Logo(Other).StretchFrom(this->Logo(Logo));
        ShowLogo(Other);
    }
}

void TVesperaApp::RecomposeLogos() {
    if (FSettings.SingleLogo()) {
        // Either logo's recomposition gives both the composition; the last's ends where
        // recomposing the first and then the last would.
        RecomposeLogo(TLogo::Last);
        return;
    }
    for (const TLogo Logo : kLogos) {
        RecomposeLogo(Logo);
    }
}

void TVesperaApp::ShowLogo(TLogo Logo) {
    FLogos[Logo].Composed = true;
    FLogos[Logo].InstalledCurrent = false;
    OnShowLogo(this, Logo, this->Logo(Logo));
}

const TPixelGraphic& TVesperaApp::PreviewPicture(TLogo Logo) {
    TLogoState& State = FLogos[Logo];
    if (!FSettings.General().PreviewAsInstalled) {
        return State.Logo;
    }
    if (!State.InstalledCurrent) {
        InstalledLogoPreview(State.Logo, State.Installed);
        State.InstalledCurrent = true;
    }
    return State.Installed;
}

void TVesperaApp::UseBackgroundPicture(TLogo Logo, const std::optional<std::string>& Chosen) {
    if (Chosen) {
        FSettings.Set({Logo, TSetting::Bitmap}, *Chosen);
    }
    RebuildBackground(Logo);
}

// --- Installation ------------------------------------------------------------------------------

void TVesperaApp::InstallLogos() {
    OnInstalling(this, true);
    try {
        InstallEachLogo();
    } catch (...) {
        OnInstalling(this, false);
        throw;
    }
    OnInstalling(this, false);
}

void TVesperaApp::InstallEachLogo() {
    // Both logos are reduced once and go to every place; what fails in one place is reported
    // after the others have been done.
    std::vector<TLogoFile> Logos;
    for (const TLogo Logo : kLogos) {
        if (!FSettings.LogoSkipped(Logo)) {
            Logos.push_back({kLogoFiles[Logo], LogoFileData(this->Logo(Logo))});
        }
    }
    THeldFailures Failures;
    for (const TPlaceOutcome& Outcome : InstallLogoFiles(InstallPlaces(), Logos, InstallEvents())) {
        for (const std::exception_ptr& Failure : Outcome.Failures) {
            Failures.Hold(Failure);
        }
    }
    Failures.RaiseLast();
}

std::vector<TInstallPlace> TVesperaApp::InstallPlaces() const {
    return ResolveInstallPlaces(FPlaces, FSettings.InstallTargets());
}

TInstallEvents TVesperaApp::InstallEvents() {
    TInstallEvents Events;
    Events.OnBackupMade = [](const TInstallPlace& Place, const std::string& Name) {
        ShowProgramMessage(BackupMadeMessage(Place, Name), TMsgDlgType::mtInformation);
    };
    Events.OnInstalled = [this](const std::string& Where) { OnLogoInstalled(this, Where); };
    return Events;
}

void TVesperaApp::BackupLogos() {
    BackupLogoFiles(InstallPlaces(), {kFirstLogoFile, kLastLogoFile}, InstallEvents());
}

void TVesperaApp::InstallUnattended() {
    BackupLogos();
    RecomposeLogos();
    InstallLogos();
    OnTerminate(this);
}

bool IsAutoRunCommand(const std::vector<std::string>& Arguments) {
    return !Arguments.empty() && SameText(Arguments.front(), "/AUTO");
}
