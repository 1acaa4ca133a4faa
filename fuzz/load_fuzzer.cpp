// Feeds arbitrary bytes to the load pipeline and the file information query, with the
// extension hint of one reader. Anything but a library failure is a finding.

#include "core/exception.h"
#include "core/stream.h"
#include "pgraphic/formats/registry.h"
#include "pgraphic/image/pixel_graphic.h"
#include "platform/message_box.h"

#include <cstdint>
#include <exception>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    static const bool Prepared = [] {
        // Bounded images keep each run small; warnings are answered without output.
        SetPGMaxImageBytes(64u << 20);
        SetMessageBoxHook([](const TMessageBoxRequest& Request) { return Request.Default; });
        return true;
    }();
    (void)Prepared;

    TBlockStream Stream(static_cast<const void*>(Data), static_cast<std::int64_t>(Size));
    TPGImageFileInfo Info;
    GetImageFileInfoFromStream(Stream, VESPERA_FUZZ_EXTENSION, 0, Info);

    TPixelGraphic Image;
    Image.SetReadWarningAction(pgwaOKCancelBox);
    try {
        Stream.SetPosition(0);
        Image.LoadFromStreamExt(Stream, VESPERA_FUZZ_EXTENSION, 0);
        // Whatever was read must be a consistent image.
        if (!Image.IsEmpty()) {
            volatile std::uint32_t Sink = Image.Pixels(Image.Width() - 1, Image.Height() - 1);
            (void)Sink;
        }
    } catch (const Exception&) {
        // the library's own failures are the expected outcome of bad input
    }
    return 0;
}
