// Speed and memory of the record choice on large record files: a 50 MB "Q&A" file, a 50 MB
// "SINGLE" file, and a 100 MB "SINGLE" file of empty lines whose only usable line is the last.

#include "app/records/record_choice.h"
#include "platform/clock.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

namespace {

constexpr std::uint64_t kMB = 1024 * 1024;

std::string TempName(const std::string& Name) {
    return (std::filesystem::temp_directory_path() /
            ("vespera-bench-" + std::to_string(::getpid()) + "-" + Name))
        .string();
}

// Removes the generated files when the program ends.
struct TBenchFiles {
    std::vector<std::string> Names;
    ~TBenchFiles() {
        for (const std::string& Name : Names) {
            std::remove(Name.c_str());
        }
    }
} BenchFiles;

// Writes Header and then lines from MakeLine until the file holds Size bytes; returns its name.
template <typename TMakeLine>
std::string MakeFile(const std::string& Name, const std::string& Header, std::uint64_t Size,
                     TMakeLine MakeLine) {
    const std::string FileName = TempName(Name);
    std::ofstream Out(FileName, std::ios::binary);
    Out << Header;
    std::uint64_t Written = Header.size();
    for (std::uint64_t I = 0; Written < Size; ++I) {
        const std::string Line = MakeLine(I);
        Out << Line;
        Written += Line.size();
    }
    BenchFiles.Names.push_back(FileName);
    return FileName;
}

double PeakRssMB() {
    rusage Usage{};
    ::getrusage(RUSAGE_SELF, &Usage);
    return static_cast<double>(Usage.ru_maxrss) / 1024.0; // ru_maxrss is in KiB
}

// Runs the choice on FileName with the clock stepping one millisecond a round, so the draws
// spread over the file.
void RunChoice(benchmark::State& State, const std::string& FileName) {
    const double PeakBefore = PeakRssMB();
    std::int64_t Millisecond = 0;
    SetClockSource([&Millisecond] { return TClockTime(std::chrono::milliseconds(Millisecond)); });
    TRandomSource Random;
    TRecordTexts Texts;
    for (auto _ : State) {
        Millisecond += 7919;
        ChooseRecord(FileName, "first", "last", Texts, Random);
        benchmark::DoNotOptimize(Texts.LastText.data());
    }
    SetClockSource(nullptr);
    const double FileMB = static_cast<double>(std::filesystem::file_size(FileName)) / kMB;
    State.counters["file_MB"] = FileMB;
    State.counters["peak_rss_MB"] = PeakRssMB();
    State.counters["peak_rss_before_MB"] = PeakBefore;
    State.SetBytesProcessed(State.iterations() * static_cast<std::int64_t>(FileMB * kMB));
}

void BM_ChooseRecord_QA_50MB(benchmark::State& State) {
    static const std::string FileName =
        MakeFile("qa.txt", "[Header]\r\nFormat=Q&A\r\nDescription=Quiz\r\n\r\n[Data]\r\n", 50 * kMB,
                 [](std::uint64_t I) {
                     const std::string N = std::to_string(I);
                     return "Q: What comes after question number " + N + "?\r\nA: Question " +
                            std::to_string(I + 1) + ", of course.\r\n\r\n";
                 });
    RunChoice(State, FileName);
}
BENCHMARK(BM_ChooseRecord_QA_50MB)->Unit(benchmark::kMillisecond);

void BM_ChooseRecord_Single_50MB(benchmark::State& State) {
    static const std::string FileName =
        MakeFile("single.txt", "[Header]\nFormat=SINGLE\n[Data]\n", 50 * kMB, [](std::uint64_t I) {
            return I % 4 == 0 ? std::string(";comment\n\n")
                              : "Saying number " + std::to_string(I) + "\n";
        });
    RunChoice(State, FileName);
}
BENCHMARK(BM_ChooseRecord_Single_50MB)->Unit(benchmark::kMillisecond);

void BM_ChooseRecord_Single_100MB_EmptyLines(benchmark::State& State) {
    static const std::string FileName = [] {
        const std::string Name =
            MakeFile("empty.txt", "[Header]\nFormat=SINGLE\n[Data]\n", 100 * kMB,
                     [](std::uint64_t) { return std::string(64 * 1024, '\n'); });
        std::ofstream(Name, std::ios::binary | std::ios::app) << "the only line\n";
        return Name;
    }();
    RunChoice(State, FileName);
}
BENCHMARK(BM_ChooseRecord_Single_100MB_EmptyLines)->Unit(benchmark::kMillisecond);

} // namespace
