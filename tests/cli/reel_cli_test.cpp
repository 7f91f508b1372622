#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>

#include <chrono>
#include <thread>

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "cli/cli_runner.h"
#include "support/folder_snapshot.h"
#include "support/reel_frames.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;

const std::string kVolley = "2026-11-28_Volley_Falchi-Delfini";

std::string demoDisc() {
    const char* named = std::getenv("CORVANE_DEMO_DISC");
    return named && *named ? named : CORVANE_BINARY_DIR "/demo-disc";
}

class ReelCommand : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(fs::is_directory(demoDisc() + "/Tlx_Video")) << "no demo disc at " << demoDisc();
    }
    testing::TempFolder scratch;
};

TEST_F(ReelCommand, BadInputEndsWithTwoAndWritesNothing) {
    const std::string package = demoDisc() + "/Tlx_Video/" + kVolley;
    const std::string out = (scratch / "reel.mp4").string();
    const struct {
        std::vector<std::string> arguments;
        std::string message;
    } cases[] = {
        {{"reel", demoDisc(), kVolley}, "--out"},
        {{"reel", demoDisc(), "No such match", "--out", out}, "no match package"},
        {{"reel", demoDisc() + "/nowhere", kVolley, "--out", out}, "no disc folder"},
        {{"reel", demoDisc(), kVolley, "--code", "*99A~#", "--out", out}, "no action"},
        {{"reel", demoDisc(), kVolley, "--analysis", "0", "--out", out}, "Analisi.ini"},
        {{"reel", demoDisc(), kVolley, "--out", package + "/reel.mp4"}, "package folders"},
        {{"reel", demoDisc(), kVolley, "--out", (scratch / "missing" / "reel.mp4").string()}, "no folder"},
        {{"reel", demoDisc(), kVolley, "--pre-roll", "x", "--out", out}, "pre-roll"},
        {{"reel", demoDisc(), kVolley, "--pre-roll", "-1", "--out", out}, "--pre-roll is the seconds before each code and cannot be negative: -1"},
        {{"reel", demoDisc(), "Falchi_Stagione_2026", "--out", out},
         "no match package named Falchi_Stagione_2026; Falchi_Stagione_2026 is a synthesis: use --synthesis"},
        {{"reel", demoDisc(), kVolley, "--synthesis", "--out", out},
         "no synthesis package named " + kVolley + "; " + kVolley + " is a match: leave out --synthesis"},
    };
    const auto before = testing::snapshot(demoDisc() + "/Tlx_Video");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.back());
        std::string errors;
        EXPECT_EQ(runCli(c.arguments, &errors).exitCode, 2);
        EXPECT_NE(errors.find(c.message), std::string::npos) << errors;
    }
    EXPECT_TRUE(fs::is_empty(scratch.path()));
    EXPECT_EQ(testing::differences(before, testing::snapshot(demoDisc() + "/Tlx_Video")), "");
}

// Standard error here is a file, as in a log: one progress line a clip, none redrawn.
TEST_F(ReelCommand, WritesTheClipsOfASearchWithItsProgressOnStandardError) {
    // Kills of number 7 of the home side in the first two sets, each to its rally's point.
    const std::string folder = (scratch / "clips").string();
    std::string errors;
    const CliRun run = runCli({"reel", demoDisc(), kVolley, "--code", "*07A~#", "--sets", "1;2;", "--out", folder,
                               "--clips", "--captions", "--end-offset", "1"},
                              &errors);
    ASSERT_EQ(run.exitCode, 0) << errors;
    std::vector<fs::path> clips;
    for (const auto& entry : fs::directory_iterator(folder)) clips.push_back(entry.path());
    ASSERT_EQ(clips.size(), 2u);
    EXPECT_NE(errors.find("\ncorvane-cli: 2 clips written to " + folder + "\n"), std::string::npos) << errors;
    EXPECT_EQ(errors.find('\r'), std::string::npos) << errors;
    for (const std::string line : {"clip 1/2 ", "clip 2/2 "}) {
        const auto first = errors.find(line);
        ASSERT_NE(first, std::string::npos) << line << errors;
        EXPECT_TRUE(first == 0 || errors[first - 1] == '\n') << errors;
        EXPECT_EQ(errors.find(line, first + 1), std::string::npos) << "a clip's progress told twice: " << errors;
    }
    std::sort(clips.begin(), clips.end());
    EXPECT_EQ(clips.front().filename(), "01.mp4");
    // Each clip is one unbroken stretch of its film.
    for (const fs::path& clip : clips) EXPECT_EQ(testing::stampRuns(testing::filmStamps(clip)).size(), 1u) << clip;
}

// On a terminal (script(1) gives it one) the progress stays one line redrawn in place.
TEST_F(ReelCommand, OnATerminalTheProgressIsOneLineRedrawn) {
    const std::string film = (scratch / "kills.mp4").string();
    const std::string command = "'" CORVANE_CLI "' reel '" + demoDisc() + "' '" + kVolley + "' --code '*07A~#' --sets '1;2;' --out '" + film + "'";
    const ShellRun run = runShell("script -qec \"" + command + "\" /dev/null", {});
    ASSERT_EQ(run.exitCode, 0) << run.out << run.err;
    EXPECT_NE(run.out.find("\rclip 1/2 "), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\rclip 2/2 "), std::string::npos) << run.out;
    EXPECT_EQ(run.out.find("\nclip "), std::string::npos) << "a progress line of its own on a terminal: " << run.out;
    EXPECT_NE(run.out.find("2 clips written"), std::string::npos) << run.out;
}

// A film already at --out is left alone unless --force; with it, the new reel takes its place.
TEST_F(ReelCommand, AnExistingFilmIsReplacedOnlyWithForce) {
    const fs::path film = scratch / "kills.mp4";
    const fs::path dangling = scratch / "link.mp4";
    fs::create_symlink(scratch / "nowhere.mp4", dangling);
    for (const fs::path& out : {film, dangling}) {
        SCOPED_TRACE(out);
        if (out == film) std::ofstream(film) << "the coach's own film";
        const std::vector<std::string> arguments{"reel", demoDisc(), kVolley, "--code", "*07A~#", "--sets", "1;",
                                                 "--out", out.string()};
        std::string errors;
        EXPECT_EQ(runCli(arguments, &errors).exitCode, 2);
        EXPECT_NE(errors.find(out.string() + " exists: --force replaces it"), std::string::npos) << errors;
        EXPECT_FALSE(fs::exists(scratch / "nowhere.mp4"));
        if (out == film) EXPECT_EQ(testing::readFile(film), "the coach's own film");

        auto forced = arguments;
        forced.push_back("--force");
        ASSERT_EQ(runCli(forced, &errors).exitCode, 0) << errors;
        EXPECT_NE(errors.find("1 clip written to " + out.string()), std::string::npos) << errors;
        EXPECT_EQ(testing::stampRuns(testing::filmStamps(out)).size(), 1u);
    }
    // The usage text names the flag.
    const CliRun help = runCli({"reel", "--help"});
    EXPECT_NE(help.out.find("--force"), std::string::npos) << help.out;
}

}  // namespace
}  // namespace corvane

namespace corvane {
namespace {

namespace fs = std::filesystem;

// A match package whose film 1 is a small good film and film 2 hostile: one listed action on
// film 1, three on film 2.
class HostileFilmDisc {
public:
    explicit HostileFilmDisc(const std::function<void(const fs::path&)>& makeFilm2) {
        const fs::path system = fs::path(CORVANE_SOURCE_DIR) / "data" / "System";
        fs::create_directories(disc_ / "System");
        for (const char* name : {"Messages0.txt", "Messages1.txt"})
            fs::copy_file(system / name, disc_ / ("System/" + std::string(name)));
        disc_.write("System/Language.cfg", "1\r\n");
        fs::create_directories(disc_ / "Tlx_Video/Partita");
        makeFilm(disc_ / "Tlx_Video/Partita/Film01.mpg", "testsrc=size=64x48:rate=25", 10);
        makeFilm2(disc_ / "Tlx_Video/Partita/Film02.mpg");
        disc_.write("Tlx_Video/Partita/FilmList.cfg", "Film01.mpg\r\nFilm02.mpg\r\n");
        disc_.write("Tlx_Video/Partita/Match.cfg", "sport=1\r\ncapturecard=\r\nfile rilevazione=scout.dvw\r\n");
        disc_.write("Tlx_Video/Partita/scout.dvw",
                    "[3KESTRALINESCOUT]\r\n[3SCOUT]\r\n"
                    "*10AH#;;;;;;;20.00.00;1;;;1;3\r\n"
                    "*p01:00;;;;;;;20.00.01;1;;;1;6\r\n"
                    "*07AH#;;;;;;;20.00.02;1;;;2;2\r\n"
                    "*p02:00;;;;;;;20.00.03;1;;;2;4\r\n"
                    "*08AH#;;;;;;;20.00.04;1;;;2;6\r\n"
                    "*p03:00;;;;;;;20.00.05;1;;;2;8\r\n"
                    "*09AH#;;;;;;;20.00.06;1;;;2;10\r\n"
                    "*p04:00;;;;;;;20.00.07;1;;;2;12\r\n");
    }
    static void makeFilm(const fs::path& film, const std::string& source, int seconds,
                         const std::string& extra = "-c:v mpeg1video") {
        const std::string command = "ffmpeg -v error -y -f lavfi -i " + source + " -t " + std::to_string(seconds) + " " +
                                    extra + " '" + film.string() + "'";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
    }
    std::string path() const { return disc_.path().string(); }

private:
    testing::TempFolder disc_;
};

TEST(ReelCommandOnHostileFilms, EveryActionLeftOutIsToldAndFailsTheRunUnlessSkipMissing) {
    // What is not a file at all the film list leaves out, so the package has no film 2.
    const char* unreadable = ": the film cannot be read: ";
    const char* noFilm = ": the package has no film 2";
    const struct {
        const char* film;
        std::function<void(const fs::path&)> make;
        const char* reason;
    } cases[] = {
        {"0 bytes", [](const fs::path& f) { std::ofstream{f}; }, unreadable},
        {"no frames",
         [](const fs::path& f) {
             HostileFilmDisc::makeFilm(f, "testsrc=size=64x48:rate=25", 1, "-frames:v 0 -c:v mpeg1video -f matroska");
         },
         unreadable},
        {"sound only", [](const fs::path& f) { HostileFilmDisc::makeFilm(f, "sine=frequency=440", 20, "-c:a mp2"); },
         unreadable},
        {"a FIFO", [](const fs::path& f) { ASSERT_EQ(::mkfifo(f.c_str(), 0644), 0); }, noFilm},
        {"a link to /dev/urandom", [](const fs::path& f) { fs::create_symlink("/dev/urandom", f); }, noFilm},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.film);
        const HostileFilmDisc disc(c.make);
        testing::TempFolder scratch;
        const std::string out = (scratch / "reel.mp4").string();
        for (const bool skipMissing : {false, true}) {
            std::vector<std::string> arguments{disc.path(), "Partita", "--code", "*~~A~#", "--out", out};
            if (skipMissing) arguments.push_back("--skip-missing");
            // A FIFO nobody writes or an endless device would hold the probe for good.
            const ShellRun run = runShell("timeout 120 '" CORVANE_CLI "' reel", arguments);
            EXPECT_EQ(run.exitCode, skipMissing ? 0 : 1) << run.err;
            EXPECT_EQ(run.err.find("not exported: action 1 "), std::string::npos) << run.err;
            for (const char* action : {"action 2 ", "action 3 ", "action 4 "}) {
                const auto at = run.err.find(std::string("not exported: ") + action);
                ASSERT_NE(at, std::string::npos) << action << run.err;
                const auto line = run.err.substr(at, run.err.find('\n', at) - at);
                EXPECT_NE(line.find(c.reason), std::string::npos) << line;
            }
            EXPECT_NE(run.err.find("1 clip written"), std::string::npos) << run.err;
            if (!skipMissing) EXPECT_NE(run.err.find("3 of 4 listed actions not exported"), std::string::npos) << run.err;
            EXPECT_TRUE(fs::is_regular_file(out));
            fs::remove(out);
        }
    }
}

TEST(ReelCommandOnALinkedPackage, APackageFolderThatLinksOutOfTlxVideoTakesNothing) {
    const HostileFilmDisc disc([](const fs::path& f) { HostileFilmDisc::makeFilm(f, "testsrc=size=64x48:rate=25", 10); });
    testing::TempFolder elsewhere;
    fs::create_directory_symlink(elsewhere.path(), fs::path(disc.path()) / "Tlx_Video" / "Linked");
    for (const bool clips : {false, true}) {
        SCOPED_TRACE(clips);
        std::vector<std::string> arguments{"reel", disc.path(), "Partita", "--out",
                                           disc.path() + "/Tlx_Video/Linked/" + (clips ? "clips" : "x.mp4")};
        if (clips) arguments.push_back("--clips");
        std::string errors;
        EXPECT_EQ(runCli(arguments, &errors).exitCode, 2);
        EXPECT_NE(errors.find("nothing is written into the disc's package folders"), std::string::npos) << errors;
    }
    EXPECT_TRUE(fs::is_empty(elsewhere.path()));
}

// The companion started on an export long enough to be stopped, and the signal sent once its
// hidden part is there.
TEST(ReelCommandStopped, EachStopSignalEndsTheExportAndLeavesNothing) {
    const HostileFilmDisc disc([](const fs::path& f) { HostileFilmDisc::makeFilm(f, "testsrc=size=640x480:rate=25", 60); });
    for (const int signal : {SIGHUP, SIGTERM, SIGINT}) {
        SCOPED_TRACE(signal);
        testing::TempFolder out;
        const std::string destination = (out / "reel.mp4").string();
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            // The whole list: its last action plays to the end of the minute-long film 2.
            ::execl(CORVANE_CLI, CORVANE_CLI, "reel", disc.path().c_str(), "Partita", "--out", destination.c_str(),
                    "--skip-missing", static_cast<char*>(nullptr));
            ::_exit(127);
        }
        const auto started = std::chrono::steady_clock::now();
        const auto partThere = [&] {
            for (const auto& entry : fs::directory_iterator(out.path()))
                if (entry.path().filename().string().starts_with(".reel.mp4.part-")) return true;
            return false;
        };
        while (!partThere() && std::chrono::steady_clock::now() - started < std::chrono::seconds(60))
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        ASSERT_TRUE(partThere());
        std::this_thread::sleep_for(std::chrono::milliseconds(300));  // well into the encoding
        ::kill(child, signal);
        int status = 0;
        while (::waitpid(child, &status, WNOHANG) == 0 && std::chrono::steady_clock::now() - started < std::chrono::seconds(60))
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        if (!WIFEXITED(status) && !WIFSIGNALED(status)) {
            ::kill(child, SIGKILL);
            ::waitpid(child, &status, 0);
            FAIL() << "the export went on after the signal";
        }
        EXPECT_TRUE(WIFEXITED(status)) << "ended by the signal itself";
        EXPECT_EQ(WEXITSTATUS(status), 1);
        EXPECT_TRUE(fs::is_empty(out.path()));
    }
}

}  // namespace
}  // namespace corvane
