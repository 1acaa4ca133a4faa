// The picture open dialog as a real file dialog on the offscreen platform, on a folder of
// pictures written by the tests.

#include "pgraphic/view/open_dialog/open_dialog_layout.h"
#include "pgraphic/view/open_dialog/pg_open_dialog.h"
#include "pgraphic/view/open_dialog/preview_pg_thread.h"
#include "pgraphic/view/view_rect_qt.h"
#include "platform/display.h"
#include "platform/message_box.h"
#include "platform/qt/qt_color.h"
#include "tests/pgraphic/view/open_dialog/open_dialog_test_util.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>

using namespace OpenDialogTest;

namespace {

// The pictures every test opens the dialog on, written once.
class PGOpenDialogTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        Folder = new QTemporaryDir();
        SavePicture(Path("landscape.bmp"), 640, 480);
        SavePicture(Path("banner.png"), 1000, 100);
        SavePicture(Path("small.bmp"), 40, 30);
        SavePicture(Path("UPPER.BMP"), 20, 10);
        SavePhoto(Path("photo.jpg"), 4000, 3000);
        std::ofstream(Path("notes.txt")) << "not a picture\n";
        std::filesystem::create_directory(Path("sub"));
    }
    static void TearDownTestSuite() {
        delete Folder;
        Folder = nullptr;
    }
    static std::string Path(const char* Name) { return Folder->filePath(Name).toStdString(); }

    void SetUp() override {
        PreviousHook = SetMessageBoxHook([this](const TMessageBoxRequest& Request) {
            Messages.push_back(Request);
            return Request.Default;
        });
    }
    void TearDown() override { SetMessageBoxHook(PreviousHook); }

    // Runs Body while the dialog's window is up (its folder listed), then closes it with Cancel
    // unless Body closed it; the result of Execute.
    bool WhileOpen(TPGOpenDialog& Dialog, const std::function<void(QFileDialog& Window)>& Body) {
        if (Dialog.InitialDir().empty() && Dialog.FileName().empty()) {
            Dialog.SetInitialDir(Folder->path().toStdString());
        }
        Dialog.OnShow = [&](TObject*) {
            QTimer::singleShot(0, [&] {
                QFileDialog& Window = *Dialog.DialogWindow();
                WaitForListing(Window);
                Body(Window);
                if (Dialog.DialogWindow() != nullptr && Dialog.DialogWindow()->isVisible()) {
                    Dialog.DialogWindow()->reject();
                }
            });
        };
        return Dialog.Execute();
    }

    static QFileSystemModel& Model(QFileDialog& Window) {
        return *Window.findChild<QFileSystemModel*>();
    }

    // Waits until the folder is listed and sorted: the same number of entries for a while.
    static void WaitForListing(QFileDialog& Window) {
        QFileSystemModel& Files = Model(Window);
        const QModelIndex Root = Files.index(Window.directory().absolutePath());
        int Count = -1;
        int Stable = 0;
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                const int Now = Files.rowCount(Root);
                Stable = Now > 0 && Now == Count ? Stable + 1 : 0;
                Count = Now;
                return Stable >= 5;
            },
            10000));
        QTest::qWait(50);
    }

    // The file list in view (details or icons).
    static QAbstractItemView* FileView(QFileDialog& Window) {
        for (auto* View : Window.findChildren<QAbstractItemView*>()) {
            if (View->isVisible() && View->model() == &Model(Window)) {
                return View;
            }
        }
        return nullptr;
    }

    // Moves to the item of Path in the file list, as the arrow keys do.
    static void Select(QFileDialog& Window, const std::string& ItemPath) {
        QAbstractItemView* View = FileView(Window);
        ASSERT_NE(View, nullptr);
        const QModelIndex Index = Model(Window).index(QString::fromStdString(ItemPath));
        ASSERT_TRUE(Index.isValid()) << ItemPath;
        View->setCurrentIndex(Index);
    }

    // Clicks the item of Path with the mouse (with Keys held).
    static void Click(QFileDialog& Window, const std::string& ItemPath,
                      Qt::KeyboardModifiers Keys = {}) {
        QAbstractItemView* View = FileView(Window);
        ASSERT_NE(View, nullptr);
        const QModelIndex Index = Model(Window).index(QString::fromStdString(ItemPath));
        ASSERT_TRUE(Index.isValid()) << ItemPath;
        View->scrollTo(Index);
        QTest::mouseClick(View->viewport(), Qt::LeftButton, Keys, View->visualRect(Index).center());
        ASSERT_EQ(View->currentIndex(), Index) << ItemPath;
    }

    static bool WaitForPreview(const TPGOpenDialog& Dialog) {
        return QTest::qWaitFor([&] { return Dialog.Preview() != nullptr; }, 20000);
    }

    static QImage Grab(QWidget* Panel) {
        return Panel->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }

    static QRgb Face() { return ToQColor(clBtnFace).rgb(); }

    static inline QTemporaryDir* Folder = nullptr;
    TMessageBoxHook PreviousHook;
    std::vector<TMessageBoxRequest> Messages;
};

} // namespace

TEST_F(PGOpenDialogTest, DefaultsAsTheSettingsWindowKeepsThem) {
    TPGOpenDialog Dialog;
    EXPECT_EQ(Dialog.Options(), (TOpenOptions{ofHideReadOnly, ofShareAware}));
    EXPECT_TRUE(Dialog.UseDefaultFilter());
    EXPECT_EQ(Dialog.StretchMode(), smPrecise);
    EXPECT_EQ(Dialog.ProgressClockBkColor(), clBtnFace);
    EXPECT_EQ(Dialog.ProgressClockLineColor(), clBtnShadow);
    EXPECT_TRUE(Dialog.ProgressClockVisible());
    EXPECT_EQ(Dialog.Palette8BitSys24BitGraphic(), pOptimized252Sys16);
    EXPECT_EQ(Dialog.Palette8BitSys8BitGraphic(), pOptimized252Sys16);
    EXPECT_TRUE(Dialog.ShowInfo());
    EXPECT_EQ(Dialog.Filter(), BuildOpenFilter());
    EXPECT_EQ(Dialog.FilterIndex(), 1);
    EXPECT_EQ(Dialog.ListedReaderCount(), 14);
    EXPECT_EQ(Dialog.GetFilterExtension(2), "bmp");
    EXPECT_EQ(&Dialog.FileFormatReaders(), &FileFormatReaders());
    EXPECT_TRUE(Dialog.PreviewThread().Inactive());
    EXPECT_FALSE(Dialog.DebounceActive());
    EXPECT_TRUE(Messages.empty());
    // Out-of-range palette choices are ignored.
    Dialog.SetPalette8BitSys24BitGraphic(pSource);
    EXPECT_EQ(Dialog.Palette8BitSys24BitGraphic(), pOptimized252Sys16);
}

TEST_F(PGOpenDialogTest, OptionsAlwaysKeepShareAware) {
    TPGOpenDialog Dialog;
    Dialog.SetOptions({});
    ASSERT_EQ(Messages.size(), 1U);
    EXPECT_EQ(Messages[0].Text,
              "TPGOpenDialog.Options and TPGSaveDialog.Options must include ofShareAware!");
    EXPECT_EQ(Dialog.Options(), TOpenOptions{ofShareAware});
    Dialog.SetOptions({ofAllowMultiSelect, ofShareAware});
    EXPECT_EQ(Messages.size(), 1U);
    EXPECT_EQ(Dialog.Options(), (TOpenOptions{ofAllowMultiSelect, ofShareAware}));
}

TEST_F(PGOpenDialogTest, ExecuteReplacesTheFilterByTheReaders) {
    TPGOpenDialog Dialog;
    Dialog.SetFilter("Text|*.txt");
    QStringList Filters;
    QString Shown;
    WhileOpen(Dialog, [&](QFileDialog& Window) {
        Filters = Window.nameFilters();
        Shown = Window.findChild<QComboBox*>("fileTypeCombo")->currentText();
    });
    EXPECT_EQ(Dialog.Filter(), BuildOpenFilter());
    ASSERT_EQ(Filters.size(), 16);
    EXPECT_TRUE(Filters[0].startsWith("Image files (*.bmp *.dib *.jif"));
    EXPECT_EQ(Shown, "Image files"); // descriptions alone, as the platform shows them
}

TEST_F(PGOpenDialogTest, ImageFilesListPicturesWhateverTheCaseOfTheirNames) {
    TPGOpenDialog Dialog;
    QStringList Listed;
    WhileOpen(Dialog, [&](QFileDialog& Window) {
        const QModelIndex Root = Model(Window).index(Folder->path());
        for (int Row = 0; Row < Model(Window).rowCount(Root); ++Row) {
            Listed << Model(Window).index(Row, 0, Root).data().toString();
        }
    });
    Listed.sort();
    EXPECT_EQ(Listed, (QStringList{"UPPER.BMP", "banner.png", "landscape.bmp", "photo.jpg",
                                   "small.bmp", "sub"}));
}

TEST_F(PGOpenDialogTest, WithoutDefaultFilterTheFilterStays) {
    TPGOpenDialog Dialog;
    Dialog.SetUseDefaultFilter(false);
    Dialog.SetFilter("Text|*.txt|All files|*.*");
    Dialog.SetFilterIndex(2);
    QStringList Filters;
    QString Selected;
    WhileOpen(Dialog, [&](QFileDialog& Window) {
        Filters = Window.nameFilters();
        Selected = Window.findChild<QComboBox*>("fileTypeCombo")->currentText();
    });
    EXPECT_EQ(Dialog.Filter(), "Text|*.txt|All files|*.*");
    EXPECT_EQ(Filters, (QStringList{"Text (*.txt)", "All files (*)"}));
    EXPECT_EQ(Selected, "All files");
    for (int Index = -1; Index <= 17; ++Index) {
        EXPECT_EQ(Dialog.GetFilterExtension(Index), "") << Index;
    }
    EXPECT_EQ(Dialog.ListedReaderCount(), 0);
}

TEST_F(PGOpenDialogTest, ChoosesAFileAsTheSettingsWindowDoes) {
    TPGOpenDialog dgOpen;
    dgOpen.SetTitle("Select a background bitmap");
    dgOpen.SetStretchMode(smFast);
    dgOpen.SetFileName(Path("small.bmp"));
    QString Title;
    QString StartFolder;
    QString Name;
    const bool Chosen = WhileOpen(dgOpen, [&](QFileDialog& Window) {
        Title = Window.windowTitle();
        StartFolder = Window.directory().absolutePath();
        Name = Window.findChild<QLineEdit*>("fileNameEdit")->text();
        // The file it starts with is previewed without a move.
        ASSERT_TRUE(WaitForPreview(dgOpen));
        EXPECT_EQ(dgOpen.Preview()->Width(), 40);
        Click(Window, Path("landscape.bmp"));
        QTest::mouseClick(Window.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Open),
                          Qt::LeftButton);
    });
    EXPECT_EQ(Title, "Select a background bitmap");
    EXPECT_EQ(StartFolder, Folder->path());
    EXPECT_EQ(Name, "small.bmp");
    ASSERT_TRUE(Chosen);
    EXPECT_EQ(dgOpen.FileName(), Path("landscape.bmp"));
    EXPECT_EQ(dgOpen.Files(), std::vector<std::string>{Path("landscape.bmp")});
    EXPECT_EQ(dgOpen.FilterIndex(), 1);
    // Cancelled: nothing changes.
    EXPECT_FALSE(WhileOpen(dgOpen, [&](QFileDialog& Window) { Click(Window, Path("small.bmp")); }));
    EXPECT_EQ(dgOpen.FileName(), Path("landscape.bmp"));
}

TEST_F(PGOpenDialogTest, CentredAtAThirdWithThePanelsBesideTheList) {
    TPGOpenDialog Dialog;
    WhileOpen(Dialog, [&](QFileDialog& Window) {
        // Placed before the first show, when the frame is not known yet: within its width.
        const QRect Screen = Window.screen()->geometry();
        const QRect Frame = Window.frameGeometry();
        const TPGPoint Expected =
            PGOpenDialogPosition(ToRect(Screen), Frame.width(), Frame.height());
        EXPECT_NEAR(Frame.left(), Expected.X, 3);
        EXPECT_NEAR(Frame.top(), Expected.Y, 3);
        EXPECT_LE(Frame.width(), Screen.width() + 4); // it grew no wider than the screen

        QWidget* Preview = Dialog.PreviewPanel();
        QWidget* Description = Dialog.DescriptionPanel();
        ASSERT_NE(Preview, nullptr);
        ASSERT_NE(Description, nullptr);
        const QRect PreviewArea(Preview->mapTo(&Window, QPoint(0, 0)), Preview->size());
        const QRect DescriptionArea(Description->mapTo(&Window, QPoint(0, 0)), Description->size());
        // Right of every control of the file dialog, wholly inside the window.
        for (auto* View : Window.findChildren<QAbstractItemView*>()) {
            if (View->isVisible() && View->window() == &Window) {
                const QRect ViewArea(View->mapTo(&Window, QPoint(0, 0)), View->size());
                EXPECT_LT(ViewArea.right(), PreviewArea.left());
            }
        }
        EXPECT_TRUE(Window.rect().contains(PreviewArea));
        EXPECT_TRUE(Window.rect().contains(DescriptionArea));
        EXPECT_LT(PreviewArea.bottom(), DescriptionArea.top());
        // Sized in dialog units of the dialog's font: 92 units wide.
        EXPECT_EQ(Preview->width(),
                  PGMapDialogRect({0, 0, 92, 0}, PGDialogBaseUnits(Window.font())).Right);
    });
    EXPECT_EQ(Dialog.PreviewPanel(), nullptr); // gone with the window
}

TEST_F(PGOpenDialogTest, DetailListShowsSizesTypesAndDatesWhole) {
    TPGOpenDialog Dialog;
    WhileOpen(Dialog, [&](QFileDialog& Window) {
        QAbstractItemView* List = FileView(Window);
        auto* Details = qobject_cast<QTreeView*>(List);
        ASSERT_NE(Details, nullptr); // the list starts in details
        const QHeaderView* Header = Details->header();
        for (int Column = 1; Column < Header->count(); ++Column) {
            if (!Header->isSectionHidden(Column)) {
                EXPECT_GE(Header->sectionSize(Column), List->sizeHintForColumn(Column))
                    << "column " << Column;
            }
        }
        // The names have the room that is left, without a horizontal scroll.
        EXPECT_GT(Header->sectionSize(0), 0);
        EXPECT_LE(Header->length(), Details->viewport()->width());
    });
}

TEST_F(PGOpenDialogTest, RestingOnAPictureShowsItsDescriptionAndPreview) {
    TPGOpenDialog Dialog;
    WhileOpen(Dialog, [&](QFileDialog& Window) {
        Select(Window, Path("landscape.bmp"));
        EXPECT_TRUE(Dialog.DebounceActive());
        EXPECT_EQ(Dialog.SelectedFilePath(), Path("landscape.bmp"));
        ASSERT_TRUE(WaitForPreview(Dialog));
        EXPECT_TRUE(Dialog.DescriptionValid());
        EXPECT_EQ(Dialog.Description().Description, "Bitmap");
        EXPECT_EQ(Dialog.Description().Width, 640);

        QWidget* Panel = Dialog.PreviewPanel();
        const int InsideWidth = Panel->width() - 4;
        const int InsideHeight = Panel->height() - 4;
        // Shrunk to the inside, keeping the ratio 4:3.
        EXPECT_TRUE(Dialog.Preview()->Width() == InsideWidth ||
                    Dialog.Preview()->Height() == InsideHeight);
        EXPECT_LE(Dialog.Preview()->Width(), InsideWidth);
        EXPECT_LE(Dialog.Preview()->Height(), InsideHeight);
        EXPECT_NEAR(Dialog.Preview()->Width() * 3, Dialog.Preview()->Height() * 4, 4);

        // The sunken frame and the picture in the middle.
        const QImage Shot = Grab(Panel);
        EXPECT_EQ(Shot.pixel(0, 0), ToQColor(clBtnShadow).rgb());
        EXPECT_EQ(Shot.pixel(1, 1), qRgb(0, 0, 0));
        EXPECT_EQ(Shot.pixel(Panel->width() - 1, Panel->height() - 1), qRgb(255, 255, 255));
        const QImage Description = Grab(Dialog.DescriptionPanel());
        int Ink = 0;
        for (int Y = 0; Y < Description.height(); ++Y) {
            for (int X = 0; X < Description.width(); ++X) {
                Ink += Description.pixel(X, Y) != Face() ? 1 : 0;
            }
        }
        EXPECT_GT(Ink, 100); // the lines are drawn

        // Without ShowInfo the description panel is empty again.
        Dialog.SetShowInfo(false);
        const QImage Hidden = Grab(Dialog.DescriptionPanel());
        EXPECT_EQ(Hidden.pixel(5, 5), Face());
        EXPECT_EQ(Hidden.pixel(Hidden.width() / 3, Hidden.height() / 8), Face());
    });
    EXPECT_EQ(Dialog.Preview(), nullptr); // freed with the window
}

TEST_F(PGOpenDialogTest, WidePictureIsShrunkAndCentredInThePanel) {
    TPGOpenDialog Dialog;
    WhileOpen(Dialog, [&](QFileDialog& Window) {
        QWidget* Panel = Dialog.PreviewPanel();
        Panel->resize(184, 164); // an inside of 180 x 160
        Click(Window, Path("banner.png"));
        ASSERT_TRUE(WaitForPreview(Dialog));
        EXPECT_EQ(Dialog.Preview()->Width(), 180);
        EXPECT_EQ(Dialog.Preview()->Height(), 18);
        const QImage Shot = Grab(Panel);
        EXPECT_EQ(Shot.pixel(2, 72), Face());
        EXPECT_EQ(Shot.pixel(2, 91), Face());
        // The preview's own pixels at its place (73 to 90 from the top, 2 to 181 across).
        EXPECT_EQ(Shot.pixel(2, 73), QColor(Dialog.Preview()->PixelColors(0, 0) & 0xFF,
                                            Dialog.Preview()->PixelColors(0, 0) >> 8 & 0xFF,
                                            Dialog.Preview()->PixelColors(0, 0) >> 16 & 0xFF)
                                         .rgb());
        EXPECT_NE(Shot.pixel(100, 80), Face());
    });
}

TEST_F(PGOpenDialogTest, FoldersAndOtherFilesGetNoPreviewAndNoWorker) {
    TPGOpenDialog Dialog;
    Dialog.SetFilterIndex(16); // "All files", so the text file is listed
    WhileOpen(Dialog, [&](QFileDialog& Window) {
        const std::uint64_t IdleRun = Dialog.PreviewThread().Run();
        for (const char* Name : {"notes.txt", "sub"}) {
            Select(Window, Path(Name));
            EXPECT_TRUE(QTest::qWaitFor([&] { return !Dialog.DebounceActive(); }, 5000));
            QTest::qWait(50);
            EXPECT_FALSE(Dialog.DescriptionValid()) << Name;
            EXPECT_EQ(Dialog.Preview(), nullptr) << Name;
            EXPECT_EQ(Dialog.PreviewThread().Run(), IdleRun) << Name;
            const QImage Description = Grab(Dialog.DescriptionPanel());
            EXPECT_EQ(Description.pixel(Description.width() / 3, Description.height() / 8), Face());
            const QImage Preview = Grab(Dialog.PreviewPanel());
            EXPECT_EQ(Preview.pixel(Preview.width() / 2, Preview.height() / 2), Face());
        }
    });
}

TEST_F(PGOpenDialogTest, QuickMovesThroughTheFolderLoadOnlyTheLast) {
    TPGOpenDialog Dialog;
    TPostedEvents Posted(&Dialog);
    WhileOpen(Dialog, [&](QFileDialog& Window) {
        for (const char* Name : {"banner.png", "landscape.bmp", "photo.jpg", "small.bmp"}) {
            Select(Window, Path(Name));
            QTest::qWait(30);
        }
        ASSERT_TRUE(WaitForPreview(Dialog));
        QTest::qWait(100);
        EXPECT_EQ(Dialog.Preview()->Width(), 40);
        EXPECT_EQ(Posted.Previews, std::vector<std::uint64_t>{Dialog.PreviewThread().Run()});
        for (const auto& Report : Posted.Progress) {
            EXPECT_EQ(Report.Run, Dialog.PreviewThread().Run());
        }
    });
}

TEST_F(PGOpenDialogTest, MovingOnCancelsALongLoad) {
    TPGOpenDialog Dialog;
    TPostedEvents Posted(&Dialog);
    WhileOpen(Dialog, [&](QFileDialog& Window) {
        Select(Window, Path("photo.jpg"));
        ASSERT_TRUE(QTest::qWaitFor([&] { return !Posted.Progress.empty(); }, 20000));
        const std::uint64_t Run = Dialog.PreviewThread().Run();
        ASSERT_FALSE(Dialog.PreviewThread().Terminated());
        // The clock shows while it loads.
        QWidget* Panel = Dialog.PreviewPanel();
        const QImage Shot = Grab(Panel);
        const TPGPoint Clock{Panel->width() / 2 - 8, Panel->height() / 2 - 8};
        EXPECT_EQ(Shot.pixel(Clock.X + 7, Clock.Y), ToQColor(clBtnShadow).rgb());

        Select(Window, Path("sub"));
        EXPECT_TRUE(Dialog.PreviewThread().Terminated());
        EXPECT_EQ(Dialog.Preview(), nullptr);
        QTest::qWait(300);
        for (const std::uint64_t Previewed : Posted.Previews) {
            EXPECT_NE(Previewed, Run);
        }
        EXPECT_EQ(Dialog.Preview(), nullptr);
    });
}

TEST_F(PGOpenDialogTest, ThePaletteDisplayGetsAReducedPreview) {
    SetScreenColorDepth(8);
    TPGOpenDialog Dialog;
    WhileOpen(Dialog, [&](QFileDialog& Window) {
        Select(Window, Path("landscape.bmp"));
        ASSERT_TRUE(WaitForPreview(Dialog));
        EXPECT_EQ(Dialog.Preview()->BitCount(), bc8);
    });
    SetScreenColorDepth(0);
}

TEST_F(PGOpenDialogTest, SeveralSelectedFilesPreviewTheFirst) {
    TPGOpenDialog Dialog;
    Dialog.SetOptions({ofAllowMultiSelect, ofShareAware});
    WhileOpen(Dialog, [&](QFileDialog& Window) {
        Click(Window, Path("banner.png"));
        Click(Window, Path("small.bmp"), Qt::ControlModifier);
        EXPECT_TRUE(Window.findChild<QLineEdit*>("fileNameEdit")->text().contains("\" \""));
        EXPECT_EQ(Dialog.SelectedFilePath(), Path("banner.png"));
        ASSERT_TRUE(WaitForPreview(Dialog));
        EXPECT_EQ(Dialog.Preview()->Height(), Dialog.Preview()->Width() / 10);
    });
}
