#include "app/logo/logo_image.h"
#include "core/stream.h"
#include "pgraphic/image/pixel_graphic.h"
#include "tools/pgconv/commands.h"

#include <cstdio>
#include <sys/stat.h>

namespace {

// Writes Image as a BMP file under any name, as the system keeps its logos under ".sys". A file
// that did not exist before and could not be written completely is removed again.
void SaveAsBMP(TPixelGraphic& Image, const std::string& FileName) {
    struct stat Status {};
    const bool Existed = ::lstat(FileName.c_str(), &Status) == 0;
    try {
        TFileStream File(FileName, TFileMode::fmCreate);
        Image.SaveToStreamExt(File, "bmp");
    } catch (...) {
        if (!Existed) {
            std::remove(FileName.c_str());
        }
        throw;
    }
}

} // namespace

int RunLogo(const TPGConvOptions& Options) {
    TPixelGraphic Background;
    LoadBackgroundPicture(Options.Files[0], Background);
    TPixelGraphic Logo;
    ReduceLogo(Background, Logo);
    SaveAsBMP(Logo, Options.Files[1]);
    return 0;
}
