#include "app/install/install_places.h"
#include "app/install/install_target_list.h"
#include "app/install/program_places.h"
#include "tests/platform/test_files.h"

#include <chrono>
#include <gtest/gtest.h>
#include <regex>
#include <set>
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

TEST(InstallPlaces, OverrideThenSettingsThenTheWindowsFolderEachWithItsOwnBackups) {
    TTempDir Dir;
    std::filesystem::create_directories(Dir / "wine/drive_c/windows");
    std::filesystem::create_directory_symlink(Dir / "wine/drive_c", Dir / "c");
    WriteFile(Dir / "disk.img", "an image");
    TProgramPlaces Places;
    Places.ProgramDir = Dir / "program/";
    Places.WindowsDir = Dir / "wine/drive_c/windows/";
    TInstallTargetList Targets;

    const auto Only = [&] {
        const std::vector<TInstallPlace> Found = ResolveInstallPlaces(Places, Targets);
        EXPECT_EQ(Found.size(), 1U);
        return Found.front();
    };
    const TInstallPlace Automatic = Only();
    EXPECT_EQ(Automatic.Source, TPlaceSource::psAutomatic);
    EXPECT_EQ(Automatic.Spec, (TTargetSpec{TTargetKind::tkFolder, Places.WindowsDir}));
    EXPECT_EQ(Automatic.BackupDir, Places.ProgramDir);

    // The Windows folder named in the settings, however, keeps its backups where they were.
    Targets.SetTargets(
        {Dir / "c/windows", Dir / "disk.img", Dir / "disk.img::2/win/sys", "a::0", Dir / "wine"});
    const std::vector<TInstallPlace> Set = ResolveInstallPlaces(Places, Targets);
    ASSERT_EQ(Set.size(), 5U);
    EXPECT_EQ(Set[0].BackupDir, Places.ProgramDir);
    EXPECT_TRUE(Set[0].BackupsInProgramFolder);
    ASSERT_TRUE(Set[1].Spec);
    EXPECT_EQ(Set[1].Spec->Kind, TTargetKind::tkDiskImage);
    const std::regex Safe("backups/[A-Za-z0-9_][A-Za-z0-9._-]*-[0-9a-f]{16}/");
    const std::string Image = BackupFolderName(*Set[1].Spec);
    EXPECT_TRUE(std::regex_match(Image, Safe)) << Image;
    EXPECT_TRUE(Image.starts_with("backups/disk.img-")) << Image;
    EXPECT_EQ(Set[1].BackupDir, Places.ProgramDir + Image);
    EXPECT_FALSE(Set[1].BackupsInProgramFolder);
    EXPECT_TRUE(Set[2].BackupDir.starts_with(Places.ProgramDir + "backups/disk.img-2-win_sys-"));
    EXPECT_FALSE(Set[3].Spec);
    EXPECT_FALSE(Set[3].Error.empty());
    EXPECT_NE(Set[4].BackupDir, Places.ProgramDir);
    std::vector<std::string> Folders;
    for (const TInstallPlace& Place : Set) {
        Folders.push_back(Place.BackupDir);
    }
    EXPECT_EQ(std::set<std::string>(Folders.begin(), Folders.end()).size(), 5U);

    // The same image written another way keeps its backup folder; names are safe as folders.
    std::string Error;
    EXPECT_EQ(BackupFolderName(*ParseTargetSpec(Dir / "c/../disk.img::", Error)), Image);
    EXPECT_TRUE(std::regex_match(BackupFolderName({TTargetKind::tkFolder, "/"}), Safe));
    const std::string Odd =
        BackupFolderName({TTargetKind::tkFolder, "/x/.a b\\c\n:*?" + std::string(60, 'z')});
    EXPECT_TRUE(std::regex_match(Odd, Safe)) << Odd;

    // $VESPERA_WINDIR alone: a folder with the backups as ever, an image with its own.
    Places.ForcedTarget = Dir / "disk.img";
    const TInstallPlace Forced = Only();
    EXPECT_EQ(Forced.Source, TPlaceSource::psOverride);
    EXPECT_EQ(Forced.BackupDir, Places.ProgramDir + Image);
    Places.ForcedTarget = Dir / "elsewhere/";
    EXPECT_EQ(Only().BackupDir, Places.ProgramDir);
    EXPECT_EQ(Only().Spec->Kind, TTargetKind::tkFolder);
}

// A disk image's backups belong to the place found in it, however the target is written; the
// folder that older versions gave the automatic choice of "IMAGE::" stays the place's while the
// backups it holds were made first.
TEST(InstallPlaces, ADiskImageKeepsTheBackupsOfThePlaceFound) {
    TTempDir Dir;
    WriteFile(Dir / "disk.img", "an image");
    std::filesystem::create_symlink(Dir / "disk.img", Dir / "link.img");
    TProgramPlaces Places;
    Places.ProgramDir = Dir / "program/";
    TInstallTargetList Targets;
    Targets.SetTargets({Dir / "disk.img::", Dir / "link.img::1/windows", Dir / "disk.img"});
    const std::vector<TInstallPlace> Set = ResolveInstallPlaces(Places, Targets);
    ASSERT_EQ(Set.size(), 3U);
    const TTargetSpec Found{TTargetKind::tkDiskImage, Dir / "disk.img", 1, "Windows"};
    const std::string Own = Places.ProgramDir + BackupFolderName(Found);
    for (const TInstallPlace& Place : Set) {
        EXPECT_EQ(PlaceBackupDir(Place, Found), Own) << Place.Text;
    }

    // The originals that an older version kept for "disk.img::".
    const std::string Older = Set[0].BackupDir;
    ASSERT_NE(Older, Own);
    std::filesystem::create_directories(Older);
    WriteFile(Older + "logow.sys", "the system's own");
    for (const TInstallPlace& Place : Set) {
        EXPECT_EQ(PlaceBackupDir(Place, Found), Older) << Place.Text;
    }
    // Of two sets, the one made first holds the system's own logos.
    std::filesystem::create_directories(Own);
    WriteFile(Own + "logos.sys", "made later");
    EXPECT_EQ(PlaceBackupDir(Set[1], Found), Older);
    std::filesystem::last_write_time(Own + "logos.sys",
                                     std::filesystem::last_write_time(Older + "logow.sys") -
                                         std::chrono::hours(1));
    EXPECT_EQ(PlaceBackupDir(Set[1], Found), Own);
}
