#include "platform/file_ops.h"
#include "platform/folders.h"
#include "platform/paths.h"
#include "tests/platform/test_files.h"
#include "tests/support/environment.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <optional>

TEST(Paths, TrailingSeparatorFolderPartAndExtension) {
    EXPECT_EQ(IncludeTrailingPathDelimiter("/"), "/"); // no second separator
    EXPECT_EQ(IncludeTrailingPathDelimiter("/opt/win"), "/opt/win/");
    EXPECT_EQ(IncludeTrailingPathDelimiter("/opt/win/"), "/opt/win/");
    EXPECT_EQ(ExtractFilePath("/opt/vespera/vespera"), "/opt/vespera/");
    EXPECT_EQ(ExtractFilePath("vespera"), "");
    EXPECT_EQ(ChangeFileExt("/opt/vespera/Vespera.exe", ".INI"), "/opt/vespera/Vespera.INI");
    EXPECT_EQ(ChangeFileExt("/opt/v1.2/vespera", ".INI"), "/opt/v1.2/vespera.INI");
    EXPECT_EQ(ChangeFileExt("a.b.c", ".INI"), "a.b.INI");
}

TEST(Paths, NameAndFolderPartsSplitAtTheLastSlash) {
    EXPECT_EQ(ExtractFileName("/home/me/logow.sys"), "logow.sys");
    EXPECT_EQ(ExtractFileName("logow.sys"), "logow.sys");
    EXPECT_EQ(ExtractFileName("/home/me/"), "");
    EXPECT_EQ(ExtractFileName(""), "");
    for (const std::string Path : {"/home/me/logow.sys", "logow.sys", "/home/me/", "a/b"}) {
        EXPECT_EQ(ExtractFilePath(Path) + ExtractFileName(Path), Path);
    }
}

TEST(Paths, TrailingSlashesGoButTheRootStays) {
    EXPECT_EQ(ExcludeTrailingPathDelimiter("/home/me/"), "/home/me");
    EXPECT_EQ(ExcludeTrailingPathDelimiter("/home/me///"), "/home/me");
    EXPECT_EQ(ExcludeTrailingPathDelimiter("/home/me"), "/home/me");
    EXPECT_EQ(ExcludeTrailingPathDelimiter("/"), "/");
    EXPECT_EQ(ExcludeTrailingPathDelimiter("///"), "/");
    EXPECT_EQ(ExcludeTrailingPathDelimiter(""), "");
}

TEST(Paths, ExpandedNamesAreAbsoluteAndClean) {
    const std::string Here = ExcludeTrailingPathDelimiter(std::filesystem::current_path());
    EXPECT_EQ(ExpandFileName("vespera.txt"), Here + "/vespera.txt");
    EXPECT_EQ(ExpandFileName("./a/../b//vespera.txt"), Here + "/b/vespera.txt");
    EXPECT_EQ(ExpandFileName("/x/./y/../z"), "/x/z");
}

TEST(Folders, WindowsFolderFromWineThenTheDataFolder) {
    TTempDir Dir;
    TEnvironment Env;
    Env.Set("HOME", Dir / "home");
    Env.Set("WINEPREFIX", std::nullopt);
    Env.Set("XDG_DATA_HOME", std::nullopt);
    // $VESPERA_WINDIR overrides the install targets, not the Windows folder found here.
    Env.Set("VESPERA_WINDIR", Dir / "forced/");
    EXPECT_EQ(InstallTargetOverride(), Dir / "forced/");

    // No Wine prefix anywhere: the data folder, created.
    EXPECT_EQ(GetWindowsDirectory(), Dir / "home/.local/share/vespera/windows");
    EXPECT_TRUE(std::filesystem::is_directory(Dir / "home/.local/share/vespera/windows"));
    Env.Set("XDG_DATA_HOME", Dir / "data");
    EXPECT_EQ(GetWindowsDirectory(), Dir / "data/vespera/windows");
    Env.Set("XDG_DATA_HOME", "relative/data"); // invalid, so ignored
    EXPECT_EQ(GetWindowsDirectory(), Dir / "home/.local/share/vespera/windows");

    // ~/.wine when it has a Windows folder; $WINEPREFIX first when it has one.
    std::filesystem::create_directories(Dir / "home/.wine/drive_c/windows");
    EXPECT_EQ(GetWindowsDirectory(), Dir / "home/.wine/drive_c/windows");
    Env.Set("WINEPREFIX", Dir / "empty-prefix");
    EXPECT_EQ(GetWindowsDirectory(), Dir / "home/.wine/drive_c/windows");
    std::filesystem::create_directories(Dir / "prefix/drive_c/windows");
    Env.Set("WINEPREFIX", Dir / "prefix");
    EXPECT_EQ(WindowsDirectory(), Dir / "prefix/drive_c/windows/");
}

TEST(Folders, ProgramFolderIsTheRunningProgramsFolder) {
    const std::string Program = ProgramFileName();
    ASSERT_FALSE(Program.empty());
    EXPECT_TRUE(FileExists(Program));
    EXPECT_NE(Program.find("platform_tests"), std::string::npos);
    // The build folder can be written to and lies outside /usr: it is the program folder.
    EXPECT_EQ(ProgramDirectoryOf(Program), ExtractFilePath(Program));
    EXPECT_EQ(ProgramDirectoryOf(Program).back(), '/');
}

TEST(Folders, ProgramFolderOfAnInstalledOrReadOnlyProgramIsTheConfigurationFolder) {
    TTempDir Dir;
    TEnvironment Env;
    Env.Set("HOME", Dir / "home");
    Env.Set("XDG_CONFIG_HOME", std::nullopt);
    std::filesystem::create_directories(Dir / "portable");
    EXPECT_EQ(ProgramDirectoryOf(Dir / "portable/vespera"), Dir / "portable/");

    // Under /usr the user's configuration folder takes its place, created when missing.
    EXPECT_EQ(ProgramDirectoryOf("/usr/bin/vespera"), Dir / "home/.config/vespera/");
    EXPECT_TRUE(std::filesystem::is_directory(Dir / "home/.config/vespera"));
    Env.Set("XDG_CONFIG_HOME", Dir / "config");
    EXPECT_EQ(ProgramDirectoryOf("/usr/local/bin/vespera"), Dir / "config/vespera/");
    Env.Set("XDG_CONFIG_HOME", "relative"); // invalid, so ignored
    EXPECT_EQ(ConfigHome(), Dir / "home/.config");
    // A folder that is not there cannot be written to either.
    EXPECT_EQ(ProgramDirectoryOf(Dir / "gone/vespera"), Dir / "home/.config/vespera/");
    EXPECT_EQ(ProgramDirectoryOf("vespera"), "./");
}

TEST(Folders, StartupFolderIsTheAutostartFolderCreatedWhenMissing) {
    TTempDir Dir;
    TEnvironment Env;
    Env.Set("HOME", Dir / "home");
    Env.Set("XDG_CONFIG_HOME", std::nullopt);
    EXPECT_EQ(GetStartupFolder(), Dir / "home/.config/autostart");
    EXPECT_TRUE(std::filesystem::is_directory(Dir / "home/.config/autostart"));
    Env.Set("XDG_CONFIG_HOME", Dir / "config/");
    EXPECT_EQ(GetStartupFolder(), Dir / "config/autostart");
    EXPECT_TRUE(std::filesystem::is_directory(Dir / "config/autostart"));
}
