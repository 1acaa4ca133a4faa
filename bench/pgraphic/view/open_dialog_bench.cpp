// Speed of the picture open dialog's preview on a 4000 x 3000 photograph: from the end of the
// 150 ms rest to the preview painted in its panel (with the resampling the settings window uses
// and with the default one), and how long moving on to another item takes while the photograph
// loads (the worker is stopped before the selection changes).
//
// The benchmarks run inside the dialog's own window (Execute), which they close at the end.

#include "pgraphic/view/open_dialog/pg_open_dialog.h"
#include "platform/display.h"
#include "tests/pgraphic/view/open_dialog/open_dialog_test_util.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

QTemporaryDir* Folder = nullptr;
TPGOpenDialog* Dialog = nullptr;

std::string Path(const char* Name) {
    return Folder->filePath(Name).toStdString();
}

// Moves to the item of Name in the file list, as the arrow keys do: the selection changes.
void Select(const char* Name) {
    QFileDialog& Window = *Dialog->DialogWindow();
    auto* Model = Window.findChild<QFileSystemModel*>();
    for (auto* View : Window.findChildren<QAbstractItemView*>()) {
        if (View->isVisible() && View->model() == Model) {
            View->setCurrentIndex(Model->index(QString::fromStdString(Path(Name))));
        }
    }
}

void WaitForPreview() {
    while (Dialog->Preview() == nullptr) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
}

// From the end of the rest (the dialog reads the description and starts the worker) to the
// preview painted, with the resampling given.
void BM_PreviewAfterRest(benchmark::State& State) {
    Dialog->SetStretchMode(static_cast<TStretchMode>(State.range(0)));
    double Longest = 0;
    for (auto _ : State) {
        Select("small.bmp");
        Select("photo.jpg");
        const auto Start = Clock::now();
        Dialog->LoadPreview();
        WaitForPreview();
        Dialog->PreviewPanel()->repaint();
        const std::chrono::duration<double> Took = Clock::now() - Start;
        State.SetIterationTime(Took.count());
        Longest = std::max(Longest, Took.count());
    }
    State.counters["longest_ms"] = Longest * 1000;
    State.counters["file_mb"] =
        static_cast<double>(QFileInfo(Folder->filePath("photo.jpg")).size()) / 1e6;
    Dialog->SetStretchMode(smPrecise);
}
BENCHMARK(BM_PreviewAfterRest)
    ->ArgName("StretchMode")
    ->Arg(smFast)
    ->Arg(smPrecise)
    ->Iterations(10)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// Moving on to another item Delay milliseconds after the photograph began to load.
void BM_MoveOnDuringLoad(benchmark::State& State) {
    Dialog->SetStretchMode(smFast);
    const auto Delay = std::chrono::milliseconds(State.range(0));
    double Longest = 0;
    for (auto _ : State) {
        Select("photo.jpg");
        Dialog->LoadPreview();
        std::this_thread::sleep_for(Delay);
        const auto Start = Clock::now();
        Select("small.bmp");
        const std::chrono::duration<double> Took = Clock::now() - Start;
        State.SetIterationTime(Took.count());
        Longest = std::max(Longest, Took.count());
        QCoreApplication::processEvents();
    }
    State.counters["longest_ms"] = Longest * 1000;
    Dialog->SetStretchMode(smPrecise);
}
BENCHMARK(BM_MoveOnDuringLoad)
    ->ArgName("DelayMs")
    ->Arg(5)
    ->Arg(20)
    ->Arg(40)
    ->Arg(60)
    ->Iterations(20)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    const QApplication App(argc, argv);
    benchmark::Initialize(&argc, argv);
    SetScreenColorDepth(24);

    QTemporaryDir Pictures;
    Folder = &Pictures;
    OpenDialogTest::SavePhoto(Path("photo.jpg"), 4000, 3000);
    OpenDialogTest::SavePicture(Path("small.bmp"), 40, 30);

    TPGOpenDialog OpenDialog;
    Dialog = &OpenDialog;
    OpenDialog.SetInitialDir(Pictures.path().toStdString());
    OpenDialog.OnShow = [&](TObject*) {
        QTimer::singleShot(0, [&] {
            QFileDialog& Window = *OpenDialog.DialogWindow();
            auto* Model = Window.findChild<QFileSystemModel*>();
            const bool Listed = QTest::qWaitFor(
                [&] { return Model->rowCount(Model->index(Pictures.path())) == 2; }, 10000);
            QTest::qWait(100);
            if (Listed) {
                benchmark::RunSpecifiedBenchmarks();
            } else {
                std::fprintf(stderr, "bench_open_dialog: the folder was not listed\n");
            }
            Window.reject();
        });
    };
    OpenDialog.Execute();
    benchmark::Shutdown();
    return 0;
}
