#include "pgraphic/formats/jpeg/jpeg.h"
#include "pgraphic/formats/jpeg/jpeg_library.h"
#include "pgraphic/formats/jpeg/jpeg_settings.h"
#include "pgraphic/image/pixel_graphic.h"
#include "pgraphic/image/progress.h"

using namespace jpeg;

TJPGFileFormatWriter::TJPGFileFormatWriter(std::string Extension, bool IsListed)
    : TFileFormatWriter(std::move(Extension), "JPEG (JFIF compliant)") {
    SetWriterListed(IsListed);
    SetCanWriteResolutions(ResolutionSet({crGray256, crTrueColor}));
}

void TJPGFileFormatWriter::WriteImage(TStream& Stream, TPixelGraphic& Graphic) {
    CheckLibraryVersion();
    TCompressor Compressor(Stream, Graphic.ReadWarningAction());
    jpeg_compress_struct& Info = Compressor.Info();
    Info.image_width = static_cast<JDIMENSION>(Graphic.Width());
    Info.image_height = static_cast<JDIMENSION>(Graphic.Height());
    Graphic.IdentifyPalette();
    if (Graphic.BitCount() == bc24) {
        Info.input_components = 3;
        Info.in_color_space = JCS_EXT_BGR; // rows go to the library as they are stored
    } else if (Graphic.BitCount() == bc8 && Graphic.PaletteIdent() == pGray256) {
        Info.input_components = 1; // the palette indices are the grey levels
        Info.in_color_space = JCS_GRAYSCALE;
    } else {
        Fail(TPGLangStrId::InvalidValueFor, "BitCount");
    }
    const TJPEGSettings Settings = JPEGSettings();
    Compressor.Call([&] {
        jpeg_set_defaults(&Info);
        if (Settings.Progressive) {
            jpeg_simple_progression(&Info);
        }
        jpeg_set_quality(&Info, Settings.Quality, TRUE);
    });
    Info.dct_method = static_cast<J_DCT_METHOD>(Settings.WriteDCTMethod);
    Compressor.Call([&] { jpeg_start_compress(&Info, TRUE); });

    const TPGProgress Progress(Graphic, this);
    Progress.Run([&] {
        const int Height = Graphic.Height();
        while (Info.next_scanline < Info.image_height) {
            JSAMPROW Row = Graphic.ScanLine(static_cast<int>(Info.next_scanline));
            JDIMENSION Done = 0;
            Compressor.Call([&] { Done = jpeg_write_scanlines(&Info, &Row, 1); });
            if (Done == 0) {
                break; // finishing reports the missing rows
            }
            Progress.Aborted(static_cast<int>(Info.next_scanline), Height); // writing goes on
        }
    });
    Compressor.Call([&] { jpeg_finish_compress(&Info); });
}
