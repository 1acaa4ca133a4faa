#include "platform/file_ops.h"
#include "platform/folders.h"
#include "platform/paths.h"
#include "tests/platform/test_files.h"

#include <gtest/gtest.h>
#include <optional>

namespace {

// Sets (or, with nullopt, removes) environment variables for one test and restores them after.
class TEnvironment {
public:
    ~TEnvironment() {
        for (auto It = FSaved.rbegin(); It != FSaved.rend(); ++It) {
            Apply(It->first, It->second);
        }
    }
    void Set(const std::string& Name, std::optional<std::string> Value) {
        const char* Old = std::getenv(Name.c_str());
        FSaved.emplace_back(Name, Old ? std::optional<std::string>(Old) : std::nullopt);
        Apply(Name, Value);
    }

private:
    static void Apply(const std::string& Name, const std::optional<std::string>& Value) {
        if (Value) {
            ::setenv(Name.c_str(), Value->c_str(), 1);
        } else {
            ::unsetenv(Name.c_str());
        }
    }
    std::vector<std::pair<std::string, std::optional<std::string>>> FSaved;
};

} // namespace

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

TEST(Folders, WindowsFolderFromTheEnvironmentThenWineThenTheDataFolder) {
    TTempDir Dir;
    TEnvironment Env;
    Env.Set("HOME", Dir / "home");
    Env.Set("WINEPREFIX", std::nullopt);
    Env.Set("XDG_DATA_HOME", std::nullopt);
    Env.Set("VESPERA_WINDIR", Dir / "forced/");
    EXPECT_EQ(GetWindowsDirectory(), Dir / "forced");
    EXPECT_EQ(WindowsDirectory(), Dir / "forced/");
    Env.Set("VESPERA_WINDIR", "/");
    EXPECT_EQ(WindowsDirectory(), "/");
    Env.Set("VESPERA_WINDIR", "");

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
    EXPECT_EQ(ProgramDirectory(), ExtractFilePath(Program));
    EXPECT_EQ(ProgramDirectory().back(), '/');
}
