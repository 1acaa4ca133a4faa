#include "pgraphic/image/pg_exceptions.h"
#include "pgraphic/view/open_dialog/preview_pg_thread.h"
#include "tests/pgraphic/view/open_dialog/open_dialog_test_util.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>
#include <gtest/gtest.h>

using namespace OpenDialogTest;

namespace {

class PreviewThread : public ::testing::Test {
protected:
    std::string File(const char* Name) const { return Folder.filePath(Name).toStdString(); }

    // A worker set up as the dialog sets it up, for a panel with an inside of 180 x 160.
    void SetUp(TCreateOpenSaveDialogPaintPGThread& Thread, const std::string& FileName,
               int DisplayDepth) {
        Thread.SetInactive(false);
        Thread.SetTargetWindow(&Window);
        Thread.SetFileName(FileName);
        Thread.SetMaxSize(180, 160);
        Thread.SetDisplayDepth(DisplayDepth);
    }

    QTemporaryDir Folder;
    QObject Window;
};

} // namespace

TEST_F(PreviewThread, WidePictureShrinksToTheInsideInOneStage) {
    SavePicture(File("wide.bmp"), 1000, 100);
    TCreateOpenSaveDialogPaintPGThread Thread;
    SetUp(Thread, File("wide.bmp"), 24);
    const auto Preview = Thread.Work();
    ASSERT_NE(Preview, nullptr);
    EXPECT_EQ(Preview->Width(), 180);
    EXPECT_EQ(Preview->Height(), 18);
    EXPECT_EQ(Preview->BitCount(), bc24);
    EXPECT_EQ(Thread.Step(), 2);       // scaled; no colour reduction on a true-colour display
    EXPECT_FALSE(Preview->OnProgress); // it no longer reports to the worker
}

TEST_F(PreviewThread, SmallPictureIsNeitherEnlargedNorConverted) {
    SavePicture(File("small.bmp"), 40, 30);
    TCreateOpenSaveDialogPaintPGThread Thread;
    SetUp(Thread, File("small.bmp"), 32);
    const auto Preview = Thread.Work();
    ASSERT_NE(Preview, nullptr);
    EXPECT_EQ(Preview->Width(), 40);
    EXPECT_EQ(Preview->Height(), 30);
    EXPECT_EQ(Thread.Step(), 1);
    EXPECT_EQ(Preview->PixelColors(13, 17), PictureColor(13, 17));
}

TEST_F(PreviewThread, PaletteDisplaysGetTheirColours) {
    SavePicture(File("picture.bmp"), 300, 100);
    {
        TCreateOpenSaveDialogPaintPGThread Thread;
        SetUp(Thread, File("picture.bmp"), 8);
        const auto Preview = Thread.Work();
        ASSERT_NE(Preview, nullptr);
        EXPECT_EQ(Preview->BitCount(), bc8);
        EXPECT_EQ(Preview->Width(), 180);
        EXPECT_EQ(Preview->Height(), 60);
        EXPECT_EQ(Thread.Step(), 3); // scaled, then reduced
        // The optimised palette ends with the 16 system colours.
        EXPECT_EQ(Preview->PaletteColors(Preview->PaletteCount() - 1), RGB(255, 255, 255));
    }
    {
        TCreateOpenSaveDialogPaintPGThread Thread;
        SetUp(Thread, File("picture.bmp"), 8);
        Thread.SetPalette8BitSys24BitGraphic(pSpecial216);
        const auto Preview = Thread.Work();
        ASSERT_NE(Preview, nullptr);
        EXPECT_EQ(Preview->PaletteIdent(), pSpecial216);
    }
    {
        TCreateOpenSaveDialogPaintPGThread Thread;
        SetUp(Thread, File("picture.bmp"), 4);
        const auto Preview = Thread.Work();
        ASSERT_NE(Preview, nullptr);
        EXPECT_EQ(Preview->BitCount(), bc4);
        EXPECT_EQ(Preview->PaletteIdent(), pSys16);
    }
}

TEST_F(PreviewThread, PalettePictureKeepsItsPaletteWithSource) {
    TPixelGraphic Picture;
    Picture.SetSize(20, 10, bc8);
    Picture.SetPaletteIdent(pGray256);
    Picture.SetPaletteColors(3, RGB(200, 10, 10));
    Picture.SetPixel(5, 5, 3);
    Picture.SaveToFile(File("gray.bmp"));
    TCreateOpenSaveDialogPaintPGThread Thread;
    SetUp(Thread, File("gray.bmp"), 8);
    Thread.SetPalette8BitSys8BitGraphic(pSource);
    const auto Preview = Thread.Work();
    ASSERT_NE(Preview, nullptr);
    EXPECT_EQ(Preview->BitCount(), bc8);
    EXPECT_EQ(Preview->PaletteColors(3), RGB(200, 10, 10));
    EXPECT_EQ(Preview->PixelColors(5, 5), RGB(200, 10, 10));
}

TEST_F(PreviewThread, NoPreviewOfFoldersMissingFilesTextOrWithoutRoom) {
    std::ofstream(File("notes.txt")) << "no picture";
    TCreateOpenSaveDialogPaintPGThread Thread;
    SetUp(Thread, Folder.path().toStdString(), 24);
    EXPECT_EQ(Thread.Work(), nullptr);
    Thread.SetFileName(File("missing.bmp"));
    EXPECT_EQ(Thread.Work(), nullptr);
    // A picture, but no room to show it.
    SavePicture(File("picture.bmp"), 30, 20);
    Thread.SetFileName(File("picture.bmp"));
    Thread.SetMaxSize(0, 160);
    EXPECT_EQ(Thread.Work(), nullptr);
    Thread.SetMaxSize(180, 160);
    Thread.SetFileName(File("notes.txt"));
    EXPECT_THROW(Thread.Work(), EPixelGraphic);

    // On its thread the failure ends the run quietly.
    TPostedEvents Posted(&Window);
    Thread.Resume();
    Thread.WaitFor();
    QCoreApplication::processEvents();
    EXPECT_TRUE(Posted.Previews.empty());
}

TEST_F(PreviewThread, PostsProgressAndThePreviewOfItsRun) {
    SavePicture(File("wide.png"), 2000, 600);
    TPostedEvents Posted(&Window);
    TCreateOpenSaveDialogPaintPGThread Thread;
    SetUp(Thread, File("wide.png"), 24);
    Thread.Resume();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !Posted.Previews.empty(); }, 20000));
    Thread.WaitFor();
    EXPECT_EQ(Posted.Previews, std::vector<std::uint64_t>{Thread.Run()});
    ASSERT_FALSE(Posted.Progress.empty());
    for (std::size_t I = 0; I < Posted.Progress.size(); ++I) {
        EXPECT_EQ(Posted.Progress[I].Run, Thread.Run());
        EXPECT_GE(Posted.Progress[I].Step, 1);
        EXPECT_LE(Posted.Progress[I].Step, 2);
        if (I > 0 && Posted.Progress[I].Step == Posted.Progress[I - 1].Step) {
            EXPECT_GT(Posted.Progress[I].Percent, Posted.Progress[I - 1].Percent);
        }
    }
    // An inactive worker does nothing at all.
    TCreateOpenSaveDialogPaintPGThread Idle;
    Idle.SetTargetWindow(&Window);
    Idle.SetFileName(File("wide.png"));
    Idle.Resume();
    Idle.WaitFor();
    QCoreApplication::processEvents();
    EXPECT_EQ(Posted.Previews.size(), 1U);
}

TEST_F(PreviewThread, TerminatedLoadPostsNothing) {
    SavePhoto(File("photo.jpg"), 4000, 3000);
    TPostedEvents Posted(&Window);
    TCreateOpenSaveDialogPaintPGThread Thread;
    SetUp(Thread, File("photo.jpg"), 24);
    Thread.Resume();
    // Stopped as soon as the load has reported once.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !Posted.Progress.empty(); }, 20000));
    Thread.Terminate();
    Thread.WaitFor();
    QTest::qWait(50);
    EXPECT_TRUE(Posted.Previews.empty());
    EXPECT_EQ(Posted.Progress.back().Step, 1);
}
