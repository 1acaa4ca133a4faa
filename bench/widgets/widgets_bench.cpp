// Speed of the form widgets: filling the font box, one key of incremental search in a long
// list, and listing a large folder of files or of folders.

#include "platform/display.h"
#include "widgets/font_combo_box.h"
#include "widgets/icon_file_list_box.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <benchmark/benchmark.h>
#include <fstream>
#include <random>

namespace {

// Every installed family, enumerated, marked, filtered and sorted into the box.
void BM_FontComboFillInstalled(benchmark::State& State) {
    TFontComboBox Box; // the font database is loaded once, as at program start
    for (auto _ : State) {
        Box.SetFamilySource(InstalledFontFamilies);
        benchmark::DoNotOptimize(Box.count());
    }
    State.counters["families"] = Box.count();
}
BENCHMARK(BM_FontComboFillInstalled)->Unit(benchmark::kMillisecond);

// 2,000 made-up family names of two to four words.
std::vector<TFontFamily> ManyFamilies(TFontDevice) {
    static const char* const Words[] = {"Sans", "Serif", "Mono",  "Book",    "Condensed", "Display",
                                        "Text", "Old",   "Style", "Grotesk", "Slab",      "Round"};
    std::mt19937 Random(7);
    std::vector<TFontFamily> Families;
    for (int I = 0; I < 2000; ++I) {
        QString Name = QString("F%1").arg(Random() % 100000, 5, 10, QChar('0'));
        for (auto W = 1 + Random() % 3; W > 0; --W) {
            Name += ' ' + QString(Words[Random() % std::size(Words)]);
        }
        Families.push_back({Name, static_cast<std::uint8_t>(Random() % 6)});
    }
    return Families;
}

// A key that matches no family: the search runs through all 2,000 and beeps; nothing changes,
// so every iteration is the same full search.
void BM_FontComboSearchKeyNoMatch(benchmark::State& State) {
    TFontComboBox Box;
    Box.SetFamilySource(ManyFamilies);
    Box.show();
    SetBeepHook([] {});
    for (auto _ : State) {
        QTest::keyClick(&Box, 'q');
    }
    SetBeepHook(nullptr);
    State.counters["families"] = Box.count();
}
BENCHMARK(BM_FontComboSearchKeyNoMatch)->Unit(benchmark::kMicrosecond);

// A key that selects the last family: a full search, the selection and both events. Backspace
// puts the box back between the timed keys.
void BM_FontComboSearchKeySelectsLast(benchmark::State& State) {
    std::vector<TFontFamily> Families = ManyFamilies(fdScreen);
    Families.push_back({"Zapf", kTrueTypeBit});
    TFontComboBox Box;
    Box.SetFamilySource([&](TFontDevice) { return Families; });
    Box.show();
    int Changes = 0;
    Box.OnChange = [&](TObject*) { ++Changes; };
    for (auto _ : State) {
        QTest::keyClick(&Box, 'z');
        State.PauseTiming();
        QTest::keyClick(&Box, Qt::Key_Backspace);
        State.ResumeTiming();
    }
    if (Box.count() != 2001 || Changes == 0) {
        State.SkipWithError("the key did not select");
    }
}
BENCHMARK(BM_FontComboSearchKeySelectsLast)->Unit(benchmark::kMicrosecond);

// A folder of 5,000 record files listed by a new list box (the icon theme asked afresh).
void BM_FileListFolder5000(benchmark::State& State) {
    QTemporaryDir Folder;
    for (int I = 0; I < 5000; ++I) {
        std::ofstream(Folder.filePath(QString("record%1.txt").arg(I)).toStdString()) << "x";
    }
    for (auto _ : State) {
        State.PauseTiming();
        auto List = std::make_unique<TIconFileListBox>();
        List->SetMask("*.txt");
        State.ResumeTiming();
        List->SetDirectory(Folder.path().toStdString());
        benchmark::DoNotOptimize(List->Count());
        State.PauseTiming();
        if (List->Count() != 5000) {
            State.SkipWithError("not every file was listed");
        }
        List.reset();
        State.ResumeTiming();
    }
}
BENCHMARK(BM_FileListFolder5000)->Unit(benchmark::kMillisecond);

// A folder of 2,000 subfolders listed with their folder glyphs.
void BM_FileListSubfolders2000(benchmark::State& State) {
    QTemporaryDir Folder;
    for (int I = 0; I < 2000; ++I) {
        QDir(Folder.path()).mkdir(QString("records%1").arg(I));
    }
    for (auto _ : State) {
        State.PauseTiming();
        auto List = std::make_unique<TIconFileListBox>();
        List->SetFileType(ftDirectory);
        State.ResumeTiming();
        List->SetDirectory(Folder.path().toStdString());
        benchmark::DoNotOptimize(List->Count());
        State.PauseTiming();
        if (List->Count() != 2000) {
            State.SkipWithError("not every folder was listed");
        }
        List.reset();
        State.ResumeTiming();
    }
}
BENCHMARK(BM_FileListSubfolders2000)->Unit(benchmark::kMillisecond);

} // namespace
