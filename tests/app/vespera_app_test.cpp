// The logo program without its window: start-up, change handling, single-logo modes,
// installation and backups, with real files and real fonts on Qt's offscreen platform.

#include "app/composition/font_choice.h"
#include "app/install/logo_file_install.h"
#include "app/vespera_app.h"
#include "core/stream.h"
#include "platform/ini_file.h"
#include "platform/message_box.h"
#include "tests/app/logo_pixels.h"
#include "tests/app/message_recorder.h"
#include "tests/app/scratch_program.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/read_only.h"

#include <QString>
#include <gtest/gtest.h>

namespace {

// Pixels of Text colour whose shadow, 2 right and 2 down, shows in Shadow colour.
int ShadowedPixels(const TPixelGraphic& Image, TColor Text, TColor Shadow) {
    int Count = 0;
    for (int Y = 0; Y + 2 < Image.Height(); ++Y) {
        for (int X = 0; X + 2 < Image.Width(); ++X) {
            Count += Image.PixelColors(X, Y) == Text && Image.PixelColors(X + 2, Y + 2) == Shadow
                         ? 1
                         : 0;
        }
    }
    return Count;
}

class VesperaAppTest : public testing::Test, protected TScratchProgram {
protected:
    void Start() { App.Start(Places, SortedFontFamilies()); }

    TVesperaApp App;
    std::vector<TLogo> Shown;
    const TEventConnection ShownConnection =
        App.OnUpdate.Connect([this](TObject*, const TViewUpdate& Update) {
            for (const TLogo Logo : kLogos) {
                if (Update.Logos[Logo] != nullptr) {
                    Shown.push_back(Logo);
                }
            }
        });
};

using S = TSetting;
constexpr TLogo First = TLogo::First;
constexpr TLogo Last = TLogo::Last;
const std::vector<TLogo> kBoth{First, Last};

const std::string kOneQuestion = "[Header]\nFormat=Q&A\n[Data]\nQ: Question?\nA: Answer.\n";

} // namespace

TEST(FontChoice, ASavedNameSelectsItsFamilyItsSubstituteOrTheFirst) {
    const std::vector<std::string> Families = SortedFontFamilies();
    ASSERT_FALSE(Families.empty());
    EXPECT_TRUE(std::is_sorted(Families.begin(), Families.end(), [](auto& A, auto& B) {
        return QString::fromStdString(A).compare(QString::fromStdString(B), Qt::CaseInsensitive) <
               0;
    }));
    EXPECT_EQ(SelectFontFamily(Families, "liberation serif"), "Liberation Serif");
    EXPECT_EQ(SelectFontFamily(Families, "Arial"), "Liberation Sans");
    EXPECT_EQ(SelectFontFamily({"Beta", "Gamma"}, "No Such Family Anywhere"), "Beta");
    EXPECT_EQ(SelectFontFamily({}, "Arial"), "");
}

TEST_F(VesperaAppTest, FirstStartWithoutSettingsDrawsBothDefaultLogos) {
    Start();
    EXPECT_FALSE(App.Loading());
    EXPECT_EQ(App.Text(First), "You can put your own text and colors here");
    EXPECT_EQ(App.Text(Last), "And here too. See the help file to find out how");
    EXPECT_EQ(App.Settings().Logo(First).Font, "Liberation Sans");
    EXPECT_EQ(Shown, kBoth);

    const TPixelGraphic& FirstLogo = App.Logo(First);
    ASSERT_EQ(FirstLogo.Width(), 640);
    EXPECT_EQ(FirstLogo.PixelColors(0, 0), RGB(0, 128, 128)); // teal
    EXPECT_EQ(FirstLogo.PixelColors(639, 399), RGB(0, 128, 128));
    EXPECT_GT(ShadowedPixels(FirstLogo, RGB(0, 255, 0), RGB(0, 0, 0)), 20); // green over black
    const TPixelGraphic& LastLogo = App.Logo(Last);
    EXPECT_EQ(LastLogo.PixelColors(0, 0), RGB(0, 0, 0));
    EXPECT_GT(ShadowedPixels(LastLogo, RGB(255, 255, 0), RGB(128, 0, 0)), 20); // yellow, dark red
    // Both texts are in the middle: nothing above row 150 or below row 250.
    for (const TPixelGraphic* Logo : {&FirstLogo, &LastLogo}) {
        const TColor Back = Logo->PixelColors(0, 0);
        for (int Y : {0, 100, 150, 250, 300, 399}) {
            for (int X = 0; X < 640; ++X) {
                ASSERT_EQ(Logo->PixelColors(X, Y), Back) << X << "," << Y;
            }
        }
    }
    // The settings file is only read.
    EXPECT_FALSE(std::filesystem::exists(Dir / "program/vespera.INI"));
}

TEST_F(VesperaAppTest, StartUpSelectsTheRecordFileFromTheProgramFolder) {
    WriteFile(Dir / "program/riddles.txt", kOneQuestion);
    WriteSettings("[General]\nTextFile=riddles.txt\n");
    int TextsShown = 0;
    const TEventConnection Texts = App.OnUpdate.Connect(
        [&](TObject*, const TViewUpdate& Update) { TextsShown += Update.Texts != nullptr; });
    Start();
    EXPECT_EQ(App.Settings().TextFile(), Dir / "program/riddles.txt"); // the full path
    EXPECT_EQ(App.Text(First), "Question?");
    EXPECT_EQ(App.Text(Last), "Answer.");
    EXPECT_EQ(App.DefaultText(First), "You can put your own text and colors here");
    EXPECT_GE(TextsShown, 1);
    // Default texts are not on the logos, so a changed default text changes nothing.
    Shown.clear();
    App.Settings().Set({First, S::Line}, "new default");
    EXPECT_TRUE(Shown.empty());
    EXPECT_EQ(App.Text(First), "Question?");
    // A right click on the file list: no file, the default texts, both logos kept until "Use".
    App.SelectRecordFile("");
    EXPECT_EQ(App.Text(First), "new default");
    EXPECT_TRUE(Shown.empty());
}

TEST_F(VesperaAppTest, AMissingRecordFileGivesTheDefaultTextsThatFollowTheirFields) {
    WriteSettings("[General]\nTextFile=nowhere.txt\n[First Logo]\nLine=Hello\n");
    Start();
    EXPECT_EQ(App.Settings().TextFile(), "nowhere.txt");
    EXPECT_EQ(App.Text(First), "Hello");
    Shown.clear();
    App.Settings().Set({Last, S::Line}, "Bye");
    EXPECT_EQ(App.Text(Last), "Bye");
    EXPECT_EQ(Shown, kBoth);
}

TEST_F(VesperaAppTest, OnlyRealChangesRunTheirHandling) {
    WriteSettings("[First Logo]\nSize=20\n");
    Start();
    std::vector<TSettingChange> Changes;
    const TEventConnection Connection =
        App.OnUpdate.Connect([&](TObject*, const TViewUpdate& Update) {
            if (Update.Setting) {
                Changes.push_back(*Update.Setting);
            }
        });
    Shown.clear();
    App.LoadSettings(); // the same values again: nothing runs
    EXPECT_TRUE(Changes.empty());
    EXPECT_TRUE(Shown.empty());
    WriteSettings("[First Logo]\nSize=30\n[Last Logo]\nBackground=1\n");
    App.LoadSettings();
    EXPECT_EQ(Changes, (std::vector<TSettingChange>{{First, S::Size}, {Last, S::Background}}));
    EXPECT_EQ(Shown, kBoth);
    EXPECT_EQ(App.Back(Last).PixelColors(0, 0), RGB(0, 0, 128)); // the gradient's top: navy
}

TEST_F(VesperaAppTest, OnlyOneThreeChecksNeitherBoxAndSavesZero) {
    WriteSettings("[General]\nOnly One=3\n");
    Start();
    EXPECT_FALSE(App.Settings().Logo(First).Only);
    EXPECT_FALSE(App.Settings().Logo(Last).Only);
    App.SaveSettings();
    EXPECT_EQ(TIniFile(Places.SettingsFile()).ReadInteger("General", "Only One", -1), 0);
    EXPECT_EQ(TIniFile(Places.SettingsFile()).ReadString("First Logo", "Font", ""),
              "Liberation Sans");
}

TEST_F(VesperaAppTest, SingleLogoModesChangeOnlyTheirFile) {
    WriteFile(Dir / "windows/logow.sys", "old first");
    WriteFile(Dir / "windows/logos.sys", "old second");
    WriteSettings("[General]\nOnly One=1\n[Last Logo]\nColor1=255\n");
    Start();
    EXPECT_TRUE(App.Settings().Logo(First).Only);
    // Only the first logo is made, on the first background, carrying both texts; the second
    // shows the same composition.
    EXPECT_EQ(App.Logo(First).PixelColors(0, 0), RGB(0, 128, 128));
    EXPECT_TRUE(SamePixels(App.Logo(First), App.Logo(Last)));
    EXPECT_EQ(App.Back(Last).PixelColors(0, 0), RGB(0, 0, 0)); // never built
    App.InstallLogos();
    EXPECT_NE(ReadFile(Dir / "windows/logow.sys"), "old first");
    EXPECT_EQ(ReadFile(Dir / "windows/logos.sys"), "old second");

    WriteFile(Dir / "windows/logow.sys", "old first");
    App.Settings().Set({First, S::Only}, false);
    App.Settings().Set({Last, S::Only}, true);
    EXPECT_EQ(App.Logo(Last).PixelColors(0, 0), RGB(255, 0, 0)); // the second background
    EXPECT_TRUE(SamePixels(App.Logo(First), App.Logo(Last)));
    App.InstallLogos();
    EXPECT_EQ(ReadFile(Dir / "windows/logow.sys"), "old first");
    EXPECT_NE(ReadFile(Dir / "windows/logos.sys"), "old second");
    EXPECT_FALSE(std::filesystem::exists(Dir / "windows/logow.bmp"));
    EXPECT_FALSE(std::filesystem::exists(Dir / "windows/logos.bmp"));
}

// With the preview as installed, what a page shows is the file installation writes, stretched
// back to 640 x 400, after every change; switching it shows both logos anew.
TEST_F(VesperaAppTest, ThePreviewAsInstalledIsTheInstalledLogoAfterEveryChange) {
    Start();
    EXPECT_EQ(&App.PreviewPicture(TLogo::First), &App.Logo(TLogo::First));
    Shown.clear();
    App.Settings().Set(TSetting::PreviewAsInstalled, true);
    EXPECT_EQ(Shown, (std::vector<TLogo>{TLogo::First, TLogo::Last}));
    for (const int Size : {18, 40}) {
        App.Settings().Set({TLogo::First, TSetting::Size}, Size);
        const TPixelGraphic& Preview = App.PreviewPicture(TLogo::First);
        App.InstallLogos();
        TPixelGraphic Installed;
        Installed.LoadFromFile(Dir / "windows/logow.sys");
        ASSERT_EQ(Preview.Width(), 640);
        ASSERT_EQ(Preview.Height(), 400);
        for (int Y = 0; Y < 400; ++Y) {
            for (int X = 0; X < 640; ++X) {
                ASSERT_EQ(Preview.PixelColors(X, Y), Installed.PixelColors(X / 2, Y))
                    << "size " << Size << " at " << X << "," << Y;
            }
        }
    }
    App.Settings().Set(TSetting::PreviewAsInstalled, false);
    EXPECT_EQ(&App.PreviewPicture(TLogo::First), &App.Logo(TLogo::First));
}

// Whichever page a setting of the logo that carries both texts changes on, that logo (the one
// installed) follows at once; the other logo shows the same composition.
TEST_F(VesperaAppTest, InSingleLogoModeAChangeOnEitherPageReachesTheInstalledLogo) {
    for (const int Used : {1, 2}) {
        WriteSettings("[General]\nOnly One=" + std::to_string(Used) + "\n");
        Start();
        const std::string Installed = Dir / (Used == 1 ? "windows/logow.sys" : "windows/logos.sys");
        const TLogo UsedLogo = Used == 1 ? First : Last;
        for (const TLogo Page : {OtherLogo(UsedLogo), UsedLogo}) {
            App.InstallLogos();
            const std::string Before = ReadFile(Installed);
            App.Settings().Set({Page, S::Size}, App.Settings().Logo(Page).Size + 6);
            EXPECT_TRUE(SamePixels(App.Logo(First), App.Logo(Last)))
                << "only " << Used << ", page " << static_cast<int>(Page);
            App.InstallLogos();
            EXPECT_TRUE(ReadFile(Installed) != Before)
                << "only " << Used << ", page " << static_cast<int>(Page);
        }
        App.InstallLogos();
        const std::string Before = ReadFile(Installed);
        App.Settings().Set({UsedLogo, S::Background}, 1);
        App.InstallLogos();
        EXPECT_TRUE(ReadFile(Installed) != Before) << "only " << Used << ", background";
    }
}

TEST_F(VesperaAppTest, BackupsAreMadeOnceWithAMessageEach) {
    WriteFile(Dir / "windows/logow.sys", "system wait picture");
    WriteFile(Dir / "windows/logos.sys", "system off picture");
    Start();
    {
        TMessageRecorder Messages;
        App.BackupLogos();
        EXPECT_EQ(Messages.Texts(),
                  (std::vector<std::string>{"A Backup of your existing logow.sys has been done",
                                            "A Backup of your existing logos.sys has been done"}));
    }
    EXPECT_EQ(ReadFile(Dir / "program/logow.sys"), "system wait picture");
    EXPECT_EQ(ReadFile(Dir / "program/logos.sys"), "system off picture");
    App.InstallLogos();
    TMessageRecorder Messages;
    App.BackupLogos();
    EXPECT_TRUE(Messages.Texts().empty());
    EXPECT_EQ(ReadFile(Dir / "program/logow.sys"), "system wait picture");

    // Without system files there is nothing to back up and nothing to say.
    std::filesystem::remove(Dir / "program/logow.sys");
    std::filesystem::remove(Dir / "windows/logow.sys");
    App.BackupLogos();
    EXPECT_TRUE(Messages.Texts().empty());
    EXPECT_FALSE(std::filesystem::exists(Dir / "program/logow.sys"));
}

TEST_F(VesperaAppTest, ALogoIsReplacedOnlyOnceItsBackupIsMade) {
    const std::string Original(200000, 'w'); // larger than the program may write
    WriteFile(Dir / "windows/logow.sys", Original);
    WriteFile(Dir / "windows/logos.sys", "system off picture");
    Start();
    TMessageRecorder Messages;
    const std::string Made = "A Backup of your existing logos.sys has been done";
    {
        const TFileSizeLimit Limit(150000);
        if (!Limit.Ok()) {
            GTEST_SKIP() << "cannot limit the size of written files";
        }
        App.BackupLogos(); // the failure is told when the logo is to be replaced
        EXPECT_EQ(Messages.Texts(), std::vector<std::string>{Made});
        EXPECT_THROW(App.InstallLogos(), EBackupError);
        EXPECT_NE(ReadFile(Dir / "windows/logos.sys"), "system off picture");
    }
    EXPECT_TRUE(ReadFile(Dir / "windows/logow.sys") == Original);
    EXPECT_FALSE(std::filesystem::exists(Dir / "program/logow.sys"));
    // The backup is tried again before the next replacement.
    App.InstallLogos();
    EXPECT_EQ(Messages.Texts(), (std::vector<std::string>{
                                    Made, "A Backup of your existing logow.sys has been done"}));
    EXPECT_TRUE(ReadFile(Dir / "program/logow.sys") == Original);
    EXPECT_FALSE(ReadFile(Dir / "windows/logow.sys") == Original);
}

TEST_F(VesperaAppTest, AFailedWriteLeavesTheOldLogoAndStopsThere) {
    WriteFile(Dir / "windows/logow.sys", "old first");
    Start();
    {
        const TReadOnly Guard(Dir / "windows");
        if (!Guard.Ok()) {
            GTEST_SKIP() << "cannot make a folder read-only here";
        }
        EXPECT_THROW(App.InstallLogos(), EFCreateError);
        bool Restored = false;
        const TEventConnection Installing =
            App.OnInstalling.Connect([&](TObject*, bool Busy) { Restored = !Busy; });
        EXPECT_THROW(App.InstallLogos(), EFCreateError);
        EXPECT_TRUE(Restored);
    }
    EXPECT_EQ(ReadFile(Dir / "windows/logow.sys"), "old first");
    EXPECT_FALSE(std::filesystem::exists(Dir / "windows/logos.sys"));
    EXPECT_EQ(FolderEntries(Dir / "windows"), std::vector<std::string>{"logow.sys"});
}

TEST_F(VesperaAppTest, AutoRunBacksUpComposesInstallsAndEnds) {
    WriteFile(Dir / "windows/logow.sys", "system wait picture");
    WriteFile(Dir / "program/riddles.txt", kOneQuestion);
    WriteSettings("[General]\nTextFile=" + Dir / "program/riddles.txt" + "\n");
    std::vector<std::string> Installed;
    const TEventConnection Reported = App.OnLogoInstalled.Connect(
        [&](TObject*, const std::string& F) { Installed.push_back(F); });
    bool Ended = false;
    const TEventConnection Terminated = App.OnTerminate.Connect([&](TObject*) { Ended = true; });
    TMessageRecorder Messages;
    Start();
    App.InstallUnattended();
    EXPECT_TRUE(Ended);
    EXPECT_EQ(Messages.Texts(),
              std::vector<std::string>{"A Backup of your existing logow.sys has been done"});
    EXPECT_EQ(Installed,
              (std::vector<std::string>{Dir / "windows/logow.sys", Dir / "windows/logos.sys"}));
    TPixelGraphic Logo;
    Logo.LoadFromFile(Dir / "windows/logos.sys");
    EXPECT_EQ(Logo.Width(), 320);
    EXPECT_EQ(Logo.Height(), 400);
    EXPECT_EQ(Logo.BitCount(), bc8);
    EXPECT_EQ(Logo.PaletteCount(), 256);
    // The settings are not saved.
    EXPECT_EQ(Settings(), "[General]\nTextFile=" + Dir / "program/riddles.txt" + "\n");
}

TEST_F(VesperaAppTest, AnUnreadableBackgroundPictureIsRaisedAndLeavesItBlack) {
    WriteFile(Dir / "program/broken.bmp", "BM no picture at all");
    Start();
    App.Settings().Set({First, S::Bitmap}, Dir / "program/broken.bmp");
    Shown.clear();
    EXPECT_ANY_THROW(App.Settings().Set({First, S::Background}, 2));
    EXPECT_TRUE(Shown.empty()); // the logo is not recomposed
    EXPECT_EQ(CountColor(App.Back(First), RGB(0, 0, 0)), 640 * 400);
    // Cancelling the picture dialog rebuilds the background all the same.
    EXPECT_ANY_THROW(App.UseBackgroundPicture(First, std::nullopt));
    const std::string Missing = Dir / "program/missing.bmp";
    App.UseBackgroundPicture(First, Missing);
    EXPECT_EQ(App.Settings().Logo(First).Bitmap, Missing);
    EXPECT_EQ(Shown, std::vector<TLogo>{First});
}

TEST(AutoRunCommand, FirstArgumentOnlyInAnyCase) {
    EXPECT_TRUE(IsAutoRunCommand({"/AUTO"}));
    EXPECT_TRUE(IsAutoRunCommand({"/auto", "ignored"}));
    EXPECT_FALSE(IsAutoRunCommand({"x", "/AUTO"}));
    EXPECT_FALSE(IsAutoRunCommand({}));
    EXPECT_FALSE(IsAutoRunCommand({"/AUTOMATIC"}));
}
