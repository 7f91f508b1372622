// The waits a coach notices, on films that cost their decoder what real footage costs: a click on
// the bar, Next in the code list (a plain exact seek, and a second paused player swapped in), the
// list moving on by itself at an action's end, a frame step either way; then the processor time
// of playing and the memory of one player and of a second. The player control is set against a
// bare libmpv loop where both can do the same thing.

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QTimer>
#include <QWidget>

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "app/player/player_pair.h"
#include "app/player/tplayer.h"
#include "bench/player/bare_mpv.h"
#include "bench/player/bench_process.h"
#include "gui/player_test_support.h"

using namespace corvane;
using corvane::testing::FrameStamp;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kFps = 25;
constexpr int kLimitMs = 5000;  // a sample not seen by then is missed
constexpr int kActionFrames = 15;  // the played action before the list moves on: 0.6 s
constexpr auto kPlayingBeforeClick = std::chrono::milliseconds(200);
constexpr auto kCpuPlayback = std::chrono::seconds(10);

struct BenchFilm {
    corvane::testing::TestFilm film;
    const char* description;
    int samples;  // of each timed kind; fewer where one costs most of a second
};

// Grain that changes every frame under a moving pattern: every picture must really be decoded.
const std::vector<BenchFilm>& benchFilms() {
    static const std::vector<BenchFilm> films = {
        {{"bench_h264_1080p_gop50.mp4", "--codec h264 --size 1920x1080 --seconds 60 --gop 50 --bitrate 8000 --noise",
          1920, 1080, 60, false},
         "H.264 1920x1080, 8 Mbit/s, a key frame every 2 s",
         30},
        {{"bench_h264_1080p_gop250.mp4",
          "--codec h264 --size 1920x1080 --seconds 60 --gop 250 --bitrate 8000 --noise", 1920, 1080, 60, false},
         "H.264 1920x1080, 8 Mbit/s, a key frame every 10 s",
         20},
        {{"bench_mpeg2_720x576_dvd.mpg", "--codec mpeg2 --size 720x576 --seconds 60 --bitrate 6000 --noise --audio",
          720, 576, 60, true},
         "MPEG-2 720x576 with sound, 6 Mbit/s (DVD)",
         30},
    };
    return films;
}

int frameIndex(FrameStamp stamp) { return stamp.second * kFps + stamp.frame; }

double msBetween(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

double residentMegabytes() { return double(bench::residentKilobytes()) / 1024.0; }

struct Figures {
    double median = 0, p90 = 0;
    int count = 0, misses = 0;
};

Figures figuresOf(std::vector<double> values, int misses) {
    Figures figures;
    figures.misses = misses;
    figures.count = int(values.size());
    if (values.empty()) return figures;
    std::sort(values.begin(), values.end());
    figures.median = values[values.size() / 2];
    figures.p90 = values[std::min(values.size() - 1, values.size() * 9 / 10)];
    return figures;
}

// Collects timed samples; a sample that never came counts as a miss.
struct Samples {
    std::vector<double> values;
    int misses = 0;
    void add(std::optional<double> ms) {
        if (ms) values.push_back(*ms);
        else ++misses;
    }
    Figures figures() const { return figuresOf(values, misses); }
};

// Runs the event loop until `done`, looked at every millisecond; false when the time ran out.
bool runUntil(const std::function<bool()>& done, int limitMs = kLimitMs) {
    if (done()) return true;
    QEventLoop loop;
    QTimer poll;
    poll.setInterval(1);
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done()) loop.quit();
    });
    QTimer::singleShot(limitMs, &loop, &QEventLoop::quit);
    poll.start();
    loop.exec();
    return done();
}

// Runs the event loop, and nothing else, for the time given.
void runFor(std::chrono::milliseconds time) {
    QEventLoop loop;
    QTimer::singleShot(time, &loop, &QEventLoop::quit);
    loop.exec();
}

std::optional<FrameStamp> shown(const TPlayer& player) { return corvane::testing::stampOf(player.currentFrame()); }

// The first moments a player draws, and paints on screen, the target picture, or one of the few
// after it when `later` frames are allowed (a swapped-in player may start playing before it paints).
class Sighting : public QObject {
public:
    Sighting(TPlayer& player, FrameStamp target, int later = 0)
        : player_(player), target_(frameIndex(target)), later_(later) {
        player_.installEventFilter(this);
        connect(&player_, &TPlayer::frameDrawn, this, [this] {
            if (!drawn && reached()) drawn = Clock::now();
        });
    }
    ~Sighting() override { player_.removeEventFilter(this); }

    std::optional<Clock::time_point> drawn, painted;
    std::optional<FrameStamp> paintedStamp;  // what the first painted picture showed

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        // The picture painted is the one in the buffer as the paint begins.
        if (event->type() == QEvent::Paint && !painted && reached()) {
            painted = Clock::now();
            paintedStamp = shown(player_);
        }
        return false;
    }

private:
    bool reached() const {
        const auto stamp = shown(player_);
        return stamp && frameIndex(*stamp) >= target_ && frameIndex(*stamp) <= target_ + later_;
    }

    TPlayer& player_;
    int target_;
    int later_;
};

std::optional<double> drawnAfter(Clock::time_point start, const Sighting& sighting) {
    return sighting.drawn ? std::optional(msBetween(start, *sighting.drawn)) : std::nullopt;
}

std::optional<double> paintedAfter(Clock::time_point start, const Sighting& sighting) {
    return sighting.painted ? std::optional(msBetween(start, *sighting.painted)) : std::nullopt;
}

// A paused exact seek, waited out until the picture of the target is in the player's buffer.
bool land(TPlayer& player, FrameStamp target) {
    player.Pause();
    player.Seek(float(target.second) + float(target.frame) / kFps);
    return runUntil([&] { return !player.seeking() && shown(player) == target; });
}

std::vector<int> randomSeconds(std::mt19937& random, int count, int first, int last) {
    std::uniform_int_distribution<int> pick(first, last);
    std::vector<int> seconds;
    while (int(seconds.size()) < count) {
        const int second = pick(random);
        if (seconds.empty() || std::abs(seconds.back() - second) > 1) seconds.push_back(second);
    }
    return seconds;
}

// The program's own pair of players on the film: the one shown, and a hidden silent standby that
// Next makes the shown one, swapped as the main window swaps them.
class BenchPlayers {
public:
    explicit BenchPlayers(const std::string& film, QSize size) : film_(film), parent_(nullptr) {
        parent_.resize(size);
        auto* shown = new TPlayer(&parent_);
        shown->setGeometry(0, 0, size.width(), size.height());
        shown->SetFileName(film);
        pair_ = std::make_unique<corvane::PlayerPair>(*shown);
        parent_.show();
    }
    bool openShown() {
        TPlayer& player = shown();
        player.show();
        return player.Open();
    }
    TPlayer& shown() { return pair_->shown(); }
    TPlayer& standby() { return *pair_->standby(); }
    // The standby brought to the second and waited for until it is ready to be swapped in.
    bool prepare(int second) {
        pair_->prepare(target(second));
        return runUntil([&] { return pair_->readyFor(target(second)); });
    }
    // Next with look-ahead: the standby takes the screen and plays; the other becomes the standby.
    void swap() {
        if (!pair_->prepared() || !pair_->swapFor(*pair_->prepared())) return;
        shown().Play();
    }

private:
    corvane::PlayerPair::Target target(int second) const {
        return {film_, pair_->shown().Filtro(), double(second)};
    }

    std::string film_;
    QWidget parent_;
    std::unique_ptr<corvane::PlayerPair> pair_;
};

struct ClickFigures {
    Samples player, bare;
};

// Exact seeks to random seconds, from the call to the first drawn picture at the target.
ClickFigures clicks(TPlayer& player, bench::BareMpv& bare, const std::vector<int>& targets, bool playing) {
    ClickFigures figures;
    land(player, {1, 0});
    bare.seek(1);
    if (playing) {
        player.Play();
        bare.setPaused(false);
    }
    for (const int target : targets) {
        if (playing) runFor(kPlayingBeforeClick);
        QCoreApplication::processEvents();
        const Sighting sighting(player, {target, 0});
        const auto start = Clock::now();
        player.Seek(float(target));
        runUntil([&] { return sighting.drawn.has_value(); });
        figures.player.add(drawnAfter(start, sighting));

        if (playing) bare.renderFor(kPlayingBeforeClick);
        figures.bare.add(bare.seek(target));
    }
    player.Pause();
    bare.setPaused(true);
    return figures;
}

// Next while an action plays: the time until the next action's first picture is on screen.
struct NextFigures {
    Samples next;
    int late = 0;  // samples whose first painted picture was a frame or two past the target
};

// Without look-ahead: the shown player seeks to the next action.
NextFigures nextBySeek(TPlayer& player, const std::vector<int>& targets) {
    NextFigures figures;
    land(player, {1, 0});
    player.Play();
    for (const int target : targets) {
        runFor(kPlayingBeforeClick);
        const Sighting sighting(player, {target, 0}, 2);
        const auto start = Clock::now();
        player.Seek(float(target));
        runUntil([&] { return sighting.painted.has_value(); });
        figures.next.add(paintedAfter(start, sighting));
        if (sighting.paintedStamp && *sighting.paintedStamp != FrameStamp{target, 0}) ++figures.late;
    }
    player.Pause();
    return figures;
}

// With look-ahead: the standby waits at the next action, landed, and is swapped in.
NextFigures nextBySwap(BenchPlayers& pair, const std::vector<int>& targets) {
    NextFigures figures;
    land(pair.shown(), {1, 0});
    pair.shown().Play();
    for (const int target : targets) {
        const auto prepared = Clock::now();
        if (!pair.prepare(target)) {
            figures.next.add(std::nullopt);
            continue;
        }
        runFor(std::max(std::chrono::milliseconds(0),
                        kPlayingBeforeClick - std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - prepared)));
        QCoreApplication::processEvents();
        const Sighting sighting(pair.standby(), {target, 0}, 2);
        const auto start = Clock::now();
        pair.swap();
        runUntil([&] { return sighting.painted.has_value(); });
        figures.next.add(paintedAfter(start, sighting));
        if (sighting.paintedStamp && *sighting.paintedStamp != FrameStamp{target, 0}) ++figures.late;
    }
    pair.shown().Pause();
    return figures;
}

// The list moves on by itself: action k plays to its last frame, then the next action's first
// frame follows, by a seek of the shown player or by the swap.
struct MoveFigures {
    Samples interval;  // from the last frame of k painted to the first frame of k+1 painted
    int overshoot = 0;  // frames of the film past action k painted before k+1 came
};

MoveFigures automaticMoves(BenchPlayers& pair, const std::vector<int>& starts, const std::vector<int>& nexts,
                           bool swap) {
    MoveFigures figures;
    for (std::size_t n = 0; n < starts.size(); ++n) {
        TPlayer& playing = pair.shown();
        const FrameStamp next{nexts[n], 0};
        if (!land(playing, {starts[n], 0}) || (swap && !pair.prepare(next.second))) {
            figures.interval.add(std::nullopt);
            continue;
        }
        const int last = frameIndex({starts[n], 0}) + kActionFrames - 1;
        TPlayer& arriving = swap ? pair.standby() : playing;
        std::optional<Clock::time_point> lastPainted;
        std::optional<Sighting> sighting;
        int beyond = 0;

        // Watches the painting of action k; the step starts once its last frame is on screen.
        class EndWatch : public QObject {
        public:
            explicit EndWatch(std::function<void()> onPaint) : onPaint_(std::move(onPaint)) {}
            bool eventFilter(QObject*, QEvent* event) override {
                if (event->type() == QEvent::Paint) onPaint_();
                return false;
            }

        private:
            std::function<void()> onPaint_;
        } watch([&] {
            const auto stamp = shown(playing);
            if (!stamp || frameIndex(*stamp) < last) return;
            if (lastPainted) {
                if (!sighting || !sighting->painted) ++beyond;
                return;
            }
            lastPainted = Clock::now();
            // The step follows the paint, as a window reacts to what it has just shown.
            QTimer::singleShot(0, &playing, [&] {
                sighting.emplace(arriving, next, 2);
                if (swap) pair.swap();
                else playing.Seek(float(next.second));
            });
        });
        playing.installEventFilter(&watch);
        playing.Play();
        runUntil([&] { return sighting && sighting->painted.has_value(); });
        playing.removeEventFilter(&watch);
        figures.interval.add(lastPainted && sighting && sighting->painted
                                 ? std::optional(msBetween(*lastPainted, *sighting->painted))
                                 : std::nullopt);
        figures.overshoot += beyond;
        pair.shown().Pause();
        sighting.reset();
    }
    return figures;
}

struct StepFigures {
    Samples forward, back;
};

// A frame forward (the player's own step) and back (an exact seek one frame back, as the window does).
StepFigures frameSteps(TPlayer& player, const std::vector<int>& seconds) {
    StepFigures figures;
    for (const int second : seconds) {
        if (!land(player, {second, 0})) continue;
        {
            const Sighting sighting(player, {second, 1});
            const auto start = Clock::now();
            player.StepFrame();
            runUntil([&] { return sighting.drawn.has_value(); });
            figures.forward.add(drawnAfter(start, sighting));
        }
        // The window steps back from the position the player reports.
        runUntil([&] { return std::abs(player.Position() - (second + 1.0 / kFps)) < 0.005; }, 2000);
        QCoreApplication::processEvents();
        std::optional<Clock::time_point> drawn;
        const auto connection = QObject::connect(&player, &TPlayer::frameDrawn, [&] {
            if (!drawn && shown(player) == FrameStamp{second, 0}) drawn = Clock::now();
        });
        const auto start = Clock::now();
        player.Seek(float(player.Position() - 1.0 / kFps));
        runUntil([&] { return drawn.has_value(); });
        QObject::disconnect(connection);
        figures.back.add(drawn ? std::optional(msBetween(start, *drawn)) : std::nullopt);
    }
    return figures;
}

struct CpuFigures {
    double player = 0, bare = 0;  // processor seconds a second of film
    long playerFrames = 0, bareFrames = 0;
};

CpuFigures playbackCpu(TPlayer& player, bench::BareMpv& bare) {
    CpuFigures figures;
    const double seconds = std::chrono::duration<double>(kCpuPlayback).count();
    land(player, {5, 0});
    const auto drawnBefore = player.framesDrawn();
    double before = cpuSeconds();
    player.Play();
    runFor(kCpuPlayback);
    player.Pause();
    figures.player = (cpuSeconds() - before) / seconds;
    figures.playerFrames = long(player.framesDrawn() - drawnBefore);

    bare.seek(5);
    before = cpuSeconds();
    bare.setPaused(false);
    figures.bareFrames = bare.renderFor(kCpuPlayback);
    bare.setPaused(true);
    figures.bare = (cpuSeconds() - before) / seconds;
    return figures;
}

void printHeader() { std::printf("    %-34s %9s %9s %6s\n", "", "median ms", "p90 ms", "n"); }

void printRow(const char* what, const Figures& figures) {
    std::printf("    %-34s %9.1f %9.1f %6d", what, figures.median, figures.p90, figures.count);
    if (figures.misses) std::printf("  (%d missed)", figures.misses);
    std::printf("\n");
}

void printRatio(const char* what, const Figures& player, const Figures& bare) {
    std::printf("    %-34s %9.2f %9.2f\n", what, bare.median > 0 ? player.median / bare.median : 0.0,
                bare.p90 > 0 ? player.p90 / bare.p90 : 0.0);
}

void benchFilm(const BenchFilm& bench, std::mt19937& random) {
    const auto& film = bench.film;
    const std::string path = corvane::testing::filmPath(film).string();
    const double megabits = double(std::filesystem::file_size(path)) * 8 / 1e6 / film.seconds;
    std::printf("\n%s: %s (%.1f Mbit/s in all)\n", film.name.c_str(), bench.description, megabits);
    const QSize size(film.width, film.height);
    const int samples = bench.samples;

    // Memory first, before any other player or decoder has grown the process.
    const double baseline = residentMegabytes();
    BenchPlayers pair(path, size);
    if (!pair.openShown()) {
        std::printf("    cannot open: %s\n", pair.shown().lastError().c_str());
        return;
    }
    land(pair.shown(), {20, 0});
    pair.shown().Play();
    runFor(std::chrono::seconds(2));
    pair.shown().Pause();
    const double one = residentMegabytes();
    pair.prepare(40);
    runFor(std::chrono::milliseconds(500));
    const double two = residentMegabytes();

    const MpvLibrary library;
    bench::BareMpv bare(library, film.width, film.height);
    bare.open(path, {0, 0});

    const CpuFigures cpu = playbackCpu(pair.shown(), bare);
    const auto pausedClicks = clicks(pair.shown(), bare, randomSeconds(random, samples, 3, film.seconds - 3), false);
    const auto playingClicks = clicks(pair.shown(), bare, randomSeconds(random, samples, 3, film.seconds - 3), true);
    const NextFigures seekNext = nextBySeek(pair.shown(), randomSeconds(random, samples, 3, film.seconds - 3));
    const NextFigures swapNext = nextBySwap(pair, randomSeconds(random, samples, 3, film.seconds - 3));
    const int moves = std::max(10, samples / 2);
    const auto starts = randomSeconds(random, moves, 3, film.seconds - 3);
    std::vector<int> nexts;  // a jump of at least two seconds either way, as between listed actions
    std::uniform_int_distribution<int> jump(2, film.seconds - 8);
    for (const int start : starts) nexts.push_back(3 + (start - 3 + jump(random)) % (film.seconds - 5));
    const MoveFigures movedBySeek = automaticMoves(pair, starts, nexts, false);
    const MoveFigures movedBySwap = automaticMoves(pair, starts, nexts, true);
    const StepFigures steps = frameSteps(pair.shown(), randomSeconds(random, samples, 3, film.seconds - 3));

    printHeader();
    printRow("click, paused: TPlayer", pausedClicks.player.figures());
    printRow("click, paused: bare libmpv", pausedClicks.bare.figures());
    printRatio("click, paused: ratio", pausedClicks.player.figures(), pausedClicks.bare.figures());
    printRow("click, playing: TPlayer", playingClicks.player.figures());
    printRow("click, playing: bare libmpv", playingClicks.bare.figures());
    printRatio("click, playing: ratio", playingClicks.player.figures(), playingClicks.bare.figures());
    printRow("Next, exact seek (on screen)", seekNext.next.figures());
    if (seekNext.late) std::printf("      %d first painted a picture past the target\n", seekNext.late);
    printRow("Next, look-ahead swap (on screen)", swapNext.next.figures());
    if (swapNext.late) std::printf("      %d first painted a picture past the target\n", swapNext.late);
    printRow("list moves on, seek: interval", movedBySeek.interval.figures());
    std::printf("      %d frames past the action's end shown in all\n", movedBySeek.overshoot);
    printRow("list moves on, swap: interval", movedBySwap.interval.figures());
    std::printf("      %d frames past the action's end shown in all\n", movedBySwap.overshoot);
    printRow("frame step forward", steps.forward.figures());
    printRow("frame step back (exact seek)", steps.back.figures());
    std::printf("    CPU s a film second, playing %.0f s  TPlayer %.3f (%ld frames)  bare %.3f (%ld frames)  ratio %.2f\n",
                std::chrono::duration<double>(kCpuPlayback).count(), cpu.player, cpu.playerFrames, cpu.bare,
                cpu.bareFrames, cpu.bare > 0 ? cpu.player / cpu.bare : 0.0);
    std::printf("    resident memory  before %.0f MB, one player %.0f MB (+%.0f), two %.0f MB: the second +%.0f MB\n",
                baseline, one, one - baseline, two, two - one);
}

}  // namespace

// Each film runs in a process of its own, so that its memory figures are its own.
int main(int argc, char** argv) {
    const auto& films = benchFilms();
    if (argc == 1) {
        std::printf("Player control on 60-second films with grain, against bare libmpv (software rendering, "
                    "audio output null)\n");
        return bench::runEachFilmInItsOwnProcess(argv[0], films.size());
    }
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (arguments.size() != 2 || arguments[0] != "--film" || std::stoul(arguments[1]) >= films.size()) {
        std::fprintf(stderr, "usage: corvane_next_bench [--film 0|1|2]\n");
        return 2;
    }
    bench::prepareHeadlessRun();
    QApplication application(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    std::mt19937 random(20261210);
    benchFilm(films[std::stoul(arguments[1])], random);
    return 0;
}
