// Programs started from argument vectors: the descriptors they are handed, their exact
// environment, what they print, and a time limit that stops one that hangs.

#include "platform/run_program.h"
#include "tests/platform/test_files.h"

#include <chrono>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

TEST(RunProgram, HandsDescriptorsEnvironmentAndOutputOver) {
    TTempDir Dir;
    WriteFile(Dir / "a", "first");
    WriteFile(Dir / "b", "second");
    WriteFile(Dir / "c", "third");
    const int A = ::open((Dir / "a").c_str(), O_RDONLY | O_CLOEXEC);
    const int B = ::open((Dir / "b").c_str(), O_RDONLY | O_CLOEXEC);
    const int C = ::open((Dir / "c").c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(A, 0);
    ASSERT_GE(B, 0);
    ASSERT_GE(C, 0);
    TProgramCall Call;
    // Each of two files goes to the number the other one has here, and a third to 9.
    Call.Argv = {"/bin/sh",
                 "-c",
                 "cat <&$1; echo; cat <&$2; echo; cat <&9; echo \"[$X] [$HOME]\" >&2",
                 "sh",
                 std::to_string(A),
                 std::to_string(B)};
    Call.Descriptors = {{B, A}, {A, B}, {C, 9}};
    Call.Environment = {"X=a b", "PATH=/usr/bin:/bin"};
    const TProgramRun Run = RunProgram(Call);
    ASSERT_TRUE(Run.Started);
    EXPECT_EQ(Run.ExitStatus, 0);
    EXPECT_EQ(Run.Out, "second\nfirst\nthird");
    EXPECT_EQ(Run.Err, "[a b] []\n");
    ::close(A);
    ::close(B);
    ::close(C);

    Call = {};
    Call.Argv = {"no-such-program-anywhere"};
    EXPECT_FALSE(RunProgram(Call).Started);
}

TEST(RunProgram, StopsAProgramThatOutlivesItsTimeLimit) {
    TProgramCall Call;
    Call.Argv = {"/bin/sh", "-c", "echo started; exec sleep 30"};
    Call.TimeLimit = 1;
    Call.OwnProcessGroup = true;
    const auto Start = std::chrono::steady_clock::now();
    const TProgramRun Run = RunProgram(Call);
    EXPECT_LT(std::chrono::steady_clock::now() - Start, std::chrono::seconds(10));
    EXPECT_TRUE(Run.TimedOut);
    EXPECT_EQ(Run.ExitStatus, -1);
    EXPECT_EQ(Run.Out, "started\n");
}
