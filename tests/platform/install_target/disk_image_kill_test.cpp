// Installs into a disk image killed with SIGKILL at random moments, over and over: after every
// kill both logos read back whole (the old or the new), and fsck.fat finds no damaged or
// cross-linked file. Every other kill also kills the mtools program at work, as stopping a
// whole session would; killed between writing the first and the second copy of the FAT, it
// leaves the copies different but intact (the first one is used, and the next write makes them
// equal again): that is counted, like lost clusters, not taken for damage.

#include "tests/platform/disk_image/disk_image_tools.h"
#include "tests/platform/install_target/driver_logos.h"

#include <chrono>
#include <csignal>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <regex>
#include <spawn.h>
#include <sstream>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>

extern char** environ;

namespace {

constexpr int kKills = 100;

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

// The processes that Pid started and that still run.
std::vector<pid_t> ChildrenOf(pid_t Pid) {
    std::ifstream List("/proc/" + std::to_string(Pid) + "/task/" + std::to_string(Pid) +
                       "/children");
    std::vector<pid_t> Children;
    pid_t Child = 0;
    while (List >> Child) {
        Children.push_back(Child);
    }
    return Children;
}

// Waits for every process this one started or inherited (it is their subreaper).
void ReapAll() {
    while (::waitpid(-1, nullptr, 0) > 0 || errno == EINTR) {
    }
}

struct TFsckFindings {
    bool Damage = false; // anything besides lost clusters, differing FAT copies and the summary
    std::uint64_t LostClusters = 0;
    bool FatCopiesDiffer = false;
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
    std::istringstream Lines(Findings.Text);
    std::string Line;
    while (std::getline(Lines, Line)) {
        std::smatch Match;
        if (std::regex_match(Line, Match, Lost)) {
            Findings.LostClusters += std::stoull(Match[1]);
        } else if (std::regex_match(Line, CopiesDiffer)) {
            Findings.FatCopiesDiffer = true;
        } else if (!std::regex_match(Line, Harmless)) {
            Findings.Damage = true;
        }
    }
    return Findings;
}

} // namespace

TEST(DiskImageKill, LogosStayWholeWhateverMomentAnInstallIsKilledAt) {
    SKIP_WITHOUT_TOOLS("mtools", "mkfs.fat", "fsck.fat", "sfdisk");
    ASSERT_EQ(::prctl(PR_SET_CHILD_SUBREAPER, 1), 0);
    TTempDir Dir;
    const std::string Image = Dir / "disk.img";
    const TTestPartition Volume{1, 63, 131009, "6", 16, "WIN98"};
    MakePartitionedImage(Image, 64, {Volume});
    MakeFolder(Image, Volume.Offset(), "t:/WINDOWS");
    const std::string Target = Image + "::";

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
    int New = 0, Old = 0, MtoolsKilled = 0, Leftovers = 0, CopiesDiffered = 0;
    TFsckFindings Findings;
    for (int Round = 1; Round <= kKills; ++Round) {
        SCOPED_TRACE("round " + std::to_string(Round) + ", seed " + std::to_string(Seed));
        const pid_t Driver = StartDriver(Target, static_cast<unsigned>(Round));
        ASSERT_GT(Driver, 0);
        std::this_thread::sleep_for(std::chrono::microseconds(Delay(Random)));
        if (Round % 2 == 1) {
            for (const pid_t Child : ChildrenOf(Driver)) {
                MtoolsKilled += ::kill(Child, SIGKILL) == 0 ? 1 : 0;
            }
        }
        ::kill(Driver, SIGKILL);
        ReapAll();

        const std::vector<DriverLogo> Installed = DriverLogos(static_cast<unsigned>(Round));
        for (std::size_t I = 0; I < Current.size(); ++I) {
            const std::string Path = "t:/WINDOWS/" + Current[I].Name;
            const TProcessResult Read = GetFile(Image, Volume.Offset(), Path);
            ASSERT_EQ(Read.ExitCode, 0) << Path << " is missing: " << Read.Err;
            const bool IsNew = Read.Out == Installed[I].Data;
            ASSERT_TRUE(IsNew || Read.Out == Current[I].Data) << Path << " is neither";
            (IsNew ? New : Old) += 1;
            Current[I].Data = Read.Out;
        }
        Findings = ReadFsck(CheckVolume(Image, Volume.Offset(), Volume.Bytes()));
        ASSERT_FALSE(Findings.Damage) << Findings.Text;
        CopiesDiffered += Findings.FatCopiesDiffer ? 1 : 0;
        const TProcessResult Listing =
            Mtools(Image, Volume.Offset(), {"mdir", "-a", "-b", "t:/WINDOWS"});
        Leftovers += Listing.Out.find('~') != std::string::npos ? 1 : 0;
    }

    // A complete run afterwards leaves no temporary file.
    ASSERT_EQ(::waitpid(StartDriver(Target, kKills + 1), nullptr, 0) > 0, true);
    const TProcessResult Listing =
        Mtools(Image, Volume.Offset(), {"mdir", "-a", "-b", "t:/WINDOWS"});
    EXPECT_EQ(Listing.Out.find('~'), std::string::npos) << Listing.Out;
    for (const DriverLogo& Logo : DriverLogos(kKills + 1)) {
        EXPECT_EQ(GetFile(Image, Volume.Offset(), "t:/WINDOWS/" + Logo.Name).Out, Logo.Data);
    }
    Findings = ReadFsck(CheckVolume(Image, Volume.Offset(), Volume.Bytes()));
    EXPECT_FALSE(Findings.Damage) << Findings.Text;
    std::cout << kKills << " kills (seed " << Seed << ", each within "
              << std::chrono::duration_cast<std::chrono::milliseconds>(RunTime).count() * 5 / 4
              << " ms): logos found new " << New << ", old " << Old << "; mtools killed at work "
              << MtoolsKilled << " times; a temporary file left " << Leftovers
              << " times; FAT copies differed after " << CopiesDiffered << " kills; lost clusters "
              << Findings.LostClusters << "\n";
}
