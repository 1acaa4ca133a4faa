#include "app/settings/settings_file.h"
#include "app/settings/settings_model.h"
#include "platform/ini_file.h"
#include "tests/platform/test_files.h"
#include "tests/support/read_only.h"

#include <gtest/gtest.h>

namespace {

// Records every change the model reports.
struct TChangeLog {
    explicit TChangeLog(TSettingsModel& Model)
        : Connection(Model.OnChange.Connect(
              [this](TObject*, TSettingChange C) { Changes.push_back(C); })) {}
    std::vector<TSettingChange> Changes;
    TEventConnection Connection;
};

constexpr TLogo First = TLogo::First;
constexpr TLogo Last = TLogo::Last;

using S = TSetting;

const std::string kFullFile = "[General]\n"
                              "TextFile=/srv/riddles.txt\n"
                              "Only One=2\n"
                              "[First Logo]\n"
                              "Font=Liberation Serif\nSize=30\nPosition=0\nTextColor=255\n"
                              "ShadowColor=16711680\nEffect=2\nBold=1\nItalic=1\nColor1=1\n"
                              "Color2=2\nColor3=3\nBitmap=/p/a.bmp\nBackground=2\nLine=first\n"
                              "[Last Logo]\n"
                              "Font=Liberation Mono\nSize=40\nPosition=2\nTextColor=4\n"
                              "ShadowColor=5\nEffect=0\nBold=1\nItalic=0\nColor1=6\nColor2=7\n"
                              "Color3=8\nBitmap=/p/b.bmp\nBackground=1\nLine=last\n";

} // namespace

TEST(SettingsModel, SettersActOnlyOnRealChangesAndKeepChoicesInRange) {
    TSettingsModel Model;
    TChangeLog Log(Model);
    EXPECT_TRUE(Model.Set({First, S::Size}, 20));
    EXPECT_FALSE(Model.Set({First, S::Size}, 20));
    EXPECT_TRUE(Model.Set({First, S::Size}, 100)); // a spin edit of 8..72
    EXPECT_EQ(Model.Logo(First).Size, 72);
    EXPECT_FALSE(Model.Set({First, S::Size}, 73));
    EXPECT_TRUE(Model.Set({First, S::Size}, 0));
    EXPECT_EQ(Model.Logo(First).Size, 8);
    // A group of three: above the last selects the last, below -1 selects none.
    EXPECT_TRUE(Model.Set({Last, S::Position}, 7));
    EXPECT_EQ(Model.Logo(Last).Position, TTextPosition::Bottom);
    EXPECT_FALSE(Model.Set({Last, S::Position}, 2));
    EXPECT_FALSE(Model.Set({Last, S::Effect}, -5)); // starts with none selected
    EXPECT_TRUE(Model.Set({Last, S::Effect}, 1));
    EXPECT_TRUE(Model.Set({Last, S::Effect}, -5));
    EXPECT_EQ(Model.Logo(Last).Effect, TTextEffect::Unselected);
    EXPECT_TRUE(Model.Set({First, S::Background}, 1));
    EXPECT_TRUE(Model.Set({First, S::Only}, true));
    EXPECT_FALSE(Model.Set({First, S::Only}, true));
    EXPECT_EQ(Log.Changes, (std::vector<TSettingChange>{{First, S::Size},
                                                        {First, S::Size},
                                                        {First, S::Size},
                                                        {Last, S::Position},
                                                        {Last, S::Effect},
                                                        {Last, S::Effect},
                                                        {First, S::Background},
                                                        {First, S::Only}}));
    EXPECT_THROW(Model.Set({static_cast<TLogo>(2), S::Line}, "x"), std::out_of_range);
    // A setting asked for in the wrong place, or given a value of another kind, is refused.
    EXPECT_THROW(Model.Set(S::Line, "x"), std::invalid_argument);
    EXPECT_THROW(Model.Set({First, S::TextFile}, "x"), std::invalid_argument);
    EXPECT_THROW(Model.Set({First, S::Size}, "20"), std::invalid_argument);
    EXPECT_EQ(Model.Logo(First).Size, 8);
}

TEST(SettingsModel, InSingleLogoModeTheLogoWithoutBothTextsIsSkipped) {
    TSettingsModel Model;
    EXPECT_FALSE(Model.SingleLogo());
    EXPECT_FALSE(Model.LogoSkipped(First));
    EXPECT_FALSE(Model.LogoSkipped(Last));
    Model.Set({First, S::Only}, true);
    EXPECT_TRUE(Model.SingleLogo());
    EXPECT_FALSE(Model.LogoSkipped(First));
    EXPECT_TRUE(Model.LogoSkipped(Last));
    Model.Set({First, S::Only}, false);
    Model.Set({Last, S::Only}, true);
    EXPECT_TRUE(Model.SingleLogo());
    EXPECT_TRUE(Model.LogoSkipped(First));
    EXPECT_FALSE(Model.LogoSkipped(Last));
}

// A key the file does not give reads as it does without a file, as its default; reading makes no
// file. (The defaults themselves, as a new file shows them to a user, are the window's to check:
// it writes the file.)
TEST(SettingsFile, MissingKeysReadAsWithoutAFile) {
    TTempDir Dir;
    TSettingsModel Defaults;
    LoadSettings(Defaults, TIniFile(Dir / "none.INI"));
    EXPECT_FALSE(std::filesystem::exists(Dir / "none.INI"));
    WriteFile(Dir / "some.INI", "[General]\nOnly One=1\n[First Logo]\nSize=30\n[Last Logo]\n");
    TSettingsModel Some;
    LoadSettings(Some, TIniFile(Dir / "some.INI"));
    EXPECT_EQ(Some.OnlyOne(), 1);
    EXPECT_EQ(Some.Logo(First).Size, 30);
    EXPECT_EQ(Some.Value(S::TextFile), Defaults.Value(S::TextFile));
    for (const TLogo Logo : kLogos) {
        for (const TSetting Setting : LogoLoadOrder(Logo)) {
            if (Logo != First || Setting != S::Size) {
                EXPECT_EQ(Some.Value({Logo, Setting}), Defaults.Value({Logo, Setting}));
            }
        }
    }
}

TEST(SettingsFile, LoadingReportsEachRealChangeInTheFilesKeyOrder) {
    TTempDir Dir;
    WriteFile(Dir / "v.INI", kFullFile);
    TSettingsModel Model;
    TChangeLog Log(Model);
    LoadSettings(Model, TIniFile(Dir / "v.INI"));
    // Font, Size, Position, TextColor, then the first section's ShadowColor before the styles
    // and the second section's after them.
    EXPECT_EQ(Log.Changes, (std::vector<TSettingChange>{{S::TextFile},
                                                        {S::OnlyOne},
                                                        {First, S::FontName},
                                                        {First, S::Size},
                                                        {First, S::Position},
                                                        {First, S::TextColor},
                                                        {First, S::ShadowColor},
                                                        {First, S::Effect},
                                                        {First, S::Bold},
                                                        {First, S::Italic},
                                                        {First, S::SingleColor},
                                                        {First, S::GradientTop},
                                                        {First, S::GradientBottom},
                                                        {First, S::Bitmap},
                                                        {First, S::Background},
                                                        {First, S::Line},
                                                        {Last, S::FontName},
                                                        {Last, S::Size},
                                                        {Last, S::Position},
                                                        {Last, S::TextColor},
                                                        {Last, S::Effect},
                                                        {Last, S::Bold},
                                                        {Last, S::ShadowColor},
                                                        {Last, S::SingleColor},
                                                        {Last, S::GradientTop},
                                                        {Last, S::GradientBottom},
                                                        {Last, S::Bitmap},
                                                        {Last, S::Background},
                                                        {Last, S::Line}}));
    EXPECT_EQ(Model.Logo(First).ShadowColor, 0xFF0000);
    EXPECT_EQ(Model.Logo(Last).FontName, "Liberation Mono");
    EXPECT_EQ(Model.Logo(Last).Effect, TTextEffect::Nothing);
    // The second logo's "Italic" (0) is what the box already showed, so it reports nothing; and
    // loading the same file again reports nothing at all.
    Log.Changes.clear();
    LoadSettings(Model, TIniFile(Dir / "v.INI"));
    EXPECT_TRUE(Log.Changes.empty());
}

TEST(SettingsFile, HandWrittenValuesReadByTheValueRules) {
    TTempDir Dir;
    WriteFile(Dir / "v.INI", "[General]\nOnly One=3\n"
                             "[First Logo]\nTextColor=0x0000FF\nShadowColor=$FF00\n"
                             "Position=9\nEffect=-4\nBackground=-1\nSize=big\nBold=7\n"
                             "[Last Logo]\nPosition=-1\nColor1=-2147483633\n");
    TSettingsModel Model;
    LoadSettings(Model, TIniFile(Dir / "v.INI"));
    EXPECT_EQ(Model.OnlyOne(), 3);
    EXPECT_EQ(Model.Logo(First).TextColor, 255); // red
    EXPECT_EQ(Model.Logo(First).ShadowColor, 0xFF00);
    EXPECT_EQ(Model.Logo(First).Position, TTextPosition::Bottom);
    EXPECT_EQ(Model.Logo(First).Effect, TTextEffect::Unselected);
    EXPECT_EQ(Model.Logo(First).Background, TBackgroundKind::Unselected);
    EXPECT_EQ(Model.Logo(First).Size, 18); // not a number: the default
    EXPECT_TRUE(Model.Logo(First).Bold);
    EXPECT_EQ(Model.Logo(Last).Position, TTextPosition::Unselected);
    EXPECT_EQ(Model.Logo(Last).SingleColor, static_cast<TColor>(0x8000000F)); // kept as written
}

TEST(SettingsFile, SavingWritesANewFileInItsFixedOrder) {
    TTempDir Dir;
    WriteFile(Dir / "in.INI", kFullFile);
    TSettingsModel Model;
    LoadSettings(Model, TIniFile(Dir / "in.INI"));
    Model.Set({First, S::Font}, "Liberation Serif");
    Model.Set({Last, S::Font}, "Liberation Mono");
    Model.Set({Last, S::Only}, true);
    TIniFile Out(Dir / "out.INI");
    SaveSettings(Model, Out);
    EXPECT_EQ(ReadFile(Dir / "out.INI"),
              "[General]\nTextFile=/srv/riddles.txt\nOnly One=2\n\n"
              "[First Logo]\nFont=Liberation Serif\nSize=30\nPosition=0\nTextColor=255\n"
              "ShadowColor=16711680\nEffect=2\nBold=1\nItalic=1\nColor1=1\nColor2=2\n"
              "Color3=3\nBackground=2\nBitmap=/p/a.bmp\nLine=first\n\n"
              "[Last Logo]\nFont=Liberation Mono\nSize=40\nPosition=2\nTextColor=4\n"
              "ShadowColor=5\nEffect=0\nBold=1\nItalic=0\nColor1=6\nColor2=7\nColor3=8\n"
              "Background=1\nBitmap=/p/b.bmp\nLine=last\n");

    // "Only One": 0 with neither box, 1 with the first, 2 with the second; also kept.
    Model.Set({Last, S::Only}, false);
    SaveSettings(Model, Out);
    EXPECT_EQ(Model.OnlyOne(), 0);
    Model.Set({First, S::Only}, true);
    SaveSettings(Model, Out);
    EXPECT_EQ(TIniFile(Dir / "out.INI").ReadInteger("General", "Only One", -1), 1);
    EXPECT_EQ(Model.OnlyOne(), 1);
}

// The install targets live in a section of their own: a file without them stays without, and
// saving them changes nothing of the other sections.
TEST(SettingsFile, InstallTargetsRoundTripInTheirOwnSection) {
    TTempDir Dir;
    TSettingsModel Model;
    LoadSettings(Model, TIniFile(Dir / "none.INI"));
    TIniFile Plain(Dir / "plain.INI");
    SaveSettings(Model, Plain);
    const std::string Before = ReadFile(Dir / "plain.INI");
    EXPECT_EQ(Before.find("Install"), std::string::npos);
    EXPECT_TRUE(Model.InstallTargets().Automatic());

    int Changes = 0;
    const TEventConnection Counting =
        Model.InstallTargets().OnChange.Connect([&](TObject*) { ++Changes; });
    EXPECT_TRUE(Model.InstallTargets().Add({TTargetKind::tkDiskImage, "/vm/w98.img", 1, "WIN"}));
    EXPECT_FALSE(Model.InstallTargets().Add({TTargetKind::tkDiskImage, "/vm/w98.img", 1, "WIN"}));
    EXPECT_TRUE(Model.InstallTargets().Add({TTargetKind::tkFolder, "/mnt/a::b/WINDOWS"}));
    EXPECT_EQ(Changes, 2);
    SaveSettings(Model, Plain);
    EXPECT_EQ(ReadFile(Dir / "plain.INI"), Before +
                                               "\n[Install Targets]\nTarget1=/vm/w98.img::1/WIN\n"
                                               "Target2=folder:/mnt/a::b/WINDOWS\n");

    // Read back in the keys' order, whatever the file's; other keys and empty values count not.
    WriteFile(Dir / "hand.INI", kFullFile + "[install targets]\nTarget10=/c\nTarget2=/b\nNote=x\n"
                                            "target1= /a \nTarget3=\nTarget0=/no\n");
    TSettingsModel Hand;
    LoadSettings(Hand, TIniFile(Dir / "hand.INI"));
    EXPECT_EQ(Hand.InstallTargets().Targets(), (std::vector<std::string>{"/a", "/b", "/c"}));
    TSettingsModel Reread;
    LoadSettings(Reread, TIniFile(Dir / "plain.INI"));
    EXPECT_EQ(Reread.InstallTargets().Targets(), Model.InstallTargets().Targets());

    // Back to automatic: the file is as it was before.
    EXPECT_TRUE(Model.InstallTargets().Remove(1));
    EXPECT_FALSE(Model.InstallTargets().Remove(1));
    EXPECT_TRUE(Model.InstallTargets().Remove(0));
    SaveSettings(Model, Plain);
    EXPECT_EQ(ReadFile(Dir / "plain.INI"), Before);
}

// The preview as installed is the program's own setting: a section after the logos' sections,
// written once the setting was on, so that it can be taken back.
TEST(SettingsFile, ThePreviewChoiceFollowsTheLogosOnceMade) {
    TTempDir Dir;
    WriteFile(Dir / "v.INI", kFullFile);
    TSettingsModel Model;
    LoadSettings(Model, TIniFile(Dir / "v.INI"));
    EXPECT_FALSE(Model.General().PreviewAsInstalled);
    TIniFile File(Dir / "v.INI");
    for (const bool AsInstalled : {true, false}) {
        Model.Set(S::PreviewAsInstalled, AsInstalled);
        SaveSettings(Model, File);
        const std::string Saved = ReadFile(Dir / "v.INI");
        const std::string Section =
            std::string("Line=last\n\n[Preview]\nAsInstalled=") + (AsInstalled ? "1" : "0") + "\n";
        ASSERT_GE(Saved.size(), Section.size());
        EXPECT_EQ(Saved.substr(Saved.size() - Section.size()), Section);
        TSettingsModel Loaded;
        LoadSettings(Loaded, File);
        EXPECT_EQ(Loaded.General().PreviewAsInstalled, AsInstalled);
    }
}

TEST(SettingsFile, AReadOnlyFileRaisesWithItsNameAndIsLeftAsItWas) {
    TTempDir Dir;
    const std::string Original = "[General]\nTextFile=keep.txt\n";
    WriteFile(Dir / "v.INI", Original);
    TSettingsModel Model;
    LoadSettings(Model, TIniFile(Dir / "v.INI"));
    Model.Set(S::TextFile, "other.txt");
    const TReadOnly Guard(Dir / "v.INI");
    if (!Guard.Ok()) {
        GTEST_SKIP() << "cannot make a file read-only here";
    }
    TIniFile File(Dir / "v.INI");
    try {
        SaveSettings(Model, File);
        FAIL() << "no error";
    } catch (const EIniFileException& E) {
        EXPECT_EQ(E.Message(), "Unable to write to " + Dir / "v.INI");
    }
    EXPECT_EQ(ReadFile(Dir / "v.INI"), Original);
}
