#include "pgraphic/formats/jpeg/jpeg.h"
#include "pgraphic/formats/jpeg/jpeg_library.h"
#include "pgraphic/formats/jpeg/jpeg_settings.h"
#include "pgraphic/image/pixel_graphic.h"
#include "pgraphic/image/progress.h"

using namespace jpeg;

namespace {

// Decompression as both reading and the information query set it up: full scale, no colour
// quantisation, the given transform, blue-green-red order for colour output.
void SetDecompressParameters(jpeg_decompress_struct& Info, J_DCT_METHOD Method) {
    Info.scale_num = 1;
    Info.scale_denom = 1;
    Info.dct_method = Method;
    Info.quantize_colors = FALSE;
    Info.two_pass_quantize = FALSE;
    Info.dither_mode = JDITHER_NONE;
    if (Info.out_color_space == JCS_RGB) {
        Info.out_color_space = JCS_EXT_BGR; // the byte order of a 24-bit row of the image
    }
}

J_DCT_METHOD ReadMethod(const TPixelGraphic& Graphic, const TJPEGSettings& Settings) {
    return static_cast<J_DCT_METHOD>(Graphic.FastRead() ? jdmIntegerFast : Settings.ReadDCTMethod);
}

std::string ColorsText(int Components) {
    switch (Components) {
    case 1:
        return "256";
    case 2:
        return "64K";
    case 3:
        return "16.7M";
    case 4:
        return "4294.9M";
    default:
        return "?";
    }
}

std::string SubFormatText(const jpeg_decompress_struct& Info) {
    std::string Text;
    switch (Info.jpeg_color_space) {
    case JCS_UNKNOWN:
        Text = "unknown";
        break;
    case JCS_GRAYSCALE:
        Text = "GrayScale";
        break;
    case JCS_RGB:
        Text = "RGB";
        break;
    case JCS_YCbCr:
        Text = "YCbCr";
        break;
    case JCS_CMYK:
        Text = "CMYK";
        break;
    case JCS_YCCK:
        Text = "YCbCrK";
        break;
    default:
        break;
    }
    if (Info.progressive_mode) {
        Text += ", Progressive";
    }
    if (Info.saw_Adobe_marker) {
        Text = "Adope, " + Text;
    }
    if (Info.saw_JFIF_marker) {
        Text = "JFIF, " + Text;
    }
    return Text;
}

} // namespace

TJPGFileFormatReader::TJPGFileFormatReader(std::string Extension)
    : TFileFormatReader(std::move(Extension), "JPEG (JFIF compliant)") {
    SetHasSignature(true);
}

bool TJPGFileFormatReader::CheckSignature(const TPGSignature& Header) const {
    return Header[0] == 0xFF && Header[1] == 0xD8;
}

void TJPGFileFormatReader::ReadImage(TStream& Stream, TPixelGraphic& Graphic, int Index) const {
    if (Index != 0) {
        Fail(TPGLangStrId::Invalid, "Index");
    }
    CheckLibraryVersion();
    Graphic.SetGamma(PGDisplayGamma()); // JPEG data is never gamma-corrected

    const TJPEGSettings Settings = JPEGSettings();
    TDecompressor Decompressor(Stream, Graphic.ReadWarningAction(), Settings.MaxMemory);
    jpeg_decompress_struct& Info = Decompressor.Info();
    Decompressor.Call([&] { jpeg_read_header(&Info, TRUE); });
    SetDecompressParameters(Info, ReadMethod(Graphic, Settings));
    Decompressor.Call([&] { jpeg_calc_output_dimensions(&Info); });
    TPGBitCount Depth = bc24;
    switch (Info.output_components) {
    case 1:
        Depth = bc8;
        break;
    case 3:
        break;
    default:
        Fail(TPGLangStrId::NotSupportedSubformat); // CMYK and YCCK
    }
    // The image is sized before decompression starts, so a file declaring a huge image fails
    // with the size error before the library allocates anything in proportion to it.
    Graphic.SetSize(static_cast<int>(Info.output_width), static_cast<int>(Info.output_height),
                    Depth);
    if (Depth == bc8) {
        Graphic.SetPaletteIdent(pGray256);
    }
    Decompressor.Call([&] { jpeg_start_decompress(&Info); });

    const TPGProgress Progress(Graphic, const_cast<TJPGFileFormatReader*>(this));
    Progress.Run([&] {
        const int Height = Graphic.Height();
        while (Info.output_scanline < Info.output_height) {
            JSAMPROW Row = Graphic.ScanLine(static_cast<int>(Info.output_scanline));
            JDIMENSION Done = 0;
            Decompressor.Call([&] { Done = jpeg_read_scanlines(&Info, &Row, 1); });
            if (Done == 0 || Progress.Aborted(static_cast<int>(Info.output_scanline), Height)) {
                break;
            }
        }
    });
    // After an abort the library reports "Application transferred too few scanlines".
    Decompressor.Call([&] { jpeg_finish_decompress(&Info); });
}

void TJPGFileFormatReader::GetInfo(TStream& Stream, int Index, TPGImageFileInfo& Info) const {
    TFileFormatReader::GetInfo(Stream, Index, Info);
    if (Index != 0) {
        Fail(TPGLangStrId::InvalidValueFor, "Index");
    }
    // Warnings are failures here.
    TDecompressor Decompressor(Stream, pgwaRaise, JPEGSettings().MaxMemory);
    jpeg_decompress_struct& Header = Decompressor.Info();
    Decompressor.Call([&] { jpeg_read_header(&Header, TRUE); });
    SetDecompressParameters(Header, JDCT_IFAST);
    Info.Width = static_cast<int>(Header.image_width);
    Info.Height = static_cast<int>(Header.image_height);
    Info.BitsPerPixel = 8 * Header.num_components;
    Info.ColorsText = ColorsText(Header.num_components);
    Info.SubFormatText = SubFormatText(Header);
}

void RegisterJPEGFormats(TFileFormatReaders& Readers, TFileFormatWriters& Writers) {
    Readers.Add(std::make_unique<TJPGFileFormatReader>());
    Readers.Add(std::make_unique<TJPEGFileFormatReader>());
    Readers.Add(std::make_unique<TJIFFileFormatReader>());
    Writers.Add(std::make_unique<TJPGFileFormatWriter>());
    Writers.Add(std::make_unique<TJPEGFileFormatWriter>());
    Writers.Add(std::make_unique<TJIFFileFormatWriter>());
}
