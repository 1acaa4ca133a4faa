#include "pgraphic/formats/bmp/bit_fields.h"
#include "pgraphic/formats/bmp/bmp.h"
#include "pgraphic/formats/bmp/bmp_header.h"
#include "pgraphic/formats/bmp/rle_decoder.h"
#include "pgraphic/image/pg_exceptions.h"
#include "pgraphic/image/pixel_graphic.h"
#include "pgraphic/image/progress.h"

#include <algorithm>
#include <vector>

using namespace bmp;

namespace {

int CheckedHeight(std::int64_t Height) {
    const std::int64_t Rows = Height < 0 ? -Height : Height;
    if (Rows > INT32_MAX) {
        throw EPGInvalidSize(TPGLangStrId::InvalidSizeOf, PGLangStr(TPGLangStrId::ImageWord));
    }
    return static_cast<int>(Rows);
}

// Palette of a palette image: Count entries of EntrySize bytes (blue, green, red[, 0]). A count
// beyond what the pixels can index is read as far as it can be used and the rest skipped, so
// a hostile count neither allocates without bound nor shifts the pixel data.
void ReadPalette(TStream& Stream, TPixelGraphic& Graphic, std::int64_t Count, int EntrySize) {
    const std::int64_t Usable = std::min<std::int64_t>(Count, Graphic.MaxPaletteCount());
    std::vector<std::uint8_t> Entries(static_cast<std::size_t>(Usable * EntrySize));
    Stream.ReadBuffer(Entries.data(), static_cast<std::int64_t>(Entries.size()));
    Graphic.SetPaletteCount(static_cast<int>(Usable));
    for (std::int64_t I = 0; I < Usable; ++I) {
        const std::uint8_t* E = Entries.data() + I * EntrySize;
        Graphic.SetPaletteColors(static_cast<int>(I), RGB(E[2], E[1], E[0]));
    }
    if (Count > Usable) {
        Stream.Seek((Count - Usable) * EntrySize, TSeekOrigin::soCurrent);
    }
}

// Uncompressed 1-, 4-, 8- and 24-bit rows go straight into the pixel buffer, in ten parts with
// progress when there is enough of them. Returns the number of rows that received data, the
// first stored row first.
int ReadRawPixels(TStream& Stream, TPixelGraphic& Graphic) {
    const TPGProgress Progress(Graphic, &Graphic);
    std::uint8_t* Bits = Graphic.ScanLines();
    const std::int64_t Length = Graphic.ImageSize();
    std::int64_t Extent = 0; // end of the data placed in the buffer
    if (Length < 101) {
        Extent = Stream.Read(Bits, Length);
    } else {
        const std::int64_t Part = Length / 10;
        for (int Step = 1; Step <= 10; ++Step) {
            const std::int64_t Offset = (Step - 1) * Part;
            const std::int64_t Got = Stream.Read(Bits + Offset, Step < 10 ? Part : Length - Offset);
            if (Got > 0) {
                Extent = Offset + Got;
            }
            if (Progress.Aborted(Step, 10) && Step < 10) {
                break;
            }
        }
    }
    const std::int64_t Stride = Graphic.BytesPerLine();
    return Stride == 0 ? 0 : static_cast<int>((Extent + Stride - 1) / Stride);
}

// 16- and 32-bit rows, split into channels by the masks. Returns the number of rows filled, the
// first stored row first.
int ReadBitFieldPixels(TStream& Stream, TPixelGraphic& Graphic, const TDIBHeader& H,
                       const std::uint32_t (&Masks)[3]) {
    const bool Short = H.BitCount == 16;
    const TBitField Red(Masks[0], Short), Green(Masks[1], Short), Blue(Masks[2], Short);
    const int Width = Graphic.Width(), Height = Graphic.Height();
    const auto Stride =
        (static_cast<std::size_t>(H.BitCount) * static_cast<std::size_t>(Width) + 31) / 32 * 4;
    // An empty image has no rows to fill (a width of 0 with any height); a stream shorter than
    // one row fills none either, so the row buffer is never larger than the data.
    if (Graphic.IsEmpty() ||
        Stream.Size() - Stream.Position() < static_cast<std::int64_t>(Stride)) {
        return 0;
    }
    std::vector<std::uint8_t> Row(Stride);
    const TPGProgress Progress(Graphic, &Graphic);
    for (int R = 0; R < Height; ++R) {
        if (Stream.Read(Row.data(), static_cast<std::int64_t>(Stride)) !=
            static_cast<std::int64_t>(Stride)) {
            return R; // the data ends early: the rest keeps its value
        }
        std::uint8_t* Out = Graphic.ScanLine(Height - 1 - R);
        for (int X = 0; X < Width; ++X, Out += 3) {
            const auto UX = static_cast<std::size_t>(X);
            const std::uint32_t Pixel =
                Short ? GetLE16(Row.data() + 2 * UX) : GetLE32(Row.data() + 4 * UX);
            Out[0] = Blue.Value(Pixel);
            Out[1] = Green.Value(Pixel);
            Out[2] = Red.Value(Pixel);
        }
        if (Progress.Aborted(R, Height)) {
            return R + 1;
        }
    }
    return Height;
}

// Rows of a top-down file were stored bottom-up: turn them over. Only the first Filled rows of
// the buffer received data and every other row is still zero from sizing; swapping two zero rows
// changes nothing, so only the pairs with a filled row are swapped (their other row lies in the
// upper half). The result is that of turning over every row, but a short file that claims
// millions of rows costs no more than its data.
void FlipRows(TPixelGraphic& Graphic, int Filled) {
    if (Graphic.IsEmpty()) {
        return; // no rows (width 0), however many the header claims
    }
    const int Height = Graphic.Height();
    const std::size_t Stride = Graphic.BytesPerLine();
    std::uint8_t* Bits = Graphic.ScanLines();
    for (int J = 0; J < std::min(Filled, Height / 2); ++J) {
        std::uint8_t* A = Bits + static_cast<std::size_t>(J) * Stride;
        std::swap_ranges(A, A + Stride, Bits + static_cast<std::size_t>(Height - 1 - J) * Stride);
    }
}

void ReadPixelsOf(TStream& Stream, TPixelGraphic& Graphic, const TDIBHeader& H) {
    if (H.Core) {
        const TPGBitCount Format =
            TPixelGraphic::BitCountNumToBitCount(static_cast<int>(H.BitCount));
        Graphic.SetSize(static_cast<int>(H.Width), static_cast<int>(H.Height), Format);
        if (Format == bc24) {
            Graphic.SetPaletteIdent(pTrueColor);
        } else {
            ReadPalette(Stream, Graphic, std::int64_t{1} << H.BitCount, 3);
        }
        ReadRawPixels(Stream, Graphic);
        return;
    }
    int Filled = 0;
    const int Width = static_cast<int>(H.Width);
    const int Height = CheckedHeight(H.Height);
    if (H.BitCount >= 16) {
        std::uint32_t Masks[3] = {0, 0, 0};
        if (H.Compression == BI_BITFIELDS) {
            const auto M = ReadZeroFilled<12>(Stream);
            Masks[0] = GetLE32(M.data());
            Masks[1] = GetLE32(M.data() + 4);
            Masks[2] = GetLE32(M.data() + 8);
        } else if (H.BitCount == 16) {
            Masks[0] = 0x7C00, Masks[1] = 0x03E0, Masks[2] = 0x001F;
        } else {
            Masks[0] = 0xFF0000, Masks[1] = 0x00FF00, Masks[2] = 0x0000FF;
        }
        Graphic.SetSize(Width, Height, bc24);
        Graphic.SetPaletteIdent(pTrueColor);
        Stream.Seek(4 * static_cast<std::int64_t>(H.ClrUsed), TSeekOrigin::soCurrent);
        Filled = H.BitCount == 24 ? ReadRawPixels(Stream, Graphic)
                                  : ReadBitFieldPixels(Stream, Graphic, H, Masks);
    } else {
        Graphic.SetSize(Width, Height,
                        TPixelGraphic::BitCountNumToBitCount(static_cast<int>(H.BitCount)));
        ReadPalette(Stream, Graphic, H.ClrUsed != 0 ? H.ClrUsed : std::int64_t{1} << H.BitCount, 4);
        if (H.Compression == BI_RLE8 || H.Compression == BI_RLE4) {
            DecodeRLE(Stream, Graphic, H.SizeImage, H.Compression == BI_RLE4);
            return;
        }
        Filled = ReadRawPixels(Stream, Graphic);
    }
    if (H.Height < 0) {
        FlipRows(Graphic, Filled);
    }
}

} // namespace

void ReadPackedDIB(TStream& Stream, TPixelGraphic& Graphic) {
    TPGProgress(Graphic, &Graphic).Run([&] {
        ReadPixelsOf(Stream, Graphic, ReadDIBHeader(Stream));
    });
}

TBMPFileFormatReader::TBMPFileFormatReader(std::string Extension)
    : TFileFormatReader(std::move(Extension), "Bitmap") {
    SetHasSignature(true);
}

bool TBMPFileFormatReader::CheckSignature(const TPGSignature& Header) const {
    return Header[0] == 'B' && Header[1] == 'M';
}

void TBMPFileFormatReader::ReadImage(TStream& Stream, TPixelGraphic& Graphic, int Index) const {
    if (Index != 0) {
        Fail(TPGLangStrId::Invalid, "Index");
    }
    ReadZeroFilled<kFileHeaderSize>(
        Stream); // nothing in it is needed: the data follows the palette
    ReadPackedDIB(Stream, Graphic);
}

namespace {

// "OS/2" for the core header; "Windows" with the compression and the row order otherwise.
std::string SubFormatText(const TDIBHeader& H) {
    if (H.Core) {
        return "OS/2";
    }
    std::string Text = "Windows";
    switch (H.Compression) {
    case BI_RGB:
        Text += ", RGB";
        break;
    case BI_RLE8:
        Text += ", RLE8";
        break;
    case BI_RLE4:
        Text += ", RLE4";
        break;
    default:
        break;
    }
    if (H.Height < 0) {
        Text += ", Top-Down";
    }
    return Text;
}

std::string ColorsText(std::uint32_t BitCount) {
    switch (BitCount) {
    case 1:
        return "2";
    case 4:
        return "16";
    case 8:
        return "256";
    case 16:
        return "64K";
    default:
        return "16.7M";
    }
}

} // namespace

void TBMPFileFormatReader::GetInfo(TStream& Stream, int Index, TPGImageFileInfo& Info) const {
    TFileFormatReader::GetInfo(Stream, Index, Info);
    if (Index != 0) {
        Fail(TPGLangStrId::InvalidValueFor, "Index");
    }
    ReadZeroFilled<kFileHeaderSize>(Stream);
    const TDIBHeader H = ReadDIBHeader(Stream);
    Info.Width = static_cast<int>(H.Width);
    Info.Height = static_cast<int>(H.Height);
    Info.BitsPerPixel = static_cast<int>(H.BitCount);
    Info.SubFormatText = SubFormatText(H);
    Info.ColorsText = ColorsText(H.BitCount);
}

void RegisterBMPFormats(TFileFormatReaders& Readers, TFileFormatWriters& Writers) {
    Readers.Add(std::make_unique<TBMPFileFormatReader>());
    Readers.Add(std::make_unique<TDIBFileFormatReader>());
    Readers.Add(std::make_unique<TRLEFileFormatReader>());
    Writers.Add(std::make_unique<TBMPFileFormatWriter>());
    Writers.Add(std::make_unique<TDIBFileFormatWriter>());
}
