#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "pgraphic/image/pixel_graphic.h"

// Error-limit table of a dithered copy: entry e + 255 is the limited value of error e
// (-255 <= e <= 255).
using TPGErrorLimitTable = std::array<std::int32_t, 511>;
TPGErrorLimitTable BuildErrorLimitTable(bool Soft, int Limit);

// The (soft, limit) pair a target uses: chosen from its palette kind when DitherErrorLimitAuto,
// else its own DitherErrorLimitSoft and DitherErrorLimit.
std::pair<bool, int> ErrorLimitFor(const TPixelGraphic& Target);

// Writes colours into the pixels of a target during one copy: directly for bc24, through
// serpentine Floyd-Steinberg error diffusion for a palette target with Dither, else as the
// nearest palette index. Holds the error rows and the limit table for the copy's lifetime, so
// they are freed on every way out.
class TPGColorWriter {
public:
    explicit TPGColorWriter(TPixelGraphic& Target);

    bool Dithering() const { return FDithering; }

    // Starts a destination row: swaps the error rows and clears the new next row.
    void StartRow();

    // Writes Color at (X, Y); the point must lie inside the target. Rows with an odd Y run right
    // to left, which decides where the error goes.
    void Write(int X, int Y, TColor Color) {
        if (FDirect) {
            std::uint8_t* P = FTarget.FBits.get() +
                              static_cast<std::size_t>(FTarget.FHeight - 1 - Y) *
                                  FTarget.FBytesPerLine +
                              3 * static_cast<std::size_t>(X);
            P[0] = GetBValue(Color);
            P[1] = GetGValue(Color);
            P[2] = GetRValue(Color);
        } else if (FDithering) {
            WriteDithered(X, Y, Color);
        } else {
            FTarget.WritePixel(X, Y, static_cast<std::uint32_t>(FTarget.NearestIndex(Color)));
        }
    }

private:
    void WriteDithered(int X, int Y, TColor Color);
    int LimitedError(std::int32_t Accumulator) const;
    TColor EntryColor(int Index) const;

    TPixelGraphic& FTarget;
    bool FDirect;
    bool FDithering;
    bool FGray = false;
    TPGErrorLimitTable FLimit{};
    std::vector<std::int32_t> FCurrent; // errors for the row being written, in sixteenths
    std::vector<std::int32_t> FNext;    // errors for the row below
};
