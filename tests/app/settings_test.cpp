#include "app/settings_file.h"
#include "app/settings_model.h"
#include "platform/ini_file.h"
#include "tests/platform/test_files.h"
#include "tests/support/read_only.h"

#include <gtest/gtest.h>

namespace {

// Records every change the model reports.
struct TChangeLog {
    explicit TChangeLog(TSettingsModel& Model) {
        Model.OnChange = [this](TObject*, TSettingChange C) { Changes.push_back(C); };
    }
    std::vector<TSettingChange> Changes;
};

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
    EXPECT_TRUE(Model.SetSize(1, 20));
    EXPECT_FALSE(Model.SetSize(1, 20));
    EXPECT_TRUE(Model.SetSize(1, 100)); // a spin edit of 8..72
    EXPECT_EQ(Model.Logo(1).Size, 72);
    EXPECT_FALSE(Model.SetSize(1, 73));
    EXPECT_TRUE(Model.SetSize(1, 0));
    EXPECT_EQ(Model.Logo(1).Size, 8);
    // A group of three: above the last selects the last, below -1 selects none.
    EXPECT_TRUE(Model.SetPosition(2, 7));
    EXPECT_EQ(Model.Logo(2).Position, 2);
    EXPECT_FALSE(Model.SetPosition(2, 2));
    EXPECT_FALSE(Model.SetEffect(2, -5)); // starts with none selected
    EXPECT_TRUE(Model.SetEffect(2, 1));
    EXPECT_TRUE(Model.SetEffect(2, -5));
    EXPECT_EQ(Model.Logo(2).Effect, -1);
    EXPECT_TRUE(Model.SetBackground(1, 1));
    EXPECT_TRUE(Model.SetOnlyFirst(true));
    EXPECT_FALSE(Model.SetOnlyFirst(true));
    EXPECT_EQ(Log.Changes, (std::vector<TSettingChange>{{1, S::Size},
                                                        {1, S::Size},
                                                        {1, S::Size},
                                                        {2, S::Position},
                                                        {2, S::Effect},
                                                        {2, S::Effect},
                                                        {1, S::Background},
                                                        {0, S::OnlyFirst}}));
    EXPECT_THROW(Model.SetLine(3, "x"), std::out_of_range);
}

TEST(SettingsModel, InSingleLogoModeTheLogoWithoutBothTextsIsSkipped) {
    TSettingsModel Model;
    EXPECT_FALSE(Model.SingleLogo());
    EXPECT_FALSE(Model.LogoSkipped(1));
    EXPECT_FALSE(Model.LogoSkipped(2));
    Model.SetOnlyFirst(true);
    EXPECT_TRUE(Model.SingleLogo());
    EXPECT_FALSE(Model.LogoSkipped(1));
    EXPECT_TRUE(Model.LogoSkipped(2));
    Model.SetOnlyFirst(false);
    Model.SetOnlyLast(true);
    EXPECT_TRUE(Model.SingleLogo());
    EXPECT_TRUE(Model.LogoSkipped(1));
    EXPECT_FALSE(Model.LogoSkipped(2));
}

TEST(SettingsFile, WithoutAFileEveryValueIsItsDefault) {
    TTempDir Dir;
    TSettingsModel Model;
    LoadSettings(Model, TIniFile(Dir / "vespera.INI"));
    EXPECT_EQ(Model.TextFile(), "vespera.txt");
    EXPECT_EQ(Model.OnlyOne(), 0);
    const TLogoValues& F = Model.Logo(1);
    EXPECT_EQ(F.FontName, "Arial");
    EXPECT_EQ(F.Font, ""); // selected later, from the installed families
    EXPECT_EQ(F.Size, 18);
    EXPECT_EQ(F.Position, 1);
    EXPECT_EQ(F.TextColor, 0x00FF00);
    EXPECT_EQ(F.ShadowColor, 0);
    EXPECT_EQ(F.Effect, 1);
    EXPECT_FALSE(F.Bold);
    EXPECT_FALSE(F.Italic);
    EXPECT_EQ(F.Color1, 8421376);
    EXPECT_EQ(F.Color2, 8421376);
    EXPECT_EQ(F.Color3, 32768);
    EXPECT_EQ(F.Bitmap, "");
    EXPECT_EQ(F.Background, 0);
    EXPECT_EQ(F.Line, "You can put your own text and colors here");
    const TLogoValues& L = Model.Logo(2);
    EXPECT_EQ(L.TextColor, 65535);
    EXPECT_EQ(L.ShadowColor, 128);
    EXPECT_EQ(L.Color1, 0);
    EXPECT_EQ(L.Color2, 8388608);
    EXPECT_EQ(L.Color3, 0);
    EXPECT_EQ(L.Line, "And here too. See the help file to find out how");
    EXPECT_FALSE(std::filesystem::exists(Dir / "vespera.INI"));
}

TEST(SettingsFile, LoadingReportsEachRealChangeInTheFilesKeyOrder) {
    TTempDir Dir;
    WriteFile(Dir / "v.INI", kFullFile);
    TSettingsModel Model;
    TChangeLog Log(Model);
    LoadSettings(Model, TIniFile(Dir / "v.INI"));
    // Font, Size, Position, TextColor, then the first section's ShadowColor before the styles
    // and the second section's after them.
    EXPECT_EQ(Log.Changes,
              (std::vector<TSettingChange>{
                  {0, S::TextFile}, {0, S::OnlyOne},   {1, S::FontName},    {1, S::Size},
                  {1, S::Position}, {1, S::TextColor}, {1, S::ShadowColor}, {1, S::Effect},
                  {1, S::Bold},     {1, S::Italic},    {1, S::Color1},      {1, S::Color2},
                  {1, S::Color3},   {1, S::Bitmap},    {1, S::Background},  {1, S::Line},
                  {2, S::FontName}, {2, S::Size},      {2, S::Position},    {2, S::TextColor},
                  {2, S::Effect},   {2, S::Bold},      {2, S::ShadowColor}, {2, S::Color1},
                  {2, S::Color2},   {2, S::Color3},    {2, S::Bitmap},      {2, S::Background},
                  {2, S::Line}}));
    EXPECT_EQ(Model.Logo(1).ShadowColor, 0xFF0000);
    EXPECT_EQ(Model.Logo(2).FontName, "Liberation Mono");
    EXPECT_EQ(Model.Logo(2).Effect, 0);
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
    EXPECT_EQ(Model.Logo(1).TextColor, 255); // red
    EXPECT_EQ(Model.Logo(1).ShadowColor, 0xFF00);
    EXPECT_EQ(Model.Logo(1).Position, 2);
    EXPECT_EQ(Model.Logo(1).Effect, -1);
    EXPECT_EQ(Model.Logo(1).Background, -1);
    EXPECT_EQ(Model.Logo(1).Size, 18); // not a number: the default
    EXPECT_TRUE(Model.Logo(1).Bold);
    EXPECT_EQ(Model.Logo(2).Position, -1);
    EXPECT_EQ(Model.Logo(2).Color1, static_cast<TColor>(0x8000000F)); // kept as written
}

TEST(SettingsFile, SavingWritesANewFileInItsFixedOrder) {
    TTempDir Dir;
    WriteFile(Dir / "in.INI", kFullFile);
    TSettingsModel Model;
    LoadSettings(Model, TIniFile(Dir / "in.INI"));
    Model.SetFont(1, "Liberation Serif");
    Model.SetFont(2, "Liberation Mono");
    Model.SetOnlyLast(true);
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
    Model.SetOnlyLast(false);
    SaveSettings(Model, Out);
    EXPECT_EQ(Model.OnlyOne(), 0);
    Model.SetOnlyFirst(true);
    SaveSettings(Model, Out);
    EXPECT_EQ(TIniFile(Dir / "out.INI").ReadInteger("General", "Only One", -1), 1);
    EXPECT_EQ(Model.OnlyOne(), 1);
}

TEST(SettingsFile, AReadOnlyFileRaisesWithItsNameAndIsLeftAsItWas) {
    TTempDir Dir;
    const std::string Original = "[General]\nTextFile=keep.txt\n";
    WriteFile(Dir / "v.INI", Original);
    TSettingsModel Model;
    LoadSettings(Model, TIniFile(Dir / "v.INI"));
    Model.SetTextFile("other.txt");
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
