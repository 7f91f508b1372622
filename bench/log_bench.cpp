#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
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

// Loading an events file logs one line per event: a 100,000-line file is 100,000 log lines.
void BM_LoadEventsOf100000Lines(benchmark::State& state) {
    const auto folder = benchFolder();
    const auto events = folder / "Eventi.txt";
    {
        std::string content;
        for (int i = 0; i < 100000; ++i) content += "SM" + std::to_string(i) + "\tBattuta" + std::string(12, '\t') + "\r\n";
        std::FILE* out = std::fopen(events.c_str(), "wb");
        std::fwrite(content.data(), 1, content.size(), out);
        std::fclose(out);
    }
    const BenchPlatform platform;
    for (auto _ : state) {
        ApplicationLog log(platform, folder);
        log.startFresh();
        benchmark::DoNotOptimize(LoadEvents(events, log));
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_LoadEventsOf100000Lines)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
