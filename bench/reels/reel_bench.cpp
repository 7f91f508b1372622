// Export speed of reels as a multiple of real time: seconds of film written per second of wall
// time, on the demo disc's films (CORVANE_DEMO_DISC, else the build's demo-disc).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <atomic>
#include <string>

#include <stdlib.h>

#include "reels/reel_writer.h"

namespace {

namespace fs = std::filesystem;

fs::path demoDisc() {
    const char* named = std::getenv("CORVANE_DEMO_DISC");
    return named && *named ? fs::path(named) : fs::path(CORVANE_BINARY_DIR) / "demo-disc";
}

// Clips of seconds each, one after the other from second 5, as a search's actions are.
void exportClips(benchmark::State& state, const std::string& film, int clips, int seconds, bool captions) {
    const fs::path source = demoDisc() / "Tlx_Video" / film;
    if (!fs::exists(source)) {
        state.SkipWithError(("no film at " + source.string()).c_str());
        return;
    }
    std::string pattern = (fs::temp_directory_path() / "corvane-reel-bench-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) std::abort();
    const fs::path folder = pattern;
    corvane::ReelJob job;
    job.destination = folder / "reel.mp4";
    job.discFolder = demoDisc();
    for (int n = 0; n < clips; ++n) {
        const double start = 5.0 + n * (seconds + 2);
        corvane::ReelSource clip{source, start, start + seconds, {}};
        if (captions) clip.captions.push_back({start, start + 4, "Rossi Attacco Punto (0.01.40 set 2)"});
        job.clips.push_back(clip);
    }
    const std::atomic<bool> cancel{false};
    double filmSeconds = 0;
    for (auto _ : state) {
        const corvane::ReelResult result = corvane::writeReel(job, {}, cancel);
        if (result.status != corvane::ReelStatus::Done) {
            state.SkipWithError(("export failed: " + result.detail).c_str());
            break;
        }
        filmSeconds += clips * seconds;
    }
    state.counters["x_real_time"] = benchmark::Counter(filmSeconds, benchmark::Counter::kIsRate);
    std::error_code error;
    fs::remove_all(folder, error);
}

void BM_ReelFromMpeg2(benchmark::State& state) {
    exportClips(state, "2026-11-28_Volley_Falchi-Delfini/Film01.mpg", 3, 5, false);
}
void BM_ReelFromMpeg2WithCaptions(benchmark::State& state) {
    exportClips(state, "2026-11-28_Volley_Falchi-Delfini/Film01.mpg", 3, 5, true);
}
void BM_ReelFromH264(benchmark::State& state) {
    exportClips(state, "2026-12-02_Basket_Aquile-Lupi/Film01.mp4", 3, 5, false);
}

BENCHMARK(BM_ReelFromMpeg2)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(2);
BENCHMARK(BM_ReelFromMpeg2WithCaptions)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(2);
BENCHMARK(BM_ReelFromH264)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(2);

}  // namespace

BENCHMARK_MAIN();
