#pragma once

#include "pgraphic/image/pixel_graphic.h"

#include <array>
#include <cstdint>
#include <vector>

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

    // Starts a destination row: swaps the error rows and clears the new next row.
    void StartRow();

    // Starts row Y and writes Colors[I] to column FirstX + I for I in 0..Count-1, skipping the
    // columns whose Valid entry is 0 (Valid may be null). The columns must lie inside the
    // target. Even rows are visited left to right, odd rows right to left; the order decides
    // where the error goes and in which order colours are looked up.
    void WriteRow(int Y, int FirstX, int Count, const TColor* Colors, const std::uint8_t* Valid);

private:
    void WriteDirect(int Y, int FirstX, int Count, const TColor* Colors, const std::uint8_t* Valid);
    void WriteDithered(int Y, int FirstX, int Count, const TColor* Colors,
                       const std::uint8_t* Valid);
    // A palette entry found for a colour: its index and its colour.
    struct TEntry {
        int Index;
        TColor Color;
    };
    // Lookup(R, G, B) gives the entry of each pixel.
    template <typename TLookup>
    void WriteDitheredRun(int Y, int FirstX, int Count, const TColor* Colors, TLookup Lookup);
    // Whether the target's lookups can go through FCellEntries; sets them up on the first call.
    bool UseCellEntries();
    // Dithering into an optimised palette through its colour cache, each entry's index and colour
    // taken from FCellEntries with one load.
    void WriteCachedRun(int Y, int FirstX, int Count, const TColor* Colors);
    // The entry of a cell the colour cache does not hold yet: found and kept by the cache's rules.
    std::uint32_t NewCellEntry(std::size_t Cell, TColor Color);
    void WriteNearest(int Y, int FirstX, int Count, const TColor* Colors,
                      const std::uint8_t* Valid);
    void Put(std::uint8_t* Row, int X, int Y, int Index);
    TColor EntryColor(int Index) const;

    TPixelGraphic& FTarget;
    bool FDirect;
    bool FDithering;
    bool FGray = false;
    // The target's class keeps TPixelGraphic's NearestIndex, which can then be called inline.
    bool FOwnLookup;
    TPGErrorLimitTable FLimit{};
    // The limited error of every value an accumulator can hold, by its low 13 bits: rounding and
    // limiting in one look-up.
    std::vector<std::int32_t> FLimitByAccumulator;
    // While the colour cache is used: for each cell it holds, its index in the top byte and that
    // entry's colour below, so that the dithering loop gets both with one load.
    enum class TCellEntries : std::uint8_t { Unknown, Used, NotUsed };
    TCellEntries FCellEntriesState = TCellEntries::Unknown;
    std::vector<std::uint32_t> FCellEntries;
    std::vector<std::int32_t> FCurrent; // errors for the row being written, in sixteenths
    std::vector<std::int32_t> FNext;    // errors for the row below
};
