#include "core/stream.h"
#include "pgraphic/formats/colors_text.h"
#include "pgraphic/formats/tiff/packbits.h"
#include "pgraphic/formats/tiff/tiff.h"
#include "pgraphic/formats/tiff/tiff_directory.h"
#include "pgraphic/formats/tiff/tiff_rows.h"
#include "pgraphic/formats/warning_action.h"
#include "pgraphic/image/pg_exceptions.h"
#include "pgraphic/image/pixel_graphic.h"
#include "pgraphic/image/progress.h"

#include <algorithm>
#include <climits>
#include <numeric>

using namespace tiff;

namespace tiff {} // namespace tiff

namespace {

constexpr const char* kStripCountText =
    "NumStripOffsets<>(ImageLength+RowsPerStrip-1) div RowsPerStrip";
// PackBits turns two bytes into at most 128.
constexpr std::int64_t kPackBitsMaxRatio = 64;

void CheckCompression(std::uint32_t Compression) {
    switch (Compression) {
    case cmpNone:
    case cmpPackBits:
        return;
    case cmpCCITT1D:
        FailRead("Unsupported compression CCITT 1D");
    case cmpGroup3Fax:
        FailRead("Unsupported compression Group 3 Fax");
    case cmpGroup4Fax:
        FailRead("Unsupported compression Group 4 Fax");
    case cmpLZW:
        FailRead("Unsupported compression LZW");
    case cmpJPEG:
        FailRead("Unsupported compression JPEG");
    default:
        FailRead("Unsupported compression " + std::to_string(Compression));
    }
}

int CheckedSize(std::uint32_t Value) {
    if (Value > INT_MAX) {
        throw EPGInvalidSize(TPGLangStrId::InvalidSizeOf, PGLangStr(TPGLangStrId::ImageWord));
    }
    return static_cast<int>(Value);
}

std::int64_t SaturatingProduct(std::int64_t A, std::int64_t B) {
    std::int64_t Product;
    return __builtin_mul_overflow(A, B, &Product) ? INT64_MAX : Product;
}

// Every strip's data must lie in the stream: uncompressed rows exactly, PackBits rows as far as
// the data left after the strip's offset can expand to. Checked before the image is sized, so
// a small file cannot make the reader allocate for rows it does not hold.
void CheckStripData(const TDirectory& D, std::uint64_t RowsPerStrip, std::uint64_t RowBytes,
                    std::int64_t StreamSize) {
    for (std::uint64_t First = 0, Strip = 0; First < D.Height; First += RowsPerStrip, ++Strip) {
        const auto Rows =
            static_cast<std::int64_t>(std::min<std::uint64_t>(RowsPerStrip, D.Height - First));
        const std::int64_t Needed = SaturatingProduct(Rows, static_cast<std::int64_t>(RowBytes));
        const std::int64_t Available = StreamSize - (D.Base + D.StripOffsets[Strip]);
        const std::int64_t Limit = D.Compression == cmpPackBits
                                       ? SaturatingProduct(Available, kPackBitsMaxRatio)
                                       : Available;
        if (Needed > 0 && Needed > Limit) {
            throw EReadError();
        }
    }
}

// Palette of a 1-, 4- or 8-bit image: black and white, grey or the file's colour map.
void SetPalette(TPixelGraphic& Graphic, const TDirectory& D) {
    if (Graphic.BitCount() == bc1) {
        Graphic.SetPaletteIdent(pBlackWhite);
    } else if (D.Photometric != phPalette) {
        Graphic.SetPaletteIdent(Graphic.BitCount() == bc4 ? pGray16 : pGray256);
    } else {
        const int Count = std::min(static_cast<int>(D.ColorMap.size()), Graphic.MaxPaletteCount());
        Graphic.SetPaletteCount(Count);
        for (int I = 0; I < Count; ++I) {
            Graphic.SetPaletteColors(I, D.ColorMap[static_cast<std::size_t>(I)]);
        }
    }
}

// Reads the rows of the image into Graphic, sized and with its palette.
class TRowReader {
public:
    TRowReader(TStream& Stream, TPixelGraphic& Graphic, const TDirectory& D,
               std::uint64_t RowsPerStrip, std::size_t RowBytes)
        : FStream(Stream), FGraphic(Graphic), FD(D), FRowsPerStrip(RowsPerStrip),
          FRowBytes(RowBytes), FPackBits(Stream),
          // Real PackBits data spends at most two bytes per byte of a row; beyond that only
          // no-op bytes, each of which a file holds once. Strips that share data full of
          // no-ops would otherwise make a small file cost time without bound.
          FPackBitsInputLeft(
              std::min(SaturatingProduct(2 * static_cast<std::int64_t>(RowBytes), Graphic.Height()),
                       INT64_MAX - Stream.Size()) +
              Stream.Size()) {
        if (D.SamplesPerPixel == 4) {
            FBuffer.resize(RowBytes);
        }
    }

    void Row(int Y) {
        const auto UY = static_cast<std::uint64_t>(Y);
        if (UY % FRowsPerStrip == 0) {
            const std::int64_t Position = FD.Base + FD.StripOffsets[UY / FRowsPerStrip];
            if (FD.Compression == cmpPackBits) {
                FPackBits.SetPosition(Position);
            } else {
                FStream.SetPosition(Position);
            }
        }
        std::uint8_t* Line = FGraphic.ScanLine(Y);
        std::uint8_t* Raw = FBuffer.empty() ? Line : FBuffer.data();
        if (FD.Compression == cmpPackBits) {
            const std::int64_t Start = FPackBits.Position();
            const bool Fits = FPackBits.DecodeRow(Raw, FRowBytes);
            FPackBitsInputLeft -= FPackBits.Position() - Start;
            if (!Fits || FPackBitsInputLeft < 0) {
                FailRead.WithPrefix("TIFF (PackBits): ")(TPGLangStrId::InvalidCountOfBytesInRow,
                                                         std::to_string(Y));
            }
        } else {
            FStream.ReadBuffer(Raw, static_cast<std::int64_t>(FRowBytes));
        }
        const auto Width = static_cast<std::size_t>(FGraphic.Width());
        switch (FGraphic.BitCount()) {
        case bc24:
            if (FD.SamplesPerPixel == 4) {
                FourSamplesToBGR(Raw, Line, Width, FD.Photometric == phSeparated);
            } else {
                SwapRedBlue(Line, Line, Width);
            }
            break;
        default:
            InvertAndMask(Line, FRowBytes, FD.BitsPerSample[0], FD.Width,
                          FD.Photometric == phWhiteIsZero);
            break;
        }
    }

private:
    TStream& FStream;
    TPixelGraphic& FGraphic;
    const TDirectory& FD;
    std::uint64_t FRowsPerStrip;
    std::size_t FRowBytes;
    TPackBitsDecoder FPackBits;
    std::int64_t FPackBitsInputLeft;
    std::vector<std::uint8_t> FBuffer; // the file's row when it is wider than the image's
};

const char* CompressionName(std::uint32_t Compression) {
    switch (Compression) {
    case cmpNone:
        return "Uncompr.";
    case cmpCCITT1D:
        return "CCITT 1D";
    case cmpGroup3Fax:
        return "Group 3 F.";
    case cmpGroup4Fax:
        return "Group 4 F.";
    case cmpLZW:
        return "LZW";
    case cmpJPEG:
        return "JPEG";
    case cmpPackBits:
        return "PackBits";
    default:
        return "";
    }
}

const char* PhotometricName(std::uint32_t Photometric) {
    switch (Photometric) {
    case phWhiteIsZero:
        return ", WhiteIsZero";
    case phBlackIsZero:
        return ", BlackIsZero";
    case phRGB:
        return ", RGB";
    case phPalette:
        return ", RGB Palette";
    case phSeparated:
        return ", CMYK";
    default:
        FailRead("Unsupported photometric interpretation " + std::to_string(Photometric));
    }
}

} // namespace

TTIFFileFormatReader::TTIFFileFormatReader(std::string Extension)
    : TFileFormatReader(std::move(Extension), "Tagged Image File Format") {
    SetHasSignature(true);
}

bool TTIFFileFormatReader::CheckSignature(const TPGSignature& Header) const {
    return (Header[0] == 'I' && Header[1] == 'I' && Header[2] == 42 && Header[3] == 0) ||
           (Header[0] == 'M' && Header[1] == 'M' && Header[2] == 0 && Header[3] == 42);
}

void TTIFFileFormatReader::ReadImage(TStream& Stream, TPixelGraphic& Graphic, int Index) const {
    const TDirectory D = ParseDirectory(Stream, Index);
    CheckCompression(D.Compression);
    std::uint64_t RowsPerStrip = D.RowsPerStrip;
    if (D.Height > 0 && (D.Height + RowsPerStrip - 1) / RowsPerStrip != D.StripOffsets.size()) {
        if (D.StripOffsets.size() != 1 ||
            !ConfirmWarning(Graphic.ReadWarningAction(), "TIFF-Warning",
                            std::string("TIFF: ") + kStripCountText)) {
            FailRead(kStripCountText);
        }
        RowsPerStrip = D.Height; // the one strip holds the whole image
    }
    const int Width = CheckedSize(D.Width);
    const int Height = CheckedSize(D.Height);
    const std::uint64_t RowBytes =
        (std::uint64_t{D.BitsPerSample[0]} * D.SamplesPerPixel * D.Width + 7) / 8;
    CheckStripData(D, RowsPerStrip, RowBytes, Stream.Size());

    const TPGBitCount Depth =
        D.SamplesPerPixel == 1
            ? TPixelGraphic::BitCountNumToBitCount(static_cast<int>(D.BitsPerSample[0]))
            : bc24;
    Graphic.SetSize(Width, Height, Depth);
    if (Depth != bc24) {
        SetPalette(Graphic, D);
    }
    const TPGProgress Progress(Graphic, const_cast<TTIFFileFormatReader*>(this));
    Progress.Run([&] {
        if (Graphic.IsEmpty()) {
            return; // no rows or no columns: nothing to read, whatever the width says
        }
        TRowReader Rows(Stream, Graphic, D, RowsPerStrip, static_cast<std::size_t>(RowBytes));
        for (int Y = 0; Y < Height; ++Y) {
            Rows.Row(Y);
            if (Progress.Aborted(Y, Height)) {
                return;
            }
        }
    });
}

void TTIFFileFormatReader::GetInfo(TStream& Stream, int Index, TPGImageFileInfo& Info) const {
    TFileFormatReader::GetInfo(Stream, Index, Info);
    const TDirectory D = ParseDirectory(Stream, Index);
    Info.ImageCount = D.ImageCount;
    Info.SubFormatText = std::string(D.Order.BigEndian ? "M, " : "I, ") +
                         CompressionName(D.Compression) + PhotometricName(D.Photometric);
    if (D.Compression >= cmpCCITT1D && D.Compression <= cmpJPEG) {
        Info.DetailsText = "(Unsupported compression)";
    }
    Info.Width = static_cast<int>(std::min<std::uint32_t>(D.Width, INT_MAX));
    Info.Height = static_cast<int>(std::min<std::uint32_t>(D.Height, INT_MAX));
    const auto Bits = std::accumulate(D.BitsPerSample.begin(), D.BitsPerSample.end(), 0u);
    Info.BitsPerPixel = static_cast<int>(Bits);
    Info.ColorsText = Bits > 23 ? "16.7 M" : PowerOfTwoText(static_cast<int>(Bits));
}

void RegisterTIFFFormats(TFileFormatReaders& Readers, TFileFormatWriters& Writers) {
    Readers.Add(std::make_unique<TTIFFileFormatReader>());
    Readers.Add(std::make_unique<TTIFFFileFormatReader>());
    Writers.Add(std::make_unique<TTIFFileFormatWriter>());
    Writers.Add(std::make_unique<TTIFFFileFormatWriter>());
}
