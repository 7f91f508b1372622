#include <benchmark/benchmark.h>

#include <string>
#include <string_view>

#include "core/text.h"

namespace {

// A measure that costs what a font's does: one pass over the text.
int sevenPixelsACharacter(std::string_view text) {
    int width = 0;
    for (const char c : text) width += (static_cast<unsigned char>(c) & 0xC0) == 0x80 ? 0 : 7;
    return width;
}

// A team name of the given length, accented letters among its characters.
std::string teamName(std::size_t characters) {
    std::string name;
    for (std::size_t n = 0; n < characters; ++n) name += n % 5 == 0 ? "\xC3\xA0" : std::string(1, static_cast<char>('a' + n % 26));
    return name;
}

// A statistics header of 155 pixels: the title of a name of 30 to 20,000 characters.
void BM_FitTeamNameInHeader(benchmark::State& state) {
    const std::string name = teamName(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(corvane::FitText(name, 155, sevenPixelsACharacter));
}
BENCHMARK(BM_FitTeamNameInHeader)->Arg(30)->Arg(2000)->Arg(20000);

}  // namespace
