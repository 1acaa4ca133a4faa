#pragma once

// Test pictures and the load loop shared by the file-format benchmarks.

#include "core/stream.h"
#include "pgraphic/formats/registry.h"
#include "pgraphic/image/pixel_graphic.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdint>
#include <string>
#include <vector>

constexpr int kBenchWidth = 4000;
constexpr int kBenchHeight = 3000;

// A photograph-like true-colour picture: smooth gradients, flat areas as large as a sky and
// neighbouring pixels that often repeat, so run-length coders find both runs and literals.
inline void MakePhotoLike(TPixelGraphic& Image, int Width, int Height) {
    Image.SetSize(Width, Height, bc24);
    for (int Y = 0; Y < Height; ++Y) {
        std::uint8_t* P = Image.ScanLine(Y);
        for (int X = 0; X < Width; ++X, P += 3) {
            const bool Sky = Y < Height / 3;
            const int Step = X / 3;
            P[0] = static_cast<std::uint8_t>(Sky ? 230 : (Step * 7 + Y) % 256);
            P[1] = static_cast<std::uint8_t>(Sky ? 180 : (Step * 3 + Y / 2) % 256);
            P[2] = static_cast<std::uint8_t>(Sky ? 120 : std::min(255, Y / 12 + (Step & 15)));
        }
    }
}

inline std::vector<std::uint8_t> Saved(TPixelGraphic& Image, const std::string& Extension) {
    TMemoryStream Stream;
    Image.SaveToStreamExt(Stream, Extension);
    return Stream.Bytes();
}

// Loads the file from memory through the load pipeline once per iteration; the rate is that of
// decoded pixel bytes (3 per pixel).
inline void LoadLoop(benchmark::State& State, const std::vector<std::uint8_t>& Bytes,
                     const std::string& Extension) {
    TPixelGraphic Image;
    for (auto _ : State) {
        TBlockStream Stream(static_cast<const void*>(Bytes.data()),
                            static_cast<std::int64_t>(Bytes.size()));
        Image.LoadFromStreamExt(Stream, Extension, 0);
        benchmark::DoNotOptimize(Image.ScanLines());
    }
    State.SetBytesProcessed(static_cast<std::int64_t>(State.iterations()) * 3 * Image.Width() *
                            Image.Height());
}

// The reader alone, into an image of the file's size kept from one iteration to the next: the
// decoding without the fresh allocation the load pipeline makes for every file.
inline void ReadLoop(benchmark::State& State, const std::vector<std::uint8_t>& Bytes,
                     const std::string& Extension) {
    TBlockStream Stream(static_cast<const void*>(Bytes.data()),
                        static_cast<std::int64_t>(Bytes.size()));
    const TFileFormatReader* Reader = FindFileFormatReader(Stream, Extension);
    if (Reader == nullptr) {
        State.SkipWithError("no reader");
        return;
    }
    TPixelGraphic Image;
    for (auto _ : State) {
        Stream.SetPosition(0);
        Reader->ReadImage(Stream, Image, 0);
        benchmark::DoNotOptimize(Image.ScanLines());
    }
    State.SetBytesProcessed(static_cast<std::int64_t>(State.iterations()) * 3 * Image.Width() *
                            Image.Height());
}
