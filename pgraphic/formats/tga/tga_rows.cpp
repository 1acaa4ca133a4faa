#include "pgraphic/formats/tga/tga_rows.h"

#include "pgraphic/formats/buffered_input.h"
#include "pgraphic/image/pixel_graphic.h"

#include <algorithm>
#include <cstring>

namespace tga {

void DecodeRunLengthRow(TPGBufferedInput& Input, std::uint8_t* Row, std::size_t Width,
                        std::size_t PixelBytes) {
    std::uint8_t Dropped[4];
    std::size_t X = 0;
    while (X < Width) {
        const std::uint8_t Head = Input.ReadByte();
        const std::size_t Count = (Head & 0x7Fu) + 1;
        const std::size_t Kept = std::min(Count, Width - X);
        std::uint8_t* Out = Row + X * PixelBytes;
        if ((Head & 0x80) != 0) {
            Input.Read(Out, PixelBytes);
            for (std::size_t K = 1; K < Kept; ++K) {
                std::memcpy(Out + K * PixelBytes, Out, PixelBytes);
            }
        } else {
            Input.Read(Out, Kept * PixelBytes);
            for (std::size_t K = Kept; K < Count; ++K) {
                Input.Read(Dropped, PixelBytes);
            }
        }
        X += Kept;
    }
}

void StoreRow(const TTGAHeader& Header, const std::uint8_t* Row, TPixelGraphic& Graphic, int R) {
    const int Height = Graphic.Height();
    std::uint8_t* Out = Graphic.ScanLine(Header.TopDown() ? R : Height - 1 - R);
    const auto Width = static_cast<std::size_t>(Graphic.Width());
    const std::size_t PixelBytes = Header.BytesPerPixel();
    for (std::size_t X = 0; X < Width; ++X) {
        const std::size_t Target = Header.RightToLeft() ? Width - 1 - X : X;
        const std::uint8_t* In = Row + X * PixelBytes;
        if (PixelBytes == 1) {
            Out[Target] = In[0];
            continue;
        }
        const TColor Color = DecodeColor(In, PixelBytes);
        std::uint8_t* P = Out + 3 * Target;
        P[0] = GetBValue(Color);
        P[1] = GetGValue(Color);
        P[2] = GetRValue(Color);
    }
}

} // namespace tga
