#include "core/stream.h"

#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>

TEST(Stream, WholeRecordReadsAndWritesRaiseOnShortTransfers) {
    std::uint8_t Block[4] = {1, 2, 3, 4};
    TBlockStream Stream(static_cast<void*>(Block), 4);
    std::uint8_t Out[4];
    Stream.ReadBuffer(Out, 3);
    EXPECT_EQ(Out[2], 3);
    try {
        Stream.ReadBuffer(Out, 2);
        ADD_FAILURE();
    } catch (const EReadError& E) {
        EXPECT_STREQ(E.what(), "Stream read error");
    }
    Stream.SetPosition(2);
    const std::uint8_t In[3] = {9, 9, 9};
    EXPECT_THROW(Stream.WriteBuffer(In, 3), EWriteError); // the block does not grow
    EXPECT_EQ(Block[2], 9);
    EXPECT_EQ(Block[3], 9);
}

TEST(Stream, BlockStreamsReadTheCallersMemoryWithoutCopying) {
    std::uint8_t Data[3] = {7, 8, 0};
    TBlockStream Stream(static_cast<const void*>(Data), 3);
    Data[2] = 9; // seen through the stream: it reads the block itself
    EXPECT_EQ(Stream.Size(), 3);
    EXPECT_EQ(Stream.Seek(-1, TSeekOrigin::soEnd), 2);
    std::uint8_t B = 0;
    EXPECT_EQ(Stream.Read(&B, 5), 1);
    EXPECT_EQ(B, 9);
    EXPECT_EQ(Stream.Write(&B, 1), 0);                      // read-only
    EXPECT_EQ(Stream.Seek(-10, TSeekOrigin::soCurrent), 3); // refused: before the start
}

TEST(Stream, MemoryStreamsGrowAndKeepTheirPosition) {
    TMemoryStream Stream;
    Stream.WriteBuffer("abc", 3);
    Stream.SetPosition(1);
    Stream.WriteBuffer("XYZ", 3);
    EXPECT_EQ(Stream.Size(), 4);
    EXPECT_EQ(std::string(Stream.Bytes().begin(), Stream.Bytes().end()), "aXYZ");
    Stream.SetPosition(0);
    char Out[4];
    Stream.ReadBuffer(Out, 4);
    EXPECT_EQ(std::string(Out, 4), "aXYZ");
}

TEST(Stream, FilesOpenCreateAndReportWhatFailed) {
    const auto Dir = std::filesystem::temp_directory_path() / "vespera_stream_test";
    std::filesystem::create_directories(Dir);
    const std::string Name = (Dir / "file.bin").string();
    {
        TFileStream File(Name, TFileMode::fmCreate);
        File.WriteBuffer("hello", 5);
        EXPECT_EQ(File.Size(), 5);
    }
    {
        TFileStream File(Name, TFileMode::fmOpenRead);
        char Out[5];
        File.ReadBuffer(Out, 5);
        EXPECT_EQ(std::string(Out, 5), "hello");
        EXPECT_THROW(File.ReadBuffer(Out, 1), EReadError);
    }
    try {
        TFileStream Missing((Dir / "missing").string(), TFileMode::fmOpenRead);
        ADD_FAILURE();
    } catch (const EFOpenError& E) {
        EXPECT_NE(std::string(E.what()).find("missing"), std::string::npos);
    }
    EXPECT_THROW(TFileStream(Dir.string(), TFileMode::fmOpenRead), EFOpenError);
    std::filesystem::remove_all(Dir);
}
