#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "codes/code_passes.h"
#include "scout/code_table.h"

namespace corvane {
namespace {

constexpr int kRows = 1'000'000;

// A small fixed generator, so every run searches the same match.
class Dice {
public:
    int roll(int sides) {
        state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<int>((state_ >> 33) % static_cast<std::uint64_t>(sides));
    }
    bool chance(int percent) { return roll(100) < percent; }

private:
    std::uint64_t state_ = 20260101;
};

std::string twoDigits(int n) {
    return std::string(1, static_cast<char>('0' + n / 10 % 10)) + static_cast<char>('0' + n % 10);
}

class MatchWriter {
public:
    explicit MatchWriter(CodeTable& table) : table_(table) {}

    void touch(char team, char skill) {
        static constexpr const char* kEvaluations = "=/-!+#";
        static constexpr const char* kTypes = "HMQTUNO";
        std::string code;
        code += team;
        code += twoDigits(1 + dice_.roll(18));
        code += skill;
        code += kTypes[dice_.roll(7)];
        code += kEvaluations[dice_.roll(6)];
        code += twoDigits(dice_.roll(10));
        append(code);
    }

    void point(char team) {
        (team == '*' ? home_ : away_) += 1;
        append(std::string(1, team) + "p" + twoDigits(home_) + ":" + twoDigits(away_));
    }

    void setEnd() {
        append("**" + std::to_string(set_) + "set");
        set_ = set_ % 5 + 1;
        home_ = away_ = 0;
    }

    void rally() {
        const char server = dice_.chance(50) ? '*' : 'a';
        const char receiver = server == '*' ? 'a' : '*';
        touch(server, 'S');
        if (dice_.chance(8)) return point(server);
        touch(receiver, 'R');
        char attacker = receiver;
        for (int exchange = 0; exchange < 4; ++exchange) {
            touch(attacker, 'E');
            touch(attacker, 'A');
            const char defender = attacker == '*' ? 'a' : '*';
            if (dice_.chance(45)) return point(attacker);
            if (dice_.chance(30)) touch(defender, 'B');
            touch(defender, 'D');
            attacker = defender;
        }
        point(attacker);
    }

    bool full() const { return table_.codeRowCount() >= kRows; }
    bool setOver() const { return home_ >= 25 || away_ >= 25; }

private:
    void append(std::string code) {
        code.resize(20, ' ');
        second_ += 1 + dice_.roll(4);
        const std::string second = std::to_string(second_);
        const std::string clock = "20." + twoDigits(second_ / 60 % 60) + "." + twoDigits(second_ % 60);
        const std::string set = std::to_string(set_);
        CodeTable::Cells cells{};
        cells[Code] = code;
        cells[Clock] = clock;
        cells[SetNo] = set;
        cells[Film] = "1";
        cells[VideoSec] = second;
        cells[Score] = twoDigits(home_) + "-" + twoDigits(away_);
        table_.appendRow(cells);
    }

    CodeTable& table_;
    Dice dice_;
    int home_ = 0, away_ = 0, set_ = 1, second_ = 0;
};

const CodeTable& volleyballMatch() {
    static const CodeTable table = [] {
        CodeTable built;
        MatchWriter writer(built);
        while (!writer.full()) {
            writer.rally();
            if (writer.setOver()) writer.setEnd();
        }
        return built;
    }();
    return table;
}

void runSearch(benchmark::State& state, const std::string& searchCode, const std::string& advancedCodes) {
    const CodeTable& table = volleyballMatch();
    AnalysisRecord record;
    record[AnalysisRecord::adv_codes] = advancedCodes;
    const PassContext context{"1", false, 0};
    std::size_t listed = 0;
    for (auto _ : state) {
        const auto rows = FillCodeList(table, searchCode, "", record, context);
        listed = rows.size();
        benchmark::DoNotOptimize(rows.data());
    }
    state.SetItemsProcessed(state.iterations() * table.codeRowCount());
    state.counters["listed"] = static_cast<double>(listed);
}

void BM_PlainSearch(benchmark::State& state) { runSearch(state, "*07A", ""); }
void BM_ReceptionAttackSearch(benchmark::State& state) { runSearch(state, "~~~r", ""); }
void BM_AdvancedCodesSearch(benchmark::State& state) { runSearch(state, "", "AND[~~~E,1][~~~~~#,5]"); }
void BM_SetFilterSearch(benchmark::State& state) {
    const CodeTable& table = volleyballMatch();
    const PassContext context{"1", false, 0};
    for (auto _ : state) benchmark::DoNotOptimize(FillCodeList(table, "~~~S", "1;3;", {}, context).size());
    state.SetItemsProcessed(state.iterations() * table.codeRowCount());
}

BENCHMARK(BM_PlainSearch)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReceptionAttackSearch)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AdvancedCodesSearch)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SetFilterSearch)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace corvane
