#include "platform/ini_file.h"
#include "platform/ini_value.h"
#include "tests/platform/test_files.h"

#include <gtest/gtest.h>
#include <utility>

TEST(IniValueRules, DecimalDollarHexAndLongZeroXHex) {
    const std::pair<const char*, int> Cases[] = {
        {"18", 18},
        {"-128", -128},
        {"+5", 5},
        {"007", 7},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"$FF", 255},
        {"$808000", 0x808000},
        {"0x0000FF", 255}, // a hand-written red
        {"0X1a", 26},
        {"0x0", 0},
        {"$000000000000FF", 255},
        // A hexadecimal value is a 32-bit pattern: system colours stay negative.
        {"$FFFFFFFF", -1},
        {"0x80000005", static_cast<int>(0x80000005u)}};
    for (const auto& [Text, Value] : Cases) {
        EXPECT_EQ(IniStrToInt(Text, -7), Value) << Text;
    }
}

TEST(IniValueRules, AnythingElseGivesTheDefault) {
    for (const char* Text : {"",
                             " ",
                             "0x",
                             "0X",
                             "$",
                             "x10",
                             "12abc",
                             "1 2",
                             " 12",
                             "12 ",
                             "-",
                             "+",
                             "--1",
                             "1.5",
                             "2147483648",
                             "-2147483649",
                             "$1FFFFFFFF",
                             "0x1G",
                             "$-1",
                             "-$1",
                             "-0x1",
                             "0x+1",
                             "99999999999999999999"}) {
        EXPECT_EQ(IniStrToInt(Text, -7), -7) << '"' << Text << '"';
    }
}

TEST(IniFile, TypedValuesRoundTripAndHandWrittenFormsRead) {
    TTempDir Dir;
    TIniFile Ini(Dir / "Vespera.INI");
    EXPECT_EQ(Ini.ReadInteger("First Logo", "Size", 18), 18); // no file yet
    EXPECT_TRUE(Ini.ReadBool("First Logo", "Bold", true));
    Ini.WriteInteger("First Logo", "ShadowColor", -2147483647 - 1);
    Ini.WriteInteger("First Logo", "TextColor", 65280);
    Ini.WriteBool("First Logo", "Bold", true);
    Ini.WriteBool("First Logo", "Italic", false);
    Ini.WriteString("First Logo", "Line", "  padded  ");
    EXPECT_EQ(ReadFile(Ini.FileName()), "[First Logo]\nShadowColor=-2147483648\nTextColor=65280\n"
                                        "Bold=1\nItalic=0\nLine=  padded  \n");
    EXPECT_EQ(Ini.ReadInteger("first logo", "shadowcolor", 0), -2147483647 - 1);
    EXPECT_TRUE(Ini.ReadBool("First Logo", "Bold", false));
    EXPECT_FALSE(Ini.ReadBool("First Logo", "Italic", true));
    EXPECT_EQ(Ini.ReadString("First Logo", "Line", ""), "padded"); // blanks around values go

    WriteFile(Ini.FileName(), "[L]\nColor=0x0000FF\nSize=big\nBold=2\nItalic=yes\nOnly=3\n");
    EXPECT_EQ(Ini.ReadInteger("L", "Color", 0), 255);
    EXPECT_EQ(Ini.ReadInteger("L", "Size", 18), 18);
    EXPECT_EQ(Ini.ReadInteger("L", "Only", 0), 3); // range checks belong to the caller
    EXPECT_TRUE(Ini.ReadBool("L", "Bold", false));
    EXPECT_FALSE(Ini.ReadBool("L", "Italic", false)); // not a number: the default
    EXPECT_TRUE(Ini.ReadBool("L", "Italic", true));
}

TEST(IniFile, FailedWriteRaisesWithThePath) {
    TTempDir Dir;
    TIniFile Ini(Dir / "missing/Vespera.INI");
    try {
        Ini.WriteInteger("General", "Only One", 0);
        ADD_FAILURE() << "no exception";
    } catch (const EIniFileException& Error) {
        EXPECT_EQ(Error.Message(), "Unable to write to " + Dir / "missing/Vespera.INI");
    }
}
