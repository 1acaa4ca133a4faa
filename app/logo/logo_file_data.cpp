#include "app/logo/logo_file_data.h"

#include "app/logo/logo_image.h"
#include "core/stream.h"
#include "pgraphic/formats/bmp/bmp.h"
#include "pgraphic/image/pixel_graphic.h"

#include <cstdint>

std::string LogoFileBytes(TPixelGraphic& Installed, int FirstAnimated) {
    TMemoryStream Bytes;
    WriteBMPFile(Bytes, Installed, static_cast<std::uint32_t>(FirstAnimated));
    return std::string(reinterpret_cast<const char*>(Bytes.Bytes().data()), Bytes.Bytes().size());
}

std::string LogoFileData(const TPixelGraphic& Logo) {
    TPixelGraphic Installed;
    ReduceLogo(Logo, Installed);
    return LogoFileBytes(Installed);
}
