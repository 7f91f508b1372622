#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>

#include "codes/code_passes.h"
#include "scout/scout_readers.h"

#include "bench_text.h"

namespace {

namespace fs = std::filesystem;

// As many codes as a scout file may bring, less room for its other sections.
constexpr int kCodeLines = static_cast<int>(corvane::kMaxScoutLines) - 1'000;
// A long match.
constexpr int kMatchCodeLines = 5'000;

using corvane::bench::twoDigits;

// A volleyball scout file as a scouting station writes it: match header, teams, players, sets,
// then the codes with their clock, set, film, second and the rotation fields.
std::string scoutFileContent(int codeLines) {
    std::string text =
        "[3KESTRALINESCOUT]\r\n"
        "[3MATCH]\r\n15/03/2024;20.30.00;2023/2024;Serie A1;Regular season;123;7;League;\r\n"
        "ALPHA;BETA;45366.75\r\n"
        "[3TEAMS]\r\nHOM;Home Volley;3;Coach H;Assistant H\r\nVIS;Visitors Club;1;Coach V;Assistant V\r\n"
        "[3MORE]\r\nReferee A, Referee B;1200;5000;Modena;PalaPanini;Scout Person\r\n"
        "[3COMMENTS]\r\n;;;\r\n"
        "[3SET]\r\nTrue;8-6;16-14;21-19;25-22;28\r\nTrue;8-4;16-9;21-15;25-20;26\r\n"
        "True;8-6;16-14;21-19;25-23;30\r\nFalse;;;;;\r\nFalse;;;;;\r\n";
    for (const char* header : {"[3PLAYERS-H]\r\n", "[3PLAYERS-V]\r\n"}) {
        text += header;
        for (int n = 1; n <= 14; ++n)
            text += "0;" + std::to_string(n) + ";5;6;;;;;ID" + std::to_string(n) + ";Player " + std::to_string(n) +
                    ";Name;;L;1;\r\n";
    }
    text += "[3SCOUT]\r\n";
    text.reserve(text.size() + static_cast<std::size_t>(codeLines) * 96);
    static constexpr const char* kSkills[] = {"SH+~~~81C", "RQ#~~~~2B", "EK#~~~", "AX5H+V5~~~~26A~~~2", "BH-"};
    int home = 0;
    int away = 0;
    int second = 100;
    for (int n = 0; n < codeLines; ++n) {
        std::string code;
        if (n % 9 == 8) {
            const bool homePoint = n % 2 == 0;
            (homePoint ? home : away) += 1;
            code = std::string(homePoint ? "*p" : "ap") + twoDigits(home) + ":" + twoDigits(away);
            if (home == 25 || away == 25) home = away = 0;
        } else if (n % 250 == 249) {
            code = "**" + std::to_string(n / 250 % 5 + 1) + "set";
        } else {
            code = std::string(n % 2 ? "a" : "*") + twoDigits(n % 14 + 1) + kSkills[n % 5];
        }
        second += n % 3;
        const int clock = 20 * 3600 + 30 * 60 + second;
        text += code + ";;;;;;;" + twoDigits(clock / 3600 % 24) + "." + twoDigits(clock / 60 % 60) + "." +
                twoDigits(clock % 60) + ";" + std::to_string(n / 250 % 5 + 1) + ";" + std::to_string(n % 6 + 1) + ";" +
                std::to_string((n + 3) % 6 + 1) + ";1;" + std::to_string(second) +
                ";;;19;13;18;1;9;10;16;10;15;4;11;2;9;\r\n";
    }
    return text;
}

// The generated file, written once per run and removed at its end.
class BenchFile {
public:
    explicit BenchFile(int codeLines)
        : path_(fs::temp_directory_path() /
                ("corvane-scout-bench-" + std::to_string(::getpid()) + "-" + std::to_string(codeLines) + ".dvw")) {
        const std::string content = scoutFileContent(codeLines);
        std::ofstream(path_, std::ios::binary) << content;
        size_ = content.size();
    }
    ~BenchFile() {
        std::error_code error;
        fs::remove(path_, error);
    }
    BenchFile(const BenchFile&) = delete;
    BenchFile& operator=(const BenchFile&) = delete;

    const fs::path& path() const { return path_; }
    std::size_t size() const { return size_; }

private:
    fs::path path_;
    std::size_t size_ = 0;
};

const BenchFile& benchFile() {
    static const BenchFile file(kCodeLines);
    return file;
}

const BenchFile& matchFile() {
    static const BenchFile file(kMatchCodeLines);
    return file;
}

// Resident bytes of the process now.
std::int64_t residentBytes() {
    long pages = 0, resident = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = 0;
        std::fclose(statm);
    }
    return static_cast<std::int64_t>(resident) * ::sysconf(_SC_PAGESIZE);
}

// What the table of a package costs in resident memory, a code and whole, as the program's first
// package reads it into a fresh table, and what listing every code then adds (the code list's
// rows, as every search fills them).
void tableMemory(benchmark::State& state, const BenchFile& file, int codeLines) {
    const corvane::LocaleFormats formats;
    double tableBytes = 0, listBytes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto match = std::make_unique<corvane::MatchCompanions>();
        const std::int64_t before = residentBytes();
        state.ResumeTiming();
        corvane::CodeTable table;
        const bool read = corvane::ReadScoutFile(file.path(), false, {table, *match}, formats);
        if (!read || table.RowCount() != codeLines + 1) state.SkipWithError("the file was not read whole");
        const std::int64_t afterTable = residentBytes();
        const auto rows = corvane::FillCodeList(table, "", "", {}, {"1", false, 1});
        benchmark::DoNotOptimize(rows.data());
        tableBytes = static_cast<double>(afterTable - before);
        listBytes = static_cast<double>(residentBytes() - afterTable);
    }
    state.counters["table_bytes"] = tableBytes;
    state.counters["table_bytes_per_code"] = tableBytes / codeLines;
    state.counters["list_bytes_per_code"] = listBytes / codeLines;
}

void BM_TableMemoryOfAMatch(benchmark::State& state) { tableMemory(state, matchFile(), kMatchCodeLines); }
BENCHMARK(BM_TableMemoryOfAMatch)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_TableMemoryOfTheLargestFile(benchmark::State& state) { tableMemory(state, benchFile(), kCodeLines); }
BENCHMARK(BM_TableMemoryOfTheLargestFile)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_ReadScoutFile(benchmark::State& state) {
    const BenchFile& file = benchFile();
    const corvane::LocaleFormats formats;
    for (auto _ : state) {
        // A fresh table each time, as at a program's first package; its release is not timed.
        auto table = std::make_unique<corvane::CodeTable>();
        auto match = std::make_unique<corvane::MatchCompanions>();
        const bool read = corvane::ReadScoutFile(file.path(), false, {*table, *match}, formats);
        if (!read || table->RowCount() != kCodeLines + 1) state.SkipWithError("the file was not read whole");
        benchmark::DoNotOptimize(table->Cell(corvane::Score, kCodeLines));
        state.PauseTiming();
        table.reset();
        match.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(file.size()));
}
BENCHMARK(BM_ReadScoutFile)->Unit(benchmark::kMillisecond)->UseRealTime();

// Reading into the program's one table again, as every later package opening does: the table's
// memory is already there.
void BM_RereadScoutFile(benchmark::State& state) {
    const BenchFile& file = benchFile();
    const corvane::LocaleFormats formats;
    corvane::CodeTable table;
    auto match = std::make_unique<corvane::MatchCompanions>();
    corvane::ReadScoutFile(file.path(), false, {table, *match}, formats);
    for (auto _ : state) {
        const bool read = corvane::ReadScoutFile(file.path(), false, {table, *match}, formats);
        if (!read || table.RowCount() != kCodeLines + 1) state.SkipWithError("the file was not read whole");
        benchmark::DoNotOptimize(table.Cell(corvane::Score, kCodeLines));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(file.size()));
}
BENCHMARK(BM_RereadScoutFile)->Unit(benchmark::kMillisecond)->UseRealTime();

// The yardstick: counting the same file's lines with wc.
void BM_WcLinesOfScoutFile(benchmark::State& state) {
    const BenchFile& file = benchFile();
    const std::string command = "wc -l < '" + file.path().string() + "' > /dev/null";
    for (auto _ : state)
        if (std::system(command.c_str()) != 0) state.SkipWithError("wc -l failed");
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(file.size()));
}
BENCHMARK(BM_WcLinesOfScoutFile)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
