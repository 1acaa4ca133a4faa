#include "core/stream.h"
#include "pgraphic/formats/buffered_input.h"
#include "pgraphic/formats/colors_text.h"
#include "pgraphic/formats/tga/tga.h"
#include "pgraphic/formats/tga/tga_rows.h"
#include "pgraphic/formats/tga/tga_structures.h"
#include "pgraphic/image/pixel_graphic.h"
#include "pgraphic/image/progress.h"

#include <algorithm>
#include <memory>
#include <vector>

using namespace tga;

namespace {

// The palette of a colour-mapped 8-bit file. The map's entries stand for the indices from the
// first entry on; indices before it stay black, indices beyond 255 are not read.
std::vector<TColor> ReadColorMap(TStream& Stream, const TTGAHeader& H) {
    if (H.EntrySize != 16 && H.EntrySize != 24 && H.EntrySize != 32) {
        Fail(TPGLangStrId::NotSupportedSubformat);
    }
    const int Count = std::min(256, H.FirstEntry + H.ColorMapLength);
    std::vector<TColor> Palette(static_cast<std::size_t>(std::max(Count, 0)), 0);
    const int Stored = std::max(Count - H.FirstEntry, 0);
    const std::size_t EntryBytes = H.EntryBytes();
    std::vector<std::uint8_t> Entries(static_cast<std::size_t>(Stored) * EntryBytes);
    Stream.ReadBuffer(Entries.data(), static_cast<std::int64_t>(Entries.size()));
    for (int I = 0; I < Stored; ++I) {
        Palette[static_cast<std::size_t>(H.FirstEntry + I)] =
            DecodeColor(Entries.data() + static_cast<std::size_t>(I) * EntryBytes, EntryBytes);
    }
    return Palette;
}

// The rows the header promises must fit the data, so that a tiny file cannot make the reader
// allocate a huge image: uncompressed rows take their bytes, a run-length row at least one
// packet of a header byte and a pixel per 128 pixels.
void CheckDataSize(const TTGAHeader& H, std::int64_t Available) {
    const std::int64_t Width = H.Width, Height = H.Height;
    const auto PixelBytes = static_cast<std::int64_t>(H.BytesPerPixel());
    if (H.RunLength()) {
        if ((Width + 127) / 128 * (1 + PixelBytes) * Height > Available) {
            Fail.EndOfFile();
        }
    } else if (Width * PixelBytes * Height > Available) {
        throw EReadError();
    }
}

void SetPalette(TPixelGraphic& Graphic, const std::vector<TColor>& Palette) {
    if (Palette.empty()) {
        Graphic.SetPaletteIdent(pGray256); // no map: the pixels are grey levels
        return;
    }
    Graphic.SetPaletteCount(static_cast<int>(Palette.size()));
    for (std::size_t I = 0; I < Palette.size(); ++I) {
        Graphic.SetPaletteColors(static_cast<int>(I), Palette[I]);
    }
}

} // namespace

void TTGAFileFormatReader::ReadImage(TStream& Stream, TPixelGraphic& Graphic, int Index) const {
    if (Index != 0) {
        Fail(TPGLangStrId::Invalid, "Index");
    }
    const TTGAHeader H = ReadHeader(Stream);
    if (H.Depth != 8 && H.Depth != 16 && H.Depth != 24 && H.Depth != 32) {
        Fail(TPGLangStrId::NotSupportedSubformat);
    }
    Stream.Seek(H.IdLength, TSeekOrigin::soCurrent);
    const std::int64_t MapStart = Stream.Position();
    std::vector<TColor> Palette;
    if (H.Depth == 8 && H.ColorMapType == 1) {
        Palette = ReadColorMap(Stream, H);
    }
    Stream.SetPosition(MapStart + H.ColorMapBytes());

    CheckDataSize(H, std::max<std::int64_t>(Stream.Size() - Stream.Position(), 0));
    Graphic.SetSize(H.Width, H.Height, H.Depth == 8 ? bc8 : bc24);
    if (H.Depth == 8) {
        SetPalette(Graphic, Palette);
    }
    const int Height = H.Height;
    if (Height == 0) {
        return;
    }
    const std::size_t RowBytes = H.Width * H.BytesPerPixel();
    const bool Straight = !H.RunLength() && (H.Depth == 8 || H.Depth == 24) && !H.RightToLeft();
    std::vector<std::uint8_t> Row(Straight ? 0 : RowBytes);
    std::unique_ptr<TPGBufferedInput> Input;
    if (H.RunLength()) {
        Input = std::make_unique<TPGBufferedInput>(Stream, Fail);
    }
    // The reader, not the image, is the sender of its progress events.
    const TPGProgress Progress(Graphic, const_cast<TTGAFileFormatReader*>(this));
    Progress.Run([&] {
        for (int R = 0; R < Height; ++R) {
            if (Straight) {
                // Stored rows go straight into the pixel buffer, the first one at the bottom
                // unless the file is top-down.
                if (!Graphic.IsEmpty()) {
                    Stream.ReadBuffer(Graphic.ScanLine(H.TopDown() ? R : Height - 1 - R),
                                      static_cast<std::int64_t>(RowBytes));
                }
            } else {
                if (Input) {
                    DecodeRunLengthRow(*Input, Row.data(), H.Width, H.BytesPerPixel());
                } else {
                    Stream.ReadBuffer(Row.data(), static_cast<std::int64_t>(RowBytes));
                }
                StoreRow(H, Row.data(), Graphic, R);
            }
            if (Progress.Aborted(R, Height)) {
                break;
            }
        }
    });
}

void TTGAFileFormatReader::GetInfo(TStream& Stream, int Index, TPGImageFileInfo& Info) const {
    TFileFormatReader::GetInfo(Stream, Index, Info);
    if (Index != 0) {
        Fail(TPGLangStrId::InvalidValueFor, "Index");
    }
    const TTGAHeader H = ReadHeader(Stream);
    switch (H.ImageType) {
    case itColorMapped:
    case itColorMapped | itRunLength:
        Info.DetailsText = "Color-mapped";
        break;
    case itTrueColor:
    case itTrueColor | itRunLength:
        Info.DetailsText = "True-color";
        break;
    case itBlackWhite:
    case itBlackWhite | itRunLength:
        Info.DetailsText = "\"Black-and-white\"";
        break;
    default:
        Fail(TPGLangStrId::InvalidValueFor, "ImageType");
    }
    Info.SubFormatText = H.RunLength() ? "Run-length encoded" : "Uncompressed";
    Info.Width = H.Width;
    Info.Height = H.Height;
    Info.BitsPerPixel = H.Depth;
    Info.ColorsText = H.Depth <= 23 ? PowerOfTwoText(H.Depth) : H.Depth == 24 ? "16.7M" : "16.7M ?";
}

void RegisterTGAFormats(TFileFormatReaders& Readers, TFileFormatWriters& Writers) {
    Readers.Add(std::make_unique<TTGAFileFormatReader>());
    Writers.Add(std::make_unique<TTGAFileFormatWriter>());
}
