#include "core/stream.h"
#include "pgraphic/formats/tga/tga.h"
#include "pgraphic/formats/tga/tga_structures.h"
#include "pgraphic/image/palette_cover.h"
#include "pgraphic/image/pixel_graphic.h"
#include "pgraphic/image/progress.h"

#include <algorithm>
#include <limits>
#include <vector>

using namespace tga;

namespace {

constexpr int kMaxSide = std::numeric_limits<std::uint16_t>::max();

} // namespace

TTGAFileFormatWriter::TTGAFileFormatWriter() : TFileFormatWriter("tga", "Truevision Targa") {
    SetCanWriteResolutions(ResolutionSet({cr256Colors, crTrueColor}));
}

void TTGAFileFormatWriter::WriteImage(TStream& Stream, TPixelGraphic& Graphic) {
    // The save pipeline hands over only these two formats; a direct call with another one
    // would write pixels the header does not describe.
    const bool Mapped = Graphic.BitCount() == bc8;
    if (!Mapped && Graphic.BitCount() != bc24) {
        FailWrite(TPGLangStrId::InvalidColorResolution);
    }
    // The header's fields hold 16 bits.
    if (Graphic.Width() > kMaxSide || Graphic.Height() > kMaxSide) {
        FailWrite(TPGLangStrId::InvalidSizeOf, PGLangStr(TPGLangStrId::ImageWord));
    }
    // The colour map covers every index a pixel holds.
    const std::vector<TColor> Palette = Mapped ? CoveringPalette(Graphic) : std::vector<TColor>{};
    const int Colors = static_cast<int>(Palette.size());
    TTGAHeader H;
    H.ColorMapType = Mapped ? 1 : 0;
    H.ImageType = Mapped ? itColorMapped : itTrueColor;
    H.ColorMapLength = static_cast<std::uint16_t>(Colors);
    H.EntrySize = Mapped ? 24 : 0;
    H.Width = static_cast<std::uint16_t>(Graphic.Width());
    H.Height = static_cast<std::uint16_t>(Graphic.Height());
    H.Depth = Mapped ? 8 : 24;
    WriteHeader(Stream, H);
    if (Mapped) {
        std::vector<std::uint8_t> Map(3 * static_cast<std::size_t>(Colors));
        for (int I = 0; I < Colors; ++I) {
            const TColor C = Palette[static_cast<std::size_t>(I)];
            std::uint8_t* E = Map.data() + 3 * static_cast<std::size_t>(I);
            E[0] = GetBValue(C);
            E[1] = GetGValue(C);
            E[2] = GetRValue(C);
        }
        Stream.WriteBuffer(Map.data(), static_cast<std::int64_t>(Map.size()));
    }
    const int Height = Graphic.Height();
    if (Height <= 0) {
        return;
    }
    const std::int64_t RowBytes = std::int64_t{Graphic.Width()} * (Mapped ? 1 : 3);
    const TPGProgress Progress(Graphic, &Graphic);
    Progress.Run([&] {
        // The pixel buffer holds the bottom row first, as the file does.
        const std::uint8_t* Bits = Graphic.ScanLines();
        for (int Row = 0; Row < Height; ++Row) {
            if (RowBytes > 0) {
                Stream.WriteBuffer(Bits + static_cast<std::size_t>(Row) * Graphic.BytesPerLine(),
                                   RowBytes);
            }
            (void)Progress.Aborted(Row, Height); // writing goes on whatever the handler answers
        }
    });
}
