#include "app/record_choice.h"
#include "app/record_file.h"
#include "tests/app/fixed_clock.h"
#include "tests/platform/test_files.h"

#include <gtest/gtest.h>
#include <set>

using namespace std::chrono_literals;

namespace {

class ChooseRecordTest : public testing::Test {
protected:
    bool Choose(const std::string& FileName) {
        return ChooseRecord(FileName, "first default", "last default", Texts, Random);
    }

    TTempDir Dir;
    TFixedClock Clock{1h};
    TRandomSource Random;
    TRecordTexts Texts{"old first", "old last", "old description"};
};

} // namespace

TEST_F(ChooseRecordTest, NoFileLeavesTheDefaultsAndTheOldDescription) {
    EXPECT_FALSE(Choose(Dir / "missing.txt"));
    EXPECT_EQ(Texts.FirstText, "first default");
    EXPECT_EQ(Texts.LastText, "last default");
    EXPECT_EQ(Texts.FileDescription, "old description");
    EXPECT_FALSE(Choose(Dir.Path())); // a folder is no record file
    EXPECT_FALSE(Choose(""));
}

TEST_F(ChooseRecordTest, OneLineGoesUnderTheDescriptionOrTheFirstDefault) {
    WriteFile(Dir / "s.txt", "[Header]\nFormat=SINGLE\nDescription=Proverb\n[Data]\nHaste.\n");
    EXPECT_TRUE(Choose(Dir / "s.txt"));
    EXPECT_EQ(Texts.FirstText, "Proverb");
    EXPECT_EQ(Texts.LastText, "Haste.");
    EXPECT_EQ(Texts.FileDescription, "Proverb");

    WriteFile(Dir / "s.txt", "[Header]\nFormat=SINGLE\n[Data]\nHaste.\n");
    EXPECT_TRUE(Choose(Dir / "s.txt"));
    EXPECT_EQ(Texts.FirstText, "first default");
    EXPECT_EQ(Texts.LastText, "Haste.");
    EXPECT_EQ(Texts.FileDescription, "");
}

TEST_F(ChooseRecordTest, FurtherLinesJoinTheSecondLogoWithCrLf) {
    WriteFile(Dir / "q.txt", "[Header]\nFormat=Q&A\n[Data]\nQ: Two?\nA: one\nA: two\n");
    EXPECT_TRUE(Choose(Dir / "q.txt"));
    EXPECT_EQ(Texts.FirstText, "Two?");
    EXPECT_EQ(Texts.LastText, "one\r\ntwo");

    WriteFile(Dir / "m.txt", "[Header]\nFormat=ML\n[Data]\n<START>\nl1\nl2\nl3\n<END>\n");
    EXPECT_TRUE(Choose(Dir / "m.txt"));
    EXPECT_EQ(Texts.FirstText, "l1");
    EXPECT_EQ(Texts.LastText, "l2\r\nl3");
}

TEST_F(ChooseRecordTest, UnansweredQuestionTakesTheDescriptionOrGoesToTheSecondLogo) {
    WriteFile(Dir / "q.txt", "[Header]\nFormat=Q&A\nDescription=Think!\n[Data]\nQ: Why?\n\nA: x\n");
    EXPECT_TRUE(Choose(Dir / "q.txt"));
    EXPECT_EQ(Texts.FirstText, "Why?");
    EXPECT_EQ(Texts.LastText, "Think!");

    WriteFile(Dir / "q.txt", "[Header]\nFormat=Q&A\n[Data]\nQ: Why?\n\nA: x\n");
    EXPECT_TRUE(Choose(Dir / "q.txt"));
    EXPECT_EQ(Texts.FirstText, "first default");
    EXPECT_EQ(Texts.LastText, "Why?");
}

TEST_F(ChooseRecordTest, NoRecordInAnExistingFileKeepsTheDefaults) {
    WriteFile(Dir / "e.txt", "[Header]\nFormat=ML\nDescription=Blocks\n[Data]\n<START>\n<END>\n");
    EXPECT_TRUE(Choose(Dir / "e.txt"));
    EXPECT_EQ(Texts.FirstText, "first default");
    EXPECT_EQ(Texts.LastText, "last default");
    EXPECT_EQ(Texts.FileDescription, "Blocks");
}

TEST_F(ChooseRecordTest, TheClocksMillisecondDecidesTheRecord) {
    std::string Content = "[Header]\nFormat=Q&A\n[Data]\n";
    for (int I = 0; I < 50; ++I) {
        Content += "Q: question " + std::to_string(I) + "\nA: answer " + std::to_string(I) + "\n";
    }
    WriteFile(Dir / "q.txt", Content);

    // The seed is the time of day in milliseconds: the same draw as a source seeded by hand.
    Clock.Set(12h + 34min + 56s + 789ms);
    ASSERT_TRUE(Choose(Dir / "q.txt"));
    TRandomSource Expected(45296789);
    TRecordLines Lines;
    ReadRecord(Dir / "q.txt", Lines, true, "", Expected);
    ASSERT_EQ(Lines.size(), 2u);
    EXPECT_EQ(Texts.FirstText, Lines[0]);
    EXPECT_EQ(Texts.LastText, Lines[1]);

    // The same millisecond gives the same record, whatever the source held before.
    const TRecordTexts First = Texts;
    Random.SetSeed(999);
    ASSERT_TRUE(Choose(Dir / "q.txt"));
    EXPECT_EQ(Texts.FirstText, First.FirstText);

    // Over a day's milliseconds every question comes up, each with its own answer.
    std::set<std::string> Seen;
    for (int I = 0; I < 1000; ++I) {
        Clock.Set(std::chrono::milliseconds(I * 86399));
        ASSERT_TRUE(Choose(Dir / "q.txt"));
        EXPECT_EQ(Texts.LastText, "answer " + Texts.FirstText.substr(9));
        Seen.insert(Texts.FirstText);
    }
    EXPECT_EQ(Seen.size(), 50u);
}
