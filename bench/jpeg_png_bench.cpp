// Speed of JPEG and PNG reading and writing against the libraries alone: a 4000 x 3000 picture
// loaded from and written to memory through our adapters, and the same work done with libjpeg
// and libpng called directly (same settings; decoding into a fresh buffer per run, as the load
// pipeline sizes a fresh image, and into one buffer already in memory). djpeg's wall time on the
// same file is measured as well.

#include "format_bench_util.h"
#include "pgraphic/formats/jpeg/jpeg.h"
#include "pgraphic/formats/png/png.h"

// clang-format off
#include <cstddef>
#include <cstdio>
#include <jpeglib.h>
// clang-format on

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <png.h>
#include <unistd.h>

namespace {

TPixelGraphic& Picture() {
    static TPixelGraphic Image;
    if (Image.IsEmpty()) {
        MakePhotoLike(Image, kBenchWidth, kBenchHeight);
    }
    return Image;
}

const std::vector<std::uint8_t>& JpegFile() {
    static const std::vector<std::uint8_t> Bytes = Saved(Picture(), "jpg");
    return Bytes;
}

const std::vector<std::uint8_t>& PngFile() {
    static const std::vector<std::uint8_t> Bytes = Saved(Picture(), "png");
    return Bytes;
}

std::size_t PixelBytes() {
    return static_cast<std::size_t>(kBenchWidth) * kBenchHeight * 3;
}

// --- JPEG ----------------------------------------------------------------------------------------

void BM_LoadJpeg(benchmark::State& State) {
    LoadLoop(State, JpegFile(), "jpg");
}

// libjpeg alone: slow integer transform, blue-green-red rows into Pixels, one row a call.
void LibjpegDecode(std::uint8_t* Pixels) {
    const auto& Bytes = JpegFile();
    jpeg_decompress_struct Info{};
    jpeg_error_mgr Error{};
    Info.err = jpeg_std_error(&Error);
    jpeg_CreateDecompress(&Info, JPEG_LIB_VERSION, sizeof(Info));
    jpeg_mem_src(&Info, Bytes.data(), static_cast<unsigned long>(Bytes.size()));
    jpeg_read_header(&Info, TRUE);
    Info.dct_method = JDCT_ISLOW;
    Info.out_color_space = JCS_EXT_BGR;
    jpeg_start_decompress(&Info);
    const std::size_t Stride = static_cast<std::size_t>(Info.output_width) * 3;
    while (Info.output_scanline < Info.output_height) {
        JSAMPROW Row = Pixels + Stride * Info.output_scanline;
        jpeg_read_scanlines(&Info, &Row, 1);
    }
    jpeg_finish_decompress(&Info);
    jpeg_destroy_decompress(&Info);
}

// Into a fresh buffer each time, as the load pipeline sizes a fresh image.
void BM_LibjpegDecode(benchmark::State& State) {
    for (auto _ : State) {
        std::unique_ptr<std::uint8_t[]> Pixels(new std::uint8_t[PixelBytes()]);
        LibjpegDecode(Pixels.get());
        benchmark::DoNotOptimize(Pixels.get());
    }
    State.SetBytesProcessed(static_cast<std::int64_t>(State.iterations() * PixelBytes()));
}

// Into one buffer, already in memory: the decoding alone.
void BM_LibjpegDecodeWarmBuffer(benchmark::State& State) {
    std::vector<std::uint8_t> Pixels(PixelBytes());
    for (auto _ : State) {
        LibjpegDecode(Pixels.data());
        benchmark::DoNotOptimize(Pixels.data());
    }
    State.SetBytesProcessed(static_cast<std::int64_t>(State.iterations() * PixelBytes()));
}

// djpeg as a program on the same file, output discarded: wall time, process start included.
void BM_DjpegProgram(benchmark::State& State) {
    const auto File = std::filesystem::temp_directory_path() /
                      ("vespera_bench_" + std::to_string(::getpid()) + ".jpg");
    std::ofstream(File, std::ios::binary)
        .write(reinterpret_cast<const char*>(JpegFile().data()),
               static_cast<std::streamsize>(JpegFile().size()));
    const std::string Command = "djpeg -dct int -outfile /dev/null " + File.string();
    for (auto _ : State) {
        if (std::system(Command.c_str()) != 0) {
            State.SkipWithError("djpeg failed or is missing");
            break;
        }
    }
    std::filesystem::remove(File);
}

void BM_SaveJpeg(benchmark::State& State) {
    TJPGFileFormatWriter Writer;
    for (auto _ : State) {
        TMemoryStream Stream;
        Writer.WriteImage(Stream, Picture());
        benchmark::DoNotOptimize(Stream.Memory());
    }
    State.SetBytesProcessed(static_cast<std::int64_t>(State.iterations() * PixelBytes()));
}

// libjpeg alone: quality 80 with baseline tables, floating-point transform, rows as stored.
void BM_LibjpegEncode(benchmark::State& State) {
    TPixelGraphic& Image = Picture();
    for (auto _ : State) {
        jpeg_compress_struct Info{};
        jpeg_error_mgr Error{};
        Info.err = jpeg_std_error(&Error);
        jpeg_CreateCompress(&Info, JPEG_LIB_VERSION, sizeof(Info));
        unsigned char* Buffer = nullptr;
        unsigned long Size = 0;
        jpeg_mem_dest(&Info, &Buffer, &Size);
        Info.image_width = kBenchWidth;
        Info.image_height = kBenchHeight;
        Info.input_components = 3;
        Info.in_color_space = JCS_EXT_BGR;
        jpeg_set_defaults(&Info);
        jpeg_set_quality(&Info, 80, TRUE);
        Info.dct_method = JDCT_FLOAT;
        jpeg_start_compress(&Info, TRUE);
        while (Info.next_scanline < Info.image_height) {
            JSAMPROW Row = Image.ScanLine(static_cast<int>(Info.next_scanline));
            jpeg_write_scanlines(&Info, &Row, 1);
        }
        jpeg_finish_compress(&Info);
        jpeg_destroy_compress(&Info);
        benchmark::DoNotOptimize(Buffer);
        std::free(Buffer);
    }
    State.SetBytesProcessed(static_cast<std::int64_t>(State.iterations() * PixelBytes()));
}

// --- PNG -----------------------------------------------------------------------------------------

void BM_LoadPng(benchmark::State& State) {
    LoadLoop(State, PngFile(), "png");
}

struct TMemoryInput {
    const std::vector<std::uint8_t>* Bytes;
    std::size_t Position;
};

void ReadMemory(png_structp Png, png_bytep Data, std::size_t Length) {
    auto& In = *static_cast<TMemoryInput*>(png_get_io_ptr(Png));
    if (In.Position + Length > In.Bytes->size()) {
        png_error(Png, "Read Error");
    }
    std::memcpy(Data, In.Bytes->data() + In.Position, Length);
    In.Position += Length;
}

void WriteMemory(png_structp Png, png_bytep Data, std::size_t Length) {
    auto& Out = *static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(Png));
    Out.insert(Out.end(), Data, Data + Length);
}

// libpng alone: blue-green-red rows into Pixels, one row a call; false when libpng failed.
bool LibpngDecode(std::uint8_t* Pixels) {
    TMemoryInput In{&PngFile(), 0};
    png_structp Png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop Info = png_create_info_struct(Png);
    if (setjmp(png_jmpbuf(Png)) != 0) {
        png_destroy_read_struct(&Png, &Info, nullptr);
        return false;
    }
    png_set_read_fn(Png, &In, ReadMemory);
    png_read_info(Png, Info);
    png_set_bgr(Png);
    png_read_update_info(Png, Info);
    const std::size_t Stride = png_get_rowbytes(Png, Info);
    for (std::size_t Row = 0; Row < kBenchHeight; ++Row) {
        png_read_row(Png, Pixels + Stride * Row, nullptr);
    }
    png_read_end(Png, nullptr);
    png_destroy_read_struct(&Png, &Info, nullptr);
    return true;
}

void BM_LibpngDecode(benchmark::State& State) {
    for (auto _ : State) {
        std::unique_ptr<std::uint8_t[]> Pixels(new std::uint8_t[PixelBytes()]);
        if (!LibpngDecode(Pixels.get())) {
            State.SkipWithError("libpng failed");
            break;
        }
        benchmark::DoNotOptimize(Pixels.get());
    }
    State.SetBytesProcessed(static_cast<std::int64_t>(State.iterations() * PixelBytes()));
}

void BM_LibpngDecodeWarmBuffer(benchmark::State& State) {
    std::vector<std::uint8_t> Pixels(PixelBytes());
    for (auto _ : State) {
        if (!LibpngDecode(Pixels.data())) {
            State.SkipWithError("libpng failed");
            break;
        }
        benchmark::DoNotOptimize(Pixels.data());
    }
    State.SetBytesProcessed(static_cast<std::int64_t>(State.iterations() * PixelBytes()));
}

void BM_SavePng(benchmark::State& State) {
    TPNGFileFormatWriter Writer;
    for (auto _ : State) {
        TMemoryStream Stream;
        Writer.WriteImage(Stream, Picture());
        benchmark::DoNotOptimize(Stream.Memory());
    }
    State.SetBytesProcessed(static_cast<std::int64_t>(State.iterations() * PixelBytes()));
}

// libpng alone: RGB, 8 bits, a gamma chunk, default compression, rows as stored.
void BM_LibpngEncode(benchmark::State& State) {
    TPixelGraphic& Image = Picture();
    for (auto _ : State) {
        std::vector<std::uint8_t> Out;
        png_structp Png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
        png_infop Info = png_create_info_struct(Png);
        if (setjmp(png_jmpbuf(Png)) != 0) {
            State.SkipWithError("libpng failed");
            png_destroy_write_struct(&Png, &Info);
            break;
        }
        png_set_write_fn(Png, &Out, WriteMemory, nullptr);
        png_set_IHDR(Png, Info, kBenchWidth, kBenchHeight, 8, PNG_COLOR_TYPE_RGB,
                     PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_set_gAMA(Png, Info, 1 / 1.8);
        png_write_info(Png, Info);
        png_set_bgr(Png);
        for (int Row = 0; Row < kBenchHeight; ++Row) {
            png_write_row(Png, Image.ScanLine(Row));
        }
        png_write_end(Png, nullptr);
        png_destroy_write_struct(&Png, &Info);
        benchmark::DoNotOptimize(Out.data());
    }
    State.SetBytesProcessed(static_cast<std::int64_t>(State.iterations() * PixelBytes()));
}

} // namespace

BENCHMARK(BM_LoadJpeg)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LibjpegDecode)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LibjpegDecodeWarmBuffer)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DjpegProgram)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SaveJpeg)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LibjpegEncode)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadPng)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LibpngDecode)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LibpngDecodeWarmBuffer)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SavePng)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LibpngEncode)->Unit(benchmark::kMillisecond);
