// The clear text of a code and the extension lookup against an events table that repeats one line.

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "codes/code_description.h"
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

}  // namespace
