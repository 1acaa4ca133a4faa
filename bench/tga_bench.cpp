// Loading and saving large Targa files.

#include "format_bench_util.h"

namespace {

const std::vector<std::uint8_t>& UncompressedTrueColor() {
    static const std::vector<std::uint8_t> Bytes = [] {
        TPixelGraphic Image;
        MakePhotoLike(Image, kBenchWidth, kBenchHeight);
        return Saved(Image, "tga");
    }();
    return Bytes;
}

void BM_TgaLoadUncompressed24(benchmark::State& State) {
    LoadLoop(State, UncompressedTrueColor(), "tga");
}
BENCHMARK(BM_TgaLoadUncompressed24)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_TgaReadUncompressed24(benchmark::State& State) {
    ReadLoop(State, UncompressedTrueColor(), "tga");
}
BENCHMARK(BM_TgaReadUncompressed24)->Unit(benchmark::kMillisecond)->UseRealTime();

// Top-down files take the same straight path; right-to-left files go pixel by pixel.
void BM_TgaLoadRightToLeft24(benchmark::State& State) {
    std::vector<std::uint8_t> Bytes = UncompressedTrueColor();
    Bytes[17] = 0x10;
    LoadLoop(State, Bytes, "tga");
}
BENCHMARK(BM_TgaLoadRightToLeft24)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_TgaSave24(benchmark::State& State) {
    TPixelGraphic Image;
    MakePhotoLike(Image, kBenchWidth, kBenchHeight);
    for (auto _ : State) {
        TMemoryStream Stream;
        Image.SaveToStreamExt(Stream, "tga");
        benchmark::DoNotOptimize(Stream.Size());
    }
    State.SetBytesProcessed(static_cast<std::int64_t>(State.iterations()) * 3 * kBenchWidth *
                            kBenchHeight);
}
BENCHMARK(BM_TgaSave24)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
