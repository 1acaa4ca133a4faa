// The file list: reading a folder by mask and kinds, then the widget over real folders, driven
// with QTest's mouse.

#include "widget_test_util.h"
#include "widgets/file_item_delegate.h"
#include "widgets/file_list_entries.h"
#include "widgets/icon_file_list_box.h"

#include <QApplication>
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

void Touch(const fs::path& File) {
    std::ofstream(File) << "x";
}

std::vector<std::string> Texts(const std::vector<TFileEntry>& Entries) {
    std::vector<std::string> Result;
    for (const TFileEntry& Entry : Entries) {
        Result.push_back(EntryText(Entry));
    }
    return Result;
}

using Strings = std::vector<std::string>;

TEST(FileListRules, MaskSplitsAtSemicolons) {
    EXPECT_EQ(SplitMask("*.txt"), Strings{"*.txt"});
    EXPECT_EQ(SplitMask("*.txt;*.ini"), (Strings{"*.txt", "*.ini"}));
    EXPECT_EQ(SplitMask(" *.a ; ;*.b;"), (Strings{"*.a", "*.b"}));
    EXPECT_TRUE(SplitMask("").empty());
    EXPECT_TRUE(SplitMask(";;").empty());
}

TEST(FileListRules, PatternsMatchWholeNamesIgnoringCase) {
    EXPECT_TRUE(MatchesPattern("vespera.txt", "*.txt"));
    EXPECT_TRUE(MatchesPattern("QUIZ.TXT", "*.txt"));
    EXPECT_FALSE(MatchesPattern("quiz.txt.bak", "*.txt"));
    EXPECT_FALSE(MatchesPattern("quiztxt", "*.txt"));
    EXPECT_TRUE(MatchesPattern("a.b.txt", "*.txt"));
    EXPECT_TRUE(MatchesPattern("q1.txt", "q?.t*"));
    EXPECT_FALSE(MatchesPattern("q12.txt", "q?.t*"));
    EXPECT_TRUE(MatchesPattern("README", "*.*"));
    EXPECT_TRUE(MatchesPattern("README", "*"));
    EXPECT_TRUE(MatchesPattern("quiz.txt", "quiz.txt"));
    EXPECT_FALSE(MatchesPattern("quiz.txt", ""));
    EXPECT_TRUE(MatchesPattern("aaab", "*a*b")); // needs backtracking
}

TEST(FileListRules, FileTypeDecidesWhichKindsAreTaken) {
    const TFileType Plain = EntryAttributes(false, true, true, "a.txt");
    const TFileType ReadOnly = EntryAttributes(false, true, false, "a.txt");
    const TFileType Hidden = EntryAttributes(false, true, true, ".a.txt");
    const TFileType Folder = EntryAttributes(true, false, true, "sub");
    EXPECT_EQ(Plain, ftArchive);
    EXPECT_EQ(ReadOnly, ftArchive | ftReadOnly);
    EXPECT_EQ(Hidden, ftArchive | ftHidden);
    EXPECT_EQ(Folder, ftDirectory);

    EXPECT_TRUE(TakesEntry(ftNormal, Plain));
    EXPECT_TRUE(TakesEntry(ftNormal, ReadOnly));
    EXPECT_FALSE(TakesEntry(ftNormal, Hidden));
    EXPECT_FALSE(TakesEntry(ftNormal, Folder));
    EXPECT_TRUE(TakesEntry(ftNormal | ftDirectory, Folder));
    EXPECT_TRUE(TakesEntry(ftNormal | ftHidden, Hidden));
    // Without ftNormal only entries that share a requested attribute are taken.
    EXPECT_TRUE(TakesEntry(ftDirectory, Folder));
    EXPECT_FALSE(TakesEntry(ftDirectory, Plain));
    EXPECT_TRUE(TakesEntry(ftReadOnly, ReadOnly));
    EXPECT_FALSE(TakesEntry(ftReadOnly, Plain));
    EXPECT_FALSE(TakesEntry(ftReadOnly, ReadOnly | ftHidden)); // hidden was not asked for
}

TEST(FileListRules, ItemHeightGrowsWithTheFontAndIsAtLeastEighteen) {
    EXPECT_EQ(FileListItemHeight(13, 13), 18);
    EXPECT_EQ(FileListItemHeight(15, 14), 18); // 15 + 3
    EXPECT_EQ(FileListItemHeight(20, 16), 24);
    EXPECT_EQ(FileListItemHeight(20, 30), 25);
    EXPECT_EQ(FileListItemHeight(0, 0), 18);
}

class FileListFolder : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(Temp.isValid()); }
    fs::path Path(const std::string& Name) const {
        return fs::path(Temp.path().toStdString()) / Name;
    }
    std::string Folder() const { return Temp.path().toStdString(); }

    QTemporaryDir Temp;
};

TEST_F(FileListFolder, ReadsMatchingEntriesOnceSortedIgnoringCase) {
    for (const char* Name : {"b.txt", "A.TXT", "c.ini", "d.dat", ".hidden.txt", "both.txt.ini"}) {
        Touch(Path(Name));
    }
    fs::create_directory(Path("sub.txt"));
    EXPECT_EQ(Texts(ReadFileEntries(Folder(), "*.txt;*.ini", ftNormal)),
              (Strings{"A.TXT", "b.txt", "both.txt.ini", "c.ini"}));
    // A name matching two patterns is listed once.
    EXPECT_EQ(Texts(ReadFileEntries(Folder(), "*.ini;both*", ftNormal)),
              (Strings{"both.txt.ini", "c.ini"}));
    EXPECT_EQ(Texts(ReadFileEntries(Folder(), "*.txt", ftNormal | ftDirectory | ftHidden)),
              (Strings{".hidden.txt", "[sub.txt]", "A.TXT", "b.txt"}));
    EXPECT_TRUE(ReadFileEntries(Folder() + "/absent", "*.*", ftNormal).empty());
    EXPECT_TRUE(ReadFileEntries(Folder(), "", ftNormal).empty());
}

// A file list that notes whether the busy cursor showed as each entry was added.
class CursorWatchingList : public TIconFileListBox {
public:
    using TIconFileListBox::TIconFileListBox;
    std::vector<bool> Busy;

protected:
    void AddEntry(const TFileEntry& Entry) override {
        const QCursor* Cursor = QApplication::overrideCursor();
        Busy.push_back(Cursor != nullptr && Cursor->shape() == Qt::WaitCursor);
        TIconFileListBox::AddEntry(Entry);
    }
};

class FileListBoxTest : public FileListFolder {
protected:
    void SetUp() override {
        FileListFolder::SetUp();
        List = new CursorWatchingList(&Window);
        List->setGeometry(8, 32, 129, 177);
        List->OnChange = [this](TObject* Sender) {
            EXPECT_EQ(Sender, static_cast<TObject*>(List));
            ++Changes;
        };
        List->OnClick = [this](TObject*) { ++Clicks; };
        Window.resize(300, 250);
        Window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&Window));
    }

    QStringList Shown() const {
        QStringList Result;
        for (int I = 0; I < List->Count(); ++I) {
            Result << List->Items(I);
        }
        return Result;
    }

    QWidget Window;
    CursorWatchingList* List = nullptr;
    int Changes = 0;
    int Clicks = 0;
};

TEST_F(FileListBoxTest, AnEmptyFolderStillFiresTheChangeEvent) {
    List->SetMask("*.txt");
    Changes = 0;
    List->SetDirectory(Folder());
    EXPECT_EQ(List->Count(), 0);
    EXPECT_EQ(Changes, 1);
    EXPECT_EQ(List->ItemIndex(), -1);
    EXPECT_EQ(List->FileName(), "");
    // Setting the same folder again reads nothing anew.
    List->SetDirectory(Folder() + "/");
    EXPECT_EQ(Changes, 1);
}

TEST_F(FileListBoxTest, ListsWhatEitherPatternMatchesAndRereadsOnEveryChange) {
    for (const char* Name : {"quiz.txt", "lines.TXT", "setup.ini", "notes.doc"}) {
        Touch(Path(Name));
    }
    fs::create_directory(Path("more"));
    List->SetDirectory(Folder());
    List->SetMask("*.txt;*.ini");
    EXPECT_EQ(Shown(), (QStringList{"lines.TXT", "quiz.txt", "setup.ini"}));
    Changes = 0;
    List->SetFileType(ftNormal | ftDirectory);
    List->SetMask("*");
    EXPECT_EQ(Shown(), (QStringList{"[more]", "lines.TXT", "notes.doc", "quiz.txt", "setup.ini"}));
    List->SetShowLongNames(false);
    EXPECT_EQ(Shown().size(), 5);
    EXPECT_EQ(Changes, 3);
    // Every item carries a glyph: the folder ours, the files the icon theme's.
    for (int I = 0; I < List->Count(); ++I) {
        EXPECT_FALSE(List->model()->index(I, 0).data(Qt::DecorationRole).value<QIcon>().isNull())
            << I;
    }
    List->SetShowGlyphs(false);
    EXPECT_TRUE(List->model()->index(0, 0).data(Qt::DecorationRole).value<QIcon>().isNull());
}

TEST_F(FileListBoxTest, ItemsHaveTheItemHeightAndGlyphsMoveTheText) {
    fs::create_directory(Path("folder"));
    List->SetFileType(ftDirectory);
    List->SetDirectory(Folder());
    ASSERT_EQ(List->Count(), 1);
    const int ScreenFont = QFontMetrics(QApplication::font()).height();
    EXPECT_EQ(List->ItemHeight(), FileListItemHeight(List->fontMetrics().height(), ScreenFont));
    EXPECT_EQ(List->visualRect(List->model()->index(0, 0)).height(), List->ItemHeight());

    // The folder glyph's yellow lies in the first item's columns 2 to 17 only with glyphs.
    const auto Yellow = [&] {
        const QRect Item = List->visualRect(List->model()->index(0, 0));
        const QImage Shot = List->viewport()->grab(Item).toImage();
        int Count = 0;
        for (int X = 0; X < Shot.width(); ++X) {
            for (int Y = 0; Y < Shot.height(); ++Y) {
                Count += Shot.pixelColor(X, Y) == QColor(255, 255, 0) ? 1 : 0;
            }
        }
        return Count;
    };
    EXPECT_GT(Yellow(), 50);
    List->SetShowGlyphs(false);
    EXPECT_EQ(Yellow(), 0);

    QFont Big = List->font();
    Big.setPixelSize(30);
    List->setFont(Big);
    EXPECT_EQ(List->ItemHeight(), FileListItemHeight(List->fontMetrics().height(), ScreenFont));
    EXPECT_GT(List->ItemHeight(), 30);
}

TEST_F(FileListBoxTest, ColumnsFillTopToBottomAndZeroListsInOneColumn) {
    for (int I = 0; I < 30; ++I) {
        const std::string Number = std::to_string(100 + I);
        Touch(Path("r" + Number + ".txt"));
    }
    List->SetDirectory(Folder());
    ASSERT_EQ(List->Count(), 30);
    const auto Left = [&](int Row) {
        return List->visualRect(List->model()->index(Row, 0)).left();
    };
    const auto Top = [&](int Row) { return List->visualRect(List->model()->index(Row, 0)).top(); };
    EXPECT_EQ(Left(29), Left(0));

    List->SetColumns(2);
    EXPECT_EQ(Left(1), Left(0)); // the second item below the first
    EXPECT_GT(Top(1), Top(0));
    const int Width = List->viewport()->width() / 2;
    int InSecond = 0;
    for (int I = 0; I < List->Count(); ++I) {
        InSecond += Left(I) == Left(0) + Width ? 1 : 0;
    }
    EXPECT_GT(InSecond, 0);

    List->SetColumns(0);
    EXPECT_EQ(Left(29), Left(0));
    EXPECT_GT(Top(29), Top(0));
}

TEST_F(FileListBoxTest, ClicksSelectFiresAndNameTheFullPath) {
    Touch(Path("a.txt"));
    Touch(Path("b.txt"));
    List->SetDirectory(Folder());
    Changes = 0;
    const QRect Second = List->visualRect(List->model()->index(1, 0));
    QTest::mouseClick(List->viewport(), Qt::LeftButton, {}, Second.center());
    EXPECT_EQ(List->ItemIndex(), 1);
    EXPECT_EQ(List->FileName(), Folder() + "/b.txt");
    EXPECT_EQ(Clicks, 1);
    EXPECT_EQ(Changes, 1);
    // The same item again is a click, not a change.
    QTest::mouseClick(List->viewport(), Qt::LeftButton, {}, Second.center());
    EXPECT_EQ(Clicks, 2);
    EXPECT_EQ(Changes, 1);
    // Keys move the selection as a click does.
    QTest::keyClick(List, Qt::Key_Up);
    EXPECT_EQ(List->ItemIndex(), 0);
    EXPECT_EQ(Clicks, 3);
    EXPECT_EQ(Changes, 2);
}

TEST_F(FileListBoxTest, RightButtonReportsItsReleaseWithoutSelecting) {
    Touch(Path("a.txt"));
    List->SetDirectory(Folder());
    int Ups = 0;
    List->OnMouseUp = [&](TObject* Sender, Qt::MouseButton Button, Qt::KeyboardModifiers, int,
                          int Y) {
        EXPECT_EQ(Sender, static_cast<TObject*>(List));
        EXPECT_EQ(Button, Qt::RightButton);
        EXPECT_EQ(Y, List->visualRect(List->model()->index(0, 0)).center().y());
        ++Ups;
    };
    QTest::mouseClick(List->viewport(), Qt::RightButton, {},
                      List->visualRect(List->model()->index(0, 0)).center());
    EXPECT_EQ(Ups, 1);
    EXPECT_EQ(List->ItemIndex(), -1);
    EXPECT_EQ(Clicks, 0);
}

TEST_F(FileListBoxTest, PointingAtAFileListsItsFolderAndSelectsItEvenOutsideTheMask) {
    fs::create_directory(Path("records"));
    Touch(Path("records/quiz.txt"));
    Touch(Path("records/other.txt"));
    Touch(Path("records/odd.dat"));
    List->SetMask("*.txt");
    List->SetFileName(Path("records/quiz.txt").string());
    EXPECT_EQ(List->Directory(), Path("records").string());
    EXPECT_EQ(List->FileName(), Path("records/quiz.txt").string());
    EXPECT_EQ(List->Mask(), "*.txt");
    List->SetFileName(Path("records/odd.dat").string());
    EXPECT_EQ(List->Mask(), "odd.dat");
    EXPECT_EQ(Shown(), QStringList{"odd.dat"});
    EXPECT_EQ(List->ItemIndex(), 0);
    // No such file: nothing changes.
    List->SetFileName(Path("records/none.txt").string());
    EXPECT_EQ(List->Mask(), "odd.dat");
    EXPECT_EQ(List->ItemIndex(), 0);
    List->SetItemIndex(-1);
    EXPECT_EQ(List->FileName(), "");
}

TEST_F(FileListBoxTest, FiveThousandFilesShowTheBusyCursorFromTheHundredth) {
    for (int I = 0; I < 5000; ++I) {
        Touch(Path("record" + std::to_string(I) + ".txt"));
    }
    List->SetMask("*.txt");
    List->Busy.clear();
    List->SetDirectory(Folder());
    ASSERT_EQ(List->Count(), 5000);
    ASSERT_EQ(List->Busy.size(), 5000U);
    EXPECT_FALSE(List->Busy[0]);
    EXPECT_FALSE(List->Busy[98]);
    EXPECT_TRUE(List->Busy[99]);
    EXPECT_TRUE(List->Busy[4999]);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    // Fewer than a hundred entries never show it.
    List->Busy.clear();
    List->SetMask("record9?.txt");
    EXPECT_EQ(List->Count(), 10);
    EXPECT_EQ(std::count(List->Busy.begin(), List->Busy.end(), true), 0);
}

} // namespace
