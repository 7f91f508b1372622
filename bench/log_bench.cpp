#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include "core/log.h"
#include "scout/events.h"

namespace {

using namespace corvane;

class BenchPlatform : public Platform {
public:
    std::filesystem::path executablePath() const override { return {}; }
    std::filesystem::path documentsFolder() const override { return {}; }
    std::filesystem::path dataFolder() const override { return {}; }
    std::filesystem::path cacheFolder() const override { return {}; }
    LocaleFormats localeFormats() const override { return {}; }
    LocalDateTime now() const override { return {2026, 12, 7, 14, 32, 43}; }
    std::optional<LocalDateTime> fileModifiedTime(const std::filesystem::path&) const override { return {}; }
    bool isOnReadOnlyMedia(const std::filesystem::path&) const override { return false; }
};

std::filesystem::path benchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "corvane-log-bench-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) std::abort();
    return pattern;
}

void writeEvents(const std::filesystem::path& file, int lines, const std::function<std::string(int)>& line) {
    std::string content;
    for (int i = 0; i < lines; ++i) content += line(i);
    std::FILE* out = std::fopen(file.c_str(), "wb");
    std::fwrite(content.data(), 1, content.size(), out);
    std::fclose(out);
}

void loadEvents(benchmark::State& state, const std::filesystem::path& folder) {
    const BenchPlatform platform;
    for (auto _ : state) {
        ApplicationLog log(platform, folder);
        log.startFresh();
        benchmark::DoNotOptimize(LoadEvents(folder / "Eventi.txt", log));
    }
    std::filesystem::remove_all(folder);
}

// Loading an events file logs its codes: a 100,000-line file would be 100,000 log lines.
void BM_LoadEventsOf100000Lines(benchmark::State& state) {
    const auto folder = benchFolder();
    writeEvents(folder / "Eventi.txt", 100000,
                [](int i) { return "SM" + std::to_string(i) + "\tBattuta" + std::string(12, '\t') + "\r\n"; });
    loadEvents(state, folder);
}
BENCHMARK(BM_LoadEventsOf100000Lines)->Unit(benchmark::kMillisecond)->Iterations(3);

// A million copies of one line.
void BM_LoadEventsOf1000000RepeatedLines(benchmark::State& state) {
    const auto folder = benchFolder();
    writeEvents(folder / "Eventi.txt", 1000000, [](int) { return "~~~AH\tAttacco" + std::string(11, '\t') + "\r\n"; });
    loadEvents(state, folder);
}
BENCHMARK(BM_LoadEventsOf1000000RepeatedLines)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
