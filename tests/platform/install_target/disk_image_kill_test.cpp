// Installs into a disk image killed with SIGKILL at random moments, over and over, in each format
// written in its own way: a raw image directly, a dynamic VHD and a qcow2 image through QEMU's
// storage daemon. After every kill both logos read back whole (the old or the new), fsck.fat
// finds no damaged or cross-linked file, and qemu-img check no error in the image's own
// structure (leaked clusters are counted: a killed QEMU leaves them, and they cost only room).
//
// Every other kill also kills what the run started (mtools at work, the storage daemon), as
// stopping a whole session would. Killed between writing the first and the second copy of the
// FAT, mtools leaves the copies different but intact (the first one is used, and the next write
// makes them equal again): that is counted, like lost clusters, not taken for damage. mtools
// writes a new file's directory entry before the FAT: when the storage daemon (or mtools) dies
// between the two, the temporary file is left with clusters the FAT marks free. That, and only
// for the temporary files, is counted too; the next run must then refuse the volume unchanged
// (deleting the file would clear the FAT's first entry), and the test repairs it with fsck.fat, as
// the user is told to. A daemon that outlives its killed run is stopped as the next run stops it,
// before the image is read; a complete run at the end leaves no daemon and no mount behind.

#include "platform/disk_image/file_holders.h"
#include "platform/disk_image/qemu_view.h"
#include "tests/platform/disk_image/disk_image_tools.h"
#include "tests/platform/install_target/driver_logos.h"
#include "tests/support/environment.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <random>
#include <regex>
#include <spawn.h>
#include <sstream>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>

extern char** environ;

namespace {

using namespace std::chrono_literals;

constexpr int kKills = 100;
constexpr const char* kDaemon = "qemu-storage-daemon";

pid_t StartDriver(const std::string& Target, unsigned Seed) {
    posix_spawn_file_actions_t Actions;
    posix_spawn_file_actions_init(&Actions);
    posix_spawn_file_actions_addopen(&Actions, 1, "/dev/null", O_WRONLY, 0);
    std::string Program = INSTALL_DRIVER_PATH;
    std::string SeedText = std::to_string(Seed);
    std::string TargetText = Target;
    char* Argv[] = {Program.data(), TargetText.data(), SeedText.data(), nullptr};
    pid_t Pid = -1;
    if (posix_spawn(&Pid, Program.c_str(), &Actions, nullptr, Argv, environ) != 0) {
        Pid = -1;
    }
    posix_spawn_file_actions_destroy(&Actions);
    return Pid;
}

// The processes that Pid started or inherited and that have not been waited for.
std::vector<pid_t> ChildrenOf(pid_t Pid) {
    std::istringstream List(ReadProcessFile(Pid, "task/" + std::to_string(Pid) + "/children"));
    std::vector<pid_t> Children;
    pid_t Child = 0;
    while (List >> Child) {
        Children.push_back(Child);
    }
    return Children;
}

// The file name of the program that the process Pid runs; empty when it has ended.
std::string ProgramOf(pid_t Pid) {
    char Target[4096];
    const ssize_t Length =
        ::readlink(("/proc/" + std::to_string(Pid) + "/exe").c_str(), Target, sizeof Target - 1);
    const std::string Path =
        Length > 0 ? std::string(Target, static_cast<std::size_t>(Length)) : "";
    return Path.substr(Path.rfind('/') + 1);
}

// Waits for every process this one started or inherited (it is their subreaper).
void ReapAll() {
    while (::waitpid(-1, nullptr, 0) > 0 || errno == EINTR) {
    }
}

// The running storage daemons whose command line names Image.
std::vector<pid_t> DaemonsOf(const std::string& Image) {
    return FindProgramRuns(kDaemon, Image);
}

// Waits for every process this one started or inherited but the storage daemons of Image,
// which run until they are stopped: a step of mtools that a killed run left completes, and a
// daemon that a killed run was starting gets its command line.
void ReapAllButDaemonsOf(const std::string& Image) {
    const auto End = std::chrono::steady_clock::now() + 60s;
    for (;;) {
        while (::waitpid(-1, nullptr, WNOHANG) > 0) {
        }
        const std::vector<pid_t> Daemons = DaemonsOf(Image);
        bool Running = false;
        for (const pid_t Child : ChildrenOf(::getpid())) {
            Running = Running || std::find(Daemons.begin(), Daemons.end(), Child) == Daemons.end();
        }
        if (!Running) {
            return;
        }
        ASSERT_LT(std::chrono::steady_clock::now(), End) << "a process of a killed run hangs";
        std::this_thread::sleep_for(2ms);
    }
}

// The mounts under Folder.
int MountsUnder(const std::string& Folder) {
    std::ifstream Mounts("/proc/self/mountinfo");
    std::string Line;
    int Count = 0;
    while (std::getline(Mounts, Line)) {
        std::istringstream Fields(Line);
        std::string Id, Parent, Device, Root, Point;
        Fields >> Id >> Parent >> Device >> Root >> Point;
        Count += Point.rfind(Folder + "/", 0) == 0 ? 1 : 0;
    }
    return Count;
}

// The entries of Folder besides "." and "..".
int EntriesOf(const std::string& Folder) {
    int Count = 0;
    DIR* Dir = ::opendir(Folder.c_str());
    while (const dirent* Entry = Dir != nullptr ? ::readdir(Dir) : nullptr) {
        Count += std::string_view(Entry->d_name) != "." && std::string_view(Entry->d_name) != "..";
    }
    if (Dir != nullptr) {
        ::closedir(Dir);
    }
    return Count;
}

struct TFsckFindings {
    bool Damage = false; // anything besides the findings below and the summary
    std::uint64_t LostClusters = 0;
    bool FatCopiesDiffer = false;
    bool TemporaryCutShort = false; // a temporary logo file whose chain runs into free clusters
    std::string Text;
};

TFsckFindings ReadFsck(const TProcessResult& Fsck) {
    TFsckFindings Findings;
    Findings.Text = Fsck.Out + Fsck.Err;
    static const std::regex Harmless(
        R"(^(fsck\.fat .*|Leaving filesystem unchanged\.|.*: \d+ files, \d+/\d+ clusters|Free cluster summary wrong.*|\s*)$)");
    static const std::regex Lost(R"(^Reclaimed (\d+) unused clusters? \(.*\)\.$)");
    static const std::regex CopiesDiffer(
        R"(^(FATs differ but appear to be intact\.|\s*Using first FAT\.)$)");
    static const std::regex File(R"(^/\S+$)");
    static const std::regex Temporary(R"(^/WINDOWS/LOGO[WS]\.~SY$)");
    static const std::regex CutShort(
        R"(^  (Contains a free cluster \(\d+\)\. Assuming EOF\.|File size is \d+ bytes, cluster chain length is \d+ bytes\.|Truncating file to \d+ bytes\.)$)");
    std::istringstream Lines(Findings.Text);
    std::string Line;
    bool InTemporary = false; // the lines below are about a temporary file
    while (std::getline(Lines, Line)) {
        std::smatch Match;
        if (std::regex_match(Line, File)) {
            InTemporary = std::regex_match(Line, Temporary);
        } else if (InTemporary && std::regex_match(Line, CutShort)) {
            Findings.TemporaryCutShort = true;
        } else if (std::regex_match(Line, Match, Lost)) {
            Findings.LostClusters += std::stoull(Match[1]);
        } else if (std::regex_match(Line, CopiesDiffer)) {
            Findings.FatCopiesDiffer = true;
        } else if (!std::regex_match(Line, Harmless)) {
            Findings.Damage = true;
        }
    }
    return Findings;
}

// What qemu-img check says of an image.
struct TQemuCheck {
    bool Damage = false; // errors in the image's structure, or the check could not be made
    std::uint64_t LeakedClusters = 0;
    std::string Text;
};

TQemuCheck CheckQemuImage(const std::string& Image) {
    const TProcessResult Check = RunProcess({"qemu-img", "check", Image});
    TQemuCheck Result;
    Result.Text = Check.Out + Check.Err;
    // 0: no errors; 3: leaked clusters only; 63: a format without metadata to check.
    Result.Damage = Check.ExitCode != 0 && Check.ExitCode != 3 && Check.ExitCode != 63;
    std::smatch Match;
    static const std::regex Leaked(R"((\d+) leaked clusters? (was|were) found)");
    if (std::regex_search(Result.Text, Match, Leaked)) {
        Result.LeakedClusters = std::stoull(Match[1]);
    }
    return Result;
}

// Repairs the volume of Size bytes at Offset of the raw disk Disk with fsck.fat -a and writes it
// into Image: the disk itself, or an image that QEMU's Driver reads.
void RepairVolume(const std::string& Disk, const std::string& Image, const std::string& Driver,
                  std::uint64_t Offset, std::uint64_t Size) {
    const std::string Copy = Disk + ".repaired";
    WriteFile(Copy, ReadBytes(Disk, Offset, Size));
    RunProcess({"fsck.fat", "-a", Copy});
    const std::string Repaired = ReadFile(Copy);
    std::unique_ptr<TQemuView> View;
    if (!Driver.empty()) {
        View = std::make_unique<TQemuView>(Image, Driver, true);
    }
    const int Handle = ::open((View ? View->Path() : Image).c_str(), O_WRONLY | O_CLOEXEC);
    ASSERT_GE(Handle, 0);
    EXPECT_EQ(::pwrite(Handle, Repaired.data(), Repaired.size(), static_cast<off_t>(Offset)),
              static_cast<ssize_t>(Repaired.size()));
    EXPECT_EQ(::fsync(Handle), 0);
    ::close(Handle);
}

struct TImageFormat {
    std::string Name;
    std::vector<std::string> Conversion; // qemu-img convert's -O and options; empty: raw
};

void PrintTo(const TImageFormat& Format, std::ostream* Out) {
    *Out << Format.Name;
}

class DiskImageKill : public testing::TestWithParam<TImageFormat> {};

} // namespace

TEST_P(DiskImageKill, LogosStayWholeWhateverMomentAnInstallIsKilledAt) {
    SKIP_WITHOUT_TOOLS("mtools", "mkfs.fat", "fsck.fat", "sfdisk");
    const TImageFormat& Format = GetParam();
    const bool ThroughQemu = !Format.Conversion.empty();
    if (ThroughQemu) {
        SKIP_WITHOUT_TOOLS("qemu-img");
        if (const std::string Missing = MissingForQemuView(); !Missing.empty()) {
            GTEST_SKIP() << "missing: " << Missing;
        }
    }
    ASSERT_EQ(::prctl(PR_SET_CHILD_SUBREAPER, 1), 0);
    TTempDir Dir;
    // The views of QEMU's formats in a folder of this test's own.
    const std::string Runtime = Dir / "run";
    ASSERT_EQ(::mkdir(Runtime.c_str(), 0700), 0);
    TEnvironment Environment;
    Environment.Set("XDG_RUNTIME_DIR", Runtime);
    const std::string Views = Runtime + "/vespera-views";
    // A test that fails half-way stops what its killed runs left, as the next run would.
    struct TLeftoversStopped {
        ~TLeftoversStopped() {
            RemoveStaleQemuViews();
            for (const pid_t Child : ChildrenOf(::getpid())) {
                ::kill(Child, SIGTERM);
            }
            ReapAll();
        }
    } LeftoversStopped;

    const std::string Raw = Dir / "disk.img";
    const TTestPartition Volume{1, 63, 131009, "6", 16, "WIN98"};
    MakePartitionedImage(Raw, 64, {Volume});
    MakeFolder(Raw, Volume.Offset(), "t:/WINDOWS");
    std::string Image = Raw;
    if (ThroughQemu) {
        Image = Dir / ("disk." + Format.Name);
        std::vector<std::string> Convert{"qemu-img", "convert", "-f", "raw", "-O"};
        Convert.insert(Convert.end(), Format.Conversion.begin(), Format.Conversion.end());
        Convert.insert(Convert.end(), {Raw, Image});
        const TProcessResult Made = RunProcess(Convert);
        ASSERT_EQ(Made.ExitCode, 0) << Made.Err;
    }
    const std::string Target = Image + "::";
    // The disk as a raw image, for mtools and fsck.fat: the image itself, or converted back.
    const auto Disk = [&]() -> std::string {
        if (!ThroughQemu) {
            return Raw;
        }
        const std::string Back = Dir / "back.img";
        const TProcessResult Converted =
            RunProcess({"qemu-img", "convert", "-O", "raw", Image, Back});
        EXPECT_EQ(Converted.ExitCode, 0) << Converted.Err;
        return Back;
    };

    // A whole run after a first one, timed, so that the kills fall across all of one.
    ASSERT_GT(::waitpid(StartDriver(Target, 0), nullptr, 0), 0);
    const auto Start = std::chrono::steady_clock::now();
    ASSERT_GT(::waitpid(StartDriver(Target, 0), nullptr, 0), 0);
    const auto RunTime = std::chrono::steady_clock::now() - Start;
    std::vector<DriverLogo> Current = DriverLogos(0);

    std::random_device Seeder;
    const unsigned Seed = Seeder();
    std::mt19937 Random(Seed);
    std::uniform_int_distribution<long long> Delay(
        0, std::chrono::duration_cast<std::chrono::microseconds>(RunTime).count() * 5 / 4);
    int New = 0, Old = 0, MtoolsKilled = 0, DaemonsKilled = 0, DaemonsLeft = 0, Leftovers = 0,
        CopiesDiffered = 0, MostViewsLeft = 0, LeaksGrew = 0, CutShort = 0;
    TFsckFindings Findings;
    TQemuCheck Check;
    for (int Round = 1; Round <= kKills; ++Round) {
        SCOPED_TRACE("round " + std::to_string(Round) + ", seed " + std::to_string(Seed));
        const pid_t Driver = StartDriver(Target, static_cast<unsigned>(Round));
        ASSERT_GT(Driver, 0);
        std::this_thread::sleep_for(std::chrono::microseconds(Delay(Random)));
        if (Round % 2 == 1) {
            for (const pid_t Child : ChildrenOf(Driver)) {
                const bool Daemon = ProgramOf(Child) == kDaemon;
                if (::kill(Child, SIGKILL) == 0) {
                    (Daemon ? DaemonsKilled : MtoolsKilled) += 1;
                }
            }
        }
        ::kill(Driver, SIGKILL);
        ASSERT_EQ(::waitpid(Driver, nullptr, 0), Driver);
        ReapAllButDaemonsOf(Image);
        if (!DaemonsOf(Image).empty()) {
            // What the next run does first.
            ++DaemonsLeft;
            RemoveStaleQemuViews();
        }
        ASSERT_EQ(DaemonsOf(Image), std::vector<pid_t>()) << "a daemon was not stopped";
        ReapAll();
        MostViewsLeft = std::max(MostViewsLeft, MountsUnder(Views));

        const std::string Read = Disk();
        const std::vector<DriverLogo> Installed = DriverLogos(static_cast<unsigned>(Round));
        for (std::size_t I = 0; I < Current.size(); ++I) {
            const std::string Path = "t:/WINDOWS/" + Current[I].Name;
            const TProcessResult Logo = GetFile(Read, Volume.Offset(), Path);
            ASSERT_EQ(Logo.ExitCode, 0) << Path << " is missing: " << Logo.Err;
            const bool IsNew = Logo.Out == Installed[I].Data;
            ASSERT_TRUE(IsNew || Logo.Out == Current[I].Data) << Path << " is neither";
            (IsNew ? New : Old) += 1;
            Current[I].Data = Logo.Out;
        }
        Findings = ReadFsck(CheckVolume(Read, Volume.Offset(), Volume.Bytes()));
        ASSERT_FALSE(Findings.Damage) << Findings.Text;
        CopiesDiffered += Findings.FatCopiesDiffer ? 1 : 0;
        const TProcessResult Listing =
            Mtools(Read, Volume.Offset(), {"mdir", "-a", "-b", "t:/WINDOWS"});
        Leftovers += Listing.Out.find('~') != std::string::npos ? 1 : 0;
        if (ThroughQemu) {
            const std::uint64_t Leaked = Check.LeakedClusters;
            Check = CheckQemuImage(Image);
            ASSERT_FALSE(Check.Damage) << Check.Text;
            LeaksGrew += Check.LeakedClusters > Leaked ? 1 : 0;
        }
        if (Findings.TemporaryCutShort) {
            ++CutShort;
            const std::string Before = ReadFile(Read);
            int Status = 0;
            ASSERT_GT(::waitpid(StartDriver(Target, 0), &Status, 0), 0);
            ReapAll();
            EXPECT_EQ(WEXITSTATUS(Status), 1) << "a damaged volume was not refused";
            ASSERT_TRUE(ReadFile(Disk()) == Before) << "a damaged volume was changed";
            RepairVolume(Read, Image, ThroughQemu ? Format.Conversion.front() : "", Volume.Offset(),
                         Volume.Bytes());
            Findings = ReadFsck(CheckVolume(Disk(), Volume.Offset(), Volume.Bytes()));
            ASSERT_FALSE(Findings.Damage || Findings.TemporaryCutShort) << Findings.Text;
        }
    }

    // A complete run afterwards leaves no temporary file, no daemon and no mount.
    ASSERT_EQ(::waitpid(StartDriver(Target, kKills + 1), nullptr, 0) > 0, true);
    ReapAll();
    EXPECT_EQ(DaemonsOf(Image), std::vector<pid_t>());
    EXPECT_EQ(MountsUnder(Views), 0);
    EXPECT_EQ(EntriesOf(Views), 0) << "views left in " << Views;
    const std::string Read = Disk();
    const TProcessResult Listing =
        Mtools(Read, Volume.Offset(), {"mdir", "-a", "-b", "t:/WINDOWS"});
    EXPECT_EQ(Listing.Out.find('~'), std::string::npos) << Listing.Out;
    for (const DriverLogo& Logo : DriverLogos(kKills + 1)) {
        EXPECT_EQ(GetFile(Read, Volume.Offset(), "t:/WINDOWS/" + Logo.Name).Out, Logo.Data);
    }
    Findings = ReadFsck(CheckVolume(Read, Volume.Offset(), Volume.Bytes()));
    EXPECT_FALSE(Findings.Damage) << Findings.Text;
    std::cout << Format.Name << ": " << kKills << " kills (seed " << Seed << ", each within "
              << std::chrono::duration_cast<std::chrono::milliseconds>(RunTime).count() * 5 / 4
              << " ms): logos found new " << New << ", old " << Old << "; mtools killed at work "
              << MtoolsKilled << " times; a temporary file left " << Leftovers
              << " times; FAT copies differed after " << CopiesDiffered
              << " kills; a temporary file cut short (refused, then repaired) after " << CutShort
              << " kills; lost clusters " << Findings.LostClusters << "\n";
    if (ThroughQemu) {
        Check = CheckQemuImage(Image);
        EXPECT_FALSE(Check.Damage) << Check.Text;
        std::cout << Format.Name << ": storage daemon killed " << DaemonsKilled
                  << " times, left running " << DaemonsLeft << " times; at most " << MostViewsLeft
                  << " views left mounted; leaked clusters " << Check.LeakedClusters
                  << " (grown after " << LeaksGrew << " kills)\n";
    }
}

INSTANTIATE_TEST_SUITE_P(Formats, DiskImageKill,
                         testing::Values(TImageFormat{"raw", {}},
                                         TImageFormat{"vhd", {"vpc", "-o", "subformat=dynamic"}},
                                         TImageFormat{"qcow2", {"qcow2"}}),
                         [](const testing::TestParamInfo<TImageFormat>& Info) {
                             return Info.param.Name;
                         });
