// The font box: incremental search by its rules, then the widget with a family list of our own
// and with the font database, driven by QTest's keys.

#include "platform/display.h"
#include "widget_test_util.h"
#include "widgets/font_combo_box.h"
#include "widgets/font_glyphs.h"
#include "widgets/font_item_delegate.h"
#include "widgets/incremental_search.h"

#include <QAbstractItemView>
#include <QImage>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

const QStringList kItems{"Arial", "Arial Black", "Courier", "Courier New", "Times"};

TIncrementalSearch::TItemText TextOf(const QStringList& Items) {
    return [&Items](int Index) { return Items[Index]; };
}

TEST(IncrementalSearch, TypedCharactersSelectTheFirstItemWithThePrefixInAnyCase) {
    TIncrementalSearch Search;
    auto R = Search.TypeCharacter('c', 5, TextOf(kItems));
    EXPECT_EQ(R.Action, TIncrementalSearch::TResult::Select);
    EXPECT_EQ(R.Index, 2);
    EXPECT_FALSE(R.Beep);
    for (const QChar C : QString("OURIER ")) {
        R = Search.TypeCharacter(C, 5, TextOf(kItems));
    }
    EXPECT_EQ(R.Index, 3);
    EXPECT_EQ(Search.Prefix(), "cOURIER ");
    // No match: a beep, and the character does not stay in the prefix.
    R = Search.TypeCharacter('x', 5, TextOf(kItems));
    EXPECT_EQ(R.Action, TIncrementalSearch::TResult::None);
    EXPECT_TRUE(R.Beep);
    EXPECT_EQ(Search.Prefix(), "cOURIER ");
    // Control characters are not search characters.
    EXPECT_EQ(Search.TypeCharacter(QChar(9), 5, TextOf(kItems)).Action,
              TIncrementalSearch::TResult::None);
    EXPECT_EQ(Search.Prefix(), "cOURIER ");
}

TEST(IncrementalSearch, BackspaceShortensThePrefixAndClearsTheSelectionWhenEmpty) {
    TIncrementalSearch Search;
    auto R = Search.Backspace(5, TextOf(kItems));
    EXPECT_TRUE(R.Beep);
    EXPECT_EQ(R.Action, TIncrementalSearch::TResult::None);
    Search.TypeCharacter('a', 5, TextOf(kItems));
    Search.TypeCharacter('r', 5, TextOf(kItems));
    R = Search.Backspace(5, TextOf(kItems));
    EXPECT_EQ(R.Action, TIncrementalSearch::TResult::Select);
    EXPECT_EQ(R.Index, 0);
    R = Search.Backspace(5, TextOf(kItems));
    EXPECT_EQ(R.Action, TIncrementalSearch::TResult::ClearSelection);
    EXPECT_FALSE(R.Beep);
    EXPECT_TRUE(Search.Prefix().isEmpty());
}

TEST(IncrementalSearch, EmptyListBeepsAtEveryCharacter) {
    TIncrementalSearch Search;
    const QStringList None;
    EXPECT_TRUE(Search.TypeCharacter('a', 0, TextOf(None)).Beep);
    EXPECT_TRUE(Search.Prefix().isEmpty());
}

std::vector<TFontFamily> SampleFamilies(TFontDevice) {
    return {{"Times New Roman", kTrueTypeBit | kVariablePitchBit},
            {"courier new", kTrueTypeBit},
            {"Arial Black", kTrueTypeBit | kVariablePitchBit},
            {"Fixedsys", 0},
            {"Arial", kTrueTypeBit | kVariablePitchBit},
            {"MS Sans Serif", kVariablePitchBit},
            {"Courier", 0}};
}

// A font box of the sample families in a shown window, with its events and beeps counted.
class FontComboBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        Box = new TFontComboBox(&Window);
        Box->SetFamilySource(SampleFamilies);
        Box->setGeometry(16, 36, 177, 22);
        Box->OnClick = [this](TObject*) { ++Clicks; };
        Box->OnChange = [this](TObject* Sender) {
            EXPECT_EQ(Sender, static_cast<TObject*>(Box));
            ++Changes;
        };
        SetBeepHook([this] { ++Beeps; });
        Window.show();
        Box->setFocus();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&Window));
    }
    void TearDown() override { SetBeepHook(nullptr); }

    QStringList Names() const {
        QStringList Result;
        for (int I = 0; I < Box->count(); ++I) {
            Result << Box->itemText(I);
        }
        return Result;
    }

    QWidget Window;
    TFontComboBox* Box = nullptr;
    int Clicks = 0;
    int Changes = 0;
    int Beeps = 0;
};

TEST_F(FontComboBoxTest, ListsTheFamiliesSortedWithNothingSelected) {
    EXPECT_EQ(Names(), (QStringList{"Arial", "Arial Black", "Courier", "courier new", "Fixedsys",
                                    "MS Sans Serif", "Times New Roman"}));
    EXPECT_EQ(Box->ItemIndex(), -1);
    EXPECT_EQ(Box->FontName(), "");
    EXPECT_EQ(Box->FontSize(), 8);
    EXPECT_EQ(Box->DropDownCount(), 8);
    EXPECT_TRUE(Box->BeepOnInvalidKey());
    EXPECT_EQ(Box->PitchAndFamily(3), kTrueTypeBit);
    Box->SetSorted(false);
    EXPECT_EQ(Names().front(), "Times New Roman");
}

TEST_F(FontComboBoxTest, ThreeLettersInAnyCaseSelectTheFirstFamilyInSortedOrder) {
    QTest::keyClicks(Box, "cOU");
    EXPECT_EQ(Box->FontName(), "Courier");
    EXPECT_EQ(Clicks, 3);
    EXPECT_EQ(Changes, 3);
    EXPECT_EQ(Beeps, 0);
    QTest::keyClicks(Box, "rier N");
    EXPECT_EQ(Box->FontName(), "courier new");
    // A character that matches nothing beeps and keeps the selection.
    const int Before = Changes;
    QTest::keyClick(Box, 'z');
    EXPECT_EQ(Beeps, 1);
    EXPECT_EQ(Box->FontName(), "courier new");
    EXPECT_EQ(Changes, Before);
    // The prefix did not keep the "z": the next matching letter still extends it.
    QTest::keyClick(Box, 'e');
    EXPECT_EQ(Box->SearchPrefix(), "cOUrier Ne");
    EXPECT_EQ(Beeps, 1);
}

TEST_F(FontComboBoxTest, BackspaceToAnEmptyPrefixClearsTheSelection) {
    QTest::keyClicks(Box, "ar");
    EXPECT_EQ(Box->FontName(), "Arial");
    QTest::keyClick(Box, Qt::Key_Backspace);
    EXPECT_EQ(Box->FontName(), "Arial");
    const int Before = Changes;
    QTest::keyClick(Box, Qt::Key_Backspace);
    EXPECT_EQ(Box->ItemIndex(), -1);
    EXPECT_EQ(Changes, Before + 1);
    EXPECT_EQ(Beeps, 0);
    QTest::keyClick(Box, Qt::Key_Backspace);
    EXPECT_EQ(Beeps, 1);
    Box->SetBeepOnInvalidKey(false);
    QTest::keyClick(Box, Qt::Key_Backspace);
    QTest::keyClick(Box, 'q');
    EXPECT_EQ(Beeps, 1);
}

TEST_F(FontComboBoxTest, NavigationKeysEscapeAndFocusLossStartTheSearchOver) {
    for (const Qt::Key Key : {Qt::Key_Down, Qt::Key_Up, Qt::Key_Home, Qt::Key_End, Qt::Key_PageUp,
                              Qt::Key_PageDown, Qt::Key_Left, Qt::Key_Right}) {
        QTest::keyClicks(Box, "ti");
        EXPECT_EQ(Box->SearchPrefix(), "ti");
        QTest::keyClick(Box, Key);
        EXPECT_TRUE(Box->SearchPrefix().isEmpty()) << Key;
    }
    // Home went to the first family and fired the events like a user's choice.
    QTest::keyClicks(Box, "ti");
    const int Before = Changes;
    QTest::keyClick(Box, Qt::Key_Home);
    EXPECT_EQ(Box->FontName(), "Arial");
    EXPECT_EQ(Changes, Before + 1);
    // Searching anew from "f", not from "tif".
    QTest::keyClick(Box, 'f');
    EXPECT_EQ(Box->FontName(), "Fixedsys");

    QTest::keyClick(Box, Qt::Key_Escape);
    EXPECT_EQ(Box->ItemIndex(), -1);
    EXPECT_TRUE(Box->SearchPrefix().isEmpty());

    QTest::keyClicks(Box, "ms");
    QWidget Other(&Window);
    Other.setFocusPolicy(Qt::StrongFocus);
    Other.show();
    Other.setFocus();
    ASSERT_TRUE(WaitFor([&] { return !Box->hasFocus(); }));
    EXPECT_TRUE(Box->SearchPrefix().isEmpty());
}

TEST_F(FontComboBoxTest, DropDownListShowsDropDownCountItemsBelowTheBox) {
    Box->SetDropDownCount(4);
    Box->showPopup();
    QAbstractItemView* List = Box->view();
    ASSERT_TRUE(WaitFor([&] { return List->isVisible(); }));
    EXPECT_EQ(List->viewport()->height() / Box->ItemHeight(), 4);
    EXPECT_TRUE(List->verticalScrollBar()->isVisible());
    EXPECT_GE(List->mapToGlobal(QPoint(0, 0)).y(), Box->mapToGlobal(QPoint(0, Box->height())).y());
    Box->hidePopup();
}

TEST_F(FontComboBoxTest, FontNameIsCaseInsensitiveAndEmptyForAnAbsentFamily) {
    Box->SetFontName("ARIAL BLACK");
    EXPECT_EQ(Box->FontName(), "Arial Black");
    Box->SetFontName("Wingdings");
    EXPECT_EQ(Box->ItemIndex(), -1);
    EXPECT_EQ(Box->FontName(), "");
    Box->SetFontName("Arial");
    Box->SetFontName("");
    EXPECT_EQ(Box->FontName(), "");
    EXPECT_EQ(Changes, 0); // setting the name is not a user's choice
}

TEST_F(FontComboBoxTest, FontTypeFiltersByThePitchAndFamilyBitsKeepingTheSelection) {
    Box->SetFontName("Courier New");
    Box->SetFontType(ftTrueType);
    EXPECT_EQ(Names(), (QStringList{"Arial", "Arial Black", "courier new", "Times New Roman"}));
    EXPECT_EQ(Box->FontName(), "courier new");
    Box->SetFontType(ftFixedPitch);
    EXPECT_EQ(Names(), (QStringList{"Courier", "courier new", "Fixedsys"}));
    EXPECT_EQ(Box->FontName(), "courier new");
    Box->SetFontType(ftPrinter);
    EXPECT_EQ(Box->count(), 0);
    EXPECT_EQ(Box->FontName(), "");
}

TEST(FontGlyphs, KindOfFamilyPicksTheGlyph) {
    EXPECT_EQ(FontGlyphFor(kTrueTypeBit, fdScreen), TFontGlyph::TrueTypeFixed);
    EXPECT_EQ(FontGlyphFor(kTrueTypeBit | kVariablePitchBit, fdScreen), TFontGlyph::TrueType);
    EXPECT_EQ(FontGlyphFor(0, fdPrinter), TFontGlyph::FixedPitch);
    EXPECT_EQ(FontGlyphFor(kVariablePitchBit, fdScreen), TFontGlyph::Device);
    EXPECT_EQ(FontGlyphFor(kVariablePitchBit, fdPrinter), TFontGlyph::Printer);
}

// Columns of Image in which some pixel of the rows Top..Bottom differs from Back.
std::vector<int> InkedColumns(const QImage& Image, int Top, int Bottom, const QColor& Back) {
    std::vector<int> Columns;
    for (int X = 0; X < Image.width(); ++X) {
        for (int Y = Top; Y <= Bottom; ++Y) {
            if (Image.pixelColor(X, Y) != Back) {
                Columns.push_back(X);
                break;
            }
        }
    }
    return Columns;
}

TEST(FontItemDelegate, GlyphTileAtFourAndTheNameFromTwentyFour) {
    TFontItemDelegate Delegate;
    const int Height = FontItemHeight(QFontMetrics(QFont()).height());
    Delegate.SetItemHeight(Height);
    QImage Image(200, Height, QImage::Format_RGB32);
    QPalette Colors;
    Colors.setColor(QPalette::Base, Qt::white);
    {
        QPainter Painter(&Image);
        Delegate.PaintItem(Painter, Image.rect(), "Wide", kTrueTypeBit | kVariablePitchBit, false,
                           true, Colors, QFont());
    }
    const std::vector<int> Inked = InkedColumns(Image, 0, Height - 1, Qt::white);
    ASSERT_FALSE(Inked.empty());
    EXPECT_EQ(Inked.front(), 4);
    EXPECT_TRUE(std::none_of(Inked.begin(), Inked.end(), [](int X) { return X > 15 && X < 24; }));
    EXPECT_TRUE(std::any_of(Inked.begin(), Inked.end(), [](int X) { return X >= 24; }));
    // The tile is centred: its 12 rows start at (H - 12) div 2.
    const int TileTop = (Height - 12) / 2;
    EXPECT_EQ(Image.pixelColor(4, TileTop), QColor(128, 128, 128)); // the back T's bar
}

TEST(FontFamilies, FontDatabaseGivesTheBitsFromWhatItReports) {
    const std::vector<TFontFamily> Families = InstalledFontFamilies(fdScreen);
    const auto Find = [&](const QString& Name) {
        return std::find_if(Families.begin(), Families.end(),
                            [&](const TFontFamily& F) { return F.Name == Name; });
    };
    const auto Sans = Find("Liberation Sans");
    const auto Mono = Find("Liberation Mono");
    ASSERT_NE(Sans, Families.end()) << "fonts-liberation is a dependency";
    ASSERT_NE(Mono, Families.end());
    EXPECT_EQ(Sans->PitchAndFamily, kTrueTypeBit | kVariablePitchBit);
    EXPECT_EQ(Mono->PitchAndFamily, kTrueTypeBit);

    TFontComboBox Box;
    Box.SetFontName("liberation sans");
    EXPECT_EQ(Box.FontName(), "Liberation Sans");
}

} // namespace
