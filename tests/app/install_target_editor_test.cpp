// Changing where the logos go without a window: a disk image's volumes as choices, the list of
// targets edited apart from the settings, targets tried out, and the places told to the user.

#include "app/install/image_target_choice.h"
#include "app/install/install_places_summary.h"
#include "app/install/install_target_editor.h"
#include "tests/platform/disk_image/disk_image_tools.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

const TTestPartition kData{1, 63, 20000, "6", 16, "DATA"};
const TTestPartition kNtfs{2, 20480, 20000, "7", 0, ""};
const TTestPartition kWin98{3, 40960, 80000, "c", 32, "WIN98"};

} // namespace

TEST(InstallTargetEditor, ChoosesAVolumeOfARealImageAndTriesTargetsOut) {
    SKIP_WITHOUT_TOOLS("mtools", "mkfs.fat", "sfdisk");
    TTempDir Dir;
    const std::string Image = Dir / "w98.img";
    MakePartitionedImage(Image, 64, {kData, kNtfs, kWin98});
    MakeFolder(Image, kWin98.Offset(), "t:/windows");
    MakeFolder(Image, kWin98.Offset(), "t:/windows/system");

    TImageTargetChoice Choice(Image);
    EXPECT_EQ(Choice.Summary(), "raw disk image, 64.0 MB, 3 partitions");
    EXPECT_EQ(Choice.Warning(), "");
    const std::vector<TImageVolumeRow>& Rows = Choice.Rows();
    ASSERT_EQ(Rows.size(), 4U);
    EXPECT_TRUE(Rows[0].Automatic);
    EXPECT_TRUE(Rows[0].Usable);
    EXPECT_EQ(Choice.Selected(), 0);
    const auto Row = [](const TImageVolumeRow& R) {
        return R.Name + "|" + R.Kind + "|" + R.Size + "|" + R.Label + "|" + R.WindowsFolder +
               (R.Usable ? "|usable" : "");
    };
    EXPECT_EQ(Row(Rows[1]), "1|FAT16|9.8 MB|DATA|none|usable");
    EXPECT_EQ(Row(Rows[2]), "2|not FAT: type 0x07, NTFS or exFAT|9.8 MB||");
    EXPECT_EQ(Row(Rows[3]), "3|FAT32|39.1 MB|WIN98|windows|usable");
    // A volume that is not FAT cannot be chosen.
    EXPECT_FALSE(Choice.SetSelected(2));
    EXPECT_EQ(Choice.Selected(), 0);

    std::string Error;
    auto Spec = Choice.Spec(Error);
    ASSERT_TRUE(Spec) << Error;
    EXPECT_EQ(FormatTargetSpec(*Spec), Image + "::");
    EXPECT_TRUE(Choice.SetSelected(3));
    Choice.SetFolder("\\windows\\system\\");
    Spec = Choice.Spec(Error);
    ASSERT_TRUE(Spec) << Error;
    EXPECT_EQ(FormatTargetSpec(*Spec), Image + "::3/windows/system");
    Choice.SetFolder("WIN*");
    EXPECT_FALSE(Choice.Spec(Error));
    EXPECT_NE(Error.find("\"WIN*\" is not a folder name"), std::string::npos) << Error;

    // The editor works on a copy: the settings change by Apply only.
    TProgramPlaces Places;
    Places.WindowsDir = Dir / "windows/";
    TInstallTargetList Saved;
    TInstallTargetEditor Editor(Places, Saved);
    EXPECT_EQ(Editor.Note(), "No targets: the logos go to the Windows folder found on this "
                             "machine, " +
                                 Dir / "windows.");
    EXPECT_EQ(Editor.OverrideNote(), "");
    int Changes = 0;
    const TEventConnection Counted = Editor.OnChange.Connect([&](TObject*) { ++Changes; });
    EXPECT_TRUE(Editor.Add({TTargetKind::tkDiskImage, Image, 3, "WINDOWS"}));
    EXPECT_TRUE(Editor.AddFolder(Dir / "share"));
    EXPECT_EQ(Editor.Selected(), 1);
    EXPECT_FALSE(Editor.Add({TTargetKind::tkDiskImage, Image, 3, "WINDOWS"}));
    EXPECT_EQ(Editor.Selected(), 0); // the one the list holds already
    EXPECT_EQ(Editor.Rows(),
              (std::vector<std::string>{Image + " (partition 3, folder WINDOWS)", Dir / "share"}));
    EXPECT_TRUE(Saved.Automatic());

    Editor.TestSelected();
    ASSERT_TRUE(Editor.TestResult());
    EXPECT_TRUE(Editor.TestResult()->Ok) << Editor.TestResult()->Text;
    EXPECT_EQ(Editor.TestResult()->Text, "OK: the logos can be written to " + Image +
                                             " (partition 3, FAT32 \"WIN98\", folder windows). It "
                                             "holds no logo files yet.");
    {
        // A running machine that writes to the disk.
        const TMachineLocks Machine(Image, {100, 101});
        Editor.TestSelected();
        EXPECT_FALSE(Editor.TestResult()->Ok);
        EXPECT_NE(Editor.TestResult()->Text.find(
                      "is in use by a running virtual machine; shut it down first"),
                  std::string::npos)
            << Editor.TestResult()->Text;
    }
    Editor.SetSelected(1);
    EXPECT_FALSE(Editor.TestResult()); // that was another target's
    Editor.TestSelected();
    EXPECT_EQ(Editor.TestResult()->Text, "The logos cannot be written here. The folder \"" +
                                             Dir / "share" + "\" does not exist.");
    std::filesystem::create_directories(Dir / "share");
    WriteFile(Dir / "share/logos.sys", "off");
    Editor.TestSelected();
    EXPECT_EQ(Editor.TestResult()->Text,
              "OK: the logos can be written to " + Dir / "share" + ". It holds logos.sys now.");
    const int ChangesSoFar = Changes;
    EXPECT_TRUE(Editor.RemoveSelected());
    EXPECT_EQ(Changes, ChangesSoFar + 1);
    EXPECT_EQ(Editor.Selected(), 0); // the last one gone, the one before it
    EXPECT_FALSE(Editor.TestResult());
    EXPECT_EQ(Editor.Note(), "The logos go to the target below.");

    Editor.Apply(Saved);
    EXPECT_EQ(Saved.Targets(), std::vector<std::string>{Image + "::3"});
}

TEST(InstallTargetEditor, ThePlacesSayWhatNamedThemAndWhatCannotBeChanged) {
    TProgramPlaces Places;
    Places.ProgramDir = "/opt/vespera/";
    Places.WindowsDir = "/home/me/.wine/drive_c/windows/";
    TInstallTargetList Targets;
    EXPECT_EQ(InstallPlacesSummary(ResolveInstallPlaces(Places, Targets)),
              "automatic: /home/me/.wine/drive_c/windows");

    Targets.SetTargets({"/vm/w98.img::2", "/vm/bad.img::0"});
    EXPECT_EQ(InstallPlacesSummary(ResolveInstallPlaces(Places, Targets)),
              "/vm/w98.img (partition 2, folder WINDOWS); /vm/bad.img::0 (not valid)");
    const std::string Details = InstallPlacesDetails(ResolveInstallPlaces(Places, Targets));
    EXPECT_NE(Details.find("\n/vm/bad.img::0 (not valid): \"/vm/bad.img::0\" names no valid "
                           "partition"),
              std::string::npos)
        << Details;

    // $VESPERA_WINDIR wins, and the user learns that the window cannot change it.
    Places.ForcedTarget = "/mnt/win98/WINDOWS";
    EXPECT_EQ(InstallPlacesSummary(ResolveInstallPlaces(Places, Targets)),
              "VESPERA_WINDIR (cannot be changed here): /mnt/win98/WINDOWS");
    EXPECT_NE(TInstallTargetEditor(Places, Targets).OverrideNote().find("/mnt/win98/WINDOWS"),
              std::string::npos);
}
