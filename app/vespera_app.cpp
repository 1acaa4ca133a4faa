#include "app/vespera_app.h"

#include "app/composition/font_choice.h"
#include "app/install/install_run.h"
#include "app/install/logo_file_install.h"
#include "app/logo/logo_file_data.h"
#include "app/report/failure_report.h"
#include "app/settings/settings_file.h"
#include "app/settings/visibility_rules.h"
#include "platform/ascii_text.h"
#include "platform/file_ops.h"
#include "platform/ini_file.h"
#include "platform/paths.h"

#include <exception>

namespace {

// The system's logo files.
constexpr TPerLogo<const char*> kLogoFiles{{kFirstLogoFile, kLastLogoFile}};

} // namespace

TVesperaApp::TVesperaApp()
    : FComposer(FSettings, FRecords),
      FSettingsConnection(FSettings.OnChange.Connect(
          [this](TObject*, TSettingChange Change) { SettingChanged(Change); })),
      FComposerConnection(
          FComposer.OnShowLogo.Connect([this](TObject*, TLogo Logo, const TPixelGraphic& Picture) {
              Act([&] { FPending->Logos[Logo] = &Picture; });
          })) {}

template <typename TWork>
void TVesperaApp::Act(TWork&& Work) {
    if (FPending != nullptr) {
        Work();
        return;
    }
    TViewUpdate Update;
    FPending = &Update;
    try {
        Work();
    } catch (...) {
        FPending = nullptr;
        Publish(Update);
        throw;
    }
    FPending = nullptr;
    Publish(Update);
}

void TVesperaApp::Publish(const TViewUpdate& Update) {
    if (!Update.Empty()) {
        OnUpdate(this, Update);
    }
}

// --- Start-up ----------------------------------------------------------------------------------

void TVesperaApp::Start(const TProgramPlaces& Places, const std::vector<std::string>& FontFamilies,
                        bool ComposeLogos) {
    FLoading = true;
    FPlaces = Places;
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
            FComposer.BuildBackground(Logo);
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
    if (FPending != nullptr && FPending->Setting) {
        // An update tells of one setting: what the action has gathered so far goes out first.
        const TViewUpdate Before = *FPending;
        *FPending = TViewUpdate{};
        Publish(Before);
    }
    Act([&] {
        FPending->Setting = Change;
        FPending->Value = FSettings.Value(Change);
        FPending->Visibility = AffectsVisibility(Change.Setting);
        React(Change);
    });
}

void TVesperaApp::React(TSettingChange Change) {
    if (!Change.Logo) {
        // The general settings take effect where they are used; the preview's shows at once.
        if (GeneralSettingRow(Change.Setting)->Recompute == TRecompute::Previews) {
            FComposer.ShowPreviews();
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

TPerLogo<std::string> TVesperaApp::DefaultTexts() const {
    return {{FSettings.Logo(TLogo::First).Line, FSettings.Logo(TLogo::Last).Line}};
}

void TVesperaApp::ChooseRecord() {
    Act([this] {
        if (FRecords.Choose(FPlaces.RecordFilePath(FSettings.TextFile()), DefaultTexts())) {
            FPending->Texts = &FRecords.Texts();
        }
    });
}

void TVesperaApp::DefaultTextChanged() {
    if (FLoading) {
        // Start-up chooses a record once it has selected the record file, which ends where a
        // choice now would, so the file is read once. The logos are not drawn meanwhile.
        FRecords.TakeDefaults(DefaultTexts());
        return;
    }
    if (!FRecords.ShowsDefault(TLogo::First) && !FRecords.ShowsDefault(TLogo::Last)) {
        return;
    }
    ChooseRecord();
    RecomposeLogos();
}

void TVesperaApp::SelectRecordFile(const std::string& FileName) {
    Act([&] {
        FSettings.Set(TSetting::TextFile, FileName);
        ChooseRecord();
    });
}

// --- Composition -------------------------------------------------------------------------------

void TVesperaApp::RebuildBackground(TLogo Logo) {
    if (!FLoading) {
        Act([&] { FComposer.RebuildBackground(Logo); });
    }
}

void TVesperaApp::RecomposeLogo(TLogo Logo) {
    if (!FLoading) {
        Act([&] { FComposer.RecomposeLogo(Logo); });
    }
}

void TVesperaApp::RecomposeLogos() {
    if (!FLoading) {
        Act([&] { FComposer.RecomposeLogos(); });
    }
}

void TVesperaApp::UseBackgroundPicture(TLogo Logo, const std::optional<std::string>& Chosen) {
    Act([&] {
        if (Chosen) {
            FSettings.Set({Logo, TSetting::Bitmap}, *Chosen);
        }
        RebuildBackground(Logo);
    });
}

void TVesperaApp::SetPreviewsInView(const TPerLogo<bool>& InView) {
    Act([&] { FComposer.SetInView(InView); });
}

void TVesperaApp::ShowPreviews() {
    Act([&] { FComposer.ShowPreviews(); });
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
    WithInstallSession([&](TInstallSession& Session) {
        for (const TPlaceOutcome& Outcome : InstallLogoFiles(Session, Logos, InstallEvents())) {
            for (const std::exception_ptr& Failure : Outcome.Failures) {
                Failures.Hold(Failure);
            }
        }
    });
    Failures.RaiseLast();
}

template <typename TWork>
void TVesperaApp::WithInstallSession(TWork&& Work) {
    if (FInstallSession != nullptr) {
        Work(*FInstallSession);
        return;
    }
    TInstallSession Session(InstallPlaces());
    Work(Session);
}

std::vector<TInstallPlace> TVesperaApp::InstallPlaces() const {
    return ResolveInstallPlaces(FPlaces, FSettings.InstallTargets());
}

TInstallEvents TVesperaApp::InstallEvents() {
    TInstallEvents Events;
    Events.OnBackupMade = [](const TInstallPlace& Place, const TInstallTarget& Target,
                             const std::string& Name) {
        ShowProgramMessage(BackupMadeMessage(Place, Target, Name), TMsgDlgType::mtInformation);
    };
    Events.OnInstalled = [this](const std::string& Where) { OnLogoInstalled(this, Where); };
    return Events;
}

void TVesperaApp::BackupLogos() {
    WithInstallSession([&](TInstallSession& Session) {
        BackupLogoFiles(Session, {kFirstLogoFile, kLastLogoFile}, InstallEvents());
    });
}

void TVesperaApp::InstallUnattended() {
    // Every place is held from its backups to its last logo.
    TInstallSession Session(InstallPlaces());
    FInstallSession = &Session;
    try {
        BackupLogos();
        RecomposeLogos();
        InstallLogos();
    } catch (...) {
        FInstallSession = nullptr;
        throw;
    }
    FInstallSession = nullptr;
    OnTerminate(this);
}

bool IsAutoRunCommand(const std::vector<std::string>& Arguments) {
    return !Arguments.empty() && SameText(Arguments.front(), "/AUTO");
}
