#include "app/records/record_choice.h"
#include "app/records/record_file.h"
#include "tests/app/fixed_clock.h"
#include "tests/platform/test_files.h"

#include <gtest/gtest.h>
#include <set>
#include <sys/stat.h>

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
    ASSERT_EQ(::mkfifo((Dir / "pipe.txt").c_str(), 0600), 0); // must not block
    for (const std::string& Name :
         {Dir / "missing.txt", Dir.Path(), Dir / "pipe.txt", std::string()}) {
        EXPECT_FALSE(Choose(Name));
        EXPECT_EQ(Texts.FirstText, "first default");
        EXPECT_EQ(Texts.LastText, "last default");
        EXPECT_EQ(Texts.FileDescription, "old description");
    }
}

TEST_F(ChooseRecordTest, RecordLinesBecomeTheTwoTexts) {
    struct TCase {
        const char* Content;
        const char* First;
        const char* Last;
    };
    const TCase Cases[] = {
        // One line: under the description, or under the first default text.
        {"[Header]\nFormat=SINGLE\nDescription=Proverb\n[Data]\nHaste.\n", "Proverb", "Haste."},
        {"[Header]\nFormat=SINGLE\n[Data]\nHaste.\n", "first default", "Haste."},
        // More lines: the first on the first logo, the others joined by CR LF.
        {"[Header]\nFormat=Q&A\n[Data]\nQ: Two?\nA: one\nA: two\n", "Two?", "one\r\ntwo"},
        {"[Header]\nFormat=ML\n[Data]\n<START>\nl1\nl2\nl3\n<END>\n", "l1", "l2\r\nl3"},
        // A question cut off from its answer takes the description, or goes to the second logo.
        {"[Header]\nFormat=Q&A\nDescription=Think!\n[Data]\nQ: Why?\n\nA: x\n", "Why?", "Think!"},
        {"[Header]\nFormat=Q&A\n[Data]\nQ: Why?\n\nA: x\n", "first default", "Why?"},
        // No record: both defaults.
        {"[Header]\nFormat=ML\nDescription=Blocks\n[Data]\n<START>\n<END>\n", "first default",
         "last default"},
    };
    for (const TCase& Case : Cases) {
        WriteFile(Dir / "r.txt", Case.Content);
        EXPECT_TRUE(Choose(Dir / "r.txt"));
        EXPECT_EQ(Texts.FirstText, Case.First) << Case.Content;
        EXPECT_EQ(Texts.LastText, Case.Last) << Case.Content;
        EXPECT_EQ(Texts.FileDescription, ReadDescription(Dir / "r.txt"));
    }
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
    ReadRecord(Dir / "q.txt", ReadRecordHeader(Dir / "q.txt"), Lines, true, Expected);
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
