#include "app/program_places.h"
#include "tests/platform/test_files.h"

#include <gtest/gtest.h>
#include <unistd.h>

namespace {

// Runs the test in Folder as its current folder and goes back after.
class TCurrentFolder {
public:
    explicit TCurrentFolder(const std::string& Folder) : FOld(std::filesystem::current_path()) {
        std::filesystem::current_path(Folder);
    }
    TCurrentFolder(const TCurrentFolder&) = delete;
    TCurrentFolder& operator=(const TCurrentFolder&) = delete;
    ~TCurrentFolder() { std::filesystem::current_path(FOld); }

private:
    std::filesystem::path FOld;
};

} // namespace

TEST(ProgramPlaces, SettingsFileIsTheProgramsNameWithIniInTheProgramFolder) {
    TProgramPlaces Places;
    Places.ProgramFile = "/opt/vespera/bin/vespera";
    Places.ProgramDir = "/home/me/.config/vespera/";
    EXPECT_EQ(Places.SettingsFile(), "/home/me/.config/vespera/vespera.INI");
    Places.ProgramFile = "/opt/Vespera.exe";
    EXPECT_EQ(Places.SettingsFile(), "/home/me/.config/vespera/Vespera.INI");
}

TEST(ProgramPlaces, RelativeRecordFilesAreLookedForInTheCurrentThenTheProgramFolder) {
    TTempDir Dir;
    std::filesystem::create_directories(Dir / "program");
    std::filesystem::create_directories(Dir / "current");
    WriteFile(Dir / "program/both.txt", "program");
    WriteFile(Dir / "current/both.txt", "current");
    WriteFile(Dir / "program/only.txt", "program");
    TProgramPlaces Places;
    Places.ProgramDir = Dir / "program/";
    const TCurrentFolder Current(Dir / "current");
    EXPECT_EQ(Places.RecordFilePath("both.txt"), "both.txt");
    EXPECT_EQ(Places.RecordFilePath("only.txt"), Dir / "program/only.txt");
    EXPECT_EQ(Places.RecordFilePath("none.txt"), "none.txt");
    EXPECT_EQ(Places.RecordFilePath(Dir / "none.txt"), Dir / "none.txt");
    EXPECT_EQ(Places.RecordFilePath(""), "");
}

TEST(ProgramPlaces, AnInstalledProgramGetsTheSampleRecordFileOnce) {
    TTempDir Dir;
    std::filesystem::create_directories(Dir / "usr/bin");
    std::filesystem::create_directories(Dir / "usr/share/vespera");
    std::filesystem::create_directories(Dir / "config");
    WriteFile(Dir / "usr/share/vespera/vespera.txt", "sample");
    TProgramPlaces Places;
    Places.ProgramFile = Dir / "usr/bin/vespera";
    Places.ProgramDir = Dir / "config/";
    ProvideSampleRecordFile(Places);
    EXPECT_EQ(ReadFile(Dir / "config/vespera.txt"), "sample");
    WriteFile(Dir / "config/vespera.txt", "edited by the user");
    ProvideSampleRecordFile(Places);
    EXPECT_EQ(ReadFile(Dir / "config/vespera.txt"), "edited by the user");
    // A program that keeps its files in its own folder has its sample beside it already.
    Places.ProgramDir = Dir / "usr/bin/";
    ProvideSampleRecordFile(Places);
    EXPECT_FALSE(std::filesystem::exists(Dir / "usr/bin/vespera.txt"));
}
