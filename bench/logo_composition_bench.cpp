// Speed of composing the logos, as the settings window recomposes them at every keystroke: one
// logo from scratch (gradient background, two-line text with a shadow) and both logos from their
// kept backgrounds after a text change. Real fonts through fontconfig, offscreen.

#include "app/composition/background.h"
#include "app/composition/logo_text.h"
#include "app/logo/logo_image.h"
#include "app/logo/startup_logo.h"
#include "app/vespera_app.h"
#include "pgraphic/image/pixel_graphic.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace {

const std::string kQuestion =
    "What has keys but opens no doors?\r\nAnd what has a neck but no head?";
const std::string kAnswer = "A keyboard.\r\nA bottle.";

// A logo's settings: a gradient and two lines of text with a shadow.
TLogoValues SampleLogo(TColor GradientBottom) {
    TLogoValues V;
    V.Font = "Arial";
    V.Size = 18;
    V.TextColor = RGB(0, 255, 0);
    V.ShadowColor = RGB(0, 0, 0);
    V.Effect = TTextEffect::Shadow;
    V.Position = TTextPosition::Middle;
    V.GradientTop = RGB(0, 128, 128);
    V.GradientBottom = GradientBottom;
    V.Background = TBackgroundKind::Degraded;
    return V;
}

void DrawSampleText(TPixelGraphic& Image, const TLogoValues& Logo) {
    const TTextInfo T[] = {{&Logo, kQuestion}};
    DrawLogoText(Image, T);
}

void BM_ComposeOneLogo(benchmark::State& State) {
    TPixelGraphic Back;
    Back.SetSize(kComposedLogoWidth, kLogoHeight, bc24);
    TPixelGraphic Logo;
    Logo.SetSize(kComposedLogoWidth, kLogoHeight, bc24);
    const TLogoValues Values = SampleLogo(RGB(0, 128, 0));
    for (auto _ : State) {
        BuildBackground(Back, Values);
        Logo.StretchFrom(Back);
        DrawSampleText(Logo, Values);
        benchmark::DoNotOptimize(Logo.ScanLine(0)); // flushes the drawing into the pixels
    }
}
BENCHMARK(BM_ComposeOneLogo)->Unit(benchmark::kMillisecond);

// A logo as the settings window composes it: a gradient with two lines of text.
void ComposeSampleLogo(TPixelGraphic& Logo) {
    TPixelGraphic Back;
    Back.SetSize(kComposedLogoWidth, kLogoHeight, bc24);
    const TLogoValues Values = SampleLogo(RGB(255, 255, 0));
    BuildBackground(Back, Values);
    Logo.SetSize(kComposedLogoWidth, kLogoHeight, bc24);
    Logo.StretchFrom(Back);
    DrawSampleText(Logo, Values);
}

// Step (Source, Target) repeated on a sample composed logo, into the same target every time.
template <typename TStep>
void StepOnComposedLogo(benchmark::State& State, TStep Step) {
    TPixelGraphic Logo;
    ComposeSampleLogo(Logo);
    TPixelGraphic Target;
    for (auto _ : State) {
        Step(Logo, Target);
        benchmark::DoNotOptimize(Target.ScanLine(0));
    }
}

// A composed logo reduced to the installed format: halved in width, an optimised palette and a
// dithered 256-colour copy.
void BM_ReduceLogo(benchmark::State& State) {
    StepOnComposedLogo(State, ReduceLogo);
}
BENCHMARK(BM_ReduceLogo)->Unit(benchmark::kMillisecond);

// The same picture as a start-up logo with the system's band: the rows outside the band reduced
// to the entries before the animated ones, the band drawn in those.
void BM_ReduceStartupLogo(benchmark::State& State) {
    StepOnComposedLogo(State, [](const TPixelGraphic& Logo, TPixelGraphic& Installed) {
        ReduceStartupLogo(Logo, TStartupBand{}, Installed);
    });
}
BENCHMARK(BM_ReduceStartupLogo)->Unit(benchmark::kMillisecond);

// The same stretched back to 640 x 400, as a logo page shows it as installed.
void BM_InstalledLogoPreview(benchmark::State& State) {
    StepOnComposedLogo(State, InstalledLogoPreview);
}
BENCHMARK(BM_InstalledLogoPreview)->Unit(benchmark::kMillisecond);

// Both logos recomposed from their kept backgrounds, as a changed text or "Use" does.
void BM_ComposeBothAfterTextChange(benchmark::State& State) {
    const std::filesystem::path Folder =
        std::filesystem::temp_directory_path() / ("vespera-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(Folder);
    TProgramPlaces Places;
    Places.ProgramFile = (Folder / "vespera").string();
    Places.ProgramDir = Folder.string() + "/";
    Places.WindowsDir = Folder.string() + "/";
    TVesperaApp App;
    App.Start(Places, {"Liberation Sans"});
    App.Settings().Set({TLogo::First, TSetting::Background}, 1);
    App.Settings().Set({TLogo::First, TSetting::Line}, kQuestion);
    App.Settings().Set({TLogo::Last, TSetting::Line}, kAnswer);
    for (auto _ : State) {
        App.RecomposeLogo(TLogo::First);
        App.RecomposeLogo(TLogo::Last);
        benchmark::DoNotOptimize(App.Logo(TLogo::First).ScanLine(0));
        benchmark::DoNotOptimize(App.Logo(TLogo::Last).ScanLine(0));
    }
    std::filesystem::remove_all(Folder);
}
BENCHMARK(BM_ComposeBothAfterTextChange)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const QGuiApplication Application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
