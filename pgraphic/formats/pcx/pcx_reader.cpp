#include "core/stream.h"
#include "pgraphic/formats/buffered_input.h"
#include "pgraphic/formats/colors_text.h"
#include "pgraphic/formats/pcx/pcx.h"
#include "pgraphic/formats/pcx/pcx_scan_line.h"
#include "pgraphic/formats/pcx/pcx_structures.h"
#include "pgraphic/image/pixel_graphic.h"
#include "pgraphic/image/progress.h"

#include <vector>

using namespace pcx;

namespace {

// The image format of an accepted combination of bits per plane and planes.
TPGBitCount FormatOf(const TPCXHeader& H) {
    if (H.BitsPerPlane == 1 && H.Planes == 1) {
        return bc1;
    }
    if (H.BitsPerPlane == 1 && H.Planes == 4) {
        return bc4;
    }
    if (H.BitsPerPlane == 8 && H.Planes == 1) {
        return bc8;
    }
    if (H.BitsPerPlane == 8 && H.Planes == 3) {
        return bc24;
    }
    Fail(TPGLangStrId::UnknownSubformat);
}

void SetHeaderPalette(TPixelGraphic& Graphic, const std::uint8_t* Entries, int Count) {
    Graphic.SetPaletteCount(Count);
    for (int I = 0; I < Count; ++I) {
        const std::uint8_t* E = Entries + 3 * I;
        Graphic.SetPaletteColors(I, RGB(E[0], E[1], E[2]));
    }
}

// The 256-colour palette from the end of the stream; the stream returns to where it was.
void ReadTrailingPalette(TStream& Stream, TPixelGraphic& Graphic) {
    const std::int64_t Here = Stream.Position();
    std::uint8_t Block[kPaletteBlockSize];
    const std::int64_t Start = Stream.Size() - kPaletteBlockSize;
    bool Complete = false;
    if (Start >= 0) {
        Stream.SetPosition(Start);
        Complete = Stream.Read(Block, kPaletteBlockSize) == kPaletteBlockSize;
    }
    Stream.SetPosition(Here);
    if (!Complete || Block[0] != kPaletteMarker) {
        Fail(TPGLangStrId::UnknownSubformat);
    }
    SetHeaderPalette(Graphic, Block + 1, 256);
}

void SetPalette(const TPCXHeader& H, TPGBitCount Format, TStream& Stream, TPixelGraphic& Graphic) {
    switch (Format) {
    case bc1:
        Graphic.SetPaletteIdent(pBlackWhite);
        break;
    case bc4:
        if (H.Version == 3) {
            Graphic.SetPaletteIdent(pSys16);
        } else {
            SetHeaderPalette(Graphic, H.Palette16, 16);
        }
        break;
    case bc8:
        ReadTrailingPalette(Stream, Graphic);
        break;
    case bc24:
        break;
    }
}

// The rows the header promises must fit the data: a row needs at least two bytes for every
// full run it holds, so a tiny file cannot make the reader allocate a huge image.
void CheckDataSize(const TPCXHeader& H, const TPGBufferedInput& Input) {
    const int Height = H.Height();
    if (Height <= 0 || H.ScanLineSize() == 0) {
        return;
    }
    const std::int64_t RowMinimum =
        std::max<std::int64_t>(1, 2 * static_cast<std::int64_t>(H.ScanLineSize() / kMaxRun));
    if (Input.Remaining() / RowMinimum < Height) {
        Fail.EndOfFile();
    }
}

} // namespace

TPCXFileFormatReader::TPCXFileFormatReader() : TFileFormatReader("pcx", "Paintbrush") {
    SetHasSignature(true);
}

bool TPCXFileFormatReader::CheckSignature(const TPGSignature& Header) const {
    return Header[0] == kManufacturer;
}

void TPCXFileFormatReader::ReadImage(TStream& Stream, TPixelGraphic& Graphic, int Index) const {
    if (Index != 0) {
        Fail(TPGLangStrId::Invalid, "Index");
    }
    Graphic.SetGamma(PGDisplayGamma());
    TPGBufferedInput Input(Stream, Fail);
    Graphic.SetHeight(0);
    const TPCXHeader H = ReadHeader(Input);
    const TPGBitCount Format = FormatOf(H);
    // Bytes per line must cover the width, or converting a row would read past its plane.
    const std::int64_t Needed = (std::int64_t{H.Width()} * H.BitsPerPlane + 7) / 8;
    if (H.BytesPerLine < Needed) {
        Fail(TPGLangStrId::Invalid, "BytesPerLine");
    }
    Graphic.SetBitCount(Format);
    SetPalette(H, Format, Stream, Graphic);
    CheckDataSize(H, Input);
    Graphic.SetSize(H.Width(), H.Height(), Format);

    const int Height = Graphic.Height();
    std::vector<std::uint8_t> Line(H.ScanLineSize());
    // The reader, not the image, is the sender of its progress events.
    const TPGProgress Progress(Graphic, const_cast<TPCXFileFormatReader*>(this));
    Progress.Run([&] {
        for (int Y = 0; Y < Height; ++Y) {
            DecodeScanLine(Input, Line.data(), Line.size());
            if (!Graphic.IsEmpty()) {
                StoreScanLine(H, Line.data(), Graphic, Y);
            }
            if (Progress.Aborted(Y, Height)) {
                break;
            }
        }
    });
}

void TPCXFileFormatReader::GetInfo(TStream& Stream, int Index, TPGImageFileInfo& Info) const {
    TFileFormatReader::GetInfo(Stream, Index, Info);
    if (Index != 0) {
        Fail(TPGLangStrId::InvalidValueFor, "Index");
    }
    TPGBufferedInput Input(Stream, Fail);
    const TPCXHeader H = ReadHeader(Input);
    Info.BitsPerPixel = H.BitsPerPixel();
    Info.Width = H.Width();
    Info.Height = H.Height();
    switch (H.Version) {
    case 0:
        Info.SubFormatText = "Version 2.5 (0)";
        break;
    case 2:
        Info.SubFormatText = "Version 2.8 (2) with Palette";
        break;
    case 3:
        Info.SubFormatText = "Version 2.8 (3) without Palette";
        break;
    case 5:
        Info.SubFormatText = "Version 3.0 (5)";
        break;
    default:
        break;
    }
    Info.ColorsText = Info.BitsPerPixel == 24 ? "16.7M" : PowerOfTwoText(Info.BitsPerPixel);
}

void RegisterPCXFormats(TFileFormatReaders& Readers, TFileFormatWriters& /*Writers*/) {
    Readers.Add(std::make_unique<TPCXFileFormatReader>());
}
