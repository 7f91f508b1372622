// Exact seeks while paused, timed from the call to the first drawn frame that shows the target,
// for the player control and for a bare libmpv loop in the same run, on each test film; the time
// from Open to the first picture; the resident memory with a film open.

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <numeric>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "app/player/tplayer.h"
#include "bench/player/bare_mpv.h"
#include "bench/player/bench_process.h"
#include "gui/player_test_support.h"

using namespace corvane;
using corvane::testing::FrameStamp;

namespace {

constexpr int kSeeks = 30;
constexpr int kRounds = 3;  // rounds of kSeeks: a shared machine is noisy
constexpr int kOpens = 5;
constexpr int kLimitMs = 15000;

struct Summary {
    double mean = 0, median = 0, p90 = 0, worst = 0;
};

Summary summarize(std::vector<double> values) {
    if (values.empty()) return {};
    std::sort(values.begin(), values.end());
    Summary summary;
    summary.mean = std::accumulate(values.begin(), values.end(), 0.0) / double(values.size());
    summary.median = values[values.size() / 2];
    summary.p90 = values[std::min(values.size() - 1, values.size() * 9 / 10)];
    summary.worst = values.back();
    return summary;
}

// Runs the event loop until the player draws a frame showing the stamp; milliseconds since start.
std::optional<double> waitForPicture(TPlayer& player, FrameStamp expected, const QElapsedTimer& clock) {
    std::optional<double> shown;
    QEventLoop loop;
    const auto check = [&] {
        if (!shown && corvane::testing::stampOf(player.currentFrame()) == expected) {
            shown = double(clock.nsecsElapsed()) / 1e6;
            loop.quit();
        }
    };
    const QMetaObject::Connection connection = QObject::connect(&player, &TPlayer::frameDrawn, &loop, check);
    QTimer::singleShot(kLimitMs, &loop, &QEventLoop::quit);
    check();
    if (!shown) loop.exec();
    QObject::disconnect(connection);
    return shown;
}

std::optional<double> timedOpen(TPlayer& player, const std::string& film, const std::string& filtro) {
    player.SetFiltro(filtro);
    player.SetFileName(film);
    QElapsedTimer clock;
    clock.start();
    if (!player.Open()) return std::nullopt;
    return waitForPicture(player, {0, 0}, clock);
}

std::optional<double> timedSeek(TPlayer& player, int second) {
    // Whatever the last picture left to do (its painting) belongs to that picture, as it would
    // between two clicks of a user, not to this seek.
    QCoreApplication::processEvents();
    QElapsedTimer clock;
    clock.start();
    player.Seek(float(second));
    return waitForPicture(player, {second, 0}, clock);
}

std::vector<int> seekTargets(std::mt19937& random, int seconds) {
    std::uniform_int_distribution<int> pick(1, seconds - 2);
    std::vector<int> targets;
    while (targets.size() < kSeeks) {
        const int target = pick(random);
        if (targets.empty() || targets.back() != target) targets.push_back(target);
    }
    return targets;
}

void printRow(const char* what, const Summary& s, int misses) {
    std::printf("    %-24s mean %7.1f  median %7.1f  p90 %7.1f  worst %7.1f ms%s\n", what, s.mean, s.median, s.p90,
                s.worst, misses ? (" (" + std::to_string(misses) + " missed)").c_str() : "");
}

void benchFilm(const corvane::testing::TestFilm& film, const std::string& graph, std::mt19937& random) {
    const std::string path = corvane::testing::filmPath(film).string();
    std::printf("\n%s (%dx%d, %d s%s)\n", film.name.c_str(), film.width, film.height, film.seconds,
                film.audio ? ", sound" : "");
    const long baseline = bench::residentKilobytes();

    TPlayer player;
    if (!timedOpen(player, path, "x")) {
        std::printf("    cannot open: %s\n", player.lastError().c_str());
        return;
    }
    player.resize(player.VideoWidth(), player.VideoHeight());
    player.show();
    const long withFilm = bench::residentKilobytes();

    const MpvLibrary library;
    bench::BareMpv bare(library, player.VideoWidth(), player.VideoHeight());
    bare.open(path, {0, 0});

    // One opening is at the mercy of whatever else the machine does: take turns a few times.
    std::vector<double> layerOpens, plainOpens;
    for (int round = 0; round < kOpens; ++round) {
        // Away from the first picture, so that the old one cannot pass for the new film's.
        timedSeek(player, 30);
        bare.seek(30);
        player.CloseFile();
        if (const auto ms = timedOpen(player, path, "x")) layerOpens.push_back(*ms);
        if (const auto ms = bare.open(path, {0, 0})) plainOpens.push_back(*ms);
    }

    // Both warm up on one seek, then take turns on the same targets so that a busy machine
    // weighs on both alike.
    timedSeek(player, 1);
    bare.seek(1);
    std::vector<double> layer, plain, roundRatios;
    int layerMisses = 0, plainMisses = 0;
    for (int round = 0; round < kRounds; ++round) {
        double layerSum = 0, plainSum = 0;
        for (const int target : seekTargets(random, film.seconds)) {
            if (const auto ms = timedSeek(player, target)) {
                layer.push_back(*ms);
                layerSum += *ms;
            } else {
                ++layerMisses;
            }
            if (const auto ms = bare.seek(target)) {
                plain.push_back(*ms);
                plainSum += *ms;
            } else {
                ++plainMisses;
            }
        }
        if (plainSum > 0) roundRatios.push_back(layerSum / plainSum);
    }
    QElapsedTimer paintClock;
    paintClock.start();
    constexpr int kPaints = 20;
    for (int paint = 0; paint < kPaints; ++paint) player.repaint();
    const double paintMs = double(paintClock.nsecsElapsed()) / 1e6 / kPaints;

    const Summary layerSummary = summarize(layer);
    const Summary plainSummary = summarize(plain);

    const Summary layerOpen = summarize(layerOpens);
    const Summary plainOpen = summarize(plainOpens);
    std::printf("    open to first picture    TPlayer median %.1f ms (worst %.1f), "
                "bare libmpv median %.1f ms (worst %.1f)\n",
                layerOpen.median, layerOpen.worst, plainOpen.median, plainOpen.worst);
    std::printf("    resident memory          %ld kB with the film open (%+ld kB for the player)\n", withFilm,
                withFilm - baseline);
    std::printf("    %d rounds of %d exact seeks at %dx%d:\n", kRounds, kSeeks, player.VideoWidth(),
                player.VideoHeight());
    printRow("TPlayer", layerSummary, layerMisses);
    std::printf("    %-24s %.2f ms a picture, after the timed draw\n", "TPlayer painting", paintMs);
    printRow("bare libmpv", plainSummary, plainMisses);
    const auto [lowest, highest] = std::minmax_element(roundRatios.begin(), roundRatios.end());
    std::printf("    overhead ratio           mean %.3f, median %.3f; rounds %.3f to %.3f (goal <= 1.10)\n",
                plainSummary.mean > 0 ? layerSummary.mean / plainSummary.mean : 0.0,
                plainSummary.median > 0 ? layerSummary.median / plainSummary.median : 0.0,
                roundRatios.empty() ? 0.0 : *lowest, roundRatios.empty() ? 0.0 : *highest);

    if (graph != "x") {
        // The same seeks with the graph the main window chooses for this film.
        TPlayer withGraph;
        if (!timedOpen(withGraph, path, graph)) return;
        std::vector<double> graphed;
        for (const int target : seekTargets(random, film.seconds))
            if (const auto ms = timedSeek(withGraph, target)) graphed.push_back(*ms);
        printRow(("TPlayer, " + std::filesystem::path(graph).filename().string()).c_str(), summarize(graphed),
                 kSeeks - int(graphed.size()));
    }
}

}  // namespace

// Each film runs in a process of its own, so that its memory figure is its own.
int main(int argc, char** argv) {
    const std::string system = std::string(CORVANE_SOURCE_DIR) + "/data/System/";
    const std::vector<std::pair<const corvane::testing::TestFilm*, std::string>> films = {
        {&corvane::testing::mpeg2Film(), system + "Mpeg2_ADS_Audio_c.GRF"},
        {&corvane::testing::mpeg1Film(), system + "Mpeg1.GRF"},
        {&corvane::testing::h264Film(), system + "Mpeg1.GRF"},
    };
    if (argc == 1) {
        std::printf("Player control against a bare libmpv loop (software rendering, audio output null)\n");
        return corvane::bench::runEachFilmInItsOwnProcess(argv[0], films.size());
    }
    // --film N [--graph FILE]: one film, with another graph for the last run if given.
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (arguments.size() < 2 || arguments[0] != "--film" || std::stoul(arguments[1]) >= films.size()) {
        std::fprintf(stderr, "usage: corvane_player_bench [--film 0|1|2 [--graph FILE]]\n");
        return 2;
    }
    const auto& [film, chosenGraph] = films[std::stoul(arguments[1])];
    const std::string graph = arguments.size() >= 4 && arguments[2] == "--graph" ? arguments[3] : chosenGraph;

    corvane::bench::prepareHeadlessRun();
    QApplication application(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    std::mt19937 random(20261207);
    benchFilm(*film, graph, random);
    return 0;
}
