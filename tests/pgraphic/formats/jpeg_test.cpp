#include "format_test_util.h"
#include "jpeg_codec.h"
#include "message_box_recorder.h"
#include "pgraphic/formats/jpeg/jpeg.h"
#include "pgraphic/formats/jpeg/jpeg_library.h"
#include "pgraphic/formats/jpeg/jpeg_settings.h"
#include "pgraphic/image/pg_exceptions.h"

#include <gtest/gtest.h>
#include <stdexcept>

namespace {

const TJPGFileFormatReader Reader;

// A smooth true-colour picture, which JPEG keeps close.
void Paint(TPixelGraphic& Image, int Width, int Height) {
    Image.SetSize(Width, Height, bc24);
    for (int Y = 0; Y < Height; ++Y) {
        for (int X = 0; X < Width; ++X) {
            Image.SetPixel(X, Y,
                           static_cast<std::uint32_t>(RGB(40 + 4 * X, 200 - 3 * Y, 90 + X + Y)));
        }
    }
}

TBytes TrueColourFile(int Width = 40, int Height = 30) {
    TPixelGraphic Image;
    Paint(Image, Width, Height);
    return SaveBytes(Image, "jpg");
}

int MaxDifference(const std::vector<std::uint8_t>& A, const std::vector<std::uint8_t>& B) {
    int Max = A.size() == B.size() ? 0 : 256;
    for (std::size_t I = 0; I < A.size() && I < B.size(); ++I) {
        Max = std::max(Max, std::abs(A[I] - B[I]));
    }
    return Max;
}

// Answers message boxes as told and remembers them.
class JpegWarnings : public TMessageBoxTest {
protected:
    // A file cut in the middle of its scan data.
    std::string LoadCut(TPGWarningAction Action, TPixelGraphic& Image) {
        TPixelGraphic Noisy;
        Noisy.SetSize(64, 48, bc24);
        for (int Y = 0; Y < 48; ++Y) {
            for (int X = 0; X < 64; ++X) {
                Noisy.SetPixel(X, Y,
                               static_cast<std::uint32_t>(X * 7919 + Y * 104729) * 2654435761u);
            }
        }
        const TBytes Whole = SaveBytes(Noisy, "jpg");
        std::size_t Scan = 0;
        while (Scan + 1 < Whole.size() && !(Whole[Scan] == 0xFF && Whole[Scan + 1] == 0xDA)) {
            ++Scan;
        }
        const TBytes Cut(Whole.begin(),
                         Whole.begin() + static_cast<std::ptrdiff_t>((Scan + Whole.size()) / 2));
        Image.SetReadWarningAction(Action);
        try {
            LoadBytes(Image, Cut, "jpg");
        } catch (const std::exception& E) {
            return E.what();
        }
        return "no error";
    }
};

// Reads through a stream that fails after Limit bytes.
class TFailingStream : public TMemoryStream {
public:
    explicit TFailingStream(std::int64_t Limit) : FLimit(Limit) {}
    std::int64_t Read(void* Buffer, std::int64_t Count) override {
        if (Position() + Count > FLimit) {
            throw EReadError("disk gone");
        }
        return TMemoryStream::Read(Buffer, Count);
    }

private:
    std::int64_t FLimit;
};

} // namespace

TEST(JpegFormat, RegisteredUnderThreeExtensions) {
    const TPGSignature Soi{0xFF, 0xD8};
    EXPECT_TRUE(Reader.CheckSignature(Soi));
    EXPECT_FALSE(Reader.CheckSignature(TPGSignature{0xFF, 0xD9}));

    // The first reader in extension order with the signature is "jif", whatever the name.
    const TBytes File = TrueColourFile(8, 8);
    TBlockStream Stream = StreamOver(File);
    const TFileFormatReader* Found = FindFileFormatReader(Stream, "png");
    ASSERT_NE(Found, nullptr);
    EXPECT_EQ(Found->Extension(), "jif");

    EXPECT_FALSE(TJPEGFileFormatWriter().Listed()); // an alias, not the main extension
}

TEST(JpegFormat, TrueColourDecodesAsLibjpegDoesInBlueGreenRedRows) {
    const TBytes File = TrueColourFile();
    TPixelGraphic Image;
    Image.SetGamma(2.5L);
    LoadBytes(Image, File, "jpg");
    ASSERT_EQ(Image.BitCount(), bc24);
    EXPECT_EQ(Image.Width(), 40);
    EXPECT_EQ(Image.Height(), 30);
    EXPECT_DOUBLE_EQ(static_cast<double>(Image.Gamma()), 1.8); // never gamma-corrected

    int Components = 0;
    const auto Slow = DecodeWithLibjpeg(File, JDCT_ISLOW, Components);
    ASSERT_EQ(Components, 3);
    EXPECT_EQ(PixelsOf(Image), Slow); // byte for byte, in the right channel order

    TPixelGraphic Original;
    Paint(Original, 40, 30);
    EXPECT_LE(MaxDifference(PixelsOf(Image), PixelsOf(Original)), 12);

    // FastRead selects the fast integer transform.
    Image.SetFastRead(true);
    LoadBytes(Image, File, "jpg");
    const auto Fast = DecodeWithLibjpeg(File, JDCT_IFAST, Components);
    EXPECT_EQ(PixelsOf(Image), Fast);
    EXPECT_NE(Fast, Slow);
}

TEST(JpegFormat, GreyFilesRoundTripWithOneComponent) {
    TPixelGraphic Grey;
    Grey.SetSize(17, 9, bc8);
    Grey.SetPaletteIdent(pGray256);
    for (int Y = 0; Y < 9; ++Y) {
        for (int X = 0; X < 17; ++X) {
            Grey.SetPixel(X, Y, static_cast<std::uint32_t>(X * 15));
        }
    }
    const TBytes File = SaveBytes(Grey, "jpg");
    const TPGImageFileInfo Info = InfoOf(File, "jpg");
    EXPECT_EQ(Info.BitsPerPixel, 8);
    EXPECT_EQ(Info.ColorsText, "256");
    EXPECT_EQ(Info.SubFormatText, "JFIF, GrayScale");
    EXPECT_EQ(Info.Width, 17);
    EXPECT_EQ(Info.Height, 9);

    TPixelGraphic Image;
    LoadBytes(Image, File, "jpg");
    EXPECT_EQ(Image.BitCount(), bc8);
    EXPECT_EQ(Image.PaletteIdent(), pGray256);
    int Components = 0;
    EXPECT_EQ(PixelsOf(Image), DecodeWithLibjpeg(File, JDCT_ISLOW, Components));
    EXPECT_LE(MaxDifference(PixelsOf(Image), PixelsOf(Grey)), 6);

    // A 16-grey image is converted to 256 greys first, any other palette image to true colour.
    TPixelGraphic Sixteen;
    Sixteen.SetSize(4, 4, bc4);
    Sixteen.SetPaletteIdent(pGray16);
    Sixteen.SetSaveColorResWarningAction(pgwaIgnore);
    EXPECT_EQ(InfoOf(SaveBytes(Sixteen, "jpeg"), "jpg").SubFormatText, "JFIF, GrayScale");
    Sixteen.SetPaletteIdent(pSys16);
    EXPECT_EQ(InfoOf(SaveBytes(Sixteen, "jif"), "jpg").SubFormatText, "JFIF, YCbCr");
}

TEST(JpegFormat, WriterSettingsAndRefusedImages) {
    TPixelGraphic Image;
    Paint(Image, 24, 16);
    TJPGFileFormatWriter Writer;
    TMemoryStream Baseline;
    Writer.WriteImage(Baseline, Image);
    SetJPEGProgressive(true);
    TMemoryStream Progressive;
    Writer.WriteImage(Progressive, Image);
    SetJPEGProgressive(false);
    EXPECT_EQ(InfoOf(Progressive.Bytes(), "jpg").SubFormatText, "JFIF, YCbCr, Progressive");
    EXPECT_EQ(InfoOf(Baseline.Bytes(), "jpg").SubFormatText, "JFIF, YCbCr");

    // Quality 80: libjpeg's own compressor with the same settings writes the same bytes.
    const TBytes Reference = CompressWithLibjpeg(
        24, 16, 3, JCS_RGB, JCS_YCbCr,
        [&](int X, int Y, int C) {
            const TColor Colour = Image.PixelColors(X, Y);
            return C == 0 ? GetRValue(Colour) : C == 1 ? GetGValue(Colour) : GetBValue(Colour);
        },
        false);
    EXPECT_NE(Reference, Baseline.Bytes()); // libjpeg's default quality is 75 ...
    SetJPEGQuality(75);
    SetJPEGWriteDCTMethod(jdmIntegerSlow); // ... and its default transform the slow integer one
    TMemoryStream Defaults;
    Writer.WriteImage(Defaults, Image);
    SetJPEGQuality(80);
    SetJPEGWriteDCTMethod(jdmFloat);
    EXPECT_EQ(Reference, Defaults.Bytes());

    // Only true colour and 256 greys are written; the save pipeline converts everything else.
    Image.SetSize(4, 4, bc8);
    Image.SetPaletteIdent(pSpecial252);
    TMemoryStream Refused;
    EXPECT_THROW(
        {
            try {
                Writer.WriteImage(Refused, Image);
            } catch (const EPGJPGFileFormatReaderWriter& E) {
                EXPECT_STREQ(E.what(), "JPG: Invalid value for BitCount");
                throw;
            }
        },
        EPGJPGFileFormatReaderWriter);
}

TEST(JpegFormat, ColourSpacesMarkersAndComponentsInTheInformation) {
    const auto Level = [](int X, int Y, int C) { return (X * 30 + Y * 7 + C * 50) % 256; };
    const TBytes Cmyk = CompressWithLibjpeg(9, 5, 4, JCS_CMYK, JCS_CMYK, Level);
    TPGImageFileInfo Info = InfoOf(Cmyk, "jpg");
    EXPECT_EQ(Info.SubFormatText, "Adope, CMYK");
    EXPECT_EQ(Info.ColorsText, "4294.9M");
    EXPECT_EQ(Info.BitsPerPixel, 32);
    EXPECT_EQ(Info.Description, "JPEG (JFIF compliant)");
    EXPECT_EQ(ReadError(Reader, Cmyk), "JPG: Not supported subformat");

    const TBytes Ycck = CompressWithLibjpeg(9, 5, 4, JCS_CMYK, JCS_YCCK, Level, true);
    EXPECT_EQ(InfoOf(Ycck, "jpg").SubFormatText, "Adope, YCbCrK, Progressive");
    EXPECT_EQ(ReadError(Reader, Ycck), "JPG: Not supported subformat");

    // An RGB file (no colour transform) decodes straight to the same colours.
    const TBytes Rgb = CompressWithLibjpeg(8, 8, 3, JCS_RGB, JCS_RGB, Level);
    EXPECT_EQ(InfoOf(Rgb, "jpg").SubFormatText, "Adope, RGB");
    TPixelGraphic Image;
    LoadBytes(Image, Rgb, "jpg");
    int Components = 0;
    EXPECT_EQ(PixelsOf(Image), DecodeWithLibjpeg(Rgb, JDCT_ISLOW, Components));

    const TBytes Two = CompressWithLibjpeg(8, 8, 2, JCS_UNKNOWN, JCS_UNKNOWN, Level);
    Info = InfoOf(Two, "jpg");
    EXPECT_EQ(Info.SubFormatText, "unknown");
    EXPECT_EQ(Info.ColorsText, "64K");
    EXPECT_EQ(ReadError(Reader, Two), "JPG: Not supported subformat");

    EXPECT_EQ(InfoError(Reader, Rgb, 1), "JPG: Invalid value for Index");
    EXPECT_EQ(ReadError(Reader, Rgb, 1), "JPG: Index invalid");
}

TEST(JpegFormat, BrokenFilesEndInTheLibrarysMessage) {
    EXPECT_EQ(ReadError(Reader, {}), "JPG: Empty input file");
    EXPECT_EQ(ReadError(Reader, {0xFF, 0xD8, 0xFF, 0xD9}),
              "JPG: JPEG datastream contains no image");
    EXPECT_EQ(ReadError(Reader, {0xFF, 0xD8, 0x00, 0x00}).rfind("JPG: ", 0),
              0u); // not the library's SOI check

    // A frame header declaring 65500 x 65500 pixels: the size error, before any allocation in
    // proportion to it.
    TBytes Bomb = TrueColourFile(16, 16);
    for (std::size_t I = 0; I + 9 < Bomb.size(); ++I) {
        if (Bomb[I] == 0xFF && Bomb[I + 1] == 0xC0) {
            Bomb[I + 5] = 0xFF, Bomb[I + 6] = 0xDC, Bomb[I + 7] = 0xFF, Bomb[I + 8] = 0xDC;
            break;
        }
    }
    EXPECT_EQ(InfoOf(Bomb, "jpg").Width, 65500);
    TPixelGraphic Image;
    EXPECT_THROW(LoadBytes(Image, Bomb, "jpg"), EPGInvalidSize);

    // Corrupt entropy-coded data decodes to something, with the library's warning.
    TBytes Corrupt = TrueColourFile(32, 32);
    for (std::size_t I = Corrupt.size() / 2; I < Corrupt.size() - 2; I += 7) {
        Corrupt[I] = static_cast<std::uint8_t>(Corrupt[I] * 31 + 1);
    }
    Image.SetReadWarningAction(pgwaIgnore);
    try {
        LoadBytes(Image, Corrupt, "jpg");
    } catch (const EPGJPGFileFormatReaderWriter& E) {
        EXPECT_EQ(std::string(E.what()).rfind("JPG: ", 0), 0u) << E.what();
    }
}

// The last scan of a progressive file repeated: each repetition costs a pass over the whole image,
// so files with more than a hundred scans are refused.
TEST(JpegFormat, FilesWithTooManyScansAreRefused) {
    const TBytes File = CompressWithLibjpeg(
        64, 64, 1, JCS_GRAYSCALE, JCS_GRAYSCALE, [](int X, int Y, int) { return X * Y % 256; },
        true);
    std::size_t Last = File.size() - 2;
    while (Last > 0 && !(File[Last] == 0xFF && File[Last + 1] == 0xDA)) {
        --Last;
    }
    const auto Repeated = [&](int Times) {
        TBytes Bytes(File.begin(), File.end() - 2);
        for (int I = 0; I < Times; ++I) {
            Bytes.insert(Bytes.end(), File.begin() + static_cast<std::ptrdiff_t>(Last),
                         File.end() - 2);
        }
        Bytes.insert(Bytes.end(), {0xFF, 0xD9});
        return Bytes;
    };
    TPixelGraphic Image;
    Image.SetReadWarningAction(pgwaIgnore); // the repeated scans are a bogus progression
    EXPECT_NO_THROW(LoadBytes(Image, Repeated(80), "jpg"));
    try {
        LoadBytes(Image, Repeated(200), "jpg");
        ADD_FAILURE() << "no error";
    } catch (const EPGJPGFileFormatReaderWriter& E) {
        EXPECT_STREQ(E.what(), "JPG: Scan count out of range");
    }
}

// A progressive file of one DC scan of three components sampled 1x1, whose frame header then
// claims Width x Height pixels. Decoding a multi-scan file keeps the coefficients of the whole
// image: about 1.9 GB for 18000 x 18000.
TBytes OneScanProgressiveClaiming(int Width, int Height) {
    TBytes File = CompressWithLibjpeg(
        64, 64, 3, JCS_RGB, JCS_YCbCr,
        [](int X, int Y, int C) { return (X * 7 + Y * 13) * (C + 1) % 256; }, false,
        [](jpeg_compress_struct& Info) {
            for (int C = 0; C < 3; ++C) {
                Info.comp_info[C].h_samp_factor = Info.comp_info[C].v_samp_factor = 1;
            }
            static const jpeg_scan_info DcScan{3, {0, 1, 2, 0}, 0, 0, 0, 0};
            Info.scan_info = &DcScan;
            Info.num_scans = 1;
        });
    std::size_t Frame = 0;
    while (!(File[Frame] == 0xFF && File[Frame + 1] == 0xC2)) {
        ++Frame;
    }
    File[Frame + 5] = static_cast<std::uint8_t>(Height >> 8);
    File[Frame + 6] = static_cast<std::uint8_t>(Height);
    File[Frame + 7] = static_cast<std::uint8_t>(Width >> 8);
    File[Frame + 8] = static_cast<std::uint8_t>(Width);
    return File;
}

TEST(JpegFormat, MultiScanFilesNeedingTooMuchMemoryAreRefusedBeforeDecoding) {
    TPixelGraphic Image;
    Image.SetReadWarningAction(pgwaIgnore); // the scan data ends long before 18000 rows
    try {
        LoadBytes(Image, OneScanProgressiveClaiming(18000, 18000), "jpg");
        ADD_FAILURE() << "no error";
    } catch (const EPGJPGFileFormatReaderWriter& E) {
        EXPECT_STREQ(E.what(), "JPG: Invalid size of image");
    }
}

// The limit binds where the library keeps whole-image buffers (progressive files), not where it
// decodes row by row (baseline files).
TEST(JpegFormat, TheMemoryLimitBindsWholeImageBuffersOnly) {
    const auto Sample = [](int X, int Y, int C) { return (X ^ Y) * (C + 3) % 256; };
    // 1000 x 800 at 4:2:0: 1.2 million coefficients of 2 bytes each when kept whole.
    const TBytes Baseline = CompressWithLibjpeg(1000, 800, 3, JCS_RGB, JCS_YCbCr, Sample);
    const TBytes Progressive = CompressWithLibjpeg(1000, 800, 3, JCS_RGB, JCS_YCbCr, Sample, true);
    const std::size_t Default = JPEGSettings().MaxMemory;
    TPixelGraphic Image;
    EXPECT_NO_THROW(LoadBytes(Image, Progressive, "jpg"));
    SetJPEGMaxMemory(std::size_t{1} << 20);
    EXPECT_NO_THROW(LoadBytes(Image, Baseline, "jpg"));
    EXPECT_EQ(Image.Width(), 1000);
    EXPECT_THROW(LoadBytes(Image, Progressive, "jpg"), EPGJPGFileFormatReaderWriter);
    SetJPEGMaxMemory(Default);
}

TEST(JpegFormat, StreamFailuresAreRaisedAsThemselves) {
    const TBytes File = TrueColourFile(64, 64);
    TFailingStream Stream(static_cast<std::int64_t>(File.size()) - 100);
    Stream.WriteBuffer(File.data(), static_cast<std::int64_t>(File.size()));
    Stream.SetPosition(0);
    TPixelGraphic Image;
    EXPECT_THROW(Reader.ReadImage(Stream, Image, 0), EReadError);

    // A destination that fills up: the library's out-of-space error.
    Paint(Image, 64, 64);
    std::vector<std::uint8_t> Small(200);
    TBlockStream Full(static_cast<void*>(Small.data()), static_cast<std::int64_t>(Small.size()));
    TJPGFileFormatWriter Writer;
    try {
        Writer.WriteImage(Full, Image);
        ADD_FAILURE() << "no error";
    } catch (const EPGJPGFileFormatReaderWriter& E) {
        EXPECT_STREQ(E.what(), "JPG: Output file write error --- out of disk space?");
    }
}

TEST(JpegFormat, AbortingEndsInTooFewScanlinesWithTheRowsKept) {
    const TBytes File = TrueColourFile(20, 10);
    TPixelGraphic Image;
    TProgressLog Log;
    Log.AbortAfter = 4;
    Log.Attach(Image);
    try {
        LoadBytes(Image, File, "jpg");
        ADD_FAILURE() << "no error";
    } catch (const EPGJPGFileFormatReaderWriter& E) {
        EXPECT_STREQ(E.what(), "JPG: Application transferred too few scanlines");
    }
    EXPECT_EQ(Log.Starts, 1);
    EXPECT_EQ(Log.Ends, 1);
    EXPECT_EQ(Log.Steps, (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(Log.Max, 10);
    // The reader, not the image, is the sender.
    const TFileFormatReader* Used = nullptr;
    for (const auto& R : FileFormatReaders()) {
        if (R->Extension() == "jif") {
            Used = R.get();
        }
    }
    EXPECT_TRUE(Log.AllFrom(Used));
    EXPECT_EQ(Image.Width(), 20); // the rows read so far stay
    EXPECT_NE(Image.Pixels(0, 3), 0u);
    EXPECT_EQ(Image.Pixels(0, 4), 0u);

    // Writing reports every row and does not stop.
    TProgressLog WriteLog;
    WriteLog.AbortAfter = 1;
    WriteLog.Attach(Image);
    Paint(Image, 6, 3);
    TJPGFileFormatWriter Writer;
    TMemoryStream Out;
    Writer.WriteImage(Out, Image);
    EXPECT_EQ(WriteLog.Steps, (std::vector<int>{1, 2, 3}));
    EXPECT_TRUE(WriteLog.AllFrom(&Writer));
    EXPECT_EQ(WriteLog.Ends, 1);
}

TEST_F(JpegWarnings, PrematureEndIsAWarningHandledAsTheImageSays) {
    TPixelGraphic Image;
    EXPECT_EQ(LoadCut(pgwaIgnore, Image), "no error");
    EXPECT_TRUE(Messages.empty());
    EXPECT_EQ(Image.Height(), 48); // decoded what it had

    EXPECT_EQ(LoadCut(pgwaOKBox, Image), "no error");
    ASSERT_EQ(Messages.size(), 1u);
    EXPECT_EQ(Messages[0].Caption, "JPG Warning");
    EXPECT_EQ(Messages[0].Text, "Premature end of JPEG file");
    EXPECT_EQ(Messages[0].Buttons, TMsgDlgButtons::mbOK);
    EXPECT_EQ(Messages[0].Type, TMsgDlgType::mtWarning);

    Answer = TModalResult::mrCancel;
    EXPECT_EQ(LoadCut(pgwaOKCancelBox, Image), "JPG: Operation aborted on user request");
    EXPECT_EQ(Messages.back().Buttons, TMsgDlgButtons::mbOKCancel);
    Answer = TModalResult::mrOK;
    EXPECT_EQ(LoadCut(pgwaOKCancelBox, Image), "no error");

    EXPECT_EQ(LoadCut(pgwaRaise, Image), "JPG: Premature end of JPEG file");
    // The information query fails on any warning.
    bool Found = true;
    const TBytes Header = TrueColourFile(8, 8);
    InfoOf(TBytes(Header.begin(), Header.begin() + 300), "jpg", &Found);
    EXPECT_FALSE(Found);

    // A failure inside the message box is raised as it is, past the library.
    Throw = true;
    EXPECT_EQ(LoadCut(pgwaOKBox, Image), "from the message box");
}

TEST(JpegLibrary, VersionMarkers) {
    EXPECT_EQ(jpeg::MarkerVersion("6b  27-Mar-1998"), 62);
    EXPECT_EQ(jpeg::MarkerVersion("6a  7-Feb-96"), 61);
    EXPECT_EQ(jpeg::MarkerVersion("9e  16-Jan-2022"), 95);
    EXPECT_EQ(jpeg::MarkerVersion("x"), 0);
    EXPECT_EQ(jpeg::MarkerVersion("62"), 0);
    EXPECT_NO_THROW(jpeg::CheckLibraryVersion()); // the library linked is the one built against
}
