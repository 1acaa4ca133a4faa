#include "app/ui/fm_vespera.h"

#include "app/install/install_places_summary.h"
#include "app/install/install_target_editor.h"
#include "app/install/program_places.h"
#include "app/install/startup_shortcut.h"
#include "app/report/failure_report.h"
#include "app/settings/visibility_rules.h"
#include "app/ui/control_binding.h"
#include "app/ui/controls/elided_label.h"
#include "app/ui/controls/page_control.h"
#include "app/ui/controls/radio_group.h"
#include "app/ui/fm_install_targets.h"
#include "app/ui/fm_preview.h"
#include "app/ui/general_page.h"
#include "app/ui/logo_page.h"
#include "app/ui/program_links.h"
#include "app/ui/targets_row.h"
#include "app/vespera_app.h"
#include "pgraphic/view/open_dialog/pg_open_dialog.h"
#include "platform/help_viewer.h"
#include "platform/qt/qt_string.h"
#include "platform/shell_open.h"
#include "widgets/color_button.h"
#include "widgets/font_combo_box.h"
#include "widgets/icon_file_list_box.h"

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QShowEvent>
#include <QTimer>
#include <exception>

namespace {

constexpr int kClientWidth = 620;
constexpr int kPagesHeight = 329;
constexpr int kTabWidth = 205;
constexpr int kFontPixels = 11;
constexpr TScreenPoint kMessageOffset{100, 80};

} // namespace

TfmVespera::TfmVespera(TVesperaApp& App, QWidget* Parent)
    : QWidget(Parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      FApp(App) {
    setObjectName(QStringLiteral("fmVespera"));
    setWindowTitle(QStringLiteral("Vespera - Version 2.0.2"));
    // "Arial" is matched through the font substitution (Liberation Sans where Arial is missing).
    QFont Font(QStringLiteral("Arial"));
    Font.setPixelSize(kFontPixels);
    setFont(Font);
    setFixedSize(kClientWidth, kPagesHeight + TTargetsRow::kHeight);

    FPages = new TPageControl(this);
    FPages->setObjectName(QStringLiteral("Pages"));
    FPages->setGeometry(0, 0, kClientWidth, kPagesHeight);
    FPages->SetTabWidth(kTabWidth);
    FGeneral = new TGeneralPage(HomePage(), FPages);
    FGeneral->setObjectName(QStringLiteral("General"));
    FPages->addTab(FGeneral, QStringLiteral("General Settings"));
    const TPerLogo<QString> PageNames{{QStringLiteral("First"), QStringLiteral("Last")}};
    const TPerLogo<QString> Tabs{{QStringLiteral("First Logo"), QStringLiteral("Second Logo")}};
    for (const TLogo Logo : kLogos) {
        FLogoPages[Logo] = new TLogoPage(Logo, FPages);
        FLogoPages[Logo]->setObjectName(PageNames[Logo]);
        FPages->addTab(FLogoPages[Logo], Tabs[Logo]);
    }
    Bind(*FPages, [this] {
        PagesChange();
        FApp.SetPreviewsInView(PreviewsInView());
    });

    FTargetsRow = new TTargetsRow(this);
    FTargetsRow->setObjectName(QStringLiteral("TargetsRow"));
    FTargetsRow->setGeometry(0, kPagesHeight, kClientWidth, TTargetsRow::kHeight);
    Bind(*FTargetsRow->btChangeTargets, [this] { btChangeTargetsClick(); });

    // F1, wherever the focus is in the window: the help page of the page in view.
    const auto* Help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(Help, &QShortcut::activated, this, [this] { RunGuarded([this] { PageHelp(); }); });

    FOpen = new TPGOpenDialog(this);
    FOpen->setObjectName(QStringLiteral("dgOpen"));
    FOpen->SetTitle("Select a background bitmap");
    FOpen->SetStretchMode(smFast);
    FOpen->SetUseDefaultFilter(true);

    BindGeneralPage();
    for (const TLogo Logo : kLogos) {
        BindLogoPage(*FLogoPages[Logo]);
    }
    FAppConnections.push_back(
        FApp.OnUpdate.Connect([this](TObject*, const TViewUpdate& Update) { Show(Update); }));
    FAppConnections.push_back(
        FApp.OnInstalling.Connect([this](TObject*, bool Busy) { ShowInstalling(Busy); }));
    FAppConnections.push_back(
        FApp.Settings().InstallTargets().OnChange.Connect([this](TObject*) { ShowTargets(); }));
}

// --- Binding -----------------------------------------------------------------------------------

void TfmVespera::BindGeneralPage() {
    TGeneralPage& G = *FGeneral;
    Bind(*G.Files, [this] { FilesClick(); });
    BindMouseUp(*G.Files, [this](Qt::MouseButton Button) { FilesMouseUp(Button); });
    Bind(*G.btRand, [this] { btRandClick(); });
    Bind(*G.btUse, [this] { btUseClick(); });
    Bind(*G.btSaveLogos, [this] { btSaveLogosClick(); });
    Bind(*G.btSaveExit, [this] { btSaveExitClick(); });
    Bind(*G.btStart, [this] { btStartClick(); });
    Bind(*G.btHelp, [this] { btHelpClick(); });
    Bind(*G.btNavigate, [this] { btNavigateClick(); });
}

void TfmVespera::BindLogoPage(TLogoPage& Page) {
    const TLogo Logo = Page.Logo();
    for (const TLogoPage::TSettingShown& Shown : Page.SettingControls()) {
        BindSetting(Shown.Control, FApp.Settings(), {Logo, Shown.Setting});
    }
    Bind(*Page.Select, [this, Logo] { btSelectClick(Logo); });
    Bind(*Page.Preview, [this, Logo] { btPreviewClick(Logo); });
    BindSetting(Page.AsInstalled, FApp.Settings(), TSetting::PreviewAsInstalled);
}

// --- Settings shown ----------------------------------------------------------------------------

void TfmVespera::Show(const TViewUpdate& Update) {
    if (Update.Setting) {
        ShowSettingChange(*Update.Setting, Update.Value);
    }
    if (Update.Visibility) {
        ApplyVisibilityRules();
    }
    if (Update.Texts != nullptr) {
        ShowTexts(*Update.Texts);
    }
    for (const TLogo Logo : kLogos) {
        if (const TPixelGraphic* Picture = Update.Logos[Logo]) {
            LogoPage(Logo)->ShowLogo(*Picture);
        }
    }
}

void TfmVespera::ShowSettingChange(const TSettingKey& Key, const TSettingValue& Value) {
    if (Key.Setting == TSetting::TextFile) {
        ShowTextFile(std::get<std::string>(Value));
    } else if (Key.Setting == TSetting::PreviewAsInstalled) {
        for (const TLogo Logo : kLogos) {
            ShowSetting(LogoPage(Logo)->AsInstalled, Value);
        }
    } else if (Key.Logo) {
        if (const TSettingControl* Control = LogoPage(*Key.Logo)->ControlOf(Key.Setting)) {
            ShowSetting(*Control, Value);
        }
    }
}

void TfmVespera::ShowLogoSettings(const TLogoPage& Page) {
    for (const TLogoPage::TSettingShown& Shown : Page.SettingControls()) {
        ShowSetting(Shown.Control, FApp.Settings(), {Page.Logo(), Shown.Setting});
    }
}

// The logo pages in view, whose previews show the logo as installed at once.
TPerLogo<bool> TfmVespera::PreviewsInView() const {
    return {{FPages->currentWidget() == LogoPage(TLogo::First),
             FPages->currentWidget() == LogoPage(TLogo::Last)}};
}

void TfmVespera::ShowTexts(const TRecordTexts& Texts) {
    FGeneral->Edit1->setText(ToQString(Texts.FirstText));
    FGeneral->Memo1->setPlainText(
        ToQString(Texts.LastText).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

// The record file chosen by its full path (at start-up, or by a click in the list) is the one
// selected in the list.
void TfmVespera::ShowTextFile(const std::string& File) {
    if (!File.empty() && File.front() == '/' && FGeneral->Files->FileName() != File) {
        FGeneral->Files->SetFileName(File);
    }
}

void TfmVespera::ShowTargets() {
    const std::vector<TInstallPlace> Places = FApp.InstallPlaces();
    FTargetsRow->lbTargets->SetText(ToQString(InstallPlacesSummary(Places)));
    FTargetsRow->lbTargets->SetDetails(ToQString(InstallPlacesDetails(Places)));
}

void TfmVespera::ShowInstalling(bool Busy) {
    QPushButton* Button = FGeneral->btSaveLogos;
    if (Busy) {
        // Disabling the button hands the focus on to the next control ("Go to ..."); it comes
        // back afterwards, so that the next Return or Space does not open the web address.
        FSaveLogosFocused = focusWidget() == Button;
    }
    Button->setText(Busy ? QStringLiteral("Saving ...") : QStringLiteral("Save Logos"));
    Button->setEnabled(!Busy);
    if (Busy) {
        // The new caption is painted before the work begins.
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    } else if (FSaveLogosFocused) {
        Button->setFocus(Qt::OtherFocusReason);
    }
}

void TfmVespera::ApplyVisibilityRules() {
    const TSettingsModel& S = FApp.Settings();
    for (const TLogo Logo : kLogos) {
        TLogoPage& Page = *LogoPage(Logo);
        Page.ShadowColor->setVisible(ShadowColorVisible(S, Logo));
        const TBackgroundButtons Buttons = BackgroundButtonsVisible(S, Logo);
        Page.SingleColor->setVisible(Buttons.SingleColor);
        Page.GradientTop->setVisible(Buttons.Gradient);
        Page.GradientBottom->setVisible(Buttons.Gradient);
        Page.Select->setVisible(Buttons.Select);
        Page.Position->setVisible(PositionStripsVisible(S));
    }
}

std::vector<std::string> TfmVespera::FontFamilies() const {
    const TFontComboBox& Fonts = *LogoPage(TLogo::First)->Font;
    std::vector<std::string> Families;
    Families.reserve(static_cast<std::size_t>(Fonts.count()));
    for (int I = 0; I < Fonts.count(); ++I) {
        Families.push_back(ToStdString(Fonts.itemText(I)));
    }
    return Families;
}

// --- Start-up ----------------------------------------------------------------------------------

bool TfmVespera::FormCreate(const TProgramPlaces& Places) {
    bool Done = false;
    try {
        FGeneral->Files->SetDirectory(Places.ProgramDir); // the list drops the trailing "/"
        FApp.SetPreviewsInView(PreviewsInView());
        FApp.Start(Places, FontFamilies());
        ApplyVisibilityRules();
        FPages->SetActivePageIndex(0);
        Done = true;
    } catch (const std::exception& E) {
        ShowException(E);
    }
    ShowTargets();
    return Done;
}

void TfmVespera::ShowProgramState() {
    FGeneral->Files->SetDirectory(FApp.ProgramDir());
    const TSettingsModel& Settings = FApp.Settings();
    ShowTextFile(Settings.TextFile());
    for (const TLogo Logo : kLogos) {
        ShowLogoSettings(*LogoPage(Logo));
    }
    if (FApp.RecordTextsShown()) {
        ShowTexts(FApp.Records().Texts());
    }
    ShowSettingChange(TSetting::PreviewAsInstalled, Settings.Value(TSetting::PreviewAsInstalled));
    ApplyVisibilityRules();
    ShowTargets();
    FPages->SetActivePageIndex(0);
    FApp.SetPreviewsInView(PreviewsInView());
    FApp.ShowPreviews();
}

TScreenPoint TfmVespera::MessagePosition() const {
    const QPoint Corner = frameGeometry().topLeft();
    return MessagePositionAt(Corner.x(), Corner.y());
}

TScreenPoint TfmVespera::MessagePositionAt(int Left, int Top) {
    return {Left + kMessageOffset.X, Top + kMessageOffset.Y};
}

void TfmVespera::showEvent(QShowEvent* Event) {
    QWidget::showEvent(Event);
    if (!Event->spontaneous()) {
        // Once the window is on the screen, so that its messages appear over it.
        QTimer::singleShot(0, this, [this] { RunGuarded([this] { FormShow(); }); });
    }
}

void TfmVespera::keyPressEvent(QKeyEvent* Event) {
    const bool Return = Event->key() == Qt::Key_Return || Event->key() == Qt::Key_Enter;
    QPushButton* Default = FGeneral->btSaveExit;
    if (Return && Event->modifiers() == Qt::NoModifier && Default->isVisible() &&
        Default->isEnabled()) {
        Default->click();
        return;
    }
    QWidget::keyPressEvent(Event);
}

// --- Handlers ----------------------------------------------------------------------------------

// The dialog starts at the logo's picture, when it has one; the background is built anew
// whatever the dialog's end, also after Cancel.
void TfmVespera::btSelectClick(TLogo Logo) {
    if (const std::string& Bitmap = FApp.Settings().Logo(Logo).Bitmap; !Bitmap.empty()) {
        FOpen->SetFileName(Bitmap);
    }
    std::optional<std::string> Chosen;
    if (FOpen->Execute()) {
        Chosen = FOpen->FileName();
    }
    FApp.UseBackgroundPicture(Logo, Chosen);
}

void TfmVespera::PagesChange() {
    const TSettingsModel& S = FApp.Settings();
    for (const TLogo Logo : kLogos) {
        const TPageChangeState State = PageChangeState(S, Logo);
        LogoPage(Logo)->Only->setEnabled(State.OnlyEnabled);
        LogoPage(Logo)->Background->setVisible(State.BackgroundVisible);
    }
    const auto Page = static_cast<TPage>(FPages->ActivePageIndex());
    if (const std::optional<TLogo> Logo = LogoRecomposedOnPageChange(S, Page)) {
        FApp.RecomposeLogo(*Logo);
    }
}

void TfmVespera::FilesClick() {
    FApp.SelectRecordFile(FGeneral->Files->FileName());
}

void TfmVespera::FilesMouseUp(Qt::MouseButton Button) {
    if (Button != Qt::RightButton) {
        return;
    }
    FGeneral->Files->SetItemIndex(-1);
    FApp.SelectRecordFile(std::string());
}

void TfmVespera::btRandClick() {
    if (FGeneral->Files->ItemIndex() >= 0) {
        FApp.ChooseRecord();
    }
}

void TfmVespera::btUseClick() {
    FApp.RecomposeLogos();
}

void TfmVespera::btSaveLogosClick() {
    FApp.InstallLogos();
}

void TfmVespera::btSaveExitClick() {
    FApp.SaveSettings();
    close();
}

void TfmVespera::btStartClick() {
    StartupShortcutClick(FApp.Places().ProgramFile);
}

void TfmVespera::btHelpClick() {
    ShowHelp(FApp.Places().ProgramFile, kHelpFile, kHelpContents);
}

void TfmVespera::PageHelp() {
    const auto Page = static_cast<TPage>(FPages->ActivePageIndex());
    ShowHelp(FApp.Places().ProgramFile, kHelpFile, HelpTopic(Page));
}

void TfmVespera::btNavigateClick() {
    ShellOpen(ToStdString(HomePage()));
}

void TfmVespera::btPreviewClick(TLogo Logo) {
    TfmPreview::ShowModal(this, FApp.PreviewPicture(Logo));
}

void TfmVespera::FormShow() {
    FApp.BackupLogos();
}

void TfmVespera::btChangeTargetsClick() {
    TInstallTargetEditor Editor(FApp.Places(), FApp.Settings().InstallTargets());
    TfmInstallTargets Dialog(Editor, this);
    if (Dialog.exec() == QDialog::Accepted) {
        Editor.Apply(FApp.Settings().InstallTargets());
    }
}
