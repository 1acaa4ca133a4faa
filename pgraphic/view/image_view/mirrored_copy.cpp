#include "pgraphic/view/image_view/mirrored_copy.h"

#include "pgraphic/image/pixel_graphic.h"

#include <algorithm>
#include <cstring>

namespace {

// Copies one row of whole-byte pixels (Bytes per pixel), reversed when Horizontal.
void CopyRow(std::uint8_t* To, const std::uint8_t* From, int Width, int Bytes, bool Horizontal) {
    const auto Length = static_cast<std::size_t>(Width) * static_cast<std::size_t>(Bytes);
    if (!Horizontal) {
        std::memcpy(To, From, Length);
        return;
    }
    for (int X = 0; X < Width; ++X) {
        std::memcpy(To + static_cast<std::ptrdiff_t>(X) * Bytes,
                    From + static_cast<std::ptrdiff_t>(Width - 1 - X) * Bytes,
                    static_cast<std::size_t>(Bytes));
    }
}

} // namespace

std::unique_ptr<TPixelGraphic> PGMirroredCopy(const TPixelGraphic& Source, bool Horizontal,
                                              bool Vertical) {
    auto Copy = std::make_unique<TPixelGraphic>();
    const int W = Source.Width();
    const int H = Source.Height();
    Copy->SetSize(W, H, Source.BitCount());
    if (Source.BitCount() != bc24) {
        Copy->CopyPalette(Source);
    }
    if (Source.IsEmpty() || Copy->IsEmpty()) {
        return Copy;
    }
    const int Bytes = Source.BitCount() == bc24 ? 3 : Source.BitCount() == bc8 ? 1 : 0;
    for (int Y = 0; Y < H; ++Y) {
        const int From = Vertical ? H - 1 - Y : Y;
        if (Bytes != 0) {
            CopyRow(Copy->ScanLine(Y), Source.ScanLine(From), W, Bytes, Horizontal);
            continue;
        }
        for (int X = 0; X < W; ++X) {
            Copy->SetPixel(X, Y, Source.Pixels(Horizontal ? W - 1 - X : X, From));
        }
    }
    return Copy;
}
