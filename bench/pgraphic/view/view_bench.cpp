// Speed of the image view control: showing a logo in a settings-window preview, preparing the
// display copy of a large picture for a 256-colour display, and cancelling that preparation.

#include "pgraphic/image/pixel_graphic.h"
#include "pgraphic/view/image_view/paint_pg_thread.h"
#include "pgraphic/view/image_view/pg_image.h"
#include "platform/display.h"

#include <QApplication>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <memory>
#include <thread>

namespace {

// A picture with smooth gradients and fine detail, as photographs have.
std::unique_ptr<TPixelGraphic> Photo(int Width, int Height) {
    auto Picture = std::make_unique<TPixelGraphic>();
    Picture->SetSize(Width, Height, bc24);
    for (int Y = 0; Y < Height; ++Y) {
        std::uint8_t* Row = Picture->ScanLine(Y);
        for (int X = 0; X < Width; ++X) {
            Row[3 * X] = static_cast<std::uint8_t>(X * 255 / Width);
            Row[3 * X + 1] = static_cast<std::uint8_t>(Y * 255 / Height);
            Row[3 * X + 2] = static_cast<std::uint8_t>((X ^ Y) & 0xFF);
        }
    }
    return Picture;
}

// The settings window at every keystroke: a new 640 x 400 logo into a 320 x 200 preview that
// stretches it, painted once.
void BM_AssignAndPaintLogo(benchmark::State& State) {
    SetScreenColorDepth(24);
    TPGImage View;
    View.SetBorderStyle(bsNone);
    View.SetStretch(sAlways);
    View.resize(320, 200);
    View.show();
    QApplication::processEvents();
    const auto Logo = Photo(640, 400);
    for (auto _ : State) {
        View.SetPixelGraphic(Logo.get());
        View.viewport()->repaint();
    }
    SetScreenColorDepth(0);
}
BENCHMARK(BM_AssignAndPaintLogo)->Unit(benchmark::kMillisecond);

// The display copy of a 4000 x 3000 photograph for a 256-colour display: optimised palette and
// dithering, made inside the paint (the work the worker thread does).
void BM_PrepareFor8BitDisplay(benchmark::State& State) {
    SetScreenColorDepth(8);
    TPGImage View;
    View.SetUseThread(false);
    View.SetBorderStyle(bsNone);
    View.resize(400, 300);
    const auto Picture = Photo(4000, 3000);
    View.SetPixelGraphic(Picture.get());
    for (auto _ : State) {
        State.PauseTiming();
        View.DisplayChanged();
        State.ResumeTiming();
        View.CheckPaintPixelGraphic();
        benchmark::DoNotOptimize(View.PaintPixelGraphic());
    }
    SetScreenColorDepth(0);
}
BENCHMARK(BM_PrepareFor8BitDisplay)->Unit(benchmark::kMillisecond);

// Stopping a preparation of the same picture on its thread Delay milliseconds after it began:
// terminate, then wait for the thread.
void BM_CancelPreparation(benchmark::State& State) {
    const auto Picture = Photo(4000, 3000);
    const auto Delay = std::chrono::milliseconds(State.range(0));
    QObject Window; // receives the progress reports (never handled here)
    double Longest = 0;
    for (auto _ : State) {
        TCreatePaintPGThread Thread;
        Thread.SetInactive(false);
        Thread.SetPostMessages(true);
        Thread.SetTargetWindow(&Window);
        Thread.SetSource(Picture.get());
        TPixelGraphic& Target = Thread.CreateTarget();
        Target.SetSize(4000, 3000, bc8);
        Thread.SetOptimizePalette(true);
        Thread.Resume();
        std::this_thread::sleep_for(Delay);
        const auto Start = std::chrono::steady_clock::now();
        Thread.Terminate();
        Thread.WaitFor();
        const std::chrono::duration<double> Stopped = std::chrono::steady_clock::now() - Start;
        State.SetIterationTime(Stopped.count());
        Longest = std::max(Longest, Stopped.count());
    }
    State.counters["longest_ms"] = Longest * 1000;
}
// Delays that stop it while the palette is computed, while the picture is reduced, and near
// the end.
BENCHMARK(BM_CancelPreparation)
    ->Arg(5)
    ->Arg(40)
    ->Arg(120)
    ->Arg(200)
    ->Iterations(10)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace
