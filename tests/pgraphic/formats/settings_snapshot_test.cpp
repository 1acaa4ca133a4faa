// Readers and writers work with one snapshot of their format's settings: a change made on another
// thread while a file is read or written never mixes into it.

#include "core/stream.h"
#include "format_test_util.h"
#include "pgraphic/formats/jpeg/jpeg_settings.h"
#include "pgraphic/formats/tiff/tiff.h"
#include "pgraphic/image/pixel_graphic.h"

#include <atomic>
#include <functional>
#include <gtest/gtest.h>
#include <thread>

namespace {

class SettingsSnapshot : public ::testing::Test {
protected:
    void SetUp() override {
        FTiff = TIFFSettings();
        FJpeg = JPEGSettings();
    }
    void TearDown() override {
        SetTIFFSettings(FTiff);
        SetJPEGSettings(FJpeg);
    }

    // Two complete sets that differ in every setting the TIFF writer uses.
    static TTIFFSettings TiffA() { return {}; }
    static TTIFFSettings TiffB() {
        TTIFFSettings B;
        B.Compression = 32773;
        B.WhiteIsZero = true;
        B.BigEndian = true;
        B.ResolutionUnit = truCentimeter;
        B.XResolution = {72, 1};
        B.YResolution = {150, 2};
        return B;
    }

    static void Paint(TPixelGraphic& Image, int Width, int Height, TPGBitCount Format) {
        Image.SetSize(Width, Height, Format);
        if (Format == bc8) {
            Image.SetPaletteIdent(pGray256);
        }
        for (int Y = 0; Y < Height; ++Y) {
            for (int X = 0; X < Width; ++X) {
                Image.SetPixel(X, Y, static_cast<std::uint32_t>(X * 37 + Y * 11));
            }
        }
    }

    // A two-image file written with BeginFile, AddImage and EndFile; Between runs after BeginFile.
    static TBytes TwoImageFile(TPixelGraphic& First, TPixelGraphic& Second,
                               const std::function<void()>& Between) {
        TTIFFileFormatWriter Writer;
        TMemoryStream Stream;
        Writer.BeginFile(Stream);
        Between();
        Writer.AddImage(Stream, First);
        Writer.AddImage(Stream, Second);
        Writer.EndFile(Stream);
        return Stream.Bytes();
    }

    // Runs Work on a worker thread Rounds times while this thread switches between the complete
    // sets A and B; every result must be what A alone or B alone gives.
    template <typename TSettings>
    static void ExpectOneSetPerResult(const std::function<TBytes()>& Work, const TSettings& A,
                                      const TSettings& B, void (*Set)(const TSettings&),
                                      int Rounds) {
        Set(A);
        const TBytes WithA = Work();
        Set(B);
        const TBytes WithB = Work();
        ASSERT_NE(WithA, WithB);
        std::atomic<bool> Done{false};
        int Mixed = 0, SeenA = 0, SeenB = 0;
        std::thread Worker([&] {
            for (int I = 0; I < Rounds; ++I) {
                const TBytes Result = Work();
                SeenA += Result == WithA ? 1 : 0;
                SeenB += Result == WithB ? 1 : 0;
                Mixed += Result != WithA && Result != WithB ? 1 : 0;
            }
            Done = true;
        });
        for (bool UseA = true; !Done; UseA = !UseA) {
            Set(UseA ? A : B);
        }
        Worker.join();
        EXPECT_EQ(Mixed, 0) << "A " << SeenA << ", B " << SeenB;
    }

private:
    TTIFFSettings FTiff;
    TJPEGSettings FJpeg;
};

} // namespace

// A multi-image file keeps the settings it began with, whatever changes before its images are
// added: one byte order, one compression, one resolution throughout.
TEST_F(SettingsSnapshot, MultiImageTiffKeepsTheSettingsItBeganWith) {
    TPixelGraphic First, Second;
    Paint(First, 9, 5, bc24);
    Paint(Second, 6, 4, bc8);
    SetTIFFSettings(TiffA());
    const TBytes Plain = TwoImageFile(First, Second, [] {});
    const TBytes Changed = TwoImageFile(First, Second, [] { SetTIFFSettings(TiffB()); });
    EXPECT_EQ(Changed, Plain);

    SetTIFFSettings(TiffB());
    const TBytes PlainB = TwoImageFile(First, Second, [] {});
    EXPECT_EQ(PlainB[0], 'M');
    EXPECT_EQ(TwoImageFile(First, Second, [] { SetTIFFSettings(TiffA()); }), PlainB);
}

TEST_F(SettingsSnapshot, TiffSavedWhileAnotherThreadChangesTheSettings) {
    for (const TPGBitCount Format : {bc8, bc24}) {
        TPixelGraphic Image;
        Paint(Image, 40, 30, Format);
        const auto Work = [&] { return SaveBytes(Image, "tif"); };
        ExpectOneSetPerResult<TTIFFSettings>(Work, TiffA(), TiffB(), SetTIFFSettings, 300);
    }
}

TEST_F(SettingsSnapshot, JpegSavedWhileAnotherThreadChangesTheSettings) {
    TPixelGraphic Image;
    Paint(Image, 32, 24, bc24);
    TJPEGSettings A, B;
    A.Quality = 40;
    A.WriteDCTMethod = jdmIntegerSlow;
    B.Quality = 95;
    B.Progressive = true;
    B.WriteDCTMethod = jdmFloat;
    const auto Work = [&] { return SaveBytes(Image, "jpg"); };
    ExpectOneSetPerResult<TJPEGSettings>(Work, A, B, SetJPEGSettings, 150);
}
