// Speed of the pixel image core: the logo reduction path, large resampling, palette lookups and
// optimised palettes of palette images.

#include "pgraphic/image/pixel_graphic.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <random>

namespace {

// A logo-like picture: a vertical two-colour gradient with a few solid blocks standing in for
// text, and a little noise as anti-aliased edges bring.
void MakeLogoLike(TPixelGraphic& Image, int Width, int Height) {
    Image.SetSize(Width, Height, bc24);
    std::mt19937 Rng(42);
    for (int Y = 0; Y < Height; ++Y) {
        const int T = Y * 255 / (Height - 1);
        std::uint8_t* P = Image.ScanLine(Y);
        for (int X = 0; X < Width; ++X, P += 3) {
            const bool Text = (X / 24 + Y / 40) % 5 == 0 && Y > Height / 4 && Y < Height / 2;
            const int Noise = static_cast<int>(Rng() % 7) - 3;
            P[0] = static_cast<std::uint8_t>(Text ? 250 : std::clamp(200 - T / 2 + Noise, 0, 255));
            P[1] = static_cast<std::uint8_t>(Text ? 240 : std::clamp(40 + T / 3 + Noise, 0, 255));
            P[2] = static_cast<std::uint8_t>(Text ? 30 : std::clamp(T + Noise, 0, 255));
        }
    }
}

void MakeNoise(TPixelGraphic& Image, int Width, int Height) {
    Image.SetSize(Width, Height, bc24);
    std::mt19937 Rng(7);
    for (int Y = 0; Y < Height; ++Y) {
        std::uint8_t* P = Image.ScanLine(Y);
        for (int X = 0; X < 3 * Width; ++X) {
            P[X] = static_cast<std::uint8_t>(Rng());
        }
    }
}

// 640 x 400 true colour to the 320 x 400 256-colour logo: halve the width, build the palette
// with the system colours, dither into the palette image.
void ReduceLogo(const TPixelGraphic& Composed) {
    TPixelGraphic Half, Logo;
    Half.SetSize(320, 400, bc24);
    Half.SetStretchMode(smPrecise);
    Half.StretchFrom(Composed);
    Logo.SetSize(320, 400, bc8);
    Logo.CreateOptimizedPalette(Half, 256, true);
    Logo.StretchFrom(Half);
    benchmark::DoNotOptimize(Logo.ScanLines());
}

void BM_LogoReduction(benchmark::State& State) {
    TPixelGraphic Composed;
    MakeLogoLike(Composed, 640, 400);
    for (auto _ : State) {
        ReduceLogo(Composed);
    }
}
BENCHMARK(BM_LogoReduction)->Unit(benchmark::kMillisecond);

void BM_LogoReductionOfNoise(benchmark::State& State) {
    TPixelGraphic Composed;
    MakeNoise(Composed, 640, 400);
    for (auto _ : State) {
        ReduceLogo(Composed);
    }
}
BENCHMARK(BM_LogoReductionOfNoise)->Unit(benchmark::kMillisecond);

void BM_StretchLargeToBackground(benchmark::State& State) {
    TPixelGraphic Source, Target;
    MakeNoise(Source, 4000, 3000);
    Target.SetSize(640, 400, bc24);
    Target.SetStretchMode(static_cast<TStretchMode>(State.range(0)));
    for (auto _ : State) {
        Target.StretchFrom(Source);
        benchmark::DoNotOptimize(Target.ScanLines());
    }
    State.SetBytesProcessed(static_cast<int64_t>(State.iterations()) * Source.ImageSize());
}
BENCHMARK(BM_StretchLargeToBackground)
    ->Arg(smPrecise)
    ->Arg(smMedium)
    ->Arg(smFast)
    ->Unit(benchmark::kMillisecond);

void BM_NearestIndexCached(benchmark::State& State) {
    TPixelGraphic Image;
    Image.SetSize(1, 1, bc8);
    Image.SetPaletteCount(256);
    std::mt19937 Rng(3);
    for (int I = 0; I < 256; ++I) {
        Image.SetPaletteColors(I, static_cast<TColor>(Rng() & 0xFFFFFF));
    }
    std::vector<TColor> Colors(1 << 16);
    for (auto& C : Colors) {
        C = static_cast<TColor>(Rng() & 0xFFFFFF);
    }
    // Warm up: every cell of the cache becomes valid.
    for (int Cell = 0; Cell < 65536; ++Cell) {
        Image.NearestIndex(RGB((Cell >> 11) * 8, ((Cell >> 5) & 63) * 4, (Cell & 31) * 8));
    }
    std::size_t I = 0;
    for (auto _ : State) {
        benchmark::DoNotOptimize(Image.NearestIndex(Colors[I++ & 0xFFFF]));
    }
}
BENCHMARK(BM_NearestIndexCached);

// An optimised palette of Count colours for a 640 x 400 8-bit image whose 256 palette entries
// are random colours, every one of them used.
void BM_OptimizedPaletteOfPaletteImage(benchmark::State& State) {
    TPixelGraphic Source, Target;
    Source.SetSize(640, 400, bc8);
    Source.SetPaletteCount(256);
    std::mt19937 Rng(5);
    for (int I = 0; I < 256; ++I) {
        Source.SetPaletteColors(I, static_cast<TColor>(Rng() & 0xFFFFFF));
    }
    for (int Y = 0; Y < 400; ++Y) {
        std::uint8_t* P = Source.ScanLine(Y);
        for (int X = 0; X < 640; ++X) {
            P[X] = static_cast<std::uint8_t>(Rng());
        }
    }
    Target.SetSize(1, 1, bc8);
    const auto Count = static_cast<int>(State.range(0));
    for (auto _ : State) {
        Target.CreateOptimizedPalette(Source, Count, false);
        benchmark::DoNotOptimize(Target.PaletteCount());
    }
}
BENCHMARK(BM_OptimizedPaletteOfPaletteImage)->Arg(240)->Arg(16)->Unit(benchmark::kMicrosecond);

} // namespace
