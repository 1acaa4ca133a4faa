#include "app/composition/background.h"

#include "app/logo/logo_image.h"
#include "pgraphic/image/pixel_graphic.h"
#include "platform/file_ops.h"
#include "platform/system_colors.h"

#include <algorithm>
#include <cstring>

namespace {

// Every pixel of row Row becomes Color.
void FillRow(TPixelGraphic& Image, int Row, TColor Color) {
    std::uint8_t* P = Image.ScanLine(Row);
    const auto Width = static_cast<std::size_t>(Image.Width());
    if (Width == 0) {
        return;
    }
    P[0] = GetBValue(Color);
    P[1] = GetGValue(Color);
    P[2] = GetRValue(Color);
    // Doubling copies: the filled part is copied onto the part after it.
    for (std::size_t Done = 1; Done < Width;) {
        const std::size_t Count = std::min(Done, Width - Done);
        std::memcpy(P + 3 * Done, P, 3 * Count);
        Done += Count;
    }
}

void FillSingle(TPixelGraphic& Image, TColor Color) {
    const auto RowBytes = 3 * static_cast<std::size_t>(Image.Width());
    FillRow(Image, 0, Color);
    const std::uint8_t* First = Image.ScanLine(0);
    for (int Y = 1; Y < Image.Height(); ++Y) {
        std::memcpy(Image.ScanLine(Y), First, RowBytes);
    }
}

int Step(int From, int To, int Row) {
    return From + (To - From) * Row / kLogoHeight;
}

void FillGradient(TPixelGraphic& Image, TColor Top, TColor Bottom) {
    for (int Y = 0; Y < Image.Height(); ++Y) {
        FillRow(Image, Y,
                RGB(Step(GetRValue(Top), GetRValue(Bottom), Y),
                    Step(GetGValue(Top), GetGValue(Bottom), Y),
                    Step(GetBValue(Top), GetBValue(Bottom), Y)));
    }
}

} // namespace

void BuildBackground(TPixelGraphic& Image, const TLogoValues& Logo) {
    if (Image.Width() != kComposedLogoWidth || Image.Height() != kLogoHeight ||
        Image.BitCount() != bc24) {
        Image.SetSize(kComposedLogoWidth, kLogoHeight, bc24);
    }
    Image.SetBackGroundColor(RGB(0, 0, 0));
    switch (Logo.Background) {
    case TBackgroundKind::Single:
        FillSingle(Image, ResolveSysColor(Logo.SingleColor));
        break;
    case TBackgroundKind::Degraded:
        FillGradient(Image, ResolveSysColor(Logo.GradientTop),
                     ResolveSysColor(Logo.GradientBottom));
        break;
    case TBackgroundKind::Bitmap:
        if (FileExists(Logo.Bitmap)) {
            LoadBackgroundPicture(Logo.Bitmap, Image);
        } else {
            Image.Clear();
        }
        break;
    case TBackgroundKind::Unselected:
    default:
        Image.Clear();
        break;
    }
}
