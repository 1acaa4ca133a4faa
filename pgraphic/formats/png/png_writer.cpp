#include "pgraphic/formats/png/png.h"
#include "pgraphic/formats/png/png_library.h"
#include "pgraphic/formats/png/png_settings.h"
#include "pgraphic/image/palette_cover.h"
#include "pgraphic/image/pixel_graphic.h"
#include "pgraphic/image/progress.h"

#include <algorithm>
#include <vector>

using namespace png;

TPNGFileFormatWriter::TPNGFileFormatWriter()
    : TFileFormatWriter("png", "Portable Network Graphics") {
    SetCanWriteResolutions(kAllResolutions);
}

void TPNGFileFormatWriter::WriteImage(TStream& Stream, TPixelGraphic& Graphic) {
    CheckLibraryVersions();
    TPNGWriteObjects Write(Stream, Graphic.ReadWarningAction());
    png_structp Png = Write.Png();
    png_infop Info = Write.Info();

    int ColorType = PNG_COLOR_TYPE_PALETTE;
    int BitDepth = Graphic.BitCountNum();
    std::vector<png_color> Palette;
    if (Graphic.BitCount() == bc24) {
        ColorType = PNG_COLOR_TYPE_RGB;
    } else if (Graphic.BitCount() == bc8 && Graphic.PaletteIdent() == pGray256) {
        ColorType = PNG_COLOR_TYPE_GRAY;
    } else {
        // Every index a pixel holds, and no more entries than the pixels can index: a palette
        // chunk may hold no more.
        for (const TColor C : CoveringPalette(Graphic)) {
            Palette.push_back({GetRValue(C), GetGValue(C), GetBValue(C)});
        }
    }
    if (ColorType != PNG_COLOR_TYPE_PALETTE) {
        BitDepth = 8;
    }
    const double Gamma = 1.0 / static_cast<double>(Graphic.Gamma());
    const bool WriteGamma = PNGSettings().WriteGamma;
    Write.Call([&] {
        png_set_IHDR(Png, Info, static_cast<png_uint_32>(Graphic.Width()),
                     static_cast<png_uint_32>(Graphic.Height()), BitDepth, ColorType,
                     PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        if (ColorType == PNG_COLOR_TYPE_PALETTE) {
            png_set_PLTE(Png, Info, Palette.data(), static_cast<int>(Palette.size()));
        }
        if (WriteGamma) {
            png_set_gAMA(Png, Info, Gamma);
        }
        png_write_info(Png, Info);
        if (ColorType == PNG_COLOR_TYPE_RGB) {
            png_set_bgr(Png);
        }
    });

    const TPGProgress Progress(Graphic, this);
    Progress.Run([&] {
        const int Height = Graphic.Height();
        for (int Row = 0; Row < Height; ++Row) {
            png_bytep Bits = Graphic.ScanLine(Row);
            Write.Call([&] { png_write_row(Png, Bits); });
            Progress.Aborted(Row, Height - 1); // writing goes on
        }
    });
    Write.Call([&] { png_write_end(Png, nullptr); });
}
