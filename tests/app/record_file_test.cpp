#include "app/records/record_file.h"
#include "tests/platform/test_files.h"

#include <gtest/gtest.h>
#include <map>
#include <random>

using namespace std::string_literals;

namespace {

using TLines = TRecordLines;

class RecordFile : public testing::Test {
protected:
    std::string Write(const std::string& Content) {
        const std::string Name = Dir / ("r" + std::to_string(++FCount).append(".txt"));
        WriteFile(Name, Content);
        return Name;
    }

    TLines Read(const std::string& FileName, std::uint32_t Seed, bool Strip = true,
                const std::string& Description = "") {
        TRandomSource Random(Seed);
        TLines Lines{"stale"};
        TRecordHeader Header = ReadRecordHeader(FileName);
        Header.Description = Description;
        ReadRecord(FileName, Header, Lines, Strip, Random);
        return Lines;
    }

    // How often each record comes up over the seeds 0..Count-1, spread over the day.
    std::map<TLines, int> Tally(const std::string& FileName, int Count) {
        std::map<TLines, int> Result;
        for (int I = 0; I < Count; ++I) {
            ++Result[Read(FileName, static_cast<std::uint32_t>(I) * 4321u)];
        }
        return Result;
    }

    TTempDir Dir;

private:
    int FCount = 0;
};

} // namespace

TEST_F(RecordFile, DescriptionComesFromTheHeader) {
    EXPECT_EQ(ReadDescription(Write("[header]\n description = Riddles \n[Data]\n")), "Riddles");
    EXPECT_EQ(ReadDescription(Write("[Header]\nFormat=SINGLE\n[Data]\nDescription=x\n")), "");
    EXPECT_EQ(ReadDescription(Write("[Header]\nDescription=" + std::string(5000, 'd'))),
              std::string(1023, 'd'));
    EXPECT_EQ(ReadDescription(Dir / "missing.txt"), "");
}

TEST_F(RecordFile, SingleDrawsUntilAUsableLineComesUp) {
    // Seed 0 draws 0, 0, 3 from four lines: the comment and the empty line are passed over.
    const auto F = Write("[Header]\nFormat=SINGLE\n[Data]\n;comment\n\nfirst\nsecond\n");
    EXPECT_EQ(Read(F, 0), TLines{"second"});
    EXPECT_EQ(Read(F, 0), Read(F, 0));
    // The empty line is passed over; blanks are not trimmed and ";" counts only first.
    EXPECT_EQ(Read(Write("[Header]\nFormat=single\n[Data]\n\n ;x\n"), 3), TLines{" ;x"});
}

TEST_F(RecordFile, SingleGivesEveryUsableLineAboutEqually) {
    std::string Content = "[Header]\nFormat=SINGLE\nDescription=d\n[Data]\n";
    for (int I = 0; I < 5; ++I) {
        Content += ";comment\n\n\nline " + std::to_string(I) + "\n";
    }
    const auto Tallies = Tally(Write(Content), 10000);
    ASSERT_EQ(Tallies.size(), 5u);
    for (const auto& [Lines, Count] : Tallies) {
        EXPECT_NEAR(Count, 2000, 150) << Lines[0];
    }
}

TEST_F(RecordFile, SingleWithItsOnlyUsableLineLastAlwaysGivesIt) {
    std::string Content = "[Header]\nFormat=SINGLE\n[Data]\n";
    Content += std::string(1000000, '\n') + ";;;\nthe one\n\n"; // a million empty lines
    const auto F = Write(Content);
    for (const std::uint32_t Seed : {0u, 1u, 86399999u}) {
        EXPECT_EQ(Read(F, Seed), TLines{"the one"});
    }
}

TEST_F(RecordFile, QuestionWithItsAnswersAndPrefixesCutOrKept) {
    const auto F = Write("[Header]\nFormat=Q&A\n[Data]\nQ: Why?\nA: Because.\nA: Really.\n"
                         "A:no\nA: after\n");
    EXPECT_EQ(Read(F, 5), (TLines{"Why?", "Because.", "Really."}));
    EXPECT_EQ(Read(F, 5, false), (TLines{"Q: Why?", "A: Because.", "A: Really."}));
}

TEST_F(RecordFile, OnlyExactQuestionMarkersCountAndBlanksEndAnswers) {
    // Seeds below 11 draw the first of three questions, 11..21 the second, 22..31 the third.
    const auto F = Write("[Header]\nFormat=q&a\n[Data]\n"
                         "q: lower\nQ:tight\n Q: indented\n"
                         "Q: one\n\nA: lost\n"
                         "Q: two\nQ: three\nA: 3\n"
                         "A: also\n");
    EXPECT_EQ(Read(F, 0), TLines{"one"});
    EXPECT_EQ(Read(F, 0, true, "desc"), (TLines{"one", "desc"}));
    EXPECT_EQ(Read(F, 0, false, "desc"), (TLines{"Q: one", "A: desc"}));
    EXPECT_EQ(Read(F, 11), TLines{"two"});
    EXPECT_EQ(Read(F, 22, true, "desc"), (TLines{"three", "3", "also"}));
}

TEST_F(RecordFile, DataStartsAfterTheFirstDataLineInAnyCase) {
    const auto F = Write("Q: before\n[Header]\nFormat=Q&A\n [Data]\nQ: not yet\n[DATA]\n"
                         "Format=SINGLE\nQ: only\nA: answer\n[Data]\nA: after\n");
    EXPECT_EQ(Read(F, 0), (TLines{"only", "answer"}));
}

TEST_F(RecordFile, BlocksRunToTheirEndOrTheEndOfTheFile) {
    const auto F = Write("[Header]\nFormat=ML\n[Data]\nignored\n"
                         "<start>\nline 1\n  line 2\n\n</END>\n<End>\nbetween\n"
                         "<START>\n<END>\n"
                         "<START>\nlast\n<START>\n");
    // Four blocks; seeds 0, 11 and 22 draw the first, second and third.
    EXPECT_EQ(Read(F, 0), (TLines{"line 1", "  line 2", "", "</END>"}));
    EXPECT_EQ(Read(F, 11), TLines{});                    // an empty block
    EXPECT_EQ(Read(F, 22), (TLines{"last", "<START>"})); // no <END>: up to the last line
    EXPECT_EQ(Tally(F, 300).size(), 3u);                 // the fourth block is empty too
}

TEST_F(RecordFile, NoRecordWithoutAUsableFormatDataLineOrRecord) {
    const std::string Data = "[Data]\nQ: q\nA: a\n<START>\nx\n<END>\nline\n";
    const std::vector<std::string> Files = {
        Dir / "missing.txt",
        Dir.Path(),
        Write("[Header]\n" + Data),
        Write("[Header]\nFormat=\n" + Data),
        Write("[Header]\nFormat=CSV\n" + Data),
        Write("[Header]\nFormat=Q&A\n[Dat]\nQ: q\n"),
        Write("[Other]\nFormat=SINGLE\n" + Data),
        Write("[Header]\nFormat=SINGLE\n[Data]\n;only\n\n;comments\n"),
        Write("[Header]\nFormat=SINGLE\n[Data]"),
        Write("[Header]\nFormat=Q&A\n[Data]\nA: answer\nq: lower\n"),
        Write("[Header]\nFormat=ML\n[Data]\n<START >\n<END>\nx\n"),
    };
    for (const std::string& F : Files) {
        EXPECT_EQ(Read(F, 12345), TLines{}) << F;
    }
}

TEST_F(RecordFile, LineEndsOfEveryKindAndBytesKeptAsTheyAre) {
    const auto Cr = Write("[Header]\rFormat=Q&A\r[Data]\rQ: cr\rA: only\r");
    EXPECT_EQ(Read(Cr, 1), (TLines{"cr", "only"}));
    const auto Mixed = Write("\xEF\xBB\xBF[Header]\r\nFormat=ML\n[Data]\r<START>\r\n"
                             "a\0b\xFF\r\n\r\n<END>"s);
    EXPECT_EQ(Read(Mixed, 1), (TLines{"a\0b\xFF"s, ""}));
}

TEST_F(RecordFile, HugeRecordsAreCutToTheTextLimit) {
    // A huge question fills the record by itself: its answer is not taken.
    const std::string Big(6 * 1024 * 1024, 'x');
    const auto F = Write("[Header]\nFormat=Q&A\n[Data]\n" + Big + "\nQ: " + Big + "\nA: " + Big);
    EXPECT_EQ(Read(F, 3), TLines{std::string(kMaxRecordText, 'x')});
    // The limit counts the line end between two lines, and the cut keeps whole characters.
    const std::string Short(1000, 's');
    std::string Euros;
    for (int I = 0; I < 30000; ++I) {
        Euros += "\xE2\x82\xAC";
    }
    const auto G =
        Write("[Header]\nFormat=ML\n[Data]\n<START>\n" + Short + "\n" + Euros + "\nnever\n<END>\n");
    const std::size_t Whole = (kMaxRecordText - Short.size() - 2) / 3 * 3;
    EXPECT_EQ(Read(G, 1), (TLines{Short, Euros.substr(0, Whole)}));
}

TEST_F(RecordFile, GarbageGivesARecordOfItsOwnBytesOrNone) {
    std::mt19937 Rng(99);
    std::string Garbage(4 * 1024 * 1024, '\0');
    for (char& C : Garbage) {
        C = static_cast<char>(Rng());
    }
    for (const char* Format : {"SINGLE", "Q&A", "ML"}) {
        const auto F = Write("[Header]\nFormat="s + Format + "\n[Data]\n" + Garbage);
        for (const std::uint32_t Seed : {1u, 777u}) {
            for (const std::string& Line : Read(F, Seed)) {
                EXPECT_NE(Garbage.find(Line), std::string::npos) << Format;
            }
        }
    }
    EXPECT_EQ(Read(Write(Garbage), 1), TLines{});
}

TEST_F(RecordFile, LongRecordsAreCut) {
    std::string Block = "[Header]\nFormat=ML\n[Data]\n<START>\n";
    for (int I = 0; I < 3000; ++I) {
        Block += "x\n";
    }
    EXPECT_EQ(Read(Write(Block), 1).size(), kMaxRecordLines);
}

TEST_F(RecordFile, DrawsFarIntoLargeFilesFindTheirRecord) {
    std::string Questions = "[Header]\nFormat=Q&A\n[Data]\n";
    std::string Blocks = "[Header]\nFormat=ML\n[Data]\n";
    std::string Singles = "[Header]\nFormat=SINGLE\n[Data]\n";
    const int Count = 5000;
    for (int I = 0; I < Count; ++I) {
        const std::string N = std::to_string(I);
        Questions += "Q: q" + N + "\r\nA: a" + N + "\r\nnoise\r\n";
        Blocks += "<START>\nb" + N + "\n<END>\n";
        Singles += "s" + N + "\r";
    }
    const auto Q = Write(Questions), B = Write(Blocks), S = Write(Singles);
    for (const std::uint32_t Seed : {0u, 1000u, 123456789u, 3000000000u, 4294967295u}) {
        TRandomSource Random(Seed);
        const std::string N = std::to_string(Random.RandomInt(Count));
        EXPECT_EQ(Read(Q, Seed), (TLines{"q" + N, "a" + N}));
        EXPECT_EQ(Read(B, Seed), TLines{"b" + N});
        EXPECT_EQ(Read(S, Seed), TLines{"s" + N});
    }
}

TEST_F(RecordFile, SampleFileAnswersEveryOneOfItsQuestions) {
    const std::string Sample = VESPERA_SAMPLE_RECORD_FILE;
    EXPECT_FALSE(ReadDescription(Sample).empty());
    const auto Tallies = Tally(Sample, 3000);
    EXPECT_GE(Tallies.size(), 40u);
    for (const auto& [Lines, Count] : Tallies) {
        ASSERT_GE(Lines.size(), 2u) << (Lines.empty() ? "" : Lines[0]);
    }
}
