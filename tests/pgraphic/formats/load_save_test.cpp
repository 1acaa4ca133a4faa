#include "bmp_builder.h"
#include "core/stream.h"
#include "pgraphic/formats/color_resolution.h"
#include "pgraphic/formats/registry.h"
#include "pgraphic/image/pg_exceptions.h"
#include "pgraphic/image/pixel_graphic.h"
#include "platform/message_box.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

class LoadSave : public ::testing::Test {
protected:
    void SetUp() override {
        Dir = std::filesystem::temp_directory_path() /
              ("vespera_load_save_" + std::to_string(::getpid()));
        std::filesystem::create_directories(Dir);
        Previous = SetMessageBoxHook([this](const TMessageBoxRequest& Request) {
            Messages.push_back(Request);
            return Answer;
        });
    }
    void TearDown() override {
        SetMessageBoxHook(Previous);
        std::filesystem::remove_all(Dir);
    }
    std::string Path(const std::string& Name) const { return (Dir / Name).string(); }

    std::filesystem::path Dir;
    TMessageBoxHook Previous;
    std::vector<TMessageBoxRequest> Messages;
    TModalResult Answer = TModalResult::mrOK;
};

} // namespace

TEST(ColorResolution, CodesAndPreferences) {
    TPixelGraphic Image;
    Image.SetSize(1, 1, bc1);
    Image.SetPaletteIdent(pBlackWhite);
    EXPECT_EQ(ColorResolutionOf(Image), crBlackWhite);
    Image.SetPaletteColors(1, RGB(1, 2, 3));
    EXPECT_EQ(ColorResolutionOf(Image), cr2Colors);
    Image.SetSize(1, 1, bc8);
    Image.SetPaletteIdent(pGray256);
    EXPECT_EQ(ColorResolutionOf(Image), crGray256);
    Image.SetSize(1, 1, bc24);
    EXPECT_EQ(ColorResolutionOf(Image), crTrueColor);

    TColorResolution Result{};
    // True colour to a grey-only writer: row 7 reaches 5 after 7, 6, 4, 3.
    ASSERT_TRUE(PreferredResolution(crTrueColor, ResolutionSet({crBlackWhite, crGray256}), Result));
    EXPECT_EQ(Result, crGray256);
    // Black and white to a JPEG-like writer: 5 comes before 7 in row 0.
    ASSERT_TRUE(PreferredResolution(crBlackWhite, ResolutionSet({crGray256, crTrueColor}), Result));
    EXPECT_EQ(Result, crGray256);
    EXPECT_FALSE(PreferredResolution(cr16Colors, 0, Result));
    EXPECT_EQ(ColorResolutionText(cr256Colors), "256 colors");
}

TEST_F(LoadSave, FilesRoundTripAndUnknownExtensionsLeaveNothingBehind) {
    TPixelGraphic Image;
    Image.SetSize(4, 3, bc24);
    Image.SetPixel(1, 1, static_cast<std::uint32_t>(RGB(10, 20, 30)));
    Image.SaveToFile(Path("a.BMP"));
    TPixelGraphic Back;
    Back.LoadFromFile(Path("a.BMP"));
    EXPECT_EQ(Back.PixelColors(1, 1), RGB(10, 20, 30));
    EXPECT_EQ(Back.Gamma(), PGDisplayGamma());

    try {
        Image.SaveToFile(Path("b.xyz"));
        ADD_FAILURE();
    } catch (const EPGUnknownExtension& E) {
        EXPECT_STREQ(E.what(), "Unknown file extension \"xyz\"");
    }
    EXPECT_FALSE(std::filesystem::exists(Path("b.xyz")));
    try {
        Image.SaveToFile(Path("noextension"));
        ADD_FAILURE();
    } catch (const EPGUnknownExtension& E) {
        EXPECT_STREQ(E.what(), "Unknown file extension \"\"");
    }
}

TEST_F(LoadSave, UnknownContentIsRefusedAndLeavesAnEmptyImage) {
    TMemoryStream Stream;
    Stream.WriteBuffer("not an image", 12);
    Stream.SetPosition(0);
    TPixelGraphic Image;
    Image.SetSize(3, 3, bc8);
    int Changes = 0;
    Image.OnChange = [&](TObject*) { ++Changes; };
    try {
        Image.LoadFromStream(Stream);
        ADD_FAILURE();
    } catch (const EPGUnknownFileFormat& E) {
        EXPECT_STREQ(E.what(), "Unknown file format");
    }
    EXPECT_TRUE(Image.IsEmpty());
    EXPECT_EQ(Image.BitCount(), bc24);
    EXPECT_EQ(Changes, 1);
    EXPECT_THROW(Image.LoadFromFile(Path("missing.bmp")), EFOpenError);
}

TEST_F(LoadSave, LoadingRecognisesFixedPalettes) {
    TBmpBuilder B;
    B.FileHeader().InfoHeader(1, 1, 1).Color(0, 0, 0).Color(255, 255, 255).U32(0);
    TBlockStream Stream(static_cast<const void*>(B.Bytes.data()),
                        static_cast<std::int64_t>(B.Bytes.size()));
    TPixelGraphic Image;
    Image.LoadFromStream(Stream);
    EXPECT_EQ(Image.PaletteIdent(), pBlackWhite);
}

TEST_F(LoadSave, ConversionsAskFirstAndFollowTheAnswer) {
    // A writer that stores only true colour stands in for formats that arrive later.
    TPixelGraphic Image;
    Image.SetSize(2, 2, bc8);
    Image.SetPaletteIdent(pSys16);
    Image.SetPixel(0, 0, 9);

    class TTrueColorOnly : public TFileFormatWriter {
    public:
        TTrueColorOnly() : TFileFormatWriter("tco", "True colour only") {
            SetCanWriteResolutions(ResolutionSet({crTrueColor}));
        }
        std::string ClassName() const override { return "TTrueColorOnly"; }
        void WriteImage(TStream& Stream, TPixelGraphic& Graphic) override {
            Written = Graphic.BitCount();
            Color = Graphic.PixelColors(0, 0);
            Stream.WriteBuffer("x", 1);
        }
        TPGBitCount Written = bc1;
        TColor Color = 0;
    };
    auto Owned = std::make_unique<TTrueColorOnly>();
    TTrueColorOnly* Writer = Owned.get();
    FileFormatWriters().Add(std::move(Owned));

    Image.SaveToFile(Path("ok.tco"));
    ASSERT_EQ(Messages.size(), 1u);
    EXPECT_EQ(Messages[0].Caption, "Warning");
    EXPECT_EQ(Messages[0].Text,
              "The graphic cannot be saved to a True colour only file with the current color "
              "resolution (256 colors).\r\rThe graphic will be saved with a different color "
              "resolution (16.7 million colors).");
    EXPECT_EQ(Writer->Written, bc24);
    EXPECT_EQ(Writer->Color, RGB(255, 0, 0));
    EXPECT_EQ(Image.BitCount(), bc8); // the image itself is untouched

    Answer = TModalResult::mrCancel;
    try {
        Image.SaveToFile(Path("cancelled.tco"));
        ADD_FAILURE();
    } catch (const EPGCannotWriteColorRes& E) {
        EXPECT_STREQ(E.what(), "The graphic cannot be saved with to a True colour only file with "
                               "the current color resolution (256 colors)");
    }
    EXPECT_FALSE(std::filesystem::exists(Path("cancelled.tco")));

    Messages.clear();
    Image.SetSaveColorResWarningAction(pgwaIgnore);
    Image.SaveToFile(Path("quiet.tco"));
    EXPECT_TRUE(Messages.empty());
    Image.SetSaveColorResWarningAction(pgwaRaise);
    EXPECT_THROW(Image.SaveToFile(Path("raised.tco")), EPGCannotWriteColorRes);
    EXPECT_TRUE(Messages.empty());
}

TEST_F(LoadSave, GammaIsCorrectedToTheDisplayGamma) {
    // A reader that reports gamma 1.0 for its pixels.
    class TLinearReader : public TFileFormatReader {
    public:
        TLinearReader() : TFileFormatReader("lin", "Linear") {}
        std::string ClassName() const override { return "TLinearReader"; }
        void ReadImage(TStream&, TPixelGraphic& Graphic, int) const override {
            Graphic.SetSize(2, 1, bc24);
            Graphic.SetPixel(0, 0, static_cast<std::uint32_t>(RGB(128, 0, 255)));
            Graphic.SetGamma(1.0L);
        }
    };
    FileFormatReaders().Add(std::make_unique<TLinearReader>());
    TMemoryStream Stream;
    Stream.WriteBuffer("....", 4);
    Stream.SetPosition(0);
    TPixelGraphic Image;
    Image.LoadFromStreamExt(Stream, ".lin", 0);
    // 255 * (128 / 255) ^ (1.0 / 1.8) = 173.9
    EXPECT_EQ(Image.PixelColors(0, 0), RGB(174, 0, 255));
    EXPECT_EQ(Image.Gamma(), PGDisplayGamma());
    SetPGGammaCorrection(false);
    Stream.SetPosition(0);
    Image.LoadFromStreamExt(Stream, "lin", 0);
    EXPECT_EQ(Image.PixelColors(0, 0), RGB(128, 0, 255));
    SetPGGammaCorrection(true);
}
