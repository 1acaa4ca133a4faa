#include "core/stream.h"
#include "platform/atomic_file.h"
#include "tests/platform/test_files.h"
#include "tests/support/read_only.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

TEST(AtomicFile, ReplacesWithNewContentsKeepingThePermissionsAndLeavingNothingElse) {
    TTempDir Dir;
    WriteFile(Dir / "logow.sys", "old picture");
    ASSERT_EQ(::chmod((Dir / "logow.sys").c_str(), 0640), 0);
    ASSERT_NO_THROW(WriteFileAtomically(Dir / "logow.sys", "new picture", TReplaceMode::rmReplace));
    EXPECT_EQ(ReadFile(Dir / "logow.sys"), "new picture");
    EXPECT_EQ(ModeOf(Dir / "logow.sys"), 0640U);
    EXPECT_EQ(FolderEntries(Dir.Path()), std::vector<std::string>{"logow.sys"});

    // A new file gets the permissions of any new file of the process.
    const mode_t Mask = ::umask(022);
    ASSERT_NO_THROW(
        WriteFileAtomically(Dir / "new", std::string(200000, 'x'), TReplaceMode::rmReplace));
    ::umask(Mask);
    EXPECT_EQ(ModeOf(Dir / "new"), 0644U);
    EXPECT_EQ(ReadFile(Dir / "new").size(), 200000U);
}

TEST(AtomicFile, FailIfExistsLeavesAnExistingFileAlone) {
    TTempDir Dir;
    WriteFile(Dir / "backup", "first");
    try {
        WriteFileAtomically(Dir / "backup", "second", TReplaceMode::rmFailIfExists);
        ADD_FAILURE() << "no exception";
    } catch (const EFCreateError& Failure) {
        EXPECT_EQ(Failure.ErrorCode(), EEXIST);
    }
    EXPECT_EQ(ReadFile(Dir / "backup"), "first");
    EXPECT_NO_THROW(WriteFileAtomically(Dir / "other", "second", TReplaceMode::rmFailIfExists));
    EXPECT_EQ(FolderEntries(Dir.Path()), (std::vector<std::string>{"backup", "other"}));
}

TEST(AtomicFile, CopyTakesTheSourcesPermissionsAndFailsWithoutASource) {
    TTempDir Dir;
    WriteFile(Dir / "src", std::string(300000, 's'));
    ASSERT_EQ(::chmod((Dir / "src").c_str(), 0604), 0);
    ASSERT_NO_THROW(CopyFileAtomically(Dir / "src", Dir / "copy", TReplaceMode::rmFailIfExists));
    EXPECT_EQ(ReadFile(Dir / "copy"), ReadFile(Dir / "src"));
    EXPECT_EQ(ModeOf(Dir / "copy"), 0604U);
    EXPECT_THROW(CopyFileAtomically(Dir / "src", Dir / "copy", TReplaceMode::rmFailIfExists),
                 EFCreateError);
    EXPECT_THROW(CopyFileAtomically(Dir / "missing", Dir / "copy2", TReplaceMode::rmReplace),
                 EFCreateError);
    EXPECT_THROW(CopyFileAtomically(Dir.Path(), Dir / "copy3", TReplaceMode::rmReplace),
                 EFCreateError);
    EXPECT_EQ(FolderEntries(Dir.Path()), (std::vector<std::string>{"copy", "src"}));
}

TEST(AtomicFile, StaleTemporaryFilesGoButThoseOfLiveWritersStay) {
    TTempDir Dir;
    // Left by a killed writer: unlocked.
    WriteFile(Dir / ".logow.sys.tmp-Abc123", "half a pic");
    // Held by a writer at work: locked.
    WriteFile(Dir / ".logow.sys.tmp-Live99", "being written");
    const int Live = ::open((Dir / ".logow.sys.tmp-Live99").c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(Live, 0);
    ASSERT_EQ(::flock(Live, LOCK_EX), 0);
    // Names that only look alike belong to nobody here.
    WriteFile(Dir / ".logos.sys.tmp-Abc123", "other target");
    WriteFile(Dir / ".logow.sys.tmp-toolong1", "not ours");

    ASSERT_NO_THROW(WriteFileAtomically(Dir / "logow.sys", "new", TReplaceMode::rmReplace));
    EXPECT_EQ(FolderEntries(Dir.Path()),
              (std::vector<std::string>{".logos.sys.tmp-Abc123", ".logow.sys.tmp-Live99",
                                        ".logow.sys.tmp-toolong1", "logow.sys"}));
    ::close(Live);
    RemoveStaleTemporaryFiles(Dir / "logow.sys");
    EXPECT_EQ(FolderEntries(Dir.Path()),
              (std::vector<std::string>{".logos.sys.tmp-Abc123", ".logow.sys.tmp-toolong1",
                                        "logow.sys"}));
    EXPECT_TRUE(IsTemporaryFileOf(".logow.sys.tmp-Abc123", "logow.sys"));
    EXPECT_FALSE(IsTemporaryFileOf("logow.sys.tmp-Abc123", "logow.sys"));
    EXPECT_FALSE(IsTemporaryFileOf(".logow.sys.tmp-Abc12", "logow.sys"));
}

TEST(AtomicFile, AFolderThatCannotBeWrittenFailsAndKeepsTheOldFile) {
    TTempDir Dir;
    std::filesystem::create_directories(Dir / "windows");
    WriteFile(Dir / "windows/logow.sys", "old picture");
    {
        const TReadOnly Guard(Dir / "windows");
        if (!Guard.Ok()) {
            GTEST_SKIP() << "cannot make a folder read-only here";
        }
        EXPECT_THROW(WriteFileAtomically(Dir / "windows/logow.sys", "new", TReplaceMode::rmReplace),
                     EFCreateError);
    }
    EXPECT_EQ(ReadFile(Dir / "windows/logow.sys"), "old picture");
    EXPECT_EQ(FolderEntries(Dir / "windows"), std::vector<std::string>{"logow.sys"});
    EXPECT_THROW(WriteFileAtomically(Dir / "missing/logow.sys", "new", TReplaceMode::rmReplace),
                 EFCreateError);
}
