// Copying a rectangle of one image into another without scaling.

#include "pgraphic/image/color_writer.h"
#include "pgraphic/image/pixel_graphic.h"
#include "pgraphic/image/progress.h"
#include "pgraphic/image/source_rows.h"

#include <algorithm>
#include <cstring>

namespace {

bool HasPixels(const TPixelGraphic& Image) {
    return Image.Width() > 0 && Image.Height() > 0 && !Image.IsEmpty();
}

} // namespace

void TPixelGraphic::CopyRect(int DestX, int DestY, int RectWidth, int RectHeight, int SrcX,
                             int SrcY, const TPixelGraphic& Source) {
    Flush();
    Source.Flush();
    if (!HasPixels(*this) || !HasPixels(Source)) {
        return;
    }
    // Work in 64 bits: offsets and sizes come from callers and may be anything.
    const long long DX = DestX, DY = DestY, OffX = static_cast<long long>(SrcX) - DX,
                    OffY = static_cast<long long>(SrcY) - DY;
    const long long FirstRow = std::max<long long>(DY, 0);
    const long long LastRow = std::min<long long>(DY + RectHeight - 1, FHeight - 1);
    // Columns inside the rectangle, the target and (shifted) the source.
    const long long FirstCol = std::max({DX, 0LL, -OffX});
    const long long LastCol = std::min({DX + RectWidth - 1, static_cast<long long>(FWidth) - 1,
                                        static_cast<long long>(Source.Width()) - 1 - OffX});
    if (FirstCol > LastCol) {
        NotifyChange(this);
        return;
    }
    const int Col0 = static_cast<int>(FirstCol), Col1 = static_cast<int>(LastCol);
    const int SrcCol0 = static_cast<int>(FirstCol + OffX),
              SrcCol1 = static_cast<int>(LastCol + OffX);

    TPGColorWriter Writer(*this);
    const bool Direct = FBitCount == bc24 && Source.BitCount() == bc24;
    std::vector<std::uint8_t> Scratch;
    std::vector<TColor> Colors(static_cast<std::size_t>(Col1 - Col0 + 1));
    const int MaxStep = static_cast<int>(std::max(LastRow - FirstRow, 0LL));
    const TPGProgress Progress(*this, this);
    Progress.Run([&] {
        for (long long Y = FirstRow; Y <= LastRow; ++Y) {
            const long long SrcRow = Y + OffY;
            if (SrcRow < 0 || SrcRow >= Source.Height()) {
                continue;
            }
            const int Row = static_cast<int>(Y);
            const std::uint8_t* Src =
                SourceRowBGR(Source, static_cast<int>(SrcRow), SrcCol0, SrcCol1, Scratch);
            if (Direct) {
                std::memmove(ScanLine(Row) + 3 * static_cast<std::size_t>(Col0), Src,
                             3 * static_cast<std::size_t>(Col1 - Col0 + 1));
            } else {
                for (std::size_t I = 0; I < Colors.size(); ++I) {
                    const std::uint8_t* P = Src + 3 * I;
                    Colors[I] = RGB(P[2], P[1], P[0]);
                }
                Writer.WriteRow(Row, Col0, static_cast<int>(Colors.size()), Colors.data(), nullptr);
            }
            if (Progress.Aborted(static_cast<int>(Y - FirstRow), MaxStep)) {
                break;
            }
        }
    });
    NotifyChange(this);
}
