// Loading and saving large Targa files, and pgconv against ImageMagick's convert on one file.

#include "format_bench_util.h"
#include "tests/support/run_process.h"

#include <filesystem>
#include <unistd.h>

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

// The 4000 x 3000 uncompressed file on disk, in a folder removed when the program ends; the
// converted copy goes beside it.
const std::string& TgaOnDisk() {
    struct TFolder {
        std::filesystem::path Path = std::filesystem::temp_directory_path() /
                                     ("vespera_tga_bench_" + std::to_string(::getpid()));
        TFolder() { std::filesystem::create_directories(Path); }
        TFolder(const TFolder&) = delete;
        TFolder& operator=(const TFolder&) = delete;
        ~TFolder() { std::filesystem::remove_all(Path); }
    };
    static const TFolder Folder;
    static const std::string Name = [] {
        const std::string File = (Folder.Path / "photo.tga").string();
        const auto& Bytes = UncompressedTrueColor();
        TFileStream Out(File, TFileMode::fmCreate);
        Out.WriteBuffer(Bytes.data(), static_cast<std::int64_t>(Bytes.size()));
        return File;
    }();
    return Name;
}

// Runs Command with the input and output file once per iteration (after one run that must
// succeed), timing the whole process: start, load, save.
void ConvertLoop(benchmark::State& State, std::vector<std::string> Command) {
    Command.push_back(TgaOnDisk());
    Command.push_back(TgaOnDisk() + ".out.tga");
    if (RunProcess(Command).ExitCode != 0) {
        State.SkipWithError((Command[0] + " did not run").c_str());
        return;
    }
    for (auto _ : State) {
        if (RunProcess(Command).ExitCode != 0) {
            State.SkipWithError("conversion failed");
            break;
        }
    }
}

void BM_PgconvConvertTga(benchmark::State& State) {
    ConvertLoop(State, {PGCONV_PATH, "convert"});
}
BENCHMARK(BM_PgconvConvertTga)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

// Debian's binary itself when it is there: a wrapper earlier in PATH adds its own start-up.
void BM_ImageMagickConvertTga(benchmark::State& State) {
    ConvertLoop(State,
                {std::filesystem::exists("/usr/bin/convert") ? "/usr/bin/convert" : "convert"});
}
BENCHMARK(BM_ImageMagickConvertTga)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

} // namespace
