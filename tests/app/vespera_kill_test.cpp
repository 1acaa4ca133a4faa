// "vespera /AUTO" killed with SIGKILL at random moments, over and over: after every kill both
// logos are whole pictures (the old or the new), and the next complete run leaves no temporary
// file behind.

#include "pgraphic/image/pixel_graphic.h"
#include "tests/app/vespera_program.h"
#include "tests/platform/test_files.h"
#include "tests/support/environment.h"
#include "tests/support/run_process.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <random>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>

extern char** environ;

namespace {

constexpr int kKills = 200;
constexpr std::uintmax_t kLogoFileSize = 14 + 40 + 1024 + 320 * 400;

// Starts the program with "/AUTO", its output thrown away; returns its process id.
pid_t StartAutoRun(const std::string& Program) {
    posix_spawn_file_actions_t Actions;
    posix_spawn_file_actions_init(&Actions);
    posix_spawn_file_actions_addopen(&Actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&Actions, 2, "/dev/null", O_WRONLY, 0);
    const std::string Auto = "/AUTO";
    char* Argv[] = {const_cast<char*>(Program.c_str()), const_cast<char*>(Auto.c_str()), nullptr};
    pid_t Pid = -1;
    if (posix_spawn(&Pid, Program.c_str(), &Actions, nullptr, Argv, environ) != 0) {
        Pid = -1;
    }
    posix_spawn_file_actions_destroy(&Actions);
    return Pid;
}

// The logo file as a whole picture: its full size, and readable to the end as 320 x 400 with
// 8 bits per pixel.
void ExpectWholeLogo(const std::string& FileName, int Round) {
    ASSERT_EQ(std::filesystem::file_size(FileName), kLogoFileSize) << FileName << " " << Round;
    TPixelGraphic Logo;
    ASSERT_NO_THROW(Logo.LoadFromFile(FileName)) << FileName << " " << Round;
    EXPECT_EQ(Logo.Width(), 320);
    EXPECT_EQ(Logo.Height(), 400);
    EXPECT_EQ(Logo.BitCount(), bc8);
}

} // namespace

TEST(VesperaKill, LogosStayWholeWhateverMomentARunIsKilledAt) {
    TTempDir Dir;
    const TVesperaProgram Program(Dir);
    std::filesystem::create_directories(Dir / "windows");
    TEnvironment Env;
    Env.Set("VESPERA_WINDIR", Dir / "windows");
    Env.Set("HOME", Dir / "home");
    Env.Set("QT_QPA_PLATFORM", "offscreen");
    // Leak reports of a killed process mean nothing.
    Env.Set("ASAN_OPTIONS", "detect_leaks=0");
    const std::vector<std::string> Logos{Dir / "windows/logow.sys", Dir / "windows/logos.sys"};

    // Complete runs first: the logos exist, and the quickest of them sets the span of the kill
    // moments. The quickest, because other tests share the processors and any one run may be
    // slowed down; a span set by a slow run would let most later runs finish before their kill.
    auto Span = std::chrono::microseconds::max();
    for (int Run = 0; Run < 3; ++Run) {
        const auto Start = std::chrono::steady_clock::now();
        ASSERT_EQ(RunProcess({Program.Path(), "/AUTO"}).ExitCode, 0);
        Span = std::min(Span, std::chrono::duration_cast<std::chrono::microseconds>(
                                  std::chrono::steady_clock::now() - Start));
    }

    Span = Span * 6 / 5; // past the end of a run, so the last steps are cut too
    std::mt19937 Random(20011025);
    std::uniform_int_distribution<std::int64_t> Moment(0, Span.count());
    int Completed = 0;
    for (int Round = 1; Round <= kKills; ++Round) {
        const pid_t Pid = StartAutoRun(Program.Path());
        ASSERT_GT(Pid, 0);
        std::this_thread::sleep_for(std::chrono::microseconds(Moment(Random)));
        ::kill(Pid, SIGKILL);
        int Status = 0;
        ASSERT_EQ(::waitpid(Pid, &Status, 0), Pid);
        Completed += WIFEXITED(Status) ? 1 : 0;
        for (const std::string& Logo : Logos) {
            ExpectWholeLogo(Logo, Round);
        }
        if (Round % 50 == 0) {
            // The next complete run removes what killed runs left.
            ASSERT_EQ(RunProcess({Program.Path(), "/AUTO"}).ExitCode, 0);
            EXPECT_EQ(FolderEntries(Dir / "windows"),
                      (std::vector<std::string>{"logos.sys", "logow.sys"}));
        }
    }
    // Most runs were cut short, so the kills fell at different moments of the work.
    EXPECT_LT(Completed, kKills * 3 / 4);
}
