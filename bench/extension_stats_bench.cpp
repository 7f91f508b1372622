#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "core/platform.h"
#include "scout/scout_readers.h"
#include "stats/extension_stats.h"
#include "stats/stat_generator.h"

#include "bench_text.h"

namespace {

namespace fs = std::filesystem;

constexpr int kCodeLines = 1'000'000;

using corvane::bench::twoDigits;

// A basketball scout in the lower-case format: both teams' players, their shots, rebounds and
// turnovers with an effect, an extension at positions 7-8 and a sub-extension at 9-10.
std::string scoutFileContent() {
    std::string text =
        "[match]\r\nBench match\r\n15/03/2024;20.30.00;2023/2024;Serie A;Regular;1;1;League\r\n"
        "HOM;Home;Coach H;Assistant H;0\r\nVIS;Visitors;Coach V;Assistant V;0\r\n;;;;;\r\n;;;\r\n"
        "[hometeam]\r\n[oppteam]\r\n[scout]\r\n";
    text.reserve(text.size() + static_cast<std::size_t>(kCodeLines) * 32);
    static constexpr const char* kEvents[] = {"FI", "FG", "TL", "RD", "PP"};
    static constexpr const char* kExtensions[] = {"LA", "DU", "JS", "HK", "TP", "FL"};
    static constexpr const char* kZones[] = {"Z1", "Z2", "Z3", "Z4", "  "};
    static constexpr char kEffects[] = "=/-!+#";
    for (int n = 0; n < kCodeLines; ++n) {
        const std::string code = std::string(n % 2 ? "a" : "*") + twoDigits(n / 2 % 12 + 4) + kEvents[n / 7 % 5] +
                                 kEffects[n / 3 % 6] + kExtensions[n / 11 % 6] + kZones[n / 13 % 5];
        text += code + ";" + std::to_string(n / 250'000 + 1) + ";;1;" + std::to_string(n / 100) + "\r\n";
    }
    return text;
}

// The scout file and the documents folder of one run, removed at its end.
class BenchPackage {
public:
    BenchPackage() : folder_(fs::temp_directory_path() / ("corvane-statext-bench-" + std::to_string(::getpid()))) {
        fs::create_directories(folder_ / "documents");
        std::ofstream(scout(), std::ios::binary) << scoutFileContent();
        corvane::MatchCompanions match;
        if (!corvane::ReadLowerCaseScout(scout(), false, {table_, match})) table_ = {};
    }
    ~BenchPackage() {
        std::error_code error;
        fs::remove_all(folder_, error);
    }
    BenchPackage(const BenchPackage&) = delete;
    BenchPackage& operator=(const BenchPackage&) = delete;

    fs::path scout() const { return folder_ / "scout.txt"; }
    fs::path output() const { return folder_ / "documents" / "StatExt.txt"; }
    fs::path events() const { return folder_ / "Eventi.txt"; }
    const corvane::CodeTable& table() const { return table_; }

private:
    fs::path folder_;
    corvane::CodeTable table_;
};

const BenchPackage& benchPackage() {
    static const BenchPackage package;
    return package;
}

// The extension buttons a coach presses: one player's shots, and the totals row's (every home
// player's shots), the broadest level 1 the window opens.
std::string patternOf(int which) {
    return which == 0 ? corvane::extensionPattern(true, "06", "FI") : corvane::extensionPattern(true, "  ", "FI");
}

void checkRows(benchmark::State& state, const corvane::ExtensionStats& stats) {
    if (!stats.hasDataRows()) state.SkipWithError("the statistics have no rows");
    benchmark::DoNotOptimize(stats.rows.back().values.data());
}

// The counting alone, over the code table in memory.
void BM_ComputeExtensionStats(benchmark::State& state) {
    const BenchPackage& package = benchPackage();
    if (package.table().RowCount() != kCodeLines + 1) state.SkipWithError("the scout was not read whole");
    const std::string pattern = patternOf(static_cast<int>(state.range(0)));
    for (auto _ : state) checkRows(state, corvane::computeExtensionStats(package.table(), "2", pattern));
}
BENCHMARK(BM_ComputeExtensionStats)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// The library call with its five text arguments: the scout file read, the figures counted and the
// record written.
void BM_GeneraStatEstensioniFromScoutFile(benchmark::State& state) {
    const BenchPackage& package = benchPackage();
    const corvane::SystemPlatform platform;
    const std::string pattern = patternOf(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        const auto outcome = corvane::GeneraStatEstensioni("2", package.scout().string(), package.output().string(),
                                                           package.events().string(), pattern, platform);
        if (!outcome.written) state.SkipWithError(corvane::describe(outcome.problem).c_str());
    }
}
BENCHMARK(BM_GeneraStatEstensioniFromScoutFile)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// A click of the window: the figures over the code table the package opening read, their record
// written into the documents folder.
void BM_ExtensionClick(benchmark::State& state) {
    const BenchPackage& package = benchPackage();
    const std::string pattern = patternOf(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        const auto outcome = corvane::generateExtensionStats(package.table(), "2", pattern, package.output());
        if (!outcome.written || !outcome.stats) state.SkipWithError(corvane::describe(outcome.problem).c_str());
        else checkRows(state, *outcome.stats);
    }
}
BENCHMARK(BM_ExtensionClick)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
