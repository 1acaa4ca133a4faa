#include "platform/line_reader.h"
#include "tests/platform/test_files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <vector>

namespace {

std::vector<std::string> LinesOf(const std::string& Content) {
    TTempDir Dir;
    WriteFile(Dir / "f", Content);
    TLineReader Reader;
    EXPECT_NO_THROW(Reader.Open(Dir / "f"));
    std::vector<std::string> Lines;
    TTextLine Line;
    while (Reader.Next(Line)) {
        Lines.emplace_back(Line.Text);
    }
    return Lines;
}

using TLines = std::vector<std::string>;

} // namespace

TEST(LineReader, LinesEndAtCrLfOrCrLfAndALastLineNeedsNoEnd) {
    EXPECT_EQ(LinesOf(""), TLines{});
    EXPECT_EQ(LinesOf("a"), TLines{"a"});
    EXPECT_EQ(LinesOf("a\n"), TLines{"a"});
    EXPECT_EQ(LinesOf("a\rb\nc\r\nd"), (TLines{"a", "b", "c", "d"}));
    EXPECT_EQ(LinesOf("\n\n"), (TLines{"", ""}));
    EXPECT_EQ(LinesOf("a\r\r\nb\n\rc"), (TLines{"a", "", "b", "", "c"}));
    EXPECT_EQ(LinesOf(" a \t\n"), TLines{" a \t"}); // nothing is trimmed
    EXPECT_EQ(LinesOf(std::string("x\0y\n\0", 5)),
              (TLines{std::string("x\0y", 3), std::string(1, '\0')}));
}

TEST(LineReader, ByteOrderMarkIsSkippedOnlyBeforeTheFirstLine) {
    EXPECT_EQ(LinesOf("\xEF\xBB\xBF[Header]\n\xEF\xBB\xBFx"),
              (TLines{"[Header]", "\xEF\xBB\xBFx"}));
    EXPECT_EQ(LinesOf("\xEF\xBB"), TLines{"\xEF\xBB"});
}

TEST(LineReader, LinesAndCrLfPairsCrossingTheBufferBoundary) {
    // Put a CR LF pair, a CR and long lines across the ends of the buffer.
    const std::size_t Chunk = TLineReader::kBufferSize;
    const std::string A(Chunk - 1, 'a');
    EXPECT_EQ(LinesOf(A + "\r\nb"), (TLines{A, "b"}));
    EXPECT_EQ(LinesOf(A + "\r\rb"), (TLines{A, "", "b"}));
    EXPECT_EQ(LinesOf(A + "\r"), TLines{A});
    const std::string Long(3 * Chunk + 17, 'L');
    EXPECT_EQ(LinesOf("x\n" + Long + "\r\n" + Long), (TLines{"x", Long, Long}));
}

TEST(LineReader, OnlyRegularFilesOpen) {
    TTempDir Dir;
    TLineReader Reader;
    try {
        Reader.Open(Dir / "missing");
        ADD_FAILURE() << "a missing file opened";
    } catch (const EReadError& Failure) {
        EXPECT_EQ(Failure.Message(),
                  "Cannot open file " + Dir / "missing" + ": No such file or directory");
    }
    EXPECT_THROW(Reader.Open(Dir.Path()), EReadError);
    ASSERT_EQ(::mkfifo((Dir / "pipe").c_str(), 0600), 0);
    EXPECT_THROW(Reader.Open(Dir / "pipe"), EReadError); // at once, nobody writes to the pipe
    EXPECT_THROW(Reader.Open("/dev/zero"), EReadError);
    TTextLine Line;
    EXPECT_FALSE(Reader.Next(Line));
}

TEST(LineReader, PeekLooksAheadWithoutPassingTheLine) {
    TTempDir Dir;
    const std::size_t Chunk = TLineReader::kBufferSize;
    // After the byte-order mark and "Q: x\n", A's CR is the buffer's last byte and its LF the
    // first of the next part of the file.
    const std::string A(Chunk - 9, 'a');
    const std::string Long = "long" + std::string(Chunk, 'L');
    WriteFile(Dir / "f", "\xEF\xBB\xBFQ: x\n" + A + "\r\n" + Long + "\nend");
    TLineReader Reader;
    ASSERT_NO_THROW(Reader.Open(Dir / "f"));
    EXPECT_EQ(Reader.Peek(3), "Q: ");
    EXPECT_EQ(Reader.Peek(100), "Q: x");
    EXPECT_EQ(Reader.NextOffset(), 3u);
    TTextLine Line;
    ASSERT_TRUE(Reader.Next(Line));
    EXPECT_EQ(Line.Text, "Q: x");
    ASSERT_TRUE(Reader.Next(Line));
    EXPECT_EQ(Line.Length, A.size());
    const std::uint64_t LongOffset = Reader.NextOffset();
    EXPECT_EQ(LongOffset, Chunk + 1);
    EXPECT_EQ(Reader.Peek(6), "longLL");
    ASSERT_TRUE(Reader.Next(Line));
    EXPECT_EQ(Line.Offset, LongOffset);
    EXPECT_EQ(Line.Text, Long);
    EXPECT_EQ(Reader.Peek(10), "end");
    ASSERT_TRUE(Reader.Next(Line));
    EXPECT_EQ(Reader.Peek(1), std::nullopt);
    Reader.Seek(LongOffset);
    EXPECT_EQ(Reader.Peek(4), "long");
}
