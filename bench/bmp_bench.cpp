// Speed of BMP reading and writing: large true-colour and palette files loaded from memory, and
// the shutdown logo written to memory.

#include "core/stream.h"
#include "pgraphic/formats/bmp/bmp.h"
#include "pgraphic/image/pixel_graphic.h"

#include <benchmark/benchmark.h>
#include <cstring>
#include <random>

namespace {

constexpr int kBigWidth = 4000;
constexpr int kBigHeight = 3000;

void FillNoise(TPixelGraphic& Image) {
    std::mt19937 Rng(11);
    for (int Y = 0; Y < Image.Height(); ++Y) {
        std::uint8_t* P = Image.ScanLine(Y);
        for (std::uint32_t X = 0; X < Image.BytesPerLine(); ++X) {
            P[X] = static_cast<std::uint8_t>(Rng());
        }
    }
}

// The 4000 x 3000 24-bit file, made once.
const std::vector<std::uint8_t>& BigFile() {
    static const std::vector<std::uint8_t> Bytes = [] {
        TPixelGraphic Image;
        Image.SetSize(kBigWidth, kBigHeight, bc24);
        FillNoise(Image);
        TMemoryStream Stream;
        Image.SaveToStream(Stream);
        return Stream.Bytes();
    }();
    return Bytes;
}

// Gives Image a palette of Colors entries and folds its pixels into them, every entry used.
void UseColors(TPixelGraphic& Image, int Colors) {
    Image.SetPaletteCount(Colors);
    for (int Y = 0; Y < Image.Height(); ++Y) {
        std::uint8_t* P = Image.ScanLine(Y);
        for (int X = 0; X < Image.Width(); ++X) {
            P[X] = static_cast<std::uint8_t>(P[X] % Colors);
        }
    }
}

// The whole load pipeline: reader choice, header, one bulk read in ten parts into a new buffer.
void LoadEachTime(benchmark::State& State, const std::vector<std::uint8_t>& Bytes) {
    for (auto _ : State) {
        TBlockStream Stream(static_cast<const void*>(Bytes.data()),
                            static_cast<std::int64_t>(Bytes.size()));
        TPixelGraphic Image;
        Image.LoadFromStreamExt(Stream, "bmp", 0);
        benchmark::DoNotOptimize(Image.ScanLines());
    }
    State.SetBytesProcessed(State.iterations() * static_cast<std::int64_t>(Bytes.size()));
}

void BM_LoadBmp24FromMemory(benchmark::State& State) {
    LoadEachTime(State, BigFile());
}
BENCHMARK(BM_LoadBmp24FromMemory)->Unit(benchmark::kMillisecond);

// A 4000 x 3000 8-bit file of Colors palette entries whose pixels use them all, made once per
// count. With 256 entries the palette covers every index a pixel can hold; with fewer the load
// has to look at the pixels to know.
const std::vector<std::uint8_t>& PaletteFile(int Colors) {
    static std::vector<std::uint8_t> Files[257];
    auto& Bytes = Files[Colors];
    if (Bytes.empty()) {
        TPixelGraphic Image;
        Image.SetSize(kBigWidth, kBigHeight, bc8);
        FillNoise(Image);
        UseColors(Image, Colors);
        TMemoryStream Stream;
        Image.SaveToStream(Stream);
        Bytes = Stream.Bytes();
    }
    return Bytes;
}

void BM_LoadBmp8FromMemory(benchmark::State& State) {
    LoadEachTime(State, PaletteFile(static_cast<int>(State.range(0))));
}
BENCHMARK(BM_LoadBmp8FromMemory)->Arg(256)->Arg(252)->Unit(benchmark::kMillisecond);

// The floor the load cannot go under: the image sized as the reader sizes it and the pixel data
// copied into it in one piece. The load's excess over this is the cost of the pipeline, the
// header and the ten-part read.
void BM_SizeAndCopyFloor(benchmark::State& State) {
    const auto& Bytes = BigFile();
    for (auto _ : State) {
        TPixelGraphic Image;
        Image.SetSize(kBigWidth, kBigHeight, bc24);
        std::memcpy(Image.ScanLines(), Bytes.data() + 54, Image.ImageSize());
        benchmark::DoNotOptimize(Image.ScanLines());
    }
    State.SetBytesProcessed(State.iterations() * static_cast<std::int64_t>(Bytes.size()));
}
BENCHMARK(BM_SizeAndCopyFloor)->Unit(benchmark::kMillisecond);

// Sizing alone: the zeroed allocation that every load starts with.
void BM_SetSizeOnly(benchmark::State& State) {
    for (auto _ : State) {
        TPixelGraphic Image;
        Image.SetSize(kBigWidth, kBigHeight, bc24);
        benchmark::DoNotOptimize(Image.ScanLines());
    }
}
BENCHMARK(BM_SetSizeOnly)->Unit(benchmark::kMicrosecond);

// The installed logo: 320 x 400, 8 bits, through the BMP writer into memory; with 256 colours,
// and with 252, as a 256-colour conversion for other writers makes it.
void BM_WriteLogoToMemory(benchmark::State& State) {
    TPixelGraphic Logo;
    Logo.SetSize(320, 400, bc8);
    Logo.SetPaletteIdent(pGray256);
    FillNoise(Logo);
    const auto Colors = static_cast<int>(State.range(0));
    if (Colors < 256) {
        UseColors(Logo, Colors);
    }
    TBMPFileFormatWriter Writer;
    for (auto _ : State) {
        TMemoryStream Stream;
        Writer.WriteImage(Stream, Logo);
        benchmark::DoNotOptimize(Stream.Memory());
    }
    State.SetBytesProcessed(State.iterations() * (129078 - 4 * (256 - Colors)));
}
BENCHMARK(BM_WriteLogoToMemory)->Arg(256)->Arg(252)->Unit(benchmark::kMicrosecond);

// The same through the save pipeline, as the application writes it (writer lookup included).
void BM_SaveLogoThroughPipeline(benchmark::State& State) {
    TPixelGraphic Logo;
    Logo.SetSize(320, 400, bc8);
    Logo.SetPaletteIdent(pGray256);
    FillNoise(Logo);
    for (auto _ : State) {
        TMemoryStream Stream;
        Logo.SaveToStreamExt(Stream, "bmp");
        benchmark::DoNotOptimize(Stream.Memory());
    }
}
BENCHMARK(BM_SaveLogoThroughPipeline)->Unit(benchmark::kMicrosecond);

} // namespace
