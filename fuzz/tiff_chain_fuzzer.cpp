// The TIFF reader with the directory-chain walk on: the file information (which counts the
// images) and every image index the chain may hold, up to a bound that loops must not defeat.

#include "core/exception.h"
#include "core/stream.h"
#include "pgraphic/formats/registry.h"
#include "pgraphic/formats/tiff/tiff.h"
#include "pgraphic/image/pixel_graphic.h"
#include "platform/message_box.h"

#include <algorithm>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    static const bool Prepared = [] {
        SetPGMaxImageBytes(64u << 20);
        SetMessageBoxHook([](const TMessageBoxRequest& Request) { return Request.Default; });
        SetTIFFMultiImage(true);
        SetTIFFMaxImages(50);
        return true;
    }();
    (void)Prepared;

    TBlockStream Stream(static_cast<const void*>(Data), static_cast<std::int64_t>(Size));
    TPGImageFileInfo Info;
    if (!GetImageFileInfoFromStream(Stream, "tif", 0, Info)) {
        return 0;
    }
    for (int Index = 0; Index < std::min(Info.ImageCount, 4); ++Index) {
        TPixelGraphic Image;
        Image.SetReadWarningAction(Index % 2 == 0 ? pgwaIgnore : pgwaRaise);
        try {
            Stream.SetPosition(0);
            Image.LoadFromStreamExt(Stream, "tif", Index);
        } catch (const Exception&) {
            // the library's own failures are the expected outcome of bad input
        }
    }
    return 0;
}
