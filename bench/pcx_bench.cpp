// Loading large run-length encoded PCX files.

#include "format_bench_util.h"

#include <cstring>

namespace {

void Put16(std::vector<std::uint8_t>& Out, std::size_t At, int Value) {
    Out[At] = static_cast<std::uint8_t>(Value);
    Out[At + 1] = static_cast<std::uint8_t>(Value >> 8);
}

// Encodes one plane of a row: runs of up to 63, bytes from 0xC0 up always as runs.
void EncodePlane(std::vector<std::uint8_t>& Out, const std::uint8_t* Plane, std::size_t Length) {
    for (std::size_t I = 0; I < Length;) {
        std::size_t N = 1;
        while (I + N < Length && Plane[I + N] == Plane[I] && N < 63) {
            ++N;
        }
        if (N > 1 || Plane[I] >= 0xC0) {
            Out.push_back(static_cast<std::uint8_t>(0xC0 | N));
        }
        Out.push_back(Plane[I]);
        I += N;
    }
}

// A 24-bit file: three planes of red, green, blue per row, bytes per line even.
std::vector<std::uint8_t> TrueColorPcx(const TPixelGraphic& Image) {
    const int Width = Image.Width();
    const auto Line = static_cast<std::size_t>(Width + Width % 2);
    std::vector<std::uint8_t> Out(128, 0);
    Out[0] = 0x0A;
    Out[1] = 5;
    Out[2] = 1;
    Out[3] = 8;
    Put16(Out, 8, Width - 1);
    Put16(Out, 10, Image.Height() - 1);
    Out[65] = 3;
    Put16(Out, 66, static_cast<int>(Line));
    Put16(Out, 68, 1);
    std::vector<std::uint8_t> Plane(Line, 0);
    for (int Y = 0; Y < Image.Height(); ++Y) {
        const std::uint8_t* Row = Image.ScanLine(Y);
        for (int Channel = 2; Channel >= 0; --Channel) {
            for (int X = 0; X < Width; ++X) {
                Plane[static_cast<std::size_t>(X)] = Row[3 * X + Channel];
            }
            EncodePlane(Out, Plane.data(), Line);
        }
    }
    return Out;
}

const std::vector<std::uint8_t>& RunLengthTrueColor() {
    static const std::vector<std::uint8_t> Bytes = [] {
        TPixelGraphic Image;
        MakePhotoLike(Image, kBenchWidth, kBenchHeight);
        return TrueColorPcx(Image);
    }();
    return Bytes;
}

void BM_PcxLoadRle24(benchmark::State& State) {
    State.counters["file_mb"] = static_cast<double>(RunLengthTrueColor().size()) / 1e6;
    LoadLoop(State, RunLengthTrueColor(), "pcx");
}
BENCHMARK(BM_PcxLoadRle24)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PcxReadRle24(benchmark::State& State) {
    ReadLoop(State, RunLengthTrueColor(), "pcx");
}
BENCHMARK(BM_PcxReadRle24)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
