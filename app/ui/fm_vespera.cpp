#include "app/ui/fm_vespera.h"

#include "app/exception_report.h"
#include "app/program_places.h"
#include "app/startup_shortcut.h"
#include "app/ui/fm_preview.h"
#include "app/ui/general_page.h"
#include "app/ui/line_edit.h"
#include "app/ui/logo_page.h"
#include "app/ui/page_control.h"
#include "app/ui/program_links.h"
#include "app/ui/radio_group.h"
#include "app/ui/spin_edit.h"
#include "app/vespera_app.h"
#include "app/window_rules.h"
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
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QTimer>
#include <exception>

namespace {

constexpr int kClientWidth = 620;
constexpr int kClientHeight = 329;
constexpr int kTabWidth = 205;
constexpr int kFontPixels = 11;
constexpr TScreenPoint kMessageOffset{100, 80};

// Runs a handler as the application's default error handler would: a failure is shown in a
// message and the window goes on.
template <typename THandler>
auto Guarded(THandler Handler) {
    return [Handler = std::move(Handler)](auto&&... Arguments) {
        try {
            Handler(std::forward<decltype(Arguments)>(Arguments)...);
        } catch (const std::exception& E) {
            ShowException(E);
        }
    };
}

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
    setFixedSize(kClientWidth, kClientHeight);

    FPages = new TPageControl(this);
    FPages->setObjectName(QStringLiteral("Pages"));
    FPages->setGeometry(rect());
    FPages->SetTabWidth(kTabWidth);
    FGeneral = new TGeneralPage(HomePage(), FPages);
    FGeneral->setObjectName(QStringLiteral("General"));
    FFirst = new TLogoPage(1, FPages);
    FFirst->setObjectName(QStringLiteral("First"));
    FLast = new TLogoPage(2, FPages);
    FLast->setObjectName(QStringLiteral("Last"));
    FPages->addTab(FGeneral, QStringLiteral("General Settings"));
    FPages->addTab(FFirst, QStringLiteral("First Logo"));
    FPages->addTab(FLast, QStringLiteral("Second Logo"));
    FPages->OnChange = Guarded([this](TObject*) { PagesChange(); });

    FOpen = new TPGOpenDialog(this);
    FOpen->setObjectName(QStringLiteral("dgOpen"));
    FOpen->SetTitle("Select a background bitmap");
    FOpen->SetStretchMode(smFast);
    FOpen->SetUseDefaultFilter(true);

    BindGeneralPage();
    BindLogoPage(*FFirst);
    BindLogoPage(*FLast);
    FApp.OnSettingChange = [this](TObject*, TSettingChange Change) { SettingChange(Change); };
    FApp.OnShowTexts = [this](TObject*) { ShowTexts(); };
    FApp.OnShowLogo = [this](TObject*, int Logo, const TPixelGraphic& Image) {
        LogoPage(Logo)->ShowLogo(Image);
    };
}

TfmVespera::~TfmVespera() {
    FApp.OnSettingChange = nullptr;
    FApp.OnShowTexts = nullptr;
    FApp.OnShowLogo = nullptr;
}

TLogoPage* TfmVespera::LogoPage(int Logo) const {
    return Logo == 1 ? FFirst : FLast;
}

// --- Binding -----------------------------------------------------------------------------------

void TfmVespera::BindGeneralPage() {
    TGeneralPage& G = *FGeneral;
    G.Files->OnClick = Guarded([this](TObject*) { FilesClick(); });
    G.Files->OnMouseUp = Guarded([this](TObject*, Qt::MouseButton Button, Qt::KeyboardModifiers,
                                        int, int) { FilesMouseUp(Button); });
    const auto Bind = [this](QPushButton* Button, void (TfmVespera::*Handler)()) {
        connect(Button, &QPushButton::clicked, this,
                Guarded([this, Handler](bool) { (this->*Handler)(); }));
    };
    Bind(G.btRand, &TfmVespera::btRandClick);
    Bind(G.btUse, &TfmVespera::btUseClick);
    Bind(G.btSaveLogos, &TfmVespera::btSaveLogosClick);
    Bind(G.btSaveExit, &TfmVespera::btSaveExitClick);
    Bind(G.btStart, &TfmVespera::btStartClick);
    Bind(G.btHelp, &TfmVespera::btHelpClick);
    Bind(G.btNavigate, &TfmVespera::btNavigateClick);
}

void TfmVespera::BindLogoPage(TLogoPage& Page) {
    const int Logo = Page.Logo();
    TSettingsModel& S = FApp.Settings();
    TLogoPage* P = &Page;
    const bool First = Logo == 1;

    P->Font->OnChange =
        Guarded([&S, P, Logo](TObject*) { S.SetFont(Logo, ToStdString(P->Font->FontName())); });
    connect(P->Size, &QSpinBox::valueChanged, this,
            Guarded([&S, Logo](int Value) { S.SetSize(Logo, Value); }));
    const auto BindColor = [&S, Logo](TColorButton* Button,
                                      bool (TSettingsModel::*Setter)(int, TColor)) {
        Button->OnColorChange =
            Guarded([&S, Logo, Button, Setter](TObject*) { (S.*Setter)(Logo, Button->Color()); });
    };
    BindColor(P->FontColor, &TSettingsModel::SetTextColor);
    BindColor(P->ShadowColor, &TSettingsModel::SetShadowColor);
    BindColor(P->SingleColor, &TSettingsModel::SetColor1);
    BindColor(P->Color1, &TSettingsModel::SetColor2);
    BindColor(P->Color2, &TSettingsModel::SetColor3);
    P->Effect->OnClick =
        Guarded([this, First](TObject*) { First ? rgFirstEffectClick() : rgLastEffectClick(); });
    P->Background->OnClick = Guarded(
        [this, First](TObject*) { First ? rgFirstBackgroundClick() : rgLastBackgroundClick(); });
    P->Position->OnClick =
        Guarded([&S, P, Logo](TObject*) { S.SetPosition(Logo, P->Position->ItemIndex()); });
    connect(P->Bold, &QCheckBox::toggled, this,
            Guarded([&S, Logo](bool Checked) { S.SetBold(Logo, Checked); }));
    connect(P->Italic, &QCheckBox::toggled, this,
            Guarded([&S, Logo](bool Checked) { S.SetItalic(Logo, Checked); }));
    connect(P->DefaultText, &QLineEdit::textChanged, this,
            Guarded([this](const QString&) { DefaultChange(); }));
    connect(P->Only, &QCheckBox::toggled, this, Guarded([this](bool) { cbOnlyClick(); }));
    connect(P->Select, &QPushButton::clicked, this,
            Guarded([this, First](bool) { First ? btFirstSelectClick() : btLastSelectClick(); }));
    connect(P->Preview, &QPushButton::clicked, this,
            Guarded([this, First](bool) { First ? btPreview1Click() : btPreview2Click(); }));
}

// --- Settings shown ----------------------------------------------------------------------------

void TfmVespera::SettingChange(TSettingChange Change) {
    const TSettingsModel& S = FApp.Settings();
    switch (Change.Setting) {
    case TSetting::TextFile:
        ShowTextFile();
        return;
    case TSetting::OnlyFirst:
    case TSetting::OnlyLast:
        FFirst->Only->setChecked(S.OnlyFirst());
        FLast->Only->setChecked(S.OnlyLast());
        ApplyPositionRule();
        ApplyBackgroundRule(1);
        ApplyBackgroundRule(2);
        return;
    case TSetting::OnlyOne:
    case TSetting::FontName:
    case TSetting::Bitmap:
        return; // no control shows them
    default:
        ShowLogoSetting(*LogoPage(Change.Logo), Change.Setting);
        return;
    }
}

void TfmVespera::ShowLogoSetting(TLogoPage& Page, TSetting Setting) {
    const int Logo = Page.Logo();
    const TLogoValues& V = FApp.Settings().Logo(Logo);
    switch (Setting) {
    case TSetting::Font:
        Page.Font->SetFontName(ToQString(V.Font));
        break;
    case TSetting::Size:
        Page.Size->setValue(V.Size);
        break;
    case TSetting::Position:
        Page.Position->SetItemIndex(V.Position);
        break;
    case TSetting::TextColor:
        Page.FontColor->SetColor(V.TextColor);
        break;
    case TSetting::ShadowColor:
        Page.ShadowColor->SetColor(V.ShadowColor);
        break;
    case TSetting::Effect:
        Page.Effect->SetItemIndex(V.Effect);
        ApplyShadowColorRule(Logo);
        break;
    case TSetting::Bold:
        Page.Bold->setChecked(V.Bold);
        break;
    case TSetting::Italic:
        Page.Italic->setChecked(V.Italic);
        break;
    case TSetting::Color1:
        Page.SingleColor->SetColor(V.Color1);
        break;
    case TSetting::Color2:
        Page.Color1->SetColor(V.Color2);
        break;
    case TSetting::Color3:
        Page.Color2->SetColor(V.Color3);
        break;
    case TSetting::Background:
        Page.Background->SetItemIndex(V.Background);
        ApplyBackgroundRule(Logo);
        break;
    case TSetting::Line:
        if (ToStdString(Page.DefaultText->text()) != V.Line) {
            Page.DefaultText->setText(ToQString(V.Line));
        }
        break;
    default:
        break;
    }
}

void TfmVespera::ShowTexts() {
    FGeneral->Edit1->setText(ToQString(FApp.FirstText()));
    FGeneral->Memo1->setPlainText(
        ToQString(FApp.LastText()).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

// The record file chosen by its full path (at start-up, or by a click in the list) is the one
// selected in the list.
void TfmVespera::ShowTextFile() {
    const std::string& File = FApp.Settings().TextFile();
    if (!File.empty() && File.front() == '/' && FGeneral->Files->FileName() != File) {
        FGeneral->Files->SetFileName(File);
    }
}

void TfmVespera::ApplyShadowColorRule(int Logo) {
    LogoPage(Logo)->ShadowColor->setVisible(ShadowColorVisible(FApp.Settings(), Logo));
}

void TfmVespera::ApplyBackgroundRule(int Logo) {
    const TBackgroundButtons Visible = BackgroundButtonsVisible(FApp.Settings(), Logo);
    TLogoPage& Page = *LogoPage(Logo);
    Page.SingleColor->setVisible(Visible.SingleColor);
    Page.Color1->setVisible(Visible.Gradient);
    Page.Color2->setVisible(Visible.Gradient);
    Page.Select->setVisible(Visible.Select);
}

void TfmVespera::ApplyPositionRule() {
    const bool Visible = PositionStripsVisible(FApp.Settings());
    FFirst->Position->setVisible(Visible);
    FLast->Position->setVisible(Visible);
}

void TfmVespera::ApplyVisibilityRules() {
    for (const int Logo : {1, 2}) {
        ApplyShadowColorRule(Logo);
        ApplyBackgroundRule(Logo);
    }
    ApplyPositionRule();
}

std::vector<std::string> TfmVespera::FontFamilies() const {
    std::vector<std::string> Families;
    Families.reserve(static_cast<std::size_t>(FFirst->Font->count()));
    for (int I = 0; I < FFirst->Font->count(); ++I) {
        Families.push_back(ToStdString(FFirst->Font->itemText(I)));
    }
    return Families;
}

// --- Start-up ----------------------------------------------------------------------------------

bool TfmVespera::FormCreate(const TProgramPlaces& Places) {
    try {
        FGeneral->Files->SetDirectory(Places.ProgramDir); // the list drops the trailing "/"
        FApp.FormCreate(Places, FontFamilies());
        ApplyVisibilityRules();
        FPages->SetActivePageIndex(0);
        return true;
    } catch (const std::exception& E) {
        ShowException(E);
    }
    return false;
}

void TfmVespera::ShowProgramState() {
    const TSettingsModel& S = FApp.Settings();
    FGeneral->Files->SetDirectory(FApp.ProgramDir());
    ShowTextFile();
    {
        // Each default-text field hands both fields' texts to the settings when it changes:
        // they are filled together.
        const QSignalBlocker FirstBlocked(FFirst->DefaultText);
        const QSignalBlocker LastBlocked(FLast->DefaultText);
        FFirst->DefaultText->setText(ToQString(S.Logo(1).Line));
        FLast->DefaultText->setText(ToQString(S.Logo(2).Line));
    }
    for (TLogoPage* Page : {FFirst, FLast}) {
        for (const TSetting Setting :
             {TSetting::Font, TSetting::Size, TSetting::Position, TSetting::TextColor,
              TSetting::ShadowColor, TSetting::Effect, TSetting::Bold, TSetting::Italic,
              TSetting::Color1, TSetting::Color2, TSetting::Color3, TSetting::Background}) {
            ShowLogoSetting(*Page, Setting);
        }
    }
    SettingChange({0, TSetting::OnlyFirst});
    if (FApp.RecordTextsShown()) {
        ShowTexts();
    }
    for (const int Logo : {1, 2}) {
        if (FApp.LogoComposed(Logo)) {
            LogoPage(Logo)->ShowLogo(Logo == 1 ? FApp.FirstLogo() : FApp.LastLogo());
        }
    }
    ApplyVisibilityRules();
    FPages->SetActivePageIndex(0);
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
        QTimer::singleShot(0, this, Guarded([this] { FormShow(); }));
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

void TfmVespera::rgFirstEffectClick() {
    FApp.Settings().SetEffect(1, FFirst->Effect->ItemIndex());
}

void TfmVespera::rgLastEffectClick() {
    FApp.Settings().SetEffect(2, FLast->Effect->ItemIndex());
}

void TfmVespera::rgFirstBackgroundClick() {
    FApp.Settings().SetBackground(1, FFirst->Background->ItemIndex());
}

void TfmVespera::rgLastBackgroundClick() {
    FApp.Settings().SetBackground(2, FLast->Background->ItemIndex());
}

void TfmVespera::btFirstSelectClick() {
    SelectBitmap(1);
}

void TfmVespera::btLastSelectClick() {
    SelectBitmap(2);
}

// The dialog starts at the logo's picture, when it has one; the background is built anew
// whatever the dialog's end, also after Cancel.
void TfmVespera::SelectBitmap(int Logo) {
    if (const std::string& Bitmap = FApp.Settings().Logo(Logo).Bitmap; !Bitmap.empty()) {
        FOpen->SetFileName(Bitmap);
    }
    if (FOpen->Execute()) {
        const std::string Chosen = FOpen->FileName();
        FApp.BitmapSelected(Logo, &Chosen);
    } else {
        FApp.BitmapSelected(Logo, nullptr);
    }
}

void TfmVespera::cbOnlyClick() {
    FApp.Settings().SetOnlyFirst(FFirst->Only->isChecked());
    FApp.Settings().SetOnlyLast(FLast->Only->isChecked());
}

void TfmVespera::PagesChange() {
    const TSettingsModel& S = FApp.Settings();
    const TPageChangeState State = PageChangeState(S);
    FFirst->Only->setEnabled(State.OnlyFirstEnabled);
    FLast->Only->setEnabled(State.OnlyLastEnabled);
    FFirst->Background->setVisible(State.FirstBackgroundVisible);
    FLast->Background->setVisible(State.LastBackgroundVisible);
    const TPage Page = static_cast<TPage>(FPages->ActivePageIndex());
    switch (LogoRecomposedOnPageChange(S, Page)) {
    case 1:
        FApp.ChangesFirst();
        break;
    case 2:
        FApp.ChangesLast();
        break;
    default:
        break;
    }
}

void TfmVespera::DefaultChange() {
    FApp.Settings().SetLine(1, ToStdString(FFirst->DefaultText->text()));
    FApp.Settings().SetLine(2, ToStdString(FLast->DefaultText->text()));
}

void TfmVespera::FilesClick() {
    FApp.FilesClick(FGeneral->Files->FileName());
}

void TfmVespera::FilesMouseUp(Qt::MouseButton Button) {
    if (Button != Qt::RightButton) {
        return;
    }
    FGeneral->Files->SetItemIndex(-1);
    FApp.FilesClick(std::string());
}

void TfmVespera::btRandClick() {
    if (FGeneral->Files->ItemIndex() >= 0) {
        FApp.ChooseRecord();
    }
}

void TfmVespera::btUseClick() {
    FApp.ChangesFirst();
    FApp.ChangesLast();
}

void TfmVespera::btSaveLogosClick() {
    QPushButton* Button = FGeneral->btSaveLogos;
    // Disabling the button hands the focus on to the next control ("Go to ..."); it comes back
    // afterwards, so that the next Return or Space does not open the web address.
    const bool Focused = focusWidget() == Button;
    FApp.SaveLogosClick([Button, Focused](bool Saving) {
        Button->setText(Saving ? QStringLiteral("Saving ...") : QStringLiteral("Save Logos"));
        Button->setEnabled(!Saving);
        if (Saving) {
            // The new caption is painted before the work begins.
            QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        } else if (Focused) {
            Button->setFocus(Qt::OtherFocusReason);
        }
    });
}

void TfmVespera::btSaveExitClick() {
    FApp.SaveSettings();
    close();
}

void TfmVespera::btStartClick() {
    StartupShortcutClick(FApp.Places().ProgramFile);
}

void TfmVespera::btHelpClick() {
    ShowHelp(FApp.Places().ProgramFile, kHelpFile, 0);
}

void TfmVespera::btNavigateClick() {
    ShellOpen(ToStdString(HomePage()));
}

void TfmVespera::btPreview1Click() {
    TfmPreview::ShowModal(this, FApp.FirstLogo());
}

void TfmVespera::btPreview2Click() {
    TfmPreview::ShowModal(this, FApp.LastLogo());
}

void TfmVespera::FormShow() {
    FApp.BackupLogos();
}
