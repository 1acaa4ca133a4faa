#include "pgraphic/image/pg_exceptions.h"
#include "pgraphic/view/image_view/pg_image.h"
#include "tests/pgraphic/view/image_view/view_test_util.h"

#include <QTemporaryDir>
#include <fstream>
#include <gtest/gtest.h>

using namespace ViewTest;

namespace {

struct TEventLog {
    int NewAutoSize = 0;
    int Changes = 0;
    void Attach(TPGImage& View) {
        View.OnNewAutoSize = [this](TObject*, int, int) { ++NewAutoSize; };
        View.OnPixelGraphicChange = [this](TObject*) { ++Changes; };
    }
};

} // namespace

TEST(PGImageFiles, AFailedLoadLeavesAnEmptyViewAndStillReports) {
    QTemporaryDir Dir;
    const std::string Good = Dir.filePath("good.bmp").toStdString();
    const std::string Bad = Dir.filePath("bad.bmp").toStdString();
    std::ofstream(Bad) << "this is no picture at all";
    TPGImage View;
    const auto Picture = MakePicture(30, 20);
    View.SetPixelGraphic(Picture.get());
    View.SaveToFile(Good);
    EXPECT_EQ(View.FileName(), Good);

    TEventLog Log;
    Log.Attach(View);
    EXPECT_THROW(View.LoadFromFile(Bad), EPixelGraphic);
    EXPECT_EQ(View.PixelGraphic(), nullptr);
    EXPECT_EQ(View.FileName(), "");
    EXPECT_EQ(Log.NewAutoSize, 1);
    EXPECT_EQ(Log.Changes, 1);
    EXPECT_EQ(View.PicBox()->size(), QSize(0, 0));

    View.SetFileName(Good);
    ASSERT_NE(View.PixelGraphic(), nullptr);
    EXPECT_EQ(View.FileName(), Good);
    EXPECT_EQ(View.PixelGraphic()->Pixels(29, 19),
              static_cast<std::uint32_t>(PictureColor(29, 19)));
    EXPECT_EQ(View.PicBox()->size(), QSize(30, 20));
    // A name without a file part empties the view without failing.
    View.LoadFromFile(Dir.path().toStdString() + "/");
    EXPECT_EQ(View.PixelGraphic(), nullptr);
    EXPECT_EQ(View.FileName(), Dir.path().toStdString() + "/");
}

TEST(PGImageFiles, SavingAnEmptyViewFails) {
    TPGImage View;
    try {
        View.SaveToFile("/nonexistent/never.bmp");
        FAIL() << "no exception";
    } catch (const EPGEmpty& Error) {
        EXPECT_STREQ(Error.what(), "PixelGraphic is empty");
    }
    EXPECT_EQ(View.FileName(), "");
}

TEST(PGImageFiles, ChangesToTheOwnPictureUpdateTheView) {
    const auto View = ShownView(100, 100);
    TEventLog Log;
    Log.Attach(*View);
    auto Picture = MakePicture(30, 20);
    View->SetPixelGraphic(Picture.get());
    // The caller's picture is not the view's.
    Picture->SetSize(5, 5, bc24);
    EXPECT_EQ(View->PicBox()->size(), QSize(30, 20));
    // A change of the view's own picture announces itself.
    TPixelGraphic& Own = *View->EditablePixelGraphic();
    Own.SetSize(40, 10, bc24);
    EXPECT_EQ(View->PicBox()->size(), QSize(40, 10));
    EXPECT_EQ(Log.Changes, 2);
    // Progress of the view's own picture is passed on.
    int Progress = 0;
    View->OnPixelGraphicProgress = [&](TObject*, int, int, bool&) { ++Progress; };
    const auto Source = MakePicture(40, 10);
    Own.StretchFrom(*Source);
    EXPECT_GT(Progress, 0);
}
