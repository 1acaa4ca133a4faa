// The processes that hold a disk image open: a real process that opened it and lives on.

#include "platform/disk_image/file_holders.h"
#include "tests/platform/test_files.h"

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

TEST(FileHolders, AProcessHoldingTheFileIsNamedWithItsId) {
    TTempDir Dir;
    const std::string Disk = Dir / "win98.vhd";
    WriteFile(Disk, "disk");
    WriteFile(Dir / "other.img", "other");
    const pid_t Child = ::fork();
    ASSERT_GE(Child, 0);
    if (Child == 0) {
        // The open file stays open through exec: sleep holds it as an emulator holds its disk.
        if (::open(Disk.c_str(), O_RDWR) >= 0) {
            ::execlp("sleep", "sleep", "30", static_cast<char*>(nullptr));
        }
        ::_exit(127);
    }
    std::vector<TFileHolder> Holders;
    for (int Try = 0; Try < 500; ++Try) {
        Holders = FindFileHolders({Disk});
        if (!Holders.empty() && Holders.front().Program == "sleep") {
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ASSERT_EQ(Holders.size(), 1u);
    EXPECT_EQ(Holders.front().Pid, Child);
    EXPECT_EQ(DescribeFileHolders(Holders), "sleep (process " + std::to_string(Child) + ")");
    // Another file, a missing one and a holder of our own count for nothing.
    EXPECT_TRUE(FindFileHolders({Dir / "other.img", Dir / "missing.img"}).empty());
    EXPECT_TRUE(FindFileHolders({Disk}, {Child}).empty());
    ::kill(Child, SIGKILL);
    ::waitpid(Child, nullptr, 0);
    EXPECT_TRUE(FindFileHolders({Disk}).empty());
}
