#include "pgraphic/formats/bmp/bmp.h"
#include "pgraphic/formats/bmp/bmp_structures.h"
#include "pgraphic/image/palette_cover.h"
#include "pgraphic/image/pixel_graphic.h"

#include <algorithm>
#include <vector>

using namespace bmp;

namespace {

// Palette entries written: the image's colours, as many as its format can index, and black
// entries for any index beyond them that a pixel holds. A palette image without any colour
// writes its whole colour table (black entries): a count of 0 in the file means a full table, so
// without one its first pixels would be read back as the palette.
int WrittenPaletteCount(const TPixelGraphic& Graphic) {
    if (Graphic.PaletteCount() == 0) {
        return Graphic.MaxPaletteCount();
    }
    return std::min(CoveringPaletteCount(Graphic), Graphic.MaxPaletteCount());
}

// The information header, a colour table of Colors entries and the pixels.
void WriteDIB(TStream& Stream, TPixelGraphic& Graphic, int Colors, std::uint32_t ImportantColors) {
    std::vector<std::uint8_t> Head(kInfoHeaderSize + 4 * static_cast<std::size_t>(Colors), 0);
    std::uint8_t* H = Head.data();
    PutLE32(H, kInfoHeaderSize);
    PutLE32(H + 4, static_cast<std::uint32_t>(Graphic.Width()));
    PutLE32(H + 8, static_cast<std::uint32_t>(Graphic.Height()));
    PutLE16(H + 12, 1);
    PutLE16(H + 14, static_cast<std::uint32_t>(Graphic.BitCountNum()));
    PutLE32(H + 16, BI_RGB);
    PutLE32(H + 20, Graphic.BytesPerLine() * static_cast<std::uint32_t>(Graphic.Height()));
    PutLE32(H + 32, static_cast<std::uint32_t>(Colors));
    PutLE32(H + 36, ImportantColors);
    const std::vector<TColor>& Palette = Graphic.Palette();
    for (int I = 0; I < Colors; ++I) {
        const auto Index = static_cast<std::size_t>(I);
        const TColor C = Index < Palette.size() ? Palette[Index] : RGB(0, 0, 0);
        std::uint8_t* E = H + kInfoHeaderSize + 4 * Index;
        E[0] = GetBValue(C);
        E[1] = GetGValue(C);
        E[2] = GetRValue(C);
    }
    Stream.WriteBuffer(Head.data(), static_cast<std::int64_t>(Head.size()));
    Stream.WriteBuffer(Graphic.ScanLines(), Graphic.ImageSize());
}

} // namespace

std::int64_t PackedDIBSize(const TPixelGraphic& Graphic) {
    return kInfoHeaderSize + 4 * static_cast<std::int64_t>(WrittenPaletteCount(Graphic)) +
           Graphic.ImageSize();
}

void WritePackedDIB(TStream& Stream, TPixelGraphic& Graphic) {
    WriteDIB(Stream, Graphic, WrittenPaletteCount(Graphic), 0);
}

TBMPFileFormatWriter::TBMPFileFormatWriter(std::string Extension, bool IsListed)
    : TFileFormatWriter(std::move(Extension), "Bitmap") {
    SetWriterListed(IsListed);
    SetCanWriteResolutions(kAllResolutions);
}

void TBMPFileFormatWriter::WriteImage(TStream& Stream, TPixelGraphic& Graphic) {
    WriteBMPFile(Stream, Graphic, 0);
}

void WriteBMPFile(TStream& Stream, TPixelGraphic& Graphic, std::uint32_t ImportantColors) {
    // Counted once: with a short palette the count looks at every pixel.
    const int Colors = WrittenPaletteCount(Graphic);
    const auto Offset = static_cast<std::uint32_t>(kFileHeaderSize) + kInfoHeaderSize +
                        4 * static_cast<std::uint32_t>(Colors);
    std::uint8_t File[kFileHeaderSize] = {};
    PutLE16(File, kSignature);
    PutLE32(File + 2, Offset + Graphic.ImageSize());
    PutLE32(File + 10, Offset);
    Stream.WriteBuffer(File, kFileHeaderSize);
    WriteDIB(Stream, Graphic, Colors, ImportantColors);
}
