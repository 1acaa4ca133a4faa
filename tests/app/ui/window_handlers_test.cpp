// The settings window's reactions, driven through its controls with real input on the offscreen
// platform: loading into the controls, record choice, the previews, the visibility rules, saving
// logos and settings, the start-up link, help (F1 too) and the web address, the keyboard focus,
// and the window of a failed unattended run.

#include "app/logo/logo_image.h"
#include "app/program/desktop_services.h"
#include "app/program/program_services.h"
#include "app/ui/controls/line_edit.h"
#include "app/ui/controls/page_control.h"
#include "app/ui/controls/radio_group.h"
#include "app/ui/controls/spin_edit.h"
#include "app/ui/fm_preview.h"
#include "app/ui/message_dialog.h"
#include "app/unattended_install.h"
#include "pgraphic/view/image_view/pg_image.h"
#include "pgraphic/view/image_view/pic_box.h"
#include "pgraphic/view/open_dialog/pg_open_dialog.h"
#include "tests/app/ui/window_fixture.h"
#include "tests/app/vespera_program.h"
#include "tests/support/environment.h"
#include "tests/support/run_process.h"
#include "widgets/color_button.h"
#include "widgets/font_combo_box.h"
#include "widgets/icon_file_list_box.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTimer>
#include <cstdlib>
#include <initializer_list>

namespace {

// Selects the record file at Index of the file list by a click, as a user does.
void ClickFile(TIconFileListBox& Files, int Index) {
    const QRect Item = Files.visualRect(Files.model()->index(Index, 0));
    QTest::mouseClick(Files.viewport(), Qt::LeftButton, {}, Item.center());
    QApplication::processEvents();
}

// Clicks a radio button on its indicator, where a click selects it.
void ClickRadio(QRadioButton* Button) {
    QTest::mouseClick(Button, Qt::LeftButton, {}, QPoint(6, Button->height() / 2));
    QApplication::processEvents();
}

} // namespace

TEST_F(WindowTest, LoadingPutsTheSettingsIntoTheControls) {
    WriteSettings("[General]\nOnly One=0\n[First Logo]\nSize=24\nPosition=9\nTextColor=0x0000FF\n"
                  "Effect=2\nBold=1\nColor1=255\nBackground=1\nLine=Hello\n"
                  "[Last Logo]\nFont=No Such Font\nEffect=0\nItalic=1\nBackground=2\n");
    Start();
    EXPECT_EQ(First().Size->value(), 24);
    EXPECT_EQ(First().Position->ItemIndex(), 2); // above the last item: the last
    EXPECT_EQ(First().FontColor->Color(), 255);
    EXPECT_EQ(First().Effect->ItemIndex(), 2);
    EXPECT_TRUE(First().Bold->isChecked());
    EXPECT_EQ(First().SingleColor->Color(), 255);
    EXPECT_EQ(First().Background->ItemIndex(), 1);
    EXPECT_EQ(First().DefaultText->text(), QStringLiteral("Hello"));
    EXPECT_EQ(Last().Effect->ItemIndex(), 0);
    EXPECT_TRUE(Last().Italic->isChecked());
    // A font that is not installed selects the substitute of Arial's kind or the first family.
    EXPECT_FALSE(Last().Font->FontName().isEmpty());
    EXPECT_EQ(Last().Font->FontName().toStdString(), App.Settings().Logo(TLogo::Last).Font);
    // The visibility rules hold from the first showing on.
    EXPECT_TRUE(First().ShadowColor->isHidden()); // "3D"
    EXPECT_TRUE(Last().ShadowColor->isHidden());  // "Nothing"
    EXPECT_TRUE(First().SingleColor->isHidden());
    EXPECT_FALSE(First().GradientTop->isHidden());
    EXPECT_FALSE(First().GradientBottom->isHidden());
    EXPECT_TRUE(First().Select->isHidden());
    EXPECT_FALSE(Last().Select->isHidden());
    EXPECT_TRUE(Last().SingleColor->isHidden());
    // No record file: both logos carry the default texts, and both previews show them.
    EXPECT_EQ(App.Text(TLogo::First), "Hello");
    EXPECT_TRUE(SamePixels(PreviewPicture(First()), App.Logo(TLogo::First)));
    EXPECT_TRUE(SamePixels(PreviewPicture(Last()), App.Logo(TLogo::Last)));
}

TEST_F(WindowTest, TheRecordFileOfTheSettingsIsSelectedInTheList) {
    WriteFile(Dir / "program/riddles.txt", kRiddles);
    WriteFile(Dir / "program/other.txt", "[Header]\nFormat=SINGLE\n[Data]\nline\n");
    WriteSettings("[General]\nTextFile=" + Dir / "program/riddles.txt" + "\n");
    Start();
    EXPECT_EQ(General().Files->Directory(), Dir.Path() + "/program");
    EXPECT_EQ(General().Files->FileName(), Dir / "program/riddles.txt");
    EXPECT_EQ(App.Settings().TextFile(), Dir / "program/riddles.txt");
    EXPECT_NE(App.Text(TLogo::First), App.DefaultText(TLogo::First));
    EXPECT_EQ(General().Edit1->text().toStdString(), App.Text(TLogo::First));
    EXPECT_EQ(General().Memo1->toPlainText().toStdString(), App.Text(TLogo::Last));
}

TEST_F(WindowTest, SelectChoosesWithAFileOnlyAndThePreviewsWaitForUse) {
    WriteFile(Dir / "program/riddles.txt", kRiddles);
    Start();
    // No file selected: "Select" does nothing.
    ASSERT_EQ(General().Files->ItemIndex(), -1);
    const QString Question = General().Edit1->text();
    Clock.Set(std::chrono::hours(11));
    Click(General().btRand);
    EXPECT_EQ(General().Edit1->text(), Question);
    EXPECT_EQ(App.Text(TLogo::First), App.DefaultText(TLogo::First));

    ClickFile(*General().Files, 0);
    ASSERT_EQ(App.Settings().TextFile(), Dir / "program/riddles.txt");
    const auto Before = CopyOf(PreviewPicture(First()));
    // Choices until another record comes up; each shows in the fields only.
    std::string Chosen = App.Text(TLogo::First);
    for (int Millisecond = 1; Millisecond < 50 && App.Text(TLogo::First) == Chosen; ++Millisecond) {
        Clock.Set(std::chrono::hours(12) + std::chrono::milliseconds(Millisecond * 7));
        Click(General().btRand);
    }
    ASSERT_NE(App.Text(TLogo::First), Chosen);
    EXPECT_EQ(General().Edit1->text().toStdString(), App.Text(TLogo::First));
    EXPECT_EQ(General().Memo1->toPlainText().toStdString(), App.Text(TLogo::Last));
    EXPECT_TRUE(SamePixels(PreviewPicture(First()), *Before));

    Click(General().btUse);
    EXPECT_FALSE(SamePixels(PreviewPicture(First()), *Before));
    EXPECT_TRUE(SamePixels(PreviewPicture(First()), App.Logo(TLogo::First)));
    EXPECT_TRUE(SamePixels(PreviewPicture(Last()), App.Logo(TLogo::Last)));
}

TEST_F(WindowTest, TypingADefaultTextRedrawsOnlyWhileADefaultTextIsInUse) {
    WriteFile(Dir / "program/riddles.txt", kRiddles);
    WriteSettings("[General]\nTextFile=riddles.txt\n");
    Start();
    ShowPage(1);
    // Both logos show a record: typing changes no text and no preview.
    const std::string Question = App.Text(TLogo::First);
    const auto FirstBefore = CopyOf(PreviewPicture(First()));
    const auto LastBefore = CopyOf(PreviewPicture(Last()));
    First().DefaultText->setFocus();
    QTest::keyClicks(First().DefaultText, "xyz");
    EXPECT_EQ(App.Text(TLogo::First), Question);
    EXPECT_TRUE(SamePixels(PreviewPicture(First()), *FirstBefore));
    EXPECT_TRUE(SamePixels(PreviewPicture(Last()), *LastBefore));

    // A right click puts the file aside: the default texts are in use and the fields keep what
    // they showed.
    ShowPage(0);
    const QString Shown = General().Edit1->text();
    QTest::mouseClick(General().Files->viewport(), Qt::RightButton, {},
                      General().Files->viewport()->rect().center());
    QApplication::processEvents();
    EXPECT_EQ(General().Files->ItemIndex(), -1);
    EXPECT_EQ(App.Settings().TextFile(), "");
    EXPECT_EQ(General().Edit1->text(), Shown);
    ShowPage(2);
    Last().DefaultText->setFocus();
    for (const char Key : std::string("AB")) {
        const auto FirstPrevious = CopyOf(PreviewPicture(First()));
        const auto LastPrevious = CopyOf(PreviewPicture(Last()));
        QTest::keyClick(Last().DefaultText, Key);
        // Every keystroke: both logos composed again and shown.
        EXPECT_EQ(App.Text(TLogo::Last), Last().DefaultText->text().toStdString());
        EXPECT_TRUE(SamePixels(PreviewPicture(First()), App.Logo(TLogo::First)));
        EXPECT_TRUE(SamePixels(PreviewPicture(Last()), App.Logo(TLogo::Last)));
        EXPECT_FALSE(SamePixels(PreviewPicture(Last()), *LastPrevious));
        if (Key == 'B') { // the first keystroke also showed the default first text
            EXPECT_TRUE(SamePixels(PreviewPicture(First()), *FirstPrevious));
        }
    }
    EXPECT_EQ(App.Text(TLogo::Last), "And here too. See the help file to find out howAB");
}

TEST_F(WindowTest, ASingleLogoBoxHidesTheStripsAndAPageChangeSettlesTheOtherPage) {
    Start();
    ShowPage(1);
    EXPECT_FALSE(First().Position->isHidden());
    const auto LastBefore = CopyOf(PreviewPicture(Last()));
    Click(First().Only);
    ASSERT_TRUE(App.Settings().Logo(TLogo::First).Only);
    EXPECT_TRUE(First().Position->isHidden());
    EXPECT_TRUE(Last().Position->isHidden());
    // The second logo now carries both texts on the first logo's background.
    EXPECT_TRUE(SamePixels(PreviewPicture(Last()), App.Logo(TLogo::Last)));
    EXPECT_FALSE(SamePixels(PreviewPicture(Last()), *LastBefore));
    // Until a page change the other page is as it was.
    EXPECT_TRUE(Last().Only->isEnabled());
    EXPECT_FALSE(Last().Background->isHidden());
    ShowPage(2);
    EXPECT_FALSE(Last().Only->isEnabled());
    EXPECT_TRUE(Last().Background->isHidden());
    for (QWidget* Button : std::initializer_list<QWidget*>{Last().SingleColor, Last().GradientTop,
                                                           Last().GradientBottom, Last().Select}) {
        EXPECT_TRUE(Button->isHidden());
    }
    EXPECT_TRUE(First().Only->isEnabled());
    EXPECT_FALSE(First().Background->isHidden());

    // A change on the second page shows on the second logo once its page is shown again.
    Last().Size->setValue(12);
    QApplication::processEvents();
    EXPECT_TRUE(SamePixels(PreviewPicture(Last()), App.Logo(TLogo::Last)));

    ShowPage(1);
    Click(First().Only);
    EXPECT_FALSE(First().Position->isHidden());
    ShowPage(2);
    EXPECT_TRUE(Last().Only->isEnabled());
    EXPECT_FALSE(Last().Background->isHidden());
    EXPECT_FALSE(Last().SingleColor->isHidden());
}

TEST_F(WindowTest, TheShadowColourShowsForTheShadowEffectOnly) {
    Start();
    ShowPage(2);
    EXPECT_FALSE(Last().ShadowColor->isHidden());
    ClickRadio(Last().Effect->Button(2));
    EXPECT_EQ(App.Settings().Logo(TLogo::Last).Effect, TTextEffect::Raised);
    EXPECT_TRUE(Last().ShadowColor->isHidden());
    ClickRadio(Last().Effect->Button(0));
    EXPECT_TRUE(Last().ShadowColor->isHidden());
    ClickRadio(Last().Effect->Button(1));
    EXPECT_FALSE(Last().ShadowColor->isHidden());
    // A click on the selected item keeps it selected.
    ClickRadio(Last().Effect->Button(1));
    EXPECT_EQ(Last().Effect->ItemIndex(), 1);
    EXPECT_TRUE(Last().Effect->Button(1)->isChecked());
}

TEST_F(WindowTest, BackgroundKindShowsItsButtonAndRebuildsTheLogo) {
    Start();
    ShowPage(1);
    ClickRadio(First().Background->Button(1));
    EXPECT_TRUE(First().SingleColor->isHidden());
    EXPECT_FALSE(First().GradientTop->isHidden());
    EXPECT_FALSE(First().GradientBottom->isHidden());
    // Gradient from teal to dark green: the top row is teal.
    EXPECT_EQ(PreviewPicture(First()).PixelColors(0, 0), RGB(0, 128, 128));
    EXPECT_EQ(PreviewPicture(First()).PixelColors(0, 399), RGB(0, 128, 1)); // one step short
    ClickRadio(First().Background->Button(2));
    EXPECT_FALSE(First().Select->isHidden());
    EXPECT_TRUE(First().GradientTop->isHidden());
}

TEST_F(WindowTest, TheSizeChangesByItsArrowsOnly) {
    Start();
    ShowPage(1);
    TSpinEdit& Size = *First().Size;
    Size.setFocus();
    QTest::keyClicks(&Size, "9");
    EXPECT_EQ(Size.value(), 18);
    QTest::keyClick(&Size, Qt::Key_Up);
    EXPECT_EQ(Size.value(), 19);
    EXPECT_EQ(App.Settings().Logo(TLogo::First).Size, 19);
    EXPECT_TRUE(SamePixels(PreviewPicture(First()), App.Logo(TLogo::First)));
}

TEST_F(WindowTest, TheDefaultTextKeepsItsSelectionWithoutTheFocus) {
    Start();
    ShowPage(1);
    TEdit& Edit = *First().DefaultText;
    Edit.setFocus();
    Edit.setSelection(4, 3);
    First().Size->setFocus();
    QApplication::processEvents();
    EXPECT_FALSE(Edit.hasFocus());
    EXPECT_EQ(Edit.selectionStart(), 4);
    EXPECT_EQ(Edit.selectedText(), QStringLiteral("can"));
    // The other edits leave it as QLineEdit does.
    General().Edit1->setFocus();
    ShowPage(0);
    General().Edit1->setSelection(0, 2);
    General().btUse->setFocus();
    EXPECT_FALSE(General().Edit1->hasSelectedText());
}

// Keyboard users: Tab and Shift+Tab leave the "Answer:" field, which only shows texts; the focus
// stays on "Save Logos" after saving, also when it failed (the button is disabled meanwhile).
TEST_F(WindowTest, TheFocusMovesOnByTabAndStaysOnSaveLogos) {
    Start();
    QPlainTextEdit& Memo = *General().Memo1;
    const QString Answer = Memo.toPlainText();
    Memo.setFocus();
    QTest::keyClick(&Memo, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), General().btRand);
    Memo.setFocus();
    QTest::keyClick(&Memo, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), General().Edit1);
    EXPECT_EQ(Memo.toPlainText(), Answer);

    QPushButton* Save = General().btSaveLogos;
    Click(Save);
    EXPECT_EQ(QApplication::focusWidget(), Save);
    std::filesystem::remove_all(Dir / "windows");
    WriteFile(Dir / "windows", "a file where the Windows folder was");
    Messages.Requests.clear();
    QTest::keyClick(Save, Qt::Key_Space);
    QApplication::processEvents();
    ASSERT_EQ(Messages.Requests.size(), 1U);
    EXPECT_EQ(Messages.Requests[0].Type, TMsgDlgType::mtError);
    EXPECT_TRUE(Save->isEnabled());
    EXPECT_EQ(QApplication::focusWidget(), Save);
}

// The default button ("Save Changes and Exit") keeps its frame once the focus has been on it
// and moved on to a field, as before.
TEST_F(WindowTest, TheDefaultButtonKeepsItsFrameAfterHavingTheFocus) {
    Start();
    QPushButton& SaveExit = *General().btSaveExit;
    const QImage Framed = SaveExit.grab().toImage();
    SaveExit.setFocus(Qt::TabFocusReason);
    Click(General().Edit1);
    EXPECT_EQ(QApplication::focusWidget(), General().Edit1);
    EXPECT_TRUE(SaveExit.isDefault());
    EXPECT_TRUE(SaveExit.grab().toImage() == Framed);
}

// The "Answer:" field and the file list show the focus as the "Question:" field does, in their
// frames.
TEST_F(WindowTest, TheAnswerAndTheFileListShowTheFocusInTheirFrames) {
    Start();
    const auto TopEdge = [](QWidget* Control) {
        return Control->grab().toImage().pixelColor(Control->width() / 2, 0);
    };
    QLineEdit& Question = *General().Edit1;
    const QColor Unfocused = TopEdge(&Question);
    Question.setFocus();
    const QColor Focused = TopEdge(&Question);
    ASSERT_NE(Focused, Unfocused);
    for (QWidget* Control : std::initializer_list<QWidget*>{General().Memo1, General().Files}) {
        SCOPED_TRACE(Control->objectName().toStdString());
        Question.setFocus();
        EXPECT_NE(TopEdge(Control), Focused);
        QTest::keyClick(&Question, Control == General().Files ? Qt::Key_Backtab : Qt::Key_Tab);
        ASSERT_EQ(QApplication::focusWidget(), Control);
        EXPECT_EQ(TopEdge(Control), Focused);
    }
}

TEST_F(WindowTest, ClosingWithoutSavingLeavesTheSettingsFileAsItWas) {
    const std::string Hand = "; kept as written\n[First Logo]\nSize=0x14\n[General]\nOnly One=3\n";
    WriteSettings(Hand);
    Start();
    ShowPage(1);
    Click(First().Bold);
    First().DefaultText->setText(QStringLiteral("changed"));
    EXPECT_TRUE(Window.close());
    EXPECT_EQ(Settings(), Hand);
}

TEST_F(WindowTest, SaveChangesAndExitWritesEveryKeyInOrderAndCloses) {
    Start();
    ShowPage(2);
    Click(Last().Only);
    Click(Last().Italic);
    ShowPage(0);
    QTest::keyClick(&Window, Qt::Key_Return); // the default button
    EXPECT_FALSE(Window.isVisible());
    // "Arial" itself or the family that stands in for it.
    const std::string Arial = App.Settings().Logo(TLogo::First).Font;
    EXPECT_TRUE(Arial == "Arial" || Arial == "Liberation Sans") << Arial;
    EXPECT_EQ(Settings(), "[General]\nTextFile=vespera.txt\nOnly One=2\n"
                          "\n[First Logo]\nFont=" +
                              Arial +
                              "\nSize=18\nPosition=1\nTextColor=65280\nShadowColor=0\n"
                              "Effect=1\nBold=0\nItalic=0\nColor1=8421376\n"
                              "Color2=8421376\nColor3=32768\nBackground=0\nBitmap=\n"
                              "Line=You can put your own text and colors here\n"
                              "\n[Last Logo]\nFont=" +
                              Arial +
                              "\nSize=18\nPosition=1\nTextColor=65535\nShadowColor=128\n"
                              "Effect=1\nBold=0\nItalic=1\nColor1=0\nColor2=8388608\n"
                              "Color3=0\nBackground=0\nBitmap=\n"
                              "Line=And here too. See the help file to find out how\n");
}

TEST_F(WindowTest, ASettingsFileThatCannotBeWrittenKeepsTheWindowOpen) {
    std::filesystem::create_directories(Dir / "program/vespera.INI"); // a folder in its way
    Start();
    Click(General().btSaveExit);
    EXPECT_TRUE(Window.isVisible());
    ASSERT_FALSE(Messages.Requests.empty());
    EXPECT_EQ(Messages.Requests.back().Type, TMsgDlgType::mtError);
    EXPECT_NE(Messages.Requests.back().Text.find("Unable to write to"), std::string::npos);
}

TEST_F(WindowTest, SaveLogosShowsSavingWhileItWrites) {
    std::vector<std::string> Captions;
    const TEventConnection Installed =
        App.OnLogoInstalled.Connect([&](TObject*, const std::string& FileName) {
            Captions.push_back(General().btSaveLogos->text().toStdString() +
                               (General().btSaveLogos->isEnabled() ? " enabled " : " disabled ") +
                               FileName);
        });
    Start();
    Click(General().btSaveLogos);
    EXPECT_EQ(Captions,
              (std::vector<std::string>{"Saving ... disabled " + Dir / "windows/logow.sys",
                                        "Saving ... disabled " + Dir / "windows/logos.sys"}));
    EXPECT_EQ(General().btSaveLogos->text(), QStringLiteral("Save Logos"));
    EXPECT_TRUE(General().btSaveLogos->isEnabled());
    EXPECT_EQ(FolderEntries(Dir / "windows"), (std::vector<std::string>{"logos.sys", "logow.sys"}));
}

TEST_F(WindowTest, ShowingTheWindowMakesTheBackupsOnce) {
    WriteFile(Dir / "windows/logow.sys", "wait");
    WriteFile(Dir / "windows/logos.sys", "off");
    Start();
    EXPECT_EQ(Messages.Texts(),
              (std::vector<std::string>{"A Backup of your existing logow.sys has been done",
                                        "A Backup of your existing logos.sys has been done"}));
    EXPECT_EQ(ReadFile(Dir / "program/logow.sys"), "wait");
    EXPECT_EQ(ReadFile(Dir / "program/logos.sys"), "off");
    Window.hide();
    Window.show();
    QApplication::processEvents();
    EXPECT_EQ(Messages.Requests.size(), 2U);
}

TEST_F(WindowTest, TheStartupLinkHelpAndTheWebAddress) {
    Start();
    Messages.Answer = TModalResult::mrNo;
    Click(General().btStart);
    ASSERT_EQ(Messages.Requests.size(), 1U);
    EXPECT_EQ(Messages.Requests[0].Type, TMsgDlgType::mtConfirmation);
    Messages.Answer = TModalResult::mrYes;
    const std::string Config = Dir / "config";
    {
        TEnvironment Env;
        Env.Set("XDG_CONFIG_HOME", Config);
        Click(General().btStart);
    }
    EXPECT_EQ(Messages.Texts().back(),
              "A shortcut has been successfully created on the StartUp folder");
    EXPECT_NE(ReadFile(Config + "/autostart/Vespera.desktop").find(" /AUTO"), std::string::npos);

    // Help: the help pages beside the program.
    std::filesystem::create_directories(Dir / "program/help");
    WriteFile(Dir / "program/help/index.html", "<html></html>");
    Click(General().btHelp);
    Click(General().btNavigate);
    EXPECT_EQ(Opened,
              (std::vector<std::string>{Dir / "program/help/index.html", VESPERA_HOME_PAGE}));
}

// F1, wherever the focus is, opens the help page of the page in view.
TEST_F(WindowTest, F1OpensTheHelpPageOfThePageInView) {
    std::filesystem::create_directories(Dir / "program/help");
    for (const char* Page : {"index.html", "settings.html"}) {
        WriteFile(Dir / ("program/help/" + std::string(Page)), "<html></html>");
    }
    Start();
    General().Files->setFocus();
    QTest::keyClick(General().Files, Qt::Key_F1);
    for (const int Page : {1, 2}) {
        ShowPage(Page);
        Window.LogoPage(Page == 1 ? TLogo::First : TLogo::Last)->DefaultText->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
    }
    EXPECT_EQ(Opened, (std::vector<std::string>{Dir / "program/help/index.html",
                                                Dir / "program/help/settings.html",
                                                Dir / "program/help/settings.html"}));
    EXPECT_TRUE(Messages.Requests.empty());
}

// "Help" on a desktop without a web browser: the page goes to xdg-open, which finds nothing to
// open it with and ends with a failure; a message then gives the page's full path.
TEST_F(WindowTest, HelpThatNoProgramCanShowNamesThePage) {
    const std::string Tools = Dir / "tools";
    std::filesystem::create_directories(Tools);
    WriteFile(Tools + "/xdg-open", "#!/bin/sh\necho \"$1\" > \"" + Dir / "asked" +
                                       "\"\necho \"xdg-open: no method available for opening "
                                       "'$1'\" >&2\nexit 3\n");
    std::filesystem::permissions(Tools + "/xdg-open", std::filesystem::perms::owner_all);
    TEnvironment Env;
    Env.Set("PATH", Tools + ":" + std::getenv("PATH"));
    TDesktopOpener Desktop; // the program's opener
    const TShellOpenHook Recorder =
        SetShellOpenHook([&Desktop](const std::string& Target, const TShellOpenFailed& Failed) {
            return Desktop.Open(Target, Failed);
        });
    std::filesystem::create_directories(Dir / "program/help");
    WriteFile(Dir / "program/help/index.html", "<html></html>");
    const std::string Page = std::filesystem::canonical(Dir / "program/help/index.html");
    Start();
    Click(General().btHelp);
    EXPECT_TRUE(QTest::qWaitFor([this] { return !Messages.Requests.empty(); }, 10000));
    SetShellOpenHook(Recorder);
    EXPECT_EQ(ReadFile(Dir / "asked"), "file://" + Page + "\n");
    ASSERT_EQ(Messages.Requests.size(), 1U);
    EXPECT_EQ(Messages.Requests[0].Type, TMsgDlgType::mtError);
    EXPECT_EQ(Messages.Requests[0].Text,
              "Cannot open the help page " + Page +
                  ".\nNo program of this desktop could show it; open that file in a web "
                  "browser.");
}

TEST_F(WindowTest, MessagesArePlacedOverTheWindow) {
    Start();
    Window.move(40, 30);
    QApplication::processEvents();
    const QPoint Frame = Window.frameGeometry().topLeft();
    EXPECT_EQ(Window.MessagePosition(), (TScreenPoint{Frame.x() + 100, Frame.y() + 80}));

    // The dialog hook puts the box there.
    QPoint Shown;
    QTimer::singleShot(0, [&] {
        auto* Box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(Box, nullptr);
        Shown = Box->pos();
        Box->accept();
    });
    TMessageBoxRequest Request;
    Request.Caption = "Vespera";
    Request.Text = "placed";
    Request.Position = Window.MessagePosition();
    DialogMessageBox(Request);
    EXPECT_EQ(Shown, QPoint(Frame.x() + 100, Frame.y() + 80));
}

TEST_F(WindowTest, ThePreviewCoversTheScreenAndAClickClosesIt) {
    Start();
    for (const bool OnThePicture : {true, false}) {
        bool Checked = false;
        QTimer::singleShot(0, [&] {
            auto* Preview = dynamic_cast<TfmPreview*>(QApplication::activeModalWidget());
            ASSERT_NE(Preview, nullptr);
            EXPECT_EQ(Preview->geometry(), Preview->screen()->geometry());
            EXPECT_TRUE(Preview->windowFlags() & Qt::FramelessWindowHint);
            EXPECT_TRUE(Preview->windowFlags() & Qt::WindowStaysOnTopHint);
            TPGImage& Image = *Preview->Image();
            EXPECT_EQ(Image.geometry(), Preview->rect());
            EXPECT_EQ(Image.ActionMode(), amNone);
            EXPECT_EQ(Image.Stretch(), sAlways);
            EXPECT_TRUE(SamePixels(*std::as_const(Image).PixelGraphic(), App.Logo(TLogo::First)));
            Checked = true;
            // On the picture, or on the view itself.
            QWidget* Target =
                OnThePicture ? static_cast<QWidget*>(Image.PicBox()) : Image.viewport();
            QTest::mouseClick(Target, Qt::LeftButton, {}, QPoint(5, 5));
        });
        // Should the click fail, the preview still ends and the test fails instead of hanging.
        QTimer::singleShot(5000, [] {
            if (QWidget* Open = QApplication::activeModalWidget()) {
                Open->close();
            }
        });
        QElapsedTimer Time;
        Time.start();
        Click(First().Preview);
        EXPECT_TRUE(Checked);
        EXPECT_LT(Time.elapsed(), 4000) << "the click did not close the preview";
    }
}

// "As installed" on one page sets it on both: the page in view shows its logo as installed at
// once, after each keystroke too, the other page when it comes into view, and "Preview" on the
// whole screen shows the same.
TEST_F(WindowTest, AsInstalledShowsTheLogoAsInstalledOnBothPagesAndInThePreview) {
    Start();
    ShowPage(1);
    EXPECT_FALSE(First().AsInstalled->isChecked());
    EXPECT_TRUE(First().AsInstalled->isVisible());
    const auto AsInstalled = [](const TPixelGraphic& Logo) {
        auto Picture = std::make_unique<TPixelGraphic>();
        InstalledLogoPreview(Logo, *Picture);
        return Picture;
    };
    Click(First().AsInstalled);
    EXPECT_TRUE(Last().AsInstalled->isChecked());
    EXPECT_TRUE(SamePixels(PreviewPicture(First()), *AsInstalled(App.Logo(TLogo::First))));
    // Out of view, not yet.
    EXPECT_TRUE(SamePixels(PreviewPicture(Last()), App.Logo(TLogo::Last)));
    ShowPage(2);
    EXPECT_TRUE(SamePixels(PreviewPicture(Last()), *AsInstalled(App.Logo(TLogo::Last))));
    Last().DefaultText->setFocus();
    const std::string Text = App.Text(TLogo::Last);
    QTest::keyClick(Last().DefaultText, Qt::Key_A);
    ASSERT_NE(App.Text(TLogo::Last), Text);
    const auto Expected = AsInstalled(App.Logo(TLogo::Last));
    EXPECT_TRUE(SamePixels(PreviewPicture(Last()), *Expected));

    bool Checked = false;
    QTimer::singleShot(0, [&] {
        auto* Preview = dynamic_cast<TfmPreview*>(QApplication::activeModalWidget());
        ASSERT_NE(Preview, nullptr);
        EXPECT_TRUE(SamePixels(*std::as_const(*Preview->Image()).PixelGraphic(), *Expected));
        Checked = true;
        Preview->close();
    });
    Click(Last().Preview);
    EXPECT_TRUE(Checked);

    Click(Last().AsInstalled);
    EXPECT_FALSE(First().AsInstalled->isChecked());
    EXPECT_TRUE(SamePixels(PreviewPicture(Last()), App.Logo(TLogo::Last)));
}

TEST_F(WindowTest, AFailedStartShowsTheMessageAndTheWindowStaysUsable) {
    WriteFile(Dir / "program/broken.bmp", "BM not a picture");
    WriteSettings("[First Logo]\nBackground=2\nBitmap=" + Dir / "program/broken.bmp" + "\n");
    EXPECT_FALSE(Start());
    ASSERT_EQ(Messages.Requests.size(), 1U);
    EXPECT_EQ(Messages.Requests[0].Type, TMsgDlgType::mtError);
    EXPECT_EQ(Messages.Requests[0].Subject, "First Logo background " + Dir / "program/broken.bmp");
    // The second logo was composed all the same.
    EXPECT_TRUE(SamePixels(PreviewPicture(Last()), App.Logo(TLogo::Last)));
    EXPECT_TRUE(FolderEntries(Dir / "windows").empty());
}

// An unattended run that failed with a display builds its window only then, over the program's
// state: the window shows what it would have shown had it been there from the start, and
// showing it changes nothing of the program.
TEST(UnattendedRunWindow, AFailedRunsWindowShowsTheProgramAsItIs) {
    TScratchProgram Program;
    WriteFile(Program.Dir / "program/riddles.txt", kRiddles);
    WriteFile(Program.Dir / "program/broken.bmp", "BM not a picture");
    Program.WriteSettings("[General]\nTextFile=riddles.txt\n[First Logo]\nBackground=2\nBitmap=" +
                          Program.Dir / "program/broken.bmp" +
                          "\n[Last Logo]\nSize=30\nEffect=2\nBackground=1\nLine=Own words\n");
    TVesperaApp App;
    TMessageRecorder Messages;
    EXPECT_FALSE(RunUnattended(App, Program.Places));
    ASSERT_EQ(Messages.Requests.size(), 1U);
    EXPECT_EQ(Messages.Requests[0].Subject,
              "First Logo background " + Program.Dir / "program/broken.bmp");
    EXPECT_TRUE(FolderEntries(Program.Dir / "windows").empty());
    const std::string Question = App.Text(TLogo::First);
    const auto Answer = CopyOf(App.Logo(TLogo::Last));

    TfmVespera Window(App);
    Window.ShowProgramState();
    const TLogoPage& First = *Window.LogoPage(TLogo::First);
    const TLogoPage& Last = *Window.LogoPage(TLogo::Last);
    EXPECT_EQ(Window.General()->Files->FileName(), Program.Dir / "program/riddles.txt");
    EXPECT_EQ(Window.General()->Edit1->text().toStdString(), Question);
    EXPECT_EQ(First.Font->FontName().toStdString(), App.Settings().Logo(TLogo::First).Font);
    EXPECT_EQ(First.Background->ItemIndex(), 2);
    EXPECT_FALSE(First.Select->isHidden());
    EXPECT_EQ(First.DefaultText->text().toStdString(), App.DefaultText(TLogo::First));
    EXPECT_EQ(Last.DefaultText->text(), QStringLiteral("Own words"));
    EXPECT_EQ(Last.Size->value(), 30);
    EXPECT_TRUE(Last.ShadowColor->isHidden()); // "3D"
    EXPECT_EQ(Window.Pages()->ActivePageIndex(), 0);
    // The logo the run composed is shown; the one whose background failed shows nothing.
    EXPECT_TRUE(SamePixels(PreviewPicture(Last), *Answer));
    EXPECT_EQ(std::as_const(*First.Image).PixelGraphic(), nullptr);
    // Nothing was chosen or composed anew.
    EXPECT_EQ(App.Text(TLogo::First), Question);
    EXPECT_EQ(App.Settings().Logo(TLogo::Last).Line, "Own words");
    EXPECT_EQ(App.Settings().Logo(TLogo::Last).Size, 30);
    EXPECT_TRUE(SamePixels(App.Logo(TLogo::Last), *Answer));
}

// The unattended run, a process of its own that builds no window, installs byte for byte the
// logos that the program with its settings window installs, from the same settings at the same
// time: the same fonts, the same system colours, the same record.
TEST(UnattendedRunWindow, TheRunWithoutAWindowInstallsTheLogosOfTheWindowsProgram) {
    TScratchProgram Program;
    const TVesperaProgram Vespera(Program.Dir);
    WriteFile(Program.Dir / "program/riddles.txt", kRiddles);
    TPixelGraphic Picture;
    Picture.SetSize(90, 50, bc24);
    for (int Y = 0; Y < 50; ++Y) {
        for (int X = 0; X < 90; ++X) {
            Picture.SetPixel(X, Y, RGB(X * 2, Y * 5, (X ^ Y) * 3));
        }
    }
    Picture.SaveToFile(Program.Dir / "program/picture.bmp");
    // Text colours of the system (window text, highlight), as the colour buttons offer them.
    Program.WriteSettings(
        "[General]\nTextFile=" + Program.Dir / "program/riddles.txt" +
        "\n[First Logo]\nFont=Liberation Serif\nSize=30\nEffect=2\nBold=1\n"
        "TextColor=-2147483640\nBackground=1\nColor2=255\nColor3=16776960\n"
        "[Last Logo]\nFont=Arial\nPosition=0\nItalic=1\nTextColor=-2147483635\nShadowColor=255\n"
        "Background=2\nBitmap=" +
        Program.Dir / "program/picture.bmp" + "\n");
    {
        // The window's program: its services, the window started, the unattended steps.
        const TProgramServices Services(ConsoleMessageBox);
        TVesperaApp App;
        TfmVespera Window(App);
        ASSERT_TRUE(Window.FormCreate(Program.Places));
        App.InstallUnattended();
    }
    using namespace std::chrono;
    const auto Clock = sys_days(year(2001) / October / 25) + hours(10); // the scratch clock
    TEnvironment Env;
    Env.Set("VESPERA_CLOCK",
            std::to_string(duration_cast<milliseconds>(Clock.time_since_epoch()).count()));
    Env.Set("VESPERA_WINDIR", Program.Dir / "unattended");
    Env.Set("HOME", Program.Dir / "home");
    std::filesystem::create_directories(Program.Dir / "unattended");
    const TProcessResult Run = RunProcess({Vespera.Path(), "/AUTO"});
    ASSERT_EQ(Run.ExitCode, 0) << Run.Err;
    for (const char* Logo : {"logow.sys", "logos.sys"}) {
        const std::string Window = ReadFile(Program.Dir / ("windows/" + std::string(Logo)));
        EXPECT_EQ(Window.size(), 14U + 40U + 1024U + 320U * 400U) << Logo;
        EXPECT_TRUE(ReadFile(Program.Dir / ("unattended/" + std::string(Logo))) == Window) << Logo;
    }
}

TEST_F(WindowTest, ThePictureDialogChoosesTheBackgroundAndCancelRebuildsIt) {
    TPixelGraphic Red;
    Red.SetSize(100, 100, bc24);
    Red.SetBackGroundColor(RGB(255, 0, 0));
    Red.Clear();
    const std::string Picture = Dir / "program/red.bmp";
    Red.SaveToFile(Picture);
    WriteSettings("[First Logo]\nBackground=2\n");
    Start();
    ShowPage(1);
    int Shown = 0;
    const TEventConnection Counted = App.OnUpdate.Connect([&](TObject*, const TViewUpdate& Update) {
        Shown += Update.Logos[TLogo::First] != nullptr ? 1 : 0;
    });
    const auto Respond = [&](bool Choose) {
        QTimer::singleShot(0, [&, Choose] {
            QFileDialog* Dialog = Window.dgOpen()->DialogWindow();
            ASSERT_NE(Dialog, nullptr);
            EXPECT_EQ(Dialog->windowTitle(), QStringLiteral("Select a background bitmap"));
            if (Choose) {
                Dialog->selectFile(QString::fromStdString(Picture));
                static_cast<QDialog*>(Dialog)->accept();
            } else {
                Dialog->reject();
            }
        });
    };
    EXPECT_EQ(Window.dgOpen()->StretchMode(), smFast);
    EXPECT_TRUE(Window.dgOpen()->UseDefaultFilter());
    Respond(true);
    Click(First().Select);
    EXPECT_EQ(App.Settings().Logo(TLogo::First).Bitmap, Picture);
    EXPECT_EQ(Shown, 1);
    EXPECT_EQ(PreviewPicture(First()).PixelColors(0, 0), RGB(255, 0, 0));

    // Cancelled: the picture stays and the background is built again all the same.
    std::filesystem::remove(Picture);
    Respond(false);
    Click(First().Select);
    EXPECT_EQ(App.Settings().Logo(TLogo::First).Bitmap, Picture);
    EXPECT_EQ(Window.dgOpen()->FileName(), Picture); // it started at the logo's picture
    EXPECT_EQ(Shown, 2);
    EXPECT_EQ(PreviewPicture(First()).PixelColors(0, 0), RGB(0, 0, 0)); // missing: black
}
