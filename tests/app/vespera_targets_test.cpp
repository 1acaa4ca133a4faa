// "vespera /AUTO" into a disk image made by the field's tools (sfdisk, mkfs.fat), read back with
// mtools and checked with fsck.fat; the wrapper that runs it before an emulator; and targets
// that fail beside one that does not.

#include "tests/app/vespera_run_fixture.h"
#include "tests/platform/disk_image/disk_image_tools.h"

#include <gtest/gtest.h>

namespace {

constexpr std::size_t kLogoSize = 14 + 40 + 1024 + 320 * 400;
const TTestPartition kWin98{1, 2048, 96256, "c", 32, "WIN98"};

class VesperaTargetsTest : public VesperaRunTest {
protected:
    // A disk with a FAT32 partition whose WINDOWS folder holds the system's two logos.
    void MakeDisk() {
        MakePartitionedImage(Image, 48, {kWin98});
        MakeFolder(Image, kWin98.Offset(), "t:/WINDOWS");
        PutFile(Image, kWin98.Offset(), "t:/WINDOWS/LOGOW.SYS", SystemWait);
        PutFile(Image, kWin98.Offset(), "t:/WINDOWS/LOGOS.SYS", SystemOff);
    }
    std::string LogoInImage(const std::string& Name) const {
        return GetFile(Image, kWin98.Offset(), "t:/WINDOWS/" + Name).Out;
    }
    void ExpectSoundVolume() const {
        const TProcessResult Check = CheckVolume(Image, kWin98.Offset(), kWin98.Bytes());
        EXPECT_EQ(Check.ExitCode, 0) << Check.Out << Check.Err;
    }
    // The settings name Targets; $VESPERA_WINDIR is not set.
    void UseTargets(const std::string& Targets) {
        Env.Set("VESPERA_WINDIR", std::nullopt);
        WriteFile(Dir / "program/vespera.INI", "[Install Targets]\n" + Targets);
    }

    const std::string Image = Dir / "win98.img";
    const std::string SystemWait = RandomBytes(kLogoSize, 1);
    const std::string SystemOff = RandomBytes(kLogoSize, 2);
};

} // namespace

TEST_F(VesperaTargetsTest, AutoInstallsIntoADiskImageAsIntoAFolder) {
    SKIP_WITHOUT_TOOLS("mtools", "mkfs.fat", "fsck.fat", "sfdisk");
    ASSERT_NO_FATAL_FAILURE(MakeDisk());
    // The same clock chooses the same record: the logos a folder gets are those to expect.
    ASSERT_EQ(RunProcess({Program.Path(), "/AUTO"}).ExitCode, 0);
    const std::string First = ReadFile(Dir / "windows/logow.sys");
    const std::string Last = ReadFile(Dir / "windows/logos.sys");

    UseTargets("Target1=" + Image + "::\n");
    const TProcessResult Run = RunProcess({Program.Path(), "/AUTO"});
    ASSERT_EQ(Run.ExitCode, 0) << Run.Err;
    const std::string Wrote = "vespera: wrote " + Image + "::1/WINDOWS/LOGOW.SYS\nvespera: wrote " +
                              Image + "::1/WINDOWS/LOGOS.SYS\n";
    EXPECT_EQ(Run.Out, Wrote);
    EXPECT_TRUE(LogoInImage("LOGOW.SYS") == First);
    EXPECT_TRUE(LogoInImage("LOGOS.SYS") == Last);
    ExpectSoundVolume();

    // The system's logos were read out of the image into a backup folder of the image's own.
    EXPECT_NE(Run.Err.find("Vespera: A Backup of your existing logow.sys in " + Image +
                           " (partition 1, FAT32 \"WIN98\", folder WINDOWS) has been done\n"),
              std::string::npos)
        << Run.Err;
    const std::vector<std::string> Backups = FolderEntries(Dir / "program/backups");
    ASSERT_EQ(Backups.size(), 1U);
    EXPECT_TRUE(Backups[0].starts_with("win98.img-")) << Backups[0];
    const std::string Backup = Dir / ("program/backups/" + Backups[0]);
    EXPECT_EQ(FolderEntries(Backup), (std::vector<std::string>{"logos.sys", "logow.sys"}));
    EXPECT_TRUE(ReadFile(Backup + "/logow.sys") == SystemWait);
    EXPECT_TRUE(ReadFile(Backup + "/logos.sys") == SystemOff);

    // The wrapper in front of an emulator's command, with $VESPERA_WINDIR naming the image file
    // alone: the logos are written (the backups are not made again), then the command runs with
    // its arguments as they were; Vespera's lines go to standard error, the emulator's output
    // stays its own.
    Env.Set("VESPERA", Program.Path());
    const std::string Boot = std::filesystem::path(VESPERA_PATH).parent_path() / "vespera-boot";
    const TProcessResult Booted = RunProcess(
        {Boot, "--target", Image, "printf", "[%s]", "a b", "", "*", "--target", "$HOME", "-x"});
    EXPECT_EQ(Booted.ExitCode, 0) << Booted.Err;
    EXPECT_EQ(Booted.Out, "[a b][][*][--target][$HOME][-x]");
    EXPECT_NE(Booted.Err.find(Wrote), std::string::npos) << Booted.Err;
    EXPECT_EQ(Booted.Err.find("Backup"), std::string::npos) << Booted.Err;
    EXPECT_EQ(FolderEntries(Dir / "program/backups").size(), 1U);
    ExpectSoundVolume();

    // When the logos cannot be written, the machine starts all the same.
    const TProcessResult Failed =
        RunProcess({Boot, "--target=" + Dir / "missing.img::", "--", "printf", "started"});
    EXPECT_EQ(Failed.ExitCode, 0);
    EXPECT_EQ(Failed.Out, "started");
    EXPECT_NE(Failed.Err.find("does not exist"), std::string::npos) << Failed.Err;
}

TEST_F(VesperaTargetsTest, AFailingTargetIsToldAndTheOthersAreStillDone) {
    SKIP_WITHOUT_TOOLS("mtools", "mkfs.fat", "sfdisk");
    ASSERT_NO_FATAL_FAILURE(MakeDisk());
    UseTargets("Target1=" + Image + "::\nTarget2=nowhere.img::0\nTarget3=" +
               Dir / "windows\nTarget4=" + Dir / "win98.imgg\n");
    const std::string Before = ReadFile(Image);
    TProcessResult Run;
    {
        // A running machine that reads the disk and lets nobody write to it.
        const TMachineLocks Machine(Image, {100, 201});
        Run = RunProcess({Program.Path(), "/AUTO"});
    }
    EXPECT_EQ(Run.ExitCode, 1);
    EXPECT_EQ(Run.Out, "vespera: wrote " + Dir / "windows/logow.sys\nvespera: wrote " +
                           Dir / "windows/logos.sys\n");
    // The backups found the place first: the message names the partition used.
    EXPECT_NE(Run.Err.find("Vespera: " + Image + "::1/WINDOWS/LOGOW.SYS: The disk image \"" +
                           Image +
                           "\" is in use by a running virtual machine; shut it down first.\n"),
              std::string::npos)
        << Run.Err;
    EXPECT_NE(Run.Err.find("Vespera: Install target: \"nowhere.img::0\" names no valid partition"),
              std::string::npos)
        << Run.Err;
    // A mistyped image name is neither a disk image nor a folder.
    EXPECT_NE(Run.Err.find("\"" + Dir / "win98.imgg" +
                           "\" does not exist: no disk image or folder of that name.\n"),
              std::string::npos)
        << Run.Err;
    EXPECT_FALSE(std::filesystem::exists(Dir / "win98.imgg"));
    EXPECT_TRUE(ReadFile(Image) == Before) << "the image changed";
    // Reading is what such a machine lets others do: the backups were made.
    const std::vector<std::string> Backups = FolderEntries(Dir / "program/backups");
    ASSERT_EQ(Backups.size(), 1U);
    EXPECT_TRUE(ReadFile(Dir / ("program/backups/" + Backups[0] + "/logow.sys")) == SystemWait);
}

// The same place written other ways (the partition found, a link to the image, "~" for the
// home folder, another case of the folder) keeps the one set of backups made first: the
// system's own logos, never Vespera's.
TEST_F(VesperaTargetsTest, ThePlaceFoundKeepsOneSetOfBackupsHoweverItIsWritten) {
    SKIP_WITHOUT_TOOLS("mtools", "mkfs.fat", "sfdisk");
    ASSERT_NO_FATAL_FAILURE(MakeDisk());
    std::filesystem::create_directories(Dir / "home/vms");
    std::filesystem::create_symlink(Image, Dir / "home/vms/w98.img");
    const auto Backups = [&] { return FolderEntries(Dir / "program/backups"); };

    UseTargets("Target1=" + Image + "::\n");
    ASSERT_EQ(RunProcess({Program.Path(), "/AUTO"}).ExitCode, 0);
    ASSERT_EQ(Backups().size(), 1U);
    const std::string Backup = Dir / ("program/backups/" + Backups()[0]);

    UseTargets("Target1=" + Dir / "home/vms/w98.img::1\n");
    const TProcessResult Spelt = RunProcess({Program.Path(), "/AUTO"});
    EXPECT_EQ(Spelt.ExitCode, 0) << Spelt.Err;
    EXPECT_EQ(Spelt.Out, "vespera: wrote " + Dir / "home/vms/w98.img::1/WINDOWS/LOGOW.SYS\n" +
                             "vespera: wrote " + Dir / "home/vms/w98.img::1/WINDOWS/LOGOS.SYS\n");
    EXPECT_EQ(Spelt.Err.find("Backup"), std::string::npos) << Spelt.Err;

    Env.Set("VESPERA", Program.Path());
    const std::string Boot = std::filesystem::path(VESPERA_PATH).parent_path() / "vespera-boot";
    const TProcessResult Booted =
        RunProcess({Boot, "--target=~/vms/w98.img::/Windows", "printf", "started"});
    EXPECT_EQ(Booted.ExitCode, 0);
    EXPECT_EQ(Booted.Out, "started");
    EXPECT_NE(Booted.Err.find("vespera: wrote " + Dir / "home/vms/w98.img::1/WINDOWS/LOGOS.SYS"),
              std::string::npos)
        << Booted.Err;
    EXPECT_EQ(Booted.Err.find("Backup"), std::string::npos) << Booted.Err;

    EXPECT_EQ(Backups().size(), 1U);
    EXPECT_TRUE(ReadFile(Backup + "/logow.sys") == SystemWait);
    EXPECT_TRUE(ReadFile(Backup + "/logos.sys") == SystemOff);
    ExpectSoundVolume();
}
