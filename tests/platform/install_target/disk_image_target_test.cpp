// Logos installed into disk images made by the field's tools, read back with mtools and checked
// with fsck.fat; and every refusal leaving the image's bytes as they were.

#include "platform/disk_image/disk_image_error.h"
#include "platform/disk_image/image_file.h"
#include "platform/disk_image/image_lock.h"
#include "platform/disk_image/qemu_view.h"
#include "platform/install_target/install_target.h"
#include "platform/install_target/target_check.h"
#include "tests/platform/disk_image/disk_image_tools.h"
#include "tests/support/read_only.h"

#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <regex>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

constexpr std::size_t kLogoSize = 14 + 40 + 1024 + 320 * 400;

// The bytes of Image outside Size bytes from Offset.
std::string BytesOutside(const std::string& Image, std::uint64_t Offset, std::uint64_t Size) {
    return ReadBytes(Image, 0, Offset) +
           ReadBytes(Image, Offset + Size, std::filesystem::file_size(Image) - Offset - Size);
}

struct TImageCase {
    std::string Name;
    std::function<void(const std::string& Image)> Make;
    std::string Place;                // what follows the image's path in the target
    TTestPartition Volume;            // where the logos must land
    std::vector<std::string> Folders; // made on the volume; the logos go to the last one
    bool OldLogos = false;            // whether the image holds logos before the first install
    bool Vhd = false;                 // made into a fixed VHD with qemu-img
};

void MakeOldLogos(const std::string& Image, const TImageCase& Case) {
    for (const std::string& Folder : Case.Folders) {
        MakeFolder(Image, Case.Volume.Offset(), Folder);
    }
    if (Case.OldLogos) {
        const std::string& Folder = Case.Folders.back();
        PutFile(Image, Case.Volume.Offset(), Folder + "/LOGOW.SYS", RandomBytes(kLogoSize, 1));
        PutFile(Image, Case.Volume.Offset(), Folder + "/LOGOS.SYS", RandomBytes(kLogoSize, 2));
    }
}

std::vector<TImageCase> ImageCases() {
    const TTestPartition Fat16At63{1, 63, 40000, "6", 16, "WIN98"};
    const TTestPartition Fat32At2048{1, 2048, 96256, "c", 32, "WIN98"};
    const TTestPartition Floppy{0, 0, 2880, "", 12, "BOOT"};
    const TTestPartition FirstData{1, 63, 20000, "6", 16, "DATA"};
    const TTestPartition SecondWindows{2, 20480, 40960, "e", 16, "WIN98"};
    const TTestPartition Extended{3, 61440, 69632, "5", 0, ""};
    const TTestPartition Logical{5, 63488, 67584, "c", 32, "LOGICAL"};
    std::vector<TImageCase> Cases;
    Cases.push_back(
        {"FAT16 at sector 63",
         [=](const std::string& Image) { MakePartitionedImage(Image, 24, {Fat16At63}); },
         "::",
         Fat16At63,
         {"t:/WINDOWS"},
         true});
    Cases.push_back(
        {"FAT32 at sector 2048, folder in lower case",
         [=](const std::string& Image) { MakePartitionedImage(Image, 48, {Fat32At2048}); },
         "::",
         Fat32At2048,
         {"t:/windows"},
         true});
    Cases.push_back({"bare FAT12 floppy",
                     [](const std::string& Image) { MakeFloppyImage(Image); },
                     "",
                     Floppy,
                     {"t:/WINDOWS"},
                     false});
    Cases.push_back({"second partition chosen for its WINDOWS folder",
                     [=](const std::string& Image) {
                         MakePartitionedImage(Image, 32, {FirstData, SecondWindows});
                     },
                     "::",
                     SecondWindows,
                     {"t:/Windows"},
                     true});
    Cases.push_back({"logical partition with another folder",
                     [=](const std::string& Image) {
                         MakePartitionedImage(Image, 64, {FirstData, Extended, Logical});
                     },
                     "::5/win98/system",
                     Logical,
                     {"t:/WIN98", "t:/WIN98/SYSTEM"},
                     false});
    Cases.push_back(
        {"fixed VHD",
         [=](const std::string& Image) { MakePartitionedImage(Image, 24, {Fat16At63}); },
         "::1",
         Fat16At63,
         {"t:/WINDOWS"},
         true,
         true});
    return Cases;
}

// Installs both logos twice over (Round 1 and 2) and checks each time what the image holds.
void InstallAndCheck(const std::string& Image, const TImageCase& Case, TTempDir& Dir) {
    std::string Error;
    const auto Spec = ParseTargetSpec(Image + Case.Place, Error);
    ASSERT_TRUE(Spec) << Error;
    ASSERT_EQ(Spec->Kind, TTargetKind::tkDiskImage);
    const auto Target = MakeInstallTarget(*Spec);
    const std::uint64_t Offset = Case.Volume.Offset();
    const std::string& Folder = Case.Folders.back();
    const std::string Outside = BytesOutside(Image, Offset, Case.Volume.Bytes());

    for (const char* Name : {"logow.sys", "logos.sys"}) {
        ASSERT_EQ(Target->LogoExists(Name), Case.OldLogos) << Name;
        if (Case.OldLogos) {
            const std::string Backup = Dir / Name;
            Target->CopyLogo(Name, Backup);
            EXPECT_EQ(ReadFile(Backup), GetFile(Image, Offset, Folder + "/" + Name).Out);
            EXPECT_THROW(Target->CopyLogo(Name, Backup), Exception) << "a backup is made once";
        }
    }
    for (unsigned Round = 1; Round <= 2; ++Round) {
        const std::string First = RandomBytes(kLogoSize, 10 * Round);
        const std::string Second = RandomBytes(kLogoSize - 1000 * Round, 10 * Round + 1);
        Target->ReplaceLogo("logow.sys", First);
        Target->ReplaceLogo("logos.sys", Second);

        EXPECT_EQ(GetFile(Image, Offset, Folder + "/LOGOW.SYS").Out, First);
        EXPECT_EQ(GetFile(Image, Offset, Folder + "/LOGOS.SYS").Out, Second);
        EXPECT_EQ(Target->ReadLogo("LOGOW.SYS"), First);
        // Upper-case 8.3 entries without long names, as the system keeps its own files; no
        // temporary file left.
        const TProcessResult Listing = Mtools(Image, Offset, {"mdir", "-a", "-b", Folder});
        EXPECT_NE(Listing.Out.find("/LOGOW.SYS\n"), std::string::npos) << Listing.Out;
        EXPECT_NE(Listing.Out.find("/LOGOS.SYS\n"), std::string::npos) << Listing.Out;
        EXPECT_EQ(Listing.Out.find('~'), std::string::npos) << Listing.Out;

        const TProcessResult Check = CheckVolume(Image, Offset, Case.Volume.Bytes());
        EXPECT_EQ(Check.ExitCode, 0) << Check.Out << Check.Err;
        EXPECT_EQ(BytesOutside(Image, Offset, Case.Volume.Bytes()), Outside)
            << "only the volume changes";
    }
}

} // namespace

TEST(DiskImageTarget, InstallsIntoEveryKindOfImage) {
    SKIP_WITHOUT_TOOLS("mtools", "mkfs.fat", "fsck.fat", "sfdisk");
    for (const TImageCase& Case : ImageCases()) {
        SCOPED_TRACE(Case.Name);
        if (Case.Vhd && FindProgram("qemu-img").empty()) {
            std::cout << "not installed: qemu-img; the VHD case is skipped\n";
            continue;
        }
        TTempDir Dir;
        const std::string Raw = Dir / "disk.img";
        Case.Make(Raw);
        MakeOldLogos(Raw, Case);
        std::string Image = Raw;
        if (Case.Vhd) {
            Image = Dir / "disk.vhd";
            const TProcessResult Made = RunProcess({"qemu-img", "convert", "-f", "raw", "-O", "vpc",
                                                    "-o", "subformat=fixed", Raw, Image});
            ASSERT_EQ(Made.ExitCode, 0) << Made.Err;
        }
        const auto Footer = [&] {
            return ReadBytes(Image, std::filesystem::file_size(Image) - 512, 512);
        };
        const std::string FooterBefore = Footer();
        InstallAndCheck(Image, Case, Dir);
        EXPECT_EQ(Footer(), FooterBefore);
    }
}

namespace {

// Expects Action to raise an EDiskImage whose message holds Expected, leaving Image's bytes as
// they were.
void ExpectRefusal(const std::string& Image, const std::string& Expected,
                   const std::function<void()>& Action) {
    const std::string Before = ReadFile(Image);
    try {
        Action();
        ADD_FAILURE() << "no refusal; expected: " << Expected;
    } catch (const EDiskImage& Failure) {
        EXPECT_NE(Failure.Message().find(Expected), std::string::npos) << Failure.Message();
    }
    EXPECT_TRUE(ReadFile(Image) == Before) << "the image changed";
}

std::unique_ptr<TInstallTarget> TargetOf(const std::string& Text) {
    std::string Error;
    const auto Spec = ParseTargetSpec(Text, Error);
    EXPECT_TRUE(Spec) << Error;
    return MakeInstallTarget(*Spec);
}

const TTestPartition kWin98{1, 63, 20000, "6", 16, "WIN98"};

void MakeWindowsImage(const std::string& Image) {
    MakePartitionedImage(Image, 12, {kWin98});
    MakeFolder(Image, kWin98.Offset(), "t:/WINDOWS");
    PutFile(Image, kWin98.Offset(), "t:/WINDOWS/LOGOW.SYS", RandomBytes(kLogoSize, 1));
}

// Marks the clusters of the file Path (mtools' "t:/...") on the FAT16 volume at Offset free in
// both FATs, as a write cut off between the file's directory entry and the FAT leaves them.
void FreeClustersOf(const std::string& Image, std::uint64_t Offset, const std::string& Path) {
    const TProcessResult Chain = Mtools(Image, Offset, {"mshowfat", Path});
    ASSERT_EQ(Chain.ExitCode, 0) << Chain.Err;
    const std::string Boot = ReadBytes(Image, Offset, 512);
    const auto Word = [&](std::size_t At) {
        return static_cast<std::uint8_t>(Boot[At]) | static_cast<std::uint8_t>(Boot[At + 1]) << 8;
    };
    const std::uint64_t Reserved = Word(14), FatSectors = Word(22);
    const int Fats = static_cast<std::uint8_t>(Boot[16]);
    std::fstream Out(Image, std::ios::in | std::ios::out | std::ios::binary);
    static const std::regex Range(R"(<(\d+)(?:-(\d+))?>)");
    for (auto It = std::sregex_iterator(Chain.Out.begin(), Chain.Out.end(), Range);
         It != std::sregex_iterator(); ++It) {
        const std::uint64_t First = std::stoull((*It)[1]);
        const std::uint64_t Last = (*It)[2].matched ? std::stoull((*It)[2]) : First;
        for (int Fat = 0; Fat < Fats; ++Fat) {
            for (std::uint64_t Cluster = First; Cluster <= Last; ++Cluster) {
                Out.seekp(static_cast<std::streamoff>(
                    Offset + (Reserved + Fat * FatSectors) * kSector + 2 * Cluster));
                Out.write("\0\0", 2);
            }
        }
    }
}

} // namespace

TEST(DiskImageTarget, RefusesWhatItCannotDoWithTheImageUnchanged) {
    SKIP_WITHOUT_TOOLS("mtools", "mkfs.fat", "sfdisk");
    TTempDir Dir;
    const std::string New = RandomBytes(kLogoSize, 7);
    {
        SCOPED_TRACE("full volume");
        const std::string Image = Dir / "full.img";
        MakeFloppyImage(Image);
        MakeFolder(Image, 0, "t:/WINDOWS");
        PutFile(Image, 0, "t:/WINDOWS/LOGOW.SYS", RandomBytes(kLogoSize, 1));
        PutFile(Image, 0, "t:/FILLER", RandomBytes(1200000, 3));
        ExpectRefusal(Image, "not enough room",
                      [&] { TargetOf(Image)->ReplaceLogo("logow.sys", New); });
    }
    {
        SCOPED_TRACE("read-only image");
        const std::string Image = Dir / "read-only.img";
        MakeWindowsImage(Image);
        const TReadOnly Lock(Image);
        if (Lock.Ok()) {
            const auto Target = TargetOf(Image + "::");
            ExpectRefusal(Image, "cannot be written",
                          [&] { Target->ReplaceLogo("logow.sys", New); });
            EXPECT_EQ(Target->ReadLogo("logow.sys"), RandomBytes(kLogoSize, 1));
        } else {
            std::cout << "the image cannot be made read-only here; case skipped\n";
        }
    }
    {
        SCOPED_TRACE("no Windows folder, a partition that is not there");
        const std::string Image = Dir / "no-windows.img";
        MakePartitionedImage(Image, 12, {kWin98});
        ExpectRefusal(Image, "has a folder \"WINDOWS\"",
                      [&] { TargetOf(Image + "::")->ReplaceLogo("logow.sys", New); });
        ExpectRefusal(Image, "has no folder \"WIN\"",
                      [&] { TargetOf(Image + "::1/WIN")->ReplaceLogo("logow.sys", New); });
        ExpectRefusal(Image, "has no partition 3",
                      [&] { TargetOf(Image + "::3")->ReplaceLogo("logow.sys", New); });
    }
    {
        SCOPED_TRACE("NTFS-typed partition");
        const std::string Image = Dir / "ntfs.img";
        MakePartitionedImage(Image, 12, {{1, 2048, 20000, "7", 0, ""}});
        ExpectRefusal(Image, "holds no FAT volume",
                      [&] { TargetOf(Image + "::")->ReplaceLogo("logow.sys", New); });
        ExpectRefusal(Image, "is not a FAT volume (not FAT: type 0x07, NTFS or exFAT)",
                      [&] { TargetOf(Image + "::1")->ReplaceLogo("logow.sys", New); });
    }
    {
        SCOPED_TRACE("why no partition was taken, and partitions that cannot be");
        const std::string Image = Dir / "no-place.img";
        MakePartitionedImage(Image, 32,
                             {{1, 2048, 8192, "7", 0, ""},
                              {2, 10240, 8192, "6", 0, ""},
                              {3, 18432, 20480, "6", 16, "DATA"},
                              {4, 40960, 20480, "6", 0, ""}});
        std::filesystem::resize_file(Image, 24 * 1024 * 1024);
        ExpectRefusal(Image,
                      "No FAT volume of the disk image \"" + Image +
                          "\" has a folder \"WINDOWS\": partition 1 is not a FAT volume (not "
                          "FAT: type 0x07, NTFS or exFAT); partition 2 has type 0x06 (FAT) but no "
                          "FAT volume inside; partition 3 (FAT16 \"DATA\") has none; partition 4 "
                          "reaches beyond the end of the image.",
                      [&] { TargetOf(Image + "::")->ReplaceLogo("logow.sys", New); });
        ExpectRefusal(Image,
                      "Partition 2 of the disk image \"" + Image +
                          "\" has type 0x06 (FAT) but no FAT volume inside; Vespera writes only "
                          "to FAT12, FAT16 and FAT32 volumes.",
                      [&] { TargetOf(Image + "::2")->ReplaceLogo("logow.sys", New); });

        const std::string Gpt = Dir / "gpt.img";
        ASSERT_EQ(RunProcess({"truncate", "-s", "8M", Gpt}).ExitCode, 0);
        ASSERT_EQ(
            RunProcess({"sh", "-c", "printf 'label: gpt\\n,4M\\n' | sfdisk -q \"$1\"", "sh", Gpt})
                .ExitCode,
            0);
        ExpectRefusal(Gpt,
                      "The disk image \"" + Gpt +
                          "\" holds no FAT volume: partition 1 is the protective entry of a GPT "
                          "disk, whose partitions Vespera does not read.",
                      [&] { TargetOf(Gpt + "::")->ReplaceLogo("logow.sys", New); });

        const std::string Logical = Dir / "logical.img";
        MakePartitionedImage(Logical, 24,
                             {{1, 2048, 8192, "6", 12, ""},
                              {2, 10240, 30720, "5", 0, ""},
                              {5, 12288, 20480, "6", 16, ""}});
        ExpectRefusal(Logical,
                      "Partition 2 of the disk image \"" + Logical +
                          "\" is the extended partition, which holds the logical partitions "
                          "(numbered from 5); name one of those.",
                      [&] { TargetOf(Logical + "::2")->ReplaceLogo("logow.sys", New); });
    }
    {
        SCOPED_TRACE("a folder where a logo goes");
        const std::string Image = Dir / "folder-logo.img";
        MakeWindowsImage(Image);
        MakeFolder(Image, kWin98.Offset(), "t:/WINDOWS/LOGOS.SYS");
        ExpectRefusal(Image,
                      "LOGOS.SYS in " + Image +
                          " (partition 1, FAT16 \"WIN98\", folder WINDOWS) is a folder, not a "
                          "logo file; Vespera does not replace it.",
                      [&] { TargetOf(Image + "::")->LogoExists("logos.sys"); });
    }
    {
        // mtools, deleting it, would clear the FAT's first entry; and new files could take its
        // clusters.
        SCOPED_TRACE("a temporary file whose clusters a killed run left free");
        const std::string Image = Dir / "cut-short.img";
        MakeWindowsImage(Image);
        PutFile(Image, kWin98.Offset(), "t:/WINDOWS/LOGOS.~SY", RandomBytes(kLogoSize, 4));
        FreeClustersOf(Image, kWin98.Offset(), "t:/WINDOWS/LOGOS.~SY");
        ExpectRefusal(Image, "is damaged: the cluster chain of WINDOWS/LOGOS.~SY holds cluster",
                      [&] { TargetOf(Image + "::")->ReplaceLogo("logow.sys", New); });
    }
    {
        SCOPED_TRACE("in use by a virtual machine");
        const std::string Image = Dir / "in-use.img";
        MakeWindowsImage(Image);
        const auto Target = TargetOf(Image + "::");
        {
            // A machine that reads the disk and lets nobody write to it.
            const TMachineLocks Machine(Image, {100, 201});
            ExpectRefusal(Image, "is in use by a running virtual machine; shut it down first",
                          [&] { Target->ReplaceLogo("logow.sys", New); });
            EXPECT_EQ(Target->ReadLogo("logow.sys"), RandomBytes(kLogoSize, 1));
            EXPECT_TRUE(CheckTarget({TTargetKind::tkDiskImage, Image}, {"logow.sys"}).InUse);
        }
        {
            // A machine that writes to it: not even read while it runs.
            const TMachineLocks Machine(Image, {100, 101});
            ExpectRefusal(Image, "is in use by a running virtual machine",
                          [&] { Target->ReadLogo("logow.sys"); });
        }
        const TTargetCheck Check =
            CheckTarget({TTargetKind::tkDiskImage, Image}, {"logow.sys", "logos.sys"});
        EXPECT_TRUE(Check.Ok()) << Check.Problem;
        EXPECT_EQ(Check.LogosFound, std::vector<std::string>{"logow.sys"});
        Target->ReplaceLogo("logow.sys", New);
        EXPECT_EQ(Target->ReadLogo("logow.sys"), New);
    }
}

// Every format the emulators make, written through QEMU's block layer: made from one raw disk
// with qemu-img, installed into under one hold, converted back and read with mtools.
TEST(DiskImageTarget, InstallsIntoEveryFormatThroughQemu) {
    SKIP_WITHOUT_TOOLS("mtools", "mkfs.fat", "fsck.fat", "sfdisk", "qemu-img");
    if (const std::string Missing = MissingForQemuView(); !Missing.empty()) {
        GTEST_SKIP() << "missing: " << Missing;
    }
    TTempDir Dir;
    const std::string Raw = Dir / "raw.img";
    MakeWindowsImage(Raw);
    const std::string Old = RandomBytes(kLogoSize, 1);
    const std::string NewWait = RandomBytes(kLogoSize, 3), NewDown = RandomBytes(kLogoSize, 4);
    struct TFormatCase {
        const char* Name;
        std::vector<std::string> Make; // the qemu-img arguments that make it from Raw
    };
    const std::string Base = Dir / "base.img";
    std::filesystem::copy_file(Raw, Base);
    const TFormatCase Cases[] = {
        {"dynamic.vhd", {"convert", "-O", "vpc", "-o", "subformat=dynamic", Raw}},
        {"disk.vdi", {"convert", "-O", "vdi", Raw}},
        {"sparse.vmdk", {"convert", "-O", "vmdk", "-o", "subformat=monolithicSparse", Raw}},
        {"flat.vmdk", {"convert", "-O", "vmdk", "-o", "subformat=monolithicFlat", Raw}},
        {"disk.vhdx", {"convert", "-O", "vhdx", Raw}},
        {"disk.qcow2", {"convert", "-O", "qcow2", Raw}},
        {"overlay.qcow2", {"create", "-f", "qcow2", "-F", "raw", "-b", Base}},
    };
    for (const TFormatCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        const std::string Image = Dir / Case.Name;
        std::vector<std::string> Make{"qemu-img"};
        Make.insert(Make.end(), Case.Make.begin(), Case.Make.end());
        Make.push_back(Image);
        const TProcessResult Made = RunProcess(Make);
        ASSERT_EQ(Made.ExitCode, 0) << Made.Err;
        const std::string BaseBefore = ReadFile(Base);
        {
            const auto Target = TargetOf(Image + "::");
            const TTargetHold Hold(*Target);
            EXPECT_EQ(Target->ReadLogo("logow.sys"), Old);
            Target->ReplaceLogo("logow.sys", NewWait);
            Target->ReplaceLogo("logos.sys", NewDown);
            EXPECT_EQ(Target->ReadLogo("logos.sys"), NewDown);
        }
        const int Checked = RunProcess({"qemu-img", "check", Image}).ExitCode;
        EXPECT_TRUE(Checked == 0 || Checked == 63) << "qemu-img check: " << Checked;
        const std::string Back = Dir / "back.img";
        std::filesystem::remove(Back);
        ASSERT_EQ(RunProcess({"qemu-img", "convert", "-O", "raw", Image, Back}).ExitCode, 0);
        EXPECT_TRUE(GetFile(Back, kWin98.Offset(), "t:/WINDOWS/LOGOW.SYS").Out == NewWait);
        EXPECT_TRUE(GetFile(Back, kWin98.Offset(), "t:/WINDOWS/LOGOS.SYS").Out == NewDown);
        const TProcessResult Fsck = CheckVolume(Back, kWin98.Offset(), kWin98.Bytes());
        EXPECT_EQ(Fsck.ExitCode, 0) << Fsck.Out;
        EXPECT_TRUE(ReadFile(Base) == BaseBefore) << "the backing file changed";
    }
}

// An emulator that keeps the image open without QEMU's locks: nothing is written, the message
// names it; and a format that needs what is missing says what, and how to convert instead.
TEST(DiskImageTarget, RefusesAnImageThatAProgramHoldsOrThatNeedsWhatIsMissing) {
    SKIP_WITHOUT_TOOLS("mtools", "mkfs.fat", "sfdisk", "qemu-img");
    TTempDir Dir;
    const std::string Raw = Dir / "win98.img";
    MakeWindowsImage(Raw);
    const std::string Vhd = Dir / "win98.vhd";
    ASSERT_EQ(RunProcess({"qemu-img", "convert", "-O", "vpc", Raw, Vhd}).ExitCode, 0);
    const bool ViewUsable = MissingForQemuView().empty();
    for (const std::string& Image : {Raw, Vhd}) {
        if (Image == Vhd && !ViewUsable) {
            continue;
        }
        const pid_t Emulator = ::fork();
        ASSERT_GE(Emulator, 0);
        if (Emulator == 0) {
            if (::open(Image.c_str(), O_RDWR) >= 0) {
                ::execlp("sleep", "sleep", "30", static_cast<char*>(nullptr));
            }
            ::_exit(127);
        }
        const std::string Proc = "/proc/" + std::to_string(Emulator) + "/exe";
        for (int Wait = 0; Wait < 500 && std::filesystem::read_symlink(Proc).filename() != "sleep";
             ++Wait) {
            ::usleep(10000);
        }
        ExpectRefusal(Image,
                      "The disk image \"" + Image + "\" is open in sleep (process " +
                          std::to_string(Emulator) + "); shut the machine down first.",
                      [&] { TargetOf(Image + "::")->ReplaceLogo("logow.sys", "new"); });
        ::kill(Emulator, SIGKILL);
        ::waitpid(Emulator, nullptr, 0);
    }

    // Without QEMU's storage daemon: what is missing, and a conversion whose output is a new
    // file even for a qcow2 file named like a raw one.
    const std::string Qcow = Dir / "machine.img";
    ASSERT_EQ(RunProcess({"qemu-img", "convert", "-O", "qcow2", Raw, Qcow}).ExitCode, 0);
    const std::string Path = std::getenv("PATH");
    ::setenv("PATH", Dir.Path().c_str(), 1);
    ExpectRefusal(Qcow,
                  "is in QCOW2 format, which Vespera writes through QEMU's storage daemon and "
                  "FUSE; missing here: qemu-storage-daemon (package qemu-system-common)",
                  [&] { TargetOf(Qcow + "::")->ReplaceLogo("logow.sys", "new"); });
    ExpectRefusal(Qcow,
                  "qemu-img convert -O raw \"" + Qcow + "\" \"" + (Dir / "machine-raw.img") + "\"",
                  [&] { TargetOf(Qcow + "::")->LogoExists("logow.sys"); });
    ::setenv("PATH", Path.c_str(), 1);
}

// QEMU's own programs meet the locks: a running qemu-io keeps Vespera out, and while Vespera
// writes, QEMU cannot open the image.
TEST(DiskImageTarget, TakesTurnsWithQemu) {
    SKIP_WITHOUT_TOOLS("mtools", "mkfs.fat", "sfdisk", "qemu-io");
    TTempDir Dir;
    const std::string Image = Dir / "disk.img";
    MakeWindowsImage(Image);
    const auto OpenForWriting = [&] {
        return RunProcess({"qemu-io", "-f", "raw", "-c", "quit", Image});
    };
    for (const auto Use : {TImageLock::TUse::uWrite, TImageLock::TUse::uRead}) {
        const TImageFile File(Image, TImageFile::TAccess::aReadWrite);
        const TImageLock Lock(File, Use);
        const TProcessResult Refused = OpenForWriting();
        EXPECT_NE(Refused.ExitCode, 0);
        EXPECT_NE(Refused.Err.find("lock"), std::string::npos) << Refused.Err;
    }
    EXPECT_EQ(OpenForWriting().ExitCode, 0) << OpenForWriting().Err;

    // qemu-io holding the image open for writing until it is stopped.
    pid_t Machine = -1;
    {
        const std::string Sleep = "sleep 20000";
        std::vector<std::string> Argv = {"qemu-io", "-f", "raw", "-c", Sleep, Image};
        std::vector<char*> Args;
        for (std::string& Arg : Argv) {
            Args.push_back(Arg.data());
        }
        Args.push_back(nullptr);
        ASSERT_EQ(::posix_spawnp(&Machine, "qemu-io", nullptr, nullptr, Args.data(), environ), 0);
    }
    const TImageFile File(Image, TImageFile::TAccess::aRead);
    for (int Wait = 0; Wait < 500 && !ImageInUse(File, TImageLock::TUse::uWrite); ++Wait) {
        ::usleep(10000);
    }
    ExpectRefusal(Image, "is in use by a running virtual machine",
                  [&] { TargetOf(Image + "::")->ReplaceLogo("logow.sys", "new"); });
    ::kill(Machine, SIGKILL);
    ::waitpid(Machine, nullptr, 0);
    TargetOf(Image + "::")->ReplaceLogo("logow.sys", "new");
    EXPECT_EQ(GetFile(Image, kWin98.Offset(), "t:/WINDOWS/LOGOW.SYS").Out, "new");
}

// A FAT damaged as ScanDisk finds volumes in the field: every chain that replacing the logo
// relies on is checked by our own reading, and the image is refused unchanged, with what is
// wrong. mtools itself would follow such chains: a loop made it clear both FATs' first entries.
TEST(DiskImageTarget, RefusesADamagedVolumeUnchanged) {
    SKIP_WITHOUT_TOOLS("mtools", "mkfs.fat", "fsck.fat", "sfdisk");
    const TTestPartition Floppy{0, 0, 2880, "", 12, "BOOT"};
    const TTestPartition Fat32{1, 2048, 96256, "c", 32, "WIN98"};
    struct TChains {
        std::vector<std::uint32_t> Logo;   // of the folder's LOGOW.SYS
        std::vector<std::uint32_t> Other;  // of OTHER.SYS in the root folder
        std::vector<std::uint32_t> Folder; // of the folder
    };
    struct TDamage {
        std::uint32_t Cluster; // whose FAT entry is set to Value
        std::uint32_t Value;
        std::string Problem; // what the message says is wrong
    };
    struct TDamageCase {
        const char* Name;
        TTestPartition Volume;
        std::string Folder;
        std::function<TDamage(const TChains&)> Damage;
    };
    const auto Cluster = [](std::uint32_t Number) { return "cluster " + std::to_string(Number); };
    const TDamageCase Cases[] = {
        {"a loop in LOGOW.SYS (FAT12)", Floppy, "WINDOWS",
         [&](const TChains& C) {
             return TDamage{C.Logo.back(), C.Logo.front(),
                            "the cluster chain of WINDOWS/LOGOW.SYS loops back from " +
                                Cluster(C.Logo.back()) + " to " + Cluster(C.Logo.front())};
         }},
        {"another file's chain runs into LOGOW.SYS (FAT16)", kWin98, "WINDOWS",
         [&](const TChains& C) {
             return TDamage{C.Other.back(), C.Logo[2],
                            "the cluster chain of WINDOWS/LOGOW.SYS is cross-linked with another "
                            "file or folder at " +
                                Cluster(C.Logo[2])};
         }},
        {"LOGOW.SYS runs into another file's chain (FAT16)", kWin98, "WINDOWS",
         [&](const TChains& C) {
             return TDamage{C.Logo.back(), C.Other.front(),
                            "the cluster chain of WINDOWS/LOGOW.SYS holds " +
                                std::to_string(C.Logo.size() + C.Other.size()) +
                                " clusters, more than its " + std::to_string(kLogoSize) +
                                " bytes need (" + std::to_string(C.Logo.size()) + ")"};
         }},
        {"LOGOW.SYS leads outside the volume (FAT32)", Fat32, "WINDOWS",
         [&](const TChains& C) {
             return TDamage{C.Logo[1], 0x0FFFFF00,
                            "the cluster chain of WINDOWS/LOGOW.SYS leads from " +
                                Cluster(C.Logo[1]) + " to " + Cluster(0x0FFFFF00) +
                                ", outside the volume"};
         }},
        {"a loop in a nested folder (FAT32)", Fat32, "WIN98/SYSTEM",
         [&](const TChains& C) {
             return TDamage{C.Folder.front(), C.Folder.front(),
                            "the cluster chain of WIN98/SYSTEM loops back from " +
                                Cluster(C.Folder.front()) + " to " + Cluster(C.Folder.front())};
         }},
    };
    for (const TDamageCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        TTempDir Dir;
        const std::string Image = Dir / "disk.img";
        const std::uint64_t Offset = Case.Volume.Offset();
        if (Case.Volume.Number == 0) {
            MakeFloppyImage(Image);
        } else {
            MakePartitionedImage(Image, 64, {Case.Volume});
        }
        const std::string Folder = "t:/" + Case.Folder;
        for (std::size_t Slash = Folder.find('/', 3); Slash != std::string::npos;
             Slash = Folder.find('/', Slash + 1)) {
            MakeFolder(Image, Offset, Folder.substr(0, Slash));
        }
        MakeFolder(Image, Offset, Folder);
        PutFile(Image, Offset, "t:/OTHER.SYS", RandomBytes(20000, 5));
        PutFile(Image, Offset, Folder + "/LOGOW.SYS", RandomBytes(kLogoSize, 1));
        const TDamage Damage =
            Case.Damage({ChainOf(Image, Offset, Folder + "/LOGOW.SYS"),
                         ChainOf(Image, Offset, "t:/OTHER.SYS"), ChainOf(Image, Offset, Folder)});
        SetFatEntry(Image, Offset, Case.Volume.FatBits, Damage.Cluster, Damage.Value);
        EXPECT_NE(CheckVolume(Image, Offset, Case.Volume.Bytes()).ExitCode, 0)
            << "fsck.fat sees the damage";

        const std::string Place = Case.Volume.Number == 0 ? "the volume" : "partition 1";
        ExpectRefusal(
            Image,
            "The FAT volume of " + Image + " (" + Place + ", FAT" +
                std::to_string(Case.Volume.FatBits) + " \"" + Case.Volume.Label + "\", folder " +
                Case.Folder + ") is damaged: " + Damage.Problem +
                ". Vespera writes nothing to it; run ScanDisk in the machine (or "
                "fsck.fat on the image) to repair it.",
            [&] { TargetOf(Image + "::/" + Case.Folder)->ReplaceLogo("logow.sys", "new"); });
    }
}

// A replaced logo keeps the old one's attributes (a read-only logo is replaced and stays
// read-only, as in a folder) and its names: the 8.3 name the system looks for and the long name.
TEST(DiskImageTarget, KeepsTheAttributesAndNamesOfTheLogoItReplaces) {
    SKIP_WITHOUT_TOOLS("mtools", "mkfs.fat", "fsck.fat", "sfdisk");
    TTempDir Dir;
    const std::string Image = Dir / "disk.img";
    const std::uint64_t Offset = kWin98.Offset();
    MakePartitionedImage(Image, 12, {kWin98});
    MakeFolder(Image, Offset, "t:/WINDOWS");
    PutFile(Image, Offset, "t:/WINDOWS/Logow.Sys", RandomBytes(kLogoSize, 1));
    PutFile(Image, Offset, "t:/WINDOWS/LOGOS.SYS", RandomBytes(kLogoSize, 2));
    ASSERT_EQ(
        Mtools(Image, Offset, {"mattrib", "+r", "+h", "+s", "-a", "t:/WINDOWS/LOGOW.SYS"}).ExitCode,
        0);
    ASSERT_EQ(Mtools(Image, Offset, {"mattrib", "+h", "t:/WINDOWS/LOGOS.SYS"}).ExitCode, 0);
    const auto Attributes = [&] { return Mtools(Image, Offset, {"mattrib", "t:/WINDOWS/*"}).Out; };
    const std::string Before = Attributes();
    ASSERT_NE(Before.find("     SHR     T:/WINDOWS/Logow.Sys\n"), std::string::npos) << Before;
    ASSERT_NE(Before.find("  A   H      T:/WINDOWS/LOGOS.SYS\n"), std::string::npos) << Before;

    const std::string Wait = RandomBytes(kLogoSize, 3), Down = RandomBytes(kLogoSize, 4);
    {
        const auto Target = TargetOf(Image + "::");
        const TTargetHold Hold(*Target);
        Target->ReplaceLogo("logow.sys", Wait);
        Target->ReplaceLogo("logos.sys", Down);
    }
    EXPECT_EQ(Attributes(), Before);
    const std::string Listing = Mtools(Image, Offset, {"mdir", "-a", "t:/WINDOWS"}).Out;
    EXPECT_NE(Listing.find("\nLOGOW    SYS    129078 "), std::string::npos) << Listing;
    EXPECT_NE(Listing.find(" Logow.Sys\n"), std::string::npos) << Listing;
    EXPECT_TRUE(GetFile(Image, Offset, "t:/WINDOWS/LOGOW.SYS").Out == Wait);
    EXPECT_TRUE(GetFile(Image, Offset, "t:/WINDOWS/LOGOS.SYS").Out == Down);
    const TProcessResult Check = CheckVolume(Image, Offset, kWin98.Bytes());
    EXPECT_EQ(Check.ExitCode, 0) << Check.Out << Check.Err;
}
