#include "app/vespera_app.h"

#include "app/exception_report.h"
#include "app/font_choice.h"
#include "app/logo/logo_image.h"
#include "app/logo_install.h"
#include "app/settings_file.h"
#include "platform/ascii_text.h"
#include "platform/file_ops.h"
#include "platform/ini_file.h"
#include "platform/paths.h"

#include <exception>

namespace {

constexpr const char* kFirstLogoFile = "logow.sys";
constexpr const char* kLastLogoFile = "logos.sys";

// The logo as its page of the settings window names it.
std::string LogoName(int Logo) {
    return Logo == 1 ? "First Logo" : "Second Logo";
}

TFontInfo FontOf(const TLogoValues& V) {
    return TFontInfo{V.Font, V.Size, V.TextColor, V.Bold, V.Italic};
}

} // namespace

TVesperaApp::TVesperaApp() {
    FSettings.OnChange = [this](TObject*, TSettingChange Change) { SettingChanged(Change); };
}

// --- Start-up ----------------------------------------------------------------------------------

void TVesperaApp::FormCreate(const TProgramPlaces& Places,
                             const std::vector<std::string>& FontFamilies) {
    FLoading = true;
    FPlaces = Places;
    for (TPixelGraphic* Image : {&FFirstLogo, &FLastLogo, &FFirstBack, &FLastBack}) {
        Image->SetSize(kComposedLogoWidth, kLogoHeight, bc24);
    }
    LoadSettings();
    if (const std::string RecordFile = StartupRecordFile(); !RecordFile.empty()) {
        try {
            FilesClick(RecordFile);
        } catch (const std::exception& E) {
            ShowException(E); // the logos carry the default texts
        }
    }
    SelectFonts(FontFamilies);
    FSettings.SetOnlyFirst(FSettings.OnlyOne() == 1);
    FSettings.SetOnlyLast(FSettings.OnlyOne() == 2);
    FLoading = false;
    // Each logo is built even when the other's background picture cannot be read, so that
    // neither preview stays empty; the failures are reported in order, the last one raised.
    THeldFailures Failures;
    for (const int Logo : {1, 2}) {
        try {
            BackChange(Logo);
        } catch (const std::exception&) {
            Failures.Hold(std::current_exception());
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
    for (const int Logo : {1, 2}) {
        FSettings.SetFont(Logo, SelectFontFamily(FontFamilies, FSettings.Logo(Logo).FontName));
    }
}

std::string TVesperaApp::StartupRecordFile() const {
    const std::string RecordFile = FPlaces.RecordFilePath(FSettings.TextFile());
    return !RecordFile.empty() && FileExists(RecordFile) ? ExpandFileName(RecordFile)
                                                         : std::string();
}

// --- Settings changes --------------------------------------------------------------------------

void TVesperaApp::SettingChanged(TSettingChange Change) {
    if (OnSettingChange) {
        OnSettingChange(this, Change);
    }
    switch (Change.Setting) {
    case TSetting::Font:
    case TSetting::Size:
    case TSetting::Position:
    case TSetting::TextColor:
    case TSetting::ShadowColor:
    case TSetting::Effect:
    case TSetting::Bold:
    case TSetting::Italic:
        Changes(Change.Logo);
        break;
    case TSetting::Color1:
    case TSetting::Color2:
    case TSetting::Color3:
    case TSetting::Background:
        BackChange(Change.Logo);
        break;
    case TSetting::Line:
        DefaultChange();
        break;
    case TSetting::OnlyFirst:
    case TSetting::OnlyLast:
        FirstBackChange();
        LastBackChange();
        break;
    case TSetting::TextFile:
    case TSetting::OnlyOne:
    case TSetting::FontName:
    case TSetting::Bitmap:
        break; // values without a control: nothing reacts to them
    }
}

// --- Records -----------------------------------------------------------------------------------

void TVesperaApp::ChooseRecord() {
    FFirstDefault = FSettings.Logo(1).Line;
    FLastDefault = FSettings.Logo(2).Line;
    if (!::ChooseRecord(FPlaces.RecordFilePath(FSettings.TextFile()), FFirstDefault, FLastDefault,
                        FTexts, FRandom)) {
        return;
    }
    FRecordTextsShown = true;
    if (OnShowTexts) {
        OnShowTexts(this);
    }
}

void TVesperaApp::DefaultChange() {
    if (FTexts.FirstText != FFirstDefault && FTexts.LastText != FLastDefault) {
        return; // both logos show a record
    }
    try {
        ChooseRecord();
    } catch (const std::exception&) {
        // While loading, start-up selects the record file afterwards, chooses again and
        // reports the failure once.
        if (!FLoading) {
            throw;
        }
    }
    ChangesFirst();
    ChangesLast();
}

void TVesperaApp::FilesClick(const std::string& FileName) {
    FSettings.SetTextFile(FileName);
    ChooseRecord();
}

// --- Composition -------------------------------------------------------------------------------

TBackgroundInfo TVesperaApp::GetBackgroundInfo(int Logo) {
    const TLogoValues& V = FSettings.Logo(Logo);
    TBackgroundInfo B;
    B.Image = Logo == 1 ? &FFirstBack : &FLastBack;
    B.Kind = static_cast<TBackgroundKind>(V.Background);
    B.SingleColor = V.Color1;
    B.GradientTop = V.Color2;
    B.GradientBottom = V.Color3;
    B.BitmapPath = V.Bitmap;
    return B;
}

TTextInfo TVesperaApp::GetTextInfo(int Logo) {
    TTextInfo T;
    T.Image = Logo == 1 ? &FFirstLogo : &FLastLogo;
    if (FSettings.SingleLogo()) {
        const TLogoValues& First = FSettings.Logo(1);
        const TLogoValues& Last = FSettings.Logo(2);
        T.Font1 = FontOf(First);
        T.Font2 = FontOf(Last);
        T.Shadow1 = First.ShadowColor;
        T.Shadow2 = Last.ShadowColor;
        T.Effect1 = static_cast<TTextEffect>(First.Effect);
        T.Effect2 = static_cast<TTextEffect>(Last.Effect);
        T.Text1 = FTexts.FirstText;
        T.Text2 = FTexts.LastText;
        T.Position = TTextPosition::Middle;
        T.Count = 2;
        return T;
    }
    const TLogoValues& V = FSettings.Logo(Logo);
    T.Font1 = FontOf(V);
    T.Shadow1 = V.ShadowColor;
    T.Position = static_cast<TTextPosition>(V.Position);
    T.Effect1 = static_cast<TTextEffect>(V.Effect);
    T.Text1 = Logo == 1 ? FTexts.FirstText : FTexts.LastText;
    T.Count = 1;
    return T;
}

void TVesperaApp::BackChange(int Logo) {
    if (FLoading) {
        return;
    }
    // In single-logo mode the logo that is not made keeps its background unbuilt.
    if (!FSettings.LogoSkipped(Logo)) {
        const TBackgroundInfo Background = GetBackgroundInfo(Logo);
        RunForSubject(LogoName(Logo) + " background " + Background.BitmapPath,
                      [&] { BuildBackground(Background); });
    }
    Changes(Logo);
}

void TVesperaApp::Changes(int Logo) {
    if (FLoading) {
        return;
    }
    const auto LogoImage = [this](int Which) -> TPixelGraphic& {
        return Which == 1 ? FFirstLogo : FLastLogo;
    };
    TPixelGraphic& Image = LogoImage(Logo);
    const bool OtherBackground = FSettings.LogoSkipped(Logo);
    const bool FirstBackground = (Logo == 1) != OtherBackground;
    Image.StretchFrom(FirstBackground ? FFirstBack : FLastBack);
    DrawLogoText(GetTextInfo(Logo));
    FComposed[Logo == 1 ? 0 : 1] = true;
    if (OnShowLogo) {
        OnShowLogo(this, Logo, Image);
    }
    // In single-logo mode both logos are the same composition of both pages' settings: the
    // other one follows, so that the logo installed never lags behind a change made on the
    // page of the logo that is not installed.
    if (FSettings.SingleLogo()) {
        const int Other = 3 - Logo;
        TPixelGraphic& OtherImage = LogoImage(Other);
        OtherImage.StretchFrom(Image);
        FComposed[Other == 1 ? 0 : 1] = true;
        if (OnShowLogo) {
            OnShowLogo(this, Other, OtherImage);
        }
    }
}

void TVesperaApp::FirstBackChange() {
    BackChange(1);
}

void TVesperaApp::LastBackChange() {
    BackChange(2);
}

void TVesperaApp::ChangesFirst() {
    Changes(1);
}

void TVesperaApp::ChangesLast() {
    Changes(2);
}

void TVesperaApp::BitmapSelected(int Logo, const std::string* Chosen) {
    if (Chosen != nullptr) {
        FSettings.SetBitmap(Logo, *Chosen);
    }
    BackChange(Logo);
}

// --- Installation ------------------------------------------------------------------------------

void TVesperaApp::SaveLogos() {
    // A logo whose backup fails stays as it is and the other one is still installed; a logo
    // that cannot be written stops the sequence.
    THeldFailures Failures;
    for (const int Logo : {1, 2}) {
        if (FSettings.LogoSkipped(Logo)) {
            continue;
        }
        const char* Name = Logo == 1 ? kFirstLogoFile : kLastLogoFile;
        if (const TBackup Backup = BackupLogo(Name); Backup.Result == TBackupResult::brFailed) {
            Failures.Hold(std::make_exception_ptr(
                EBackupError(FPlaces.WindowsDir + Name, FPlaces.ProgramDir + Name, Backup.Error)));
            continue;
        }
        const std::string FileName = FPlaces.WindowsDir + Name;
        try {
            InstallLogo(Logo == 1 ? FFirstLogo : FLastLogo, FileName);
        } catch (const std::exception&) {
            Failures.Hold(std::current_exception());
            break;
        }
        if (OnLogoInstalled) {
            OnLogoInstalled(this, FileName);
        }
    }
    Failures.RaiseLast();
}

void TVesperaApp::BackupLogos() {
    BackupLogo(kFirstLogoFile);
    BackupLogo(kLastLogoFile);
}

TBackup TVesperaApp::BackupLogo(const std::string& Name) {
    const TBackup Backup = ::BackupLogo(FPlaces.WindowsDir, FPlaces.ProgramDir, Name);
    if (Backup.Result == TBackupResult::brMade) {
        ShowProgramMessage("A Backup of your existing " + Name + " has been done",
                           TMsgDlgType::mtInformation);
    }
    return Backup;
}

void TVesperaApp::SaveLogosClick(const std::function<void(bool Saving)>& ShowSaving) {
    ShowSaving(true);
    try {
        SaveLogos();
    } catch (...) {
        ShowSaving(false); // the button stays usable after a failure
        throw;
    }
    ShowSaving(false);
}

void TVesperaApp::AutoRun() {
    BackupLogos();
    ChangesFirst();
    ChangesLast();
    SaveLogos();
    if (OnTerminate) {
        OnTerminate(this);
    }
}

bool IsAutoRunCommand(const std::vector<std::string>& Arguments) {
    return !Arguments.empty() && SameText(Arguments.front(), "/AUTO");
}
