#include "pgraphic/formats/png/png.h"
#include "pgraphic/formats/png/png_library.h"
#include "pgraphic/formats/png/png_pixels.h"
#include "pgraphic/formats/png/png_settings.h"
#include "pgraphic/image/pixel_graphic.h"
#include "pgraphic/image/progress.h"

#include <algorithm>
#include <optional>

using namespace png;

namespace {

constexpr std::uint8_t kSignature[8] = {137, 80, 78, 71, 13, 10, 26, 10};

struct THeader {
    png_uint_32 Width = 0;
    png_uint_32 Height = 0;
    int BitDepth = 0;
    int ColorType = 0;
};

// Asks libpng to composite transparent pixels against a background: the file's background chunk
// when there is one (and the setting allows it), else the image's background colour. Compositing
// works on the stored sample values, as the image's gamma is corrected afterwards as a whole.
// Returns the colour the image's background becomes, if it changes.
std::optional<TColor> Composite(TPNGReadObjects& Read, const THeader& H, TColor Own,
                                bool UseFileBackground) {
    png_structp Png = Read.Png();
    png_infop Info = Read.Info();
    png_color_16p FileBackground = nullptr;
    if (UseFileBackground && png_get_bKGD(Png, Info, &FileBackground) != 0 &&
        FileBackground != nullptr) {
        Read.Call([&] {
            png_set_gamma(Png, 1.0, 1.0);
            png_set_background(Png, FileBackground, PNG_BACKGROUND_GAMMA_FILE, 1, 1.0);
        });
        return FileBackgroundColor(*FileBackground, H.ColorType, H.BitDepth);
    }
    const png_color_16 Background = OutputBackground(Own, H.ColorType, H.BitDepth);
    Read.Call([&] {
        png_set_gamma(Png, 1.0, 1.0);
        png_set_background(Png, &Background, PNG_BACKGROUND_GAMMA_SCREEN, 0, 1.0);
    });
    return std::nullopt;
}

// The file's palette, after compositing changed it, as the image's palette.
void CopyPalette(TPNGReadObjects& Read, TPixelGraphic& Graphic) {
    png_colorp Palette = nullptr;
    int Count = 0;
    png_get_PLTE(Read.Png(), Read.Info(), &Palette, &Count);
    Count = Palette != nullptr ? std::clamp(Count, 0, Graphic.MaxPaletteCount()) : 0;
    Graphic.SetPaletteCount(Count);
    for (int I = 0; I < Count; ++I) {
        const png_color& C = Palette[I];
        Graphic.SetPaletteColors(I, RGB(C.red, C.green, C.blue));
    }
}

} // namespace

TPNGFileFormatReader::TPNGFileFormatReader()
    : TFileFormatReader("png", "Portable Network Graphics") {
    SetHasSignature(true);
}

bool TPNGFileFormatReader::CheckSignature(const TPGSignature& Header) const {
    return std::equal(std::begin(kSignature), std::end(kSignature), Header.begin());
}

void TPNGFileFormatReader::ReadImage(TStream& Stream, TPixelGraphic& Graphic, int Index) const {
    if (Index != 0) {
        Fail(TPGLangStrId::Invalid, "Index");
    }
    CheckLibraryVersions();
    Graphic.SetGamma(PGDisplayGamma());

    const TPNGSettings Settings = PNGSettings();
    TPNGReadObjects Read(Stream, Graphic.ReadWarningAction(), Settings.MaxReadingBytes);
    png_structp Png = Read.Png();
    png_infop Info = Read.Info();
    THeader H;
    Read.Call([&] {
        png_read_info(Png, Info);
        png_get_IHDR(Png, Info, &H.Width, &H.Height, &H.BitDepth, &H.ColorType, nullptr, nullptr,
                     nullptr);
    });
    const TImageFormat Format = ImageFormatOf(H.ColorType, H.BitDepth);

    // The gamma chunk's value, read before compositing replaces libpng's own view of it. (A gamma
    // libpng derived from an sRGB or ICC chunk does not count: those files carry no gamma chunk.)
    double FileGamma = 0;
    if (Read.ChunkRead(kGammaChunk) && png_get_gAMA(Png, Info, &FileGamma) != 0 && FileGamma > 0) {
        Graphic.SetGamma(1.0L / FileGamma);
    }
    std::optional<TColor> Background;
    if (png_get_valid(Png, Info, PNG_INFO_tRNS) != 0 || (H.ColorType & PNG_COLOR_MASK_ALPHA) != 0) {
        Background = Composite(Read, H, Graphic.BackGroundColor(), Settings.UseFileBackground);
    }
    int Passes = 1;
    Read.Call([&] {
        if (H.BitDepth == 16) {
            png_set_strip_16(Png);
        }
        if ((H.ColorType & PNG_COLOR_MASK_COLOR) != 0) {
            png_set_bgr(Png);
        }
        Passes = png_set_interlace_handling(Png);
        png_read_update_info(Png, Info);
    });

    // The size error comes before libpng allocates anything in proportion to the image.
    Graphic.SetSize(static_cast<int>(H.Width), static_cast<int>(H.Height), Format.BitCount);
    if (Format.PaletteIdent == pUnknown) {
        CopyPalette(Read, Graphic);
    } else if (Format.PaletteIdent != pTrueColor) {
        Graphic.SetPaletteIdent(Format.PaletteIdent);
    }
    if (Background) {
        Graphic.SetBackGroundColor(*Background); // after the palette, which it may index
    }

    bool Aborted = false;
    const TPGProgress Progress(Graphic, const_cast<TPNGFileFormatReader*>(this));
    Progress.Run([&] {
        const auto Spread = [&] {
            if (Format.TwoBit) {
                ExpandTwoBitRows(Graphic); // also the rows an abort or a failure left
            }
        };
        try {
            const int Height = Graphic.Height();
            const int Max = Height * Passes;
            for (int Pass = 0; Pass < Passes && !Aborted && !Graphic.IsEmpty(); ++Pass) {
                for (int Row = 0; Row < Height; ++Row) {
                    png_bytep Bits = Graphic.ScanLine(Row);
                    Read.Call([&] { png_read_row(Png, Bits, nullptr); });
                    if (Progress.Aborted(Row + Height * Pass, Max)) {
                        Aborted = true;
                        break;
                    }
                }
            }
        } catch (...) {
            Spread();
            throw;
        }
        Spread();
    });
    if (!Aborted) {
        Read.Call([&] { png_read_end(Png, nullptr); });
    }
}

void RegisterPNGFormats(TFileFormatReaders& Readers, TFileFormatWriters& Writers) {
    Readers.Add(std::make_unique<TPNGFileFormatReader>());
    Writers.Add(std::make_unique<TPNGFileFormatWriter>());
}
