#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/files.h"
#include "scout/packages.h"

namespace {

namespace fs = std::filesystem;

constexpr int kFilesInFolder = 3'000;
constexpr int kMissingNames = 20'000;

// A package folder of 3,000 films and a FilmList.cfg of 20,000 names none of which is there, so
// every lookup has to miss.
class CrowdedPackage {
public:
    CrowdedPackage() {
        std::string pattern = (fs::temp_directory_path() / "corvane-bench-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) std::abort();
        folder_ = pattern;
        for (int n = 0; n < kFilesInFolder; ++n) std::ofstream(folder_ / ("Film" + std::to_string(n) + ".mpg"));
        std::ofstream list(folder_ / "FilmList.cfg", std::ios::binary);
        for (int n = 0; n < kMissingNames; ++n) list << "Missing" << n << ".MPG\r\n";
    }
    ~CrowdedPackage() {
        std::error_code error;
        fs::remove_all(folder_, error);
    }
    const fs::path& folder() const { return folder_; }

private:
    fs::path folder_;
};

void BM_FilmListOfMissingNamesInACrowdedFolder(benchmark::State& state) {
    const CrowdedPackage package;
    for (auto _ : state) {
        const corvane::FilmList films = corvane::readFilmList(corvane::ContainedFolder(package.folder()), "");
        if (!films.films.empty()) state.SkipWithError("a missing film was found");
        benchmark::DoNotOptimize(films);
    }
    state.counters["names"] = benchmark::Counter(kMissingNames, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_FilmListOfMissingNamesInACrowdedFolder)->Unit(benchmark::kMillisecond);

}  // namespace
