#include "pgraphic/formats/bmp/rle_decoder.h"

#include "core/stream.h"
#include "pgraphic/image/pixel_graphic.h"
#include "pgraphic/image/progress.h"

#include <algorithm>
#include <vector>

namespace bmp {

namespace {

// Writes runs of pixels into the image. Pixels outside it are dropped, as SetPixel drops them
// (or raise, when the image asks for that); a run is clipped to the image first, so a hostile
// file cannot make the decoder loop over pixels that land nowhere.
class TRunWriter {
public:
    explicit TRunWriter(TPixelGraphic& Graphic) : FGraphic(Graphic) {}

    // Count pixels from (X, Y) on; pixel K takes Value(K).
    template <typename F>
    void Run(std::int64_t X, std::int64_t Y, std::int64_t Count, F Value) {
        const std::int64_t First = std::max<std::int64_t>(X, 0);
        const std::int64_t Last = std::min<std::int64_t>(X + Count, FGraphic.Width());
        const bool RowInside = Y >= 0 && Y < FGraphic.Height();
        if (FGraphic.RaiseXYError() && Count > 0 && (!RowInside || First > X || Last < X + Count)) {
            FGraphic.SetPixel(-1, -1, 0); // raises "X, Y index out of range"
        }
        if (!RowInside) {
            return;
        }
        for (std::int64_t K = First; K < Last; ++K) {
            FGraphic.SetPixel(static_cast<int>(K), static_cast<int>(Y), Value(K - X));
        }
    }

private:
    TPixelGraphic& FGraphic;
};

} // namespace

void DecodeRLE(TStream& Stream, TPixelGraphic& Graphic, std::uint32_t Length, bool Nibbles) {
    // Never more than the stream holds, whatever the header claims.
    const std::int64_t Available = std::max<std::int64_t>(Stream.Size() - Stream.Position(), 0);
    std::vector<std::uint8_t> Data(
        static_cast<std::size_t>(std::min<std::int64_t>(Length, Available)));
    const auto Size = static_cast<std::int64_t>(Data.size());
    Stream.ReadBuffer(Data.data(), Size);
    const auto At = [&Data, Size](std::int64_t P) -> std::uint32_t {
        return P < Size ? Data[static_cast<std::size_t>(P)] : 0u;
    };

    TRunWriter Writer(Graphic);
    const TPGProgress Progress(Graphic, &Graphic);
    std::int64_t X = 0, Y = Graphic.Height() - 1, P = 0;
    const std::int64_t Tenth = Size / 10;
    while (P < Size - 1) {
        const std::uint32_t B = At(P);
        if (B > 0) {
            const std::uint32_t V = At(P + 1);
            if (Nibbles) {
                Writer.Run(X, Y, B, [V](std::int64_t K) { return K % 2 == 0 ? V >> 4 : V & 0x0F; });
            } else {
                Writer.Run(X, Y, B, [V](std::int64_t) { return V; });
            }
            X += B;
            P += 2;
        } else {
            const std::uint32_t C = At(P + 1);
            if (C == 0) {
                X = 0;
                Y -= 1;
                P += 2;
            } else if (C == 1) {
                break;
            } else if (C == 2) {
                if (P >= Size - 3) {
                    break;
                }
                X += At(P + 2);
                Y -= At(P + 3);
                P += 4;
            } else {
                const std::int64_t First = P + 2;
                if (Nibbles) {
                    Writer.Run(X, Y, C, [&At, First](std::int64_t K) {
                        const std::uint32_t Byte = At(First + K / 2);
                        return K % 2 == 0 ? Byte >> 4 : Byte & 0x0F;
                    });
                    P += (C + 1) / 2 + 2;
                } else {
                    Writer.Run(X, Y, C, [&At, First](std::int64_t K) { return At(First + K); });
                    P += C + 2;
                }
                X += C;
                P += P % 2;
            }
        }
        if (Tenth > 0 && P % Tenth == 0 && Progress.Aborted(static_cast<int>(P / Tenth), 10)) {
            break;
        }
    }
}

} // namespace bmp
