#include "pgraphic/image/pixel_graphic.h"
#include "tools/pgconv/commands.h"

namespace {

// The smallest palette format whose pixels can index Count colours.
TPGBitCount PaletteFormatFor(int Count) {
    return Count <= 2 ? bc1 : Count <= 16 ? bc4 : bc8;
}

// Source reduced to an optimised palette of Count colours (the 16 system colours among them
// with SystemColors), dithered or mapped to the nearest colours.
void ReduceColors(const TPixelGraphic& Source, const TPGConvOptions& Options,
                  TPixelGraphic& Reduced) {
    const int Count = *Options.Colors;
    Reduced.SetSize(Source.Width(), Source.Height(), PaletteFormatFor(Count));
    Reduced.SetDither(!Options.NoDither);
    Reduced.CreateOptimizedPalette(Source, Count, Options.SystemColors);
    Reduced.StretchFrom(Source);
}

} // namespace

int RunConvert(const TPGConvOptions& Options) {
    TPixelGraphic Image;
    Image.LoadFromFile(Options.Files[0]);
    TPixelGraphic* Current = &Image;

    TPixelGraphic Resized;
    if (Options.Size) {
        Resized.SetSize(Options.Size->Width, Options.Size->Height, bc24);
        Resized.SetStretchMode(Options.Stretch.value_or(smPrecise));
        Resized.StretchFrom(*Current);
        Current = &Resized;
    }
    TPixelGraphic Reduced;
    if (Options.Colors) {
        ReduceColors(*Current, Options, Reduced);
        Current = &Reduced;
    }
    // Saving converts to what the output format can store, after a warning on the console.
    Current->SaveToFile(Options.Files[1]);
    return 0;
}
