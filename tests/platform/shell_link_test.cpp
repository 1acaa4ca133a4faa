#include "platform/shell_link.h"
#include "tests/platform/test_files.h"

#include <gtest/gtest.h>

TEST(ShellLink, DesktopEntryCarriesOnlyTheFlaggedFields) {
    TShellLinkInfo Info;
    Info.Path = "/opt/vespera/vespera";
    Info.Description = "Shut-down logos";
    Info.Arguments = "/AUTO";
    Info.IconPath = "/opt/vespera/vespera.png";
    Info.IconIndex = 3;
    Info.WorkingDirectory = "/tmp/work";
    Info.HotKey = 0x0356;
    Info.ShowCmd = 7;
    Info.Flags = slDescription | slArguments | slShowCmd;
    EXPECT_EQ(DesktopEntryText("Vespera", Info), "[Desktop Entry]\n"
                                                 "Type=Application\n"
                                                 "Name=Vespera\n"
                                                 "Comment=Shut-down logos\n"
                                                 "Exec=/opt/vespera/vespera /AUTO\n"
                                                 "Path=/opt/vespera\n"
                                                 "Terminal=false\n");
    Info.Flags = slIcon | slWorkingDirectory | slHotKey;
    EXPECT_EQ(DesktopEntryText("Vespera", Info), "[Desktop Entry]\n"
                                                 "Type=Application\n"
                                                 "Name=Vespera\n"
                                                 "Exec=/opt/vespera/vespera\n"
                                                 "Icon=/opt/vespera/vespera.png\n"
                                                 "Path=/tmp/work\n"
                                                 "Terminal=false\n");
}

TEST(ShellLink, ExecQuotesReservedCharactersAndEscapesForTheFile) {
    TShellLinkInfo Info;
    Info.Path = "/home/a b/$HOME/x\\y/100%/vespera";
    Info.Arguments = "/AUTO \"two words\" it's `x` \"\"";
    Info.Flags = slArguments;
    const std::string Text = DesktopEntryText("V", Info);
    // Quoting doubles the backslash, the file's own escaping doubles it again.
    EXPECT_NE(Text.find("Exec=\"/home/a b/\\\\$HOME/x\\\\\\\\y/100%%/vespera\" /AUTO "
                        "\"two words\" \"it's\" \"\\\\`x\\\\`\" \"\"\n"),
              std::string::npos)
        << Text;
    // A relative target becomes absolute.
    Info.Path = "vespera";
    EXPECT_NE(DesktopEntryText("V", Info).find("Exec=/"), std::string::npos);
}

TEST(ShellLink, LinkNamesEndingInLnkAreSavedAsDesktopEntriesAndReplaced) {
    TTempDir Dir;
    EXPECT_EQ(DesktopEntryFileName("/x/Vespera.LNK"), "/x/Vespera.desktop");
    EXPECT_EQ(DesktopEntryFileName("/x/Vespera.lnk"), "/x/Vespera.desktop");
    EXPECT_EQ(DesktopEntryFileName("/x/Vespera.desktop"), "/x/Vespera.desktop");
    TShellLinkInfo Info;
    Info.Path = "/opt/first";
    EXPECT_EQ(CreateShellLink(Dir / "Vespera.LNK", Info), 0);
    Info.Path = "/opt/second";
    EXPECT_EQ(CreateShellLink(Dir / "Vespera.LNK", Info), 0);
    EXPECT_NE(ReadFile(Dir / "Vespera.desktop").find("Exec=/opt/second\n"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(Dir / "Vespera.LNK"));
    EXPECT_LT(CreateShellLink(Dir / "missing/Vespera.LNK", Info), 0);
}
