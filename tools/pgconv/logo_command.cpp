#include "app/logo/logo_file_data.h"
#include "app/logo/logo_image.h"
#include "app/logo/startup_logo.h"
#include "core/stream.h"
#include "pgraphic/image/pixel_graphic.h"
#include "tools/pgconv/commands.h"

#include <cstdio>
#include <sys/stat.h>

namespace {

// The start-up logo's band as the options describe it: the system's band unless they say
// otherwise.
TStartupBand StartupBand(const TPGConvOptions& Options) {
    TStartupBand Band;
    Band.On = !Options.NoBand;
    Band.FirstAnimated = Options.FirstAnimated.value_or(Band.FirstAnimated);
    Band.Height = Options.BandHeight.value_or(Band.Height);
    if (Options.BandTop) {
        Band.Place = TBandPlace::Top;
    }
    if (Options.BandColors) {
        Band.Colors = TBandColors::Gradient;
        Band.From = Options.BandColors->first;
        Band.To = Options.BandColors->second;
    }
    return Band;
}

// Writes a logo file's bytes under any name, as the system keeps its logos under ".sys". A file
// that did not exist before and could not be written completely is removed again.
void WriteLogoFile(const std::string& Bytes, const std::string& FileName) {
    struct stat Status {};
    const bool Existed = ::lstat(FileName.c_str(), &Status) == 0;
    try {
        TFileStream File(FileName, TFileMode::fmCreate);
        File.WriteBuffer(Bytes.data(), static_cast<std::int64_t>(Bytes.size()));
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
    WriteLogoFile(Options.Startup ? StartupLogoFileData(Background, StartupBand(Options))
                                  : LogoFileData(Background),
                  Options.Files[1]);
    return 0;
}
