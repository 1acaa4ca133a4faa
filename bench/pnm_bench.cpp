// Loading and saving large portable anymap files.

#include "format_bench_util.h"
#include "pgraphic/formats/pnm/pnm.h"

namespace {

std::vector<std::uint8_t> SavedPixmap(bool Raw) {
    TPixelGraphic Image;
    MakePhotoLike(Image, kBenchWidth, kBenchHeight);
    SetPxMBinary(Raw);
    std::vector<std::uint8_t> Bytes = Saved(Image, "ppm");
    SetPxMBinary(false);
    return Bytes;
}

void BM_PpmLoadRaw(benchmark::State& State) {
    static const std::vector<std::uint8_t> Bytes = SavedPixmap(true);
    LoadLoop(State, Bytes, "ppm");
}
BENCHMARK(BM_PpmLoadRaw)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PpmReadRaw(benchmark::State& State) {
    static const std::vector<std::uint8_t> Bytes = SavedPixmap(true);
    ReadLoop(State, Bytes, "ppm");
}
BENCHMARK(BM_PpmReadRaw)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PpmLoadPlain(benchmark::State& State) {
    static const std::vector<std::uint8_t> Bytes = SavedPixmap(false);
    LoadLoop(State, Bytes, "ppm");
}
BENCHMARK(BM_PpmLoadPlain)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PpmSave(benchmark::State& State) {
    TPixelGraphic Image;
    MakePhotoLike(Image, kBenchWidth, kBenchHeight);
    const bool Raw = State.range(0) != 0;
    SetPxMBinary(Raw);
    for (auto _ : State) {
        TMemoryStream Stream;
        Image.SaveToStreamExt(Stream, "ppm");
        benchmark::DoNotOptimize(Stream.Size());
    }
    SetPxMBinary(false);
    State.SetBytesProcessed(static_cast<std::int64_t>(State.iterations()) * 3 * kBenchWidth *
                            kBenchHeight);
}
BENCHMARK(BM_PpmSave)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
