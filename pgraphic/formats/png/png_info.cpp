#include "pgraphic/formats/png/png.h"
#include "pgraphic/formats/png/png_library.h"
#include "pgraphic/formats/png/png_settings.h"

#include <iterator>

using namespace png;

namespace {

std::string SubFormatText(int ColorType, int Interlace) {
    std::string Text = "GrayScale";
    if ((ColorType & PNG_COLOR_MASK_PALETTE) != 0) {
        Text = "palette";
    } else if ((ColorType & PNG_COLOR_MASK_COLOR) != 0) {
        Text = "RGB";
    }
    if ((ColorType & PNG_COLOR_MASK_ALPHA) != 0) {
        Text += ", alpha";
    }
    if (Interlace == PNG_INTERLACE_ADAM7) {
        Text += ", interlaced";
    }
    return Text;
}

// The reported chunks read before the image data and accepted by libpng, as "(gama, plte)".
std::string DetailsText(const TPNGReadObjects& Read) {
    std::string Names;
    for (std::size_t I = 0; I < std::size(kReportedChunks); ++I) {
        if (Read.ChunkRead(I) && png_get_valid(Read.Png(), Read.Info(), kReportedChunks[I].Flag)) {
            Names += (Names.empty() ? "" : ", ") + std::string(kReportedChunks[I].Name);
        }
    }
    return Names.empty() ? Names : "(" + Names + ")";
}

std::string ColorsText(int BitsPerPixel) {
    switch (BitsPerPixel) {
    case 1:
        return "2";
    case 2:
        return "4";
    case 4:
        return "16";
    case 8:
        return "256";
    case 16:
        return "64K?";
    case 24:
        return "16.7M";
    case 32:
        return "16.7M?";
    default:
        return "?";
    }
}

} // namespace

void TPNGFileFormatReader::GetInfo(TStream& Stream, int Index, TPGImageFileInfo& Info) const {
    TFileFormatReader::GetInfo(Stream, Index, Info);
    if (Index != 0) {
        Fail(TPGLangStrId::InvalidValueFor, "Index");
    }
    // Warnings are failures here.
    TPNGReadObjects Read(Stream, pgwaRaise, PNGSettings().MaxReadingBytes);
    png_structp Png = Read.Png();
    png_infop Header = Read.Info();
    Read.Call([&] { png_read_info(Png, Header); });
    Info.Width = static_cast<int>(png_get_image_width(Png, Header));
    Info.Height = static_cast<int>(png_get_image_height(Png, Header));
    Info.BitsPerPixel = png_get_bit_depth(Png, Header) * png_get_channels(Png, Header);
    Info.SubFormatText =
        SubFormatText(png_get_color_type(Png, Header), png_get_interlace_type(Png, Header));
    Info.DetailsText = DetailsText(Read);
    Info.ColorsText = ColorsText(Info.BitsPerPixel);
}
