// The clear text of a code and the extension lookup against an events file that repeats one line,
// and the loading of such a file.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "codes/code_description.h"
#include "core/log.h"
#include "scout/event_lookups.h"
#include "scout/events.h"

namespace {

using namespace corvane;

EventRecord attack() {
    EventRecord record;
    record.code = "~~~AH";
    record.description = "Attacco";
    record.effects = "Errore;Murato;;;Positivo;Punto";
    record.extensions = std::string("~~~~~~V5") + kExtensionTextSeparator + "Veloce" + kExtensionSeparator +
                        "~~~~~~X~" + kExtensionTextSeparator + "Pipe";
    return record;
}

EventTable repeated(int copies) {
    return EventTable(std::vector<EventRecord>(static_cast<std::size_t>(copies), attack()));
}

void BM_DescribeCodeWithRepeatedEntries(benchmark::State& state) {
    const EventTable table = repeated(static_cast<int>(state.range(0)));
    const MatchCompanions match;
    const CodeDescriptionSources sources{"1", match, table, "Fine azione"};
    for (auto _ : state) benchmark::DoNotOptimize(DescribeCode("a12AH=V5", sources));
}
BENCHMARK(BM_DescribeCodeWithRepeatedEntries)->Arg(1)->Arg(100000)->Unit(benchmark::kMicrosecond);

void BM_ExtensionTextWithRepeatedEntries(benchmark::State& state) {
    const EventTable table = repeated(static_cast<int>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(ExtensionText("*07AH#", "X1", table, "1"));
}
BENCHMARK(BM_ExtensionTextWithRepeatedEntries)->Arg(1)->Arg(100000)->Unit(benchmark::kMicrosecond);

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

// A million copies of one line, logged as the player logs them.
void BM_LoadEventsOf1000000RepeatedLines(benchmark::State& state) {
    std::string pattern = (std::filesystem::temp_directory_path() / "corvane-events-bench-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) std::abort();
    const std::filesystem::path folder = pattern;
    const auto events = folder / "Eventi.txt";
    {
        const std::string line = "~~~AH\tAttacco" + std::string(11, '\t') + "\r\n";
        std::string content;
        content.reserve(line.size() * 1000000);
        for (int i = 0; i < 1000000; ++i) content += line;
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
BENCHMARK(BM_LoadEventsOf1000000RepeatedLines)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
