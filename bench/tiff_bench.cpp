// Loading and writing large TIFF files, and pgconv against ImageMagick's convert on one file.

#include "format_bench_util.h"
#include "pgraphic/formats/tiff/tiff.h"

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

const std::vector<std::uint8_t>& File(std::uint32_t Compression) {
    static std::vector<std::uint8_t> Files[2];
    std::vector<std::uint8_t>& Bytes = Files[Compression == 1 ? 0 : 1];
    if (Bytes.empty()) {
        TPixelGraphic Image;
        MakePhotoLike(Image, kBenchWidth, kBenchHeight);
        SetTIFFCompression(Compression);
        Bytes = Saved(Image, "tif");
        SetTIFFCompression(1);
    }
    return Bytes;
}

void BM_TiffLoadUncompressed24(benchmark::State& State) {
    LoadLoop(State, File(1), "tif");
}
BENCHMARK(BM_TiffLoadUncompressed24)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_TiffReadUncompressed24(benchmark::State& State) {
    ReadLoop(State, File(1), "tif");
}
BENCHMARK(BM_TiffReadUncompressed24)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_TiffLoadPackBits24(benchmark::State& State) {
    LoadLoop(State, File(32773), "tif");
}
BENCHMARK(BM_TiffLoadPackBits24)->Unit(benchmark::kMillisecond)->UseRealTime();

// The writer alone into a memory stream; the rate is that of pixel bytes written.
void WriteLoop(benchmark::State& State, std::uint32_t Compression) {
    TPixelGraphic Image;
    MakePhotoLike(Image, kBenchWidth, kBenchHeight);
    SetTIFFCompression(Compression);
    TTIFFileFormatWriter Writer;
    std::int64_t Size = 0;
    for (auto _ : State) {
        TMemoryStream Stream;
        Writer.WriteImage(Stream, Image);
        Size = Stream.Size();
        benchmark::DoNotOptimize(Size);
    }
    SetTIFFCompression(1);
    State.counters["file_bytes"] = static_cast<double>(Size);
    State.SetBytesProcessed(static_cast<std::int64_t>(State.iterations()) * 3 * kBenchWidth *
                            kBenchHeight);
}

void BM_TiffWriteUncompressed24(benchmark::State& State) {
    WriteLoop(State, 1);
}
BENCHMARK(BM_TiffWriteUncompressed24)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_TiffWritePackBits24(benchmark::State& State) {
    WriteLoop(State, 32773);
}
BENCHMARK(BM_TiffWritePackBits24)->Unit(benchmark::kMillisecond)->UseRealTime();

// --- pgconv and ImageMagick on the same file ------------------------------------------------

// Runs a program with its output thrown away; false when it cannot be started or fails.
bool RunQuietly(const std::vector<std::string>& Argv) {
    std::vector<char*> Args;
    for (const std::string& A : Argv) {
        Args.push_back(const_cast<char*>(A.c_str()));
    }
    Args.push_back(nullptr);
    posix_spawn_file_actions_t Actions;
    posix_spawn_file_actions_init(&Actions);
    posix_spawn_file_actions_addopen(&Actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&Actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t Child = 0;
    const int Error = posix_spawnp(&Child, Args[0], &Actions, nullptr, Args.data(), environ);
    posix_spawn_file_actions_destroy(&Actions);
    int Status = 0;
    return Error == 0 && ::waitpid(Child, &Status, 0) == Child && WIFEXITED(Status) &&
           WEXITSTATUS(Status) == 0;
}

// The 4000 x 3000 uncompressed file on disk, and a place for the converted copy.
std::string TiffOnDisk() {
    static const std::string Path = [] {
        const auto Dir = std::filesystem::temp_directory_path() /
                         ("vespera_tiff_bench_" + std::to_string(::getpid()));
        std::filesystem::create_directories(Dir);
        const std::string Name = (Dir / "photo.tif").string();
        const auto& Bytes = File(1);
        TFileStream Out(Name, TFileMode::fmCreate);
        Out.WriteBuffer(Bytes.data(), static_cast<std::int64_t>(Bytes.size()));
        return Name;
    }();
    return Path;
}

// Runs Command followed by the input and output file once per iteration (after one run that
// must succeed), timing the whole process.
void ConvertLoop(benchmark::State& State, std::vector<std::string> Command) {
    const std::string In = TiffOnDisk();
    Command.push_back(In);
    Command.push_back(In + ".out.tif");
    if (!RunQuietly(Command)) {
        State.SkipWithError((Command[0] + " did not run").c_str());
        return;
    }
    for (auto _ : State) {
        if (!RunQuietly(Command)) {
            State.SkipWithError("conversion failed");
            break;
        }
    }
}

// pgconv convert photo.tif photo.out.tif: process start, load, save.
void BM_PgconvConvertTiff(benchmark::State& State) {
    ConvertLoop(State, {PGCONV_PATH, "convert"});
}
BENCHMARK(BM_PgconvConvertTiff)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

// ImageMagick's convert on the same file: Debian's binary itself when it is there (a wrapper
// earlier in PATH would add its own start-up), otherwise whatever PATH finds.
void BM_ImageMagickConvertTiff(benchmark::State& State) {
    const std::string Program =
        std::filesystem::exists("/usr/bin/convert") ? "/usr/bin/convert" : "convert";
    ConvertLoop(State, {Program});
}
BENCHMARK(BM_ImageMagickConvertTiff)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

} // namespace
