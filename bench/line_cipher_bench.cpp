#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "scout/line_cipher.h"

namespace {

// Code lines and match lines of the length a scout file holds (about 60 to 120 plain bytes).
std::vector<std::string> encipheredLines() {
    const std::string pieces[] = {
        "*04T+;1;1;1;35;Battuta float dalla zona 1 verso la zona 5, ricezione staccata",
        "a09R-;1;1;1;36;Ricezione in bagher, palla alta verso il centro, alzatore fuori posizione",
        "*12A#;2;3;1;1245;Attacco da zona 4 in diagonale stretta, muro a due non chiuso, punto diretto",
        "Campionato regionale serie C;12/03/2026;18.30;Palazzetto comunale;;;;",
    };
    std::vector<std::string> lines;
    std::array<std::uint8_t, 8> iv{0x13, 0x57, 0x9B, 0xDF, 0x24, 0x68, 0xAC, 0xE0};
    for (int copy = 0; copy < 64; ++copy)
        for (const std::string& piece : pieces) {
            iv[7] = static_cast<std::uint8_t>(iv[7] + 1);
            const std::string doubled = piece + " " + piece;
            lines.push_back(corvane::EncipherLine(doubled.substr(0, 60 + (copy * 7) % 61), iv));
        }
    return lines;
}

void BM_DecipherLine(benchmark::State& state) {
    const std::vector<std::string> lines = encipheredLines();
    std::int64_t bytes = 0;
    for (auto _ : state) {
        for (const std::string& line : lines) {
            benchmark::DoNotOptimize(corvane::DecipherLine(line));
            bytes += static_cast<std::int64_t>(line.size());
        }
    }
    state.SetBytesProcessed(bytes);
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(lines.size()));
}
BENCHMARK(BM_DecipherLine);

}  // namespace
