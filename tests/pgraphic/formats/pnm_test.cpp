#include "format_test_util.h"
#include "pgraphic/formats/pnm/pnm.h"
#include "pgraphic/image/pg_exceptions.h"

#include <cstring>
#include <gtest/gtest.h>

namespace {

std::string TextOf(const TBytes& Bytes) {
    return std::string(Bytes.begin(), Bytes.end());
}

TPixelGraphic& Loaded(TPixelGraphic& Image, const std::string& Text) {
    LoadBytes(Image, BytesOf(Text), "");
    return Image;
}

// Saves with the raw variants switched on for the duration of one call.
TBytes SaveRaw(TPixelGraphic& Image, const std::string& Extension) {
    SetPxMBinary(true);
    TBytes Bytes;
    try {
        Bytes = SaveBytes(Image, Extension);
    } catch (...) {
        SetPxMBinary(false);
        throw;
    }
    SetPxMBinary(false);
    return Bytes;
}

const TPPMFileFormatReader Reader;

} // namespace

TEST(PnmReader, PlainVariantsAndTheNumberReader) {
    TPixelGraphic Image;
    // Comments run to the end of their line; signs and letters between numbers are skipped.
    Loaded(Image, "P1\n# a comment 7 8\n3 x2\n1 0 5\n0\n0\n1\n");
    EXPECT_EQ(Image.BitCount(), bc1);
    EXPECT_EQ(Image.PaletteIdent(), pBlackWhite);
    EXPECT_EQ(Image.Width(), 3);
    EXPECT_EQ(Image.Height(), 2);
    EXPECT_EQ(Image.Pixels(0, 0), 0u); // non-zero is black, index 0
    EXPECT_EQ(Image.Pixels(1, 0), 1u);
    EXPECT_EQ(Image.Pixels(2, 0), 0u);
    EXPECT_EQ(Image.Pixels(2, 1), 0u);

    // A maximum of 15 maps 15 to 255 and 7 to 119.
    Loaded(Image, "P3 2 1 15 15 7 0 -1 +2 3\n");
    EXPECT_EQ(Image.BitCount(), bc24);
    EXPECT_EQ(Image.PixelColors(0, 0), RGB(255, 119, 0));
    EXPECT_EQ(Image.PixelColors(1, 0), RGB(17, 34, 51));

    // Plain graymaps accept any maximum: 65535 scales by 255 / 65535.
    Loaded(Image, "P2 3 1 65535 65535 32768 257\n");
    EXPECT_EQ(Image.BitCount(), bc8);
    EXPECT_EQ(Image.PaletteIdent(), pGray256);
    EXPECT_EQ(Image.Pixels(0, 0), 255u);
    EXPECT_EQ(Image.Pixels(1, 0), 127u);
    EXPECT_EQ(Image.Pixels(2, 0), 1u);

    // A '#' right after a number is its separator, so the comment's digits are read as numbers.
    Loaded(Image, "P2 2 1 9#4\n 3\n");
    EXPECT_EQ(Image.Pixels(0, 0), 113u);
    EXPECT_EQ(Image.Pixels(1, 0), 85u);

    // The last number may end the file.
    Loaded(Image, "P2 1 1 255 77");
    EXPECT_EQ(Image.Pixels(0, 0), 77u);

    // Samples above the maximum count as the maximum.
    Loaded(Image, "P2 1 1 10 11 ");
    EXPECT_EQ(Image.Pixels(0, 0), 255u);
}

TEST(PnmReader, PixelsWithoutSeparatorsAreOneNumber) {
    // "0110" is the single number 110: the first pixel is black and the rest are missing.
    EXPECT_EQ(LoadError(BytesOf("P1 4 1 0110\n"), ""), "PBM, PGM, PPM: Unexpected end of file");
    TPixelGraphic Image;
    Loaded(Image, "P1 4 1 0 1 1 0\n");
    EXPECT_EQ(Image.Pixels(0, 0), 1u);
    EXPECT_EQ(Image.Pixels(1, 0), 0u);
}

TEST(PnmReader, RawVariants) {
    TPixelGraphic Image;
    // Bitmap rows of (width + 7) div 8 bytes, set bits black; stored inverted.
    Loaded(Image, std::string("P4 10 2\n") + '\xC0' + '\x40' + '\x01' + '\xFF');
    EXPECT_EQ(Image.BitCount(), bc1);
    EXPECT_EQ(Image.ScanLine(0)[0], 0x3F);
    EXPECT_EQ(Image.Pixels(0, 0), 0u);
    EXPECT_EQ(Image.Pixels(2, 0), 1u);
    EXPECT_EQ(Image.Pixels(9, 0), 0u);
    EXPECT_EQ(Image.Pixels(7, 1), 0u);

    Loaded(Image, std::string("P5 2 1 100\n") + '\x32' + '\x64');
    EXPECT_EQ(Image.Pixels(0, 0), 127u);
    EXPECT_EQ(Image.Pixels(1, 0), 255u);

    Loaded(Image, std::string("P6\n1 1\n255\n") + '\x01' + '\x02' + '\x03');
    EXPECT_EQ(Image.PixelColors(0, 0), RGB(1, 2, 3));
    // One character after the maximum separates it from the data; the bytes after it are data
    // even when they look like white space.
    Loaded(Image, std::string("P6 1 1 255\n") + "\n\t ");
    EXPECT_EQ(Image.PixelColors(0, 0), RGB('\n', '\t', ' '));
}

TEST(PnmReader, MalformedAndHostileHeaders) {
    EXPECT_EQ(LoadError(BytesOf("P5 2 1 65535\n1234"), ""),
              "PBM, PGM, PPM: Not supported subformat");
    EXPECT_EQ(LoadError(BytesOf("P2 0 1 255\n"), ""), "PBM, PGM, PPM: Not supported subformat");
    EXPECT_EQ(LoadError(BytesOf("P2 1 0 255\n"), ""), "PBM, PGM, PPM: Not supported subformat");
    // A maximum of 0 cannot scale anything.
    EXPECT_EQ(LoadError(BytesOf("P2 1 1 0 0\n"), ""), "PBM, PGM, PPM: Not supported subformat");
    // Numbers too long for an integer.
    EXPECT_EQ(LoadError(BytesOf("P2 99999999999999999999999 1 255 0\n"), ""),
              "PBM, PGM, PPM: Not supported subformat");
    EXPECT_EQ(LoadError(BytesOf("P3 1 2147483648 255\n"), ""),
              "PBM, PGM, PPM: Not supported subformat");
    // Huge sizes with tiny files fail before the image is allocated.
    EXPECT_EQ(LoadError(BytesOf("P6 20000 10000 255\n123"), ""),
              "PBM, PGM, PPM: Unexpected end of file");
    EXPECT_EQ(LoadError(BytesOf("P1 100000 100000\n0 1"), ""),
              "PBM, PGM, PPM: Unexpected end of file");
    // Cut files.
    EXPECT_EQ(LoadError(BytesOf("P2 2 1"), ""), "PBM, PGM, PPM: Unexpected end of file");
    EXPECT_EQ(LoadError(BytesOf("P2 2 1 255 # comment"), ""),
              "PBM, PGM, PPM: Unexpected end of file");
    EXPECT_EQ(LoadError(BytesOf("P6 2 1 255\nabcde"), ""), "PBM, PGM, PPM: Unexpected end of file");

    // The reader checks the magic itself when called directly.
    EXPECT_EQ(ReadError(Reader, BytesOf("Q3 1 1 1 1")), "PBM, PGM, PPM: Not a PBM, PGM, PPM file");
    EXPECT_EQ(ReadError(Reader, BytesOf("P7 1 1 1 1")), "PBM, PGM, PPM: Unknown subformat");
    EXPECT_EQ(ReadError(Reader, BytesOf("P3 1 1 1 1 1 1 "), 1), "PxM: Index invalid");
}

TEST(PnmReader, EachReaderKnowsItsVariantsAndReadsAllSix) {
    const TPBMFileFormatReader Pbm;
    const TPGMFileFormatReader Pgm;
    TPGSignature Header{};
    Header[0] = 'P';
    for (char Digit = '1'; Digit <= '6'; ++Digit) {
        Header[1] = static_cast<std::uint8_t>(Digit);
        EXPECT_EQ(Pbm.CheckSignature(Header), Digit == '1' || Digit == '4');
        EXPECT_EQ(Pgm.CheckSignature(Header), Digit == '2' || Digit == '5');
        EXPECT_EQ(Reader.CheckSignature(Header), Digit == '3' || Digit == '6');
    }
    // A graymap handed to the pixmap reader is read all the same.
    EXPECT_EQ(ReadError(Reader, BytesOf("P2 1 1 255 3\n")), "no error");
    EXPECT_EQ(ReadError(Pbm, BytesOf("P6 1 1 255\nabc")), "no error");
}

TEST(PnmReader, ProgressComesFromTheReader) {
    TPixelGraphic Image;
    TProgressLog Log;
    Log.AbortAfter = 2;
    Log.Attach(Image);
    ReadBytes(Reader, BytesOf("P2 1 3 255 1 2 3\n"), Image);
    EXPECT_TRUE(Log.AllFrom(&Reader));
    EXPECT_EQ(Log.Steps, (std::vector<int>{0, 1}));
    EXPECT_EQ(Log.Max, 3);
    EXPECT_EQ(Log.Ends, 1);
    EXPECT_EQ(Image.Pixels(0, 1), 2u);
    EXPECT_EQ(Image.Pixels(0, 2), 0u); // not read
}

TEST(PnmReader, Information) {
    TPGImageFileInfo Info = InfoOf(BytesOf("P5 # size\n 640 480 255\n"), "");
    EXPECT_EQ(Info.Description, "Portable Graymap");
    EXPECT_EQ(Info.SubFormatText, "Binary");
    EXPECT_EQ(Info.BitsPerPixel, 8);
    EXPECT_EQ(Info.ColorsText, "256");
    EXPECT_EQ(Info.Width, 640);
    EXPECT_EQ(Info.Height, 480);
    Info = InfoOf(BytesOf("P1 3 4"), "");
    EXPECT_EQ(Info.SubFormatText, "ASCII");
    EXPECT_EQ(Info.BitsPerPixel, 1);
    EXPECT_EQ(Info.ColorsText, "2");
    Info = InfoOf(BytesOf("P3 3 4"), "");
    EXPECT_EQ(Info.Description, "Portable Pixelmap");
    EXPECT_EQ(Info.ColorsText, "16.7M");
    EXPECT_EQ(InfoError(Reader, BytesOf("P3 3 4"), 1), "PBM, PGM, PPM: Invalid value for Index");
    EXPECT_EQ(InfoError(Reader, BytesOf("P9 3 4"), 0), "PBM, PGM, PPM: Unknown subformat");
}

TEST(PnmWriter, PlainFilesByteForByte) {
    TPixelGraphic Image;
    Image.SetSize(3, 1, bc24);
    Image.SetPixel(0, 0, static_cast<std::uint32_t>(RGB(255, 0, 0)));
    Image.SetPixel(1, 0, static_cast<std::uint32_t>(RGB(0, 255, 0)));
    Image.SetPixel(2, 0, static_cast<std::uint32_t>(RGB(0, 0, 255)));
    EXPECT_EQ(TextOf(SaveBytes(Image, "ppm")), "P3\n3 1\n255\n255 0 0 0 255 0 0 0 255\n");

    Image.SetSize(3, 2, bc1);
    Image.SetPaletteIdent(pBlackWhite);
    Image.SetPixel(1, 0, 1);
    Image.SetPixel(0, 1, 1);
    EXPECT_EQ(TextOf(SaveBytes(Image, "pbm")), "P1\n3 2\n1 0 1\n0 1 1\n"); // black (0) is "1"

    Image.SetSize(2, 2, bc8);
    Image.SetPaletteIdent(pGray256);
    Image.SetPixel(0, 0, 200);
    Image.SetPixel(1, 1, 7);
    EXPECT_EQ(TextOf(SaveBytes(Image, "pgm")), "P2\n2 2\n255\n200 0\n0 7\n");
}

TEST(PnmWriter, RawFilesByteForByte) {
    TPixelGraphic Image;
    Image.SetSize(10, 1, bc1);
    Image.SetPaletteIdent(pBlackWhite);
    Image.SetPixel(0, 0, 1);
    Image.SetPixel(9, 0, 1);
    EXPECT_EQ(TextOf(SaveRaw(Image, "pbm")), std::string("P4\n10 1\n") + '\x7F' + '\xBF');

    Image.SetSize(2, 1, bc24);
    Image.SetPixel(0, 0, static_cast<std::uint32_t>(RGB(1, 2, 3)));
    EXPECT_EQ(TextOf(SaveRaw(Image, "ppm")),
              std::string("P6\n2 1\n255\n") + '\x01' + '\x02' + '\x03' + std::string(3, '\0'));
    EXPECT_FALSE(PxMSettings().Binary);
}

TEST(PnmWriter, RoundTripsThroughTheReader) {
    for (const bool Raw : {false, true}) {
        for (const TPGBitCount Format : {bc1, bc8, bc24}) {
            TPixelGraphic Image;
            Image.SetSize(37, 5, Format);
            if (Format != bc24) {
                Image.SetPaletteIdent(Format == bc1 ? pBlackWhite : pGray256);
            }
            for (int Y = 0; Y < 5; ++Y) {
                for (int X = 0; X < 37; ++X) {
                    Image.SetPixel(X, Y, static_cast<std::uint32_t>(X * 7919 + Y * 104729 + X * Y));
                }
            }
            const std::string Ext = Format == bc1 ? "pbm" : Format == bc8 ? "pgm" : "ppm";
            TPixelGraphic Back;
            LoadBytes(Back, Raw ? SaveRaw(Image, Ext) : SaveBytes(Image, Ext), "");
            ASSERT_EQ(Back.BitCount(), Format);
            for (int Y = 0; Y < 5; ++Y) {
                for (int X = 0; X < 37; ++X) {
                    EXPECT_EQ(Back.Pixels(X, Y), Image.Pixels(X, Y)) << Ext << Raw << X << Y;
                }
            }
        }
    }
}

TEST(PnmWriter, ResolutionChecksAndProgress) {
    TPPMFileFormatWriter Ppm;
    TPGMFileFormatWriter Pgm;
    TPBMFileFormatWriter Pbm;
    TMemoryStream Stream;
    TPixelGraphic Image;
    Image.SetSize(0, 3, bc24);
    EXPECT_THROW(
        {
            try {
                Ppm.WriteImage(Stream, Image);
            } catch (const EPGPxMFileFormatWriter& E) {
                EXPECT_STREQ(E.what(), "PBM, PGM, PPM: Width = 0 or Height = 0");
                throw;
            }
        },
        EPGPxMFileFormatWriter);
    Image.SetSize(2, 2, bc24);
    const auto Message = [&](TFileFormatWriter& Writer) {
        try {
            Writer.WriteImage(Stream, Image);
        } catch (const EPGPxMFileFormatWriter& E) {
            return std::string(E.what());
        }
        return std::string("no error");
    };
    EXPECT_EQ(Message(Pgm), "PGM: Invalid color resolution");
    EXPECT_EQ(Message(Pbm), "PBM: Invalid color resolution");
    Image.SetSize(2, 2, bc8);
    Image.SetPaletteIdent(pSpecial216);
    EXPECT_EQ(Message(Ppm), "PPM: Invalid color resolution");
    // Any bit depth with a black-and-white palette is a bitmap, by palette index.
    Image.SetPaletteIdent(pBlackWhite);
    Image.SetPixel(1, 0, 1);
    EXPECT_EQ(Message(Pbm), "no error");
    EXPECT_EQ(TextOf(Stream.Bytes()), "P1\n2 2\n1 0\n1 1\n");

    // The writer reports progress as the image and does not stop when asked to.
    TMemoryStream Out;
    TProgressLog Log;
    Log.AbortAfter = 1;
    Log.Attach(Image);
    Pbm.WriteImage(Out, Image);
    EXPECT_TRUE(Log.AllFrom(&Image));
    EXPECT_EQ(Log.Steps, (std::vector<int>{0, 1}));
    EXPECT_EQ(Log.Ends, 1);
}

TEST(PnmWriter, TheSavePipelineConvertsFirst) {
    TPixelGraphic Image;
    Image.SetSaveColorResWarningAction(pgwaIgnore);
    Image.SetSize(2, 1, bc24);
    Image.SetPixel(0, 0, static_cast<std::uint32_t>(RGB(255, 255, 255)));
    // True colour to PGM: 256 shades of grey.
    EXPECT_EQ(TextOf(SaveBytes(Image, "pgm")), "P2\n2 1\n255\n255 0\n");
    EXPECT_EQ(Image.BitCount(), bc24); // the image itself is untouched
}
