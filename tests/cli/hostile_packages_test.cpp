// Packages built to hurt the player: each is opened the way the player opens it (configuration
// and scout file, film list, events, analyses) and by the companion, under a watchdog, and must
// give its expected outcome with nothing written on the disc.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <fstream>
#include <functional>
#include <random>
#include <sys/stat.h>

#include "cli/cli_runner.h"
#include "codes/analyses_file.h"
#include "core/log.h"
#include "core/program_state.h"
#include "scout/events.h"
#include "scout/line_cipher.h"
#include "scout/packages.h"
#include "support/folder_snapshot.h"
#include "support/test_support.h"
#include "support/watchdog.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;
using testing::FixedPlatform;
using testing::TempFolder;

// Writes the files of one package; every name is below the package folder except where a case
// points at the "outside" folder of the test on purpose.
class PackageWriter {
public:
    PackageWriter(const fs::path& package, const fs::path& outside) : package_(package), outside_(outside) {
        fs::create_directories(package_);
    }
    const PackageWriter& file(const std::string& name, const std::string& content) const {
        const fs::path path = package_ / name;
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << content;
        return *this;
    }
    const PackageWriter& fifo(const std::string& name) const {
        ::mkfifo((package_ / name).c_str(), 0600);
        return *this;
    }
    const PackageWriter& folder(const std::string& name) const {
        fs::create_directories(package_ / name);
        return *this;
    }
    const PackageWriter& linkOutside(const std::string& name, const std::string& target) const {
        fs::create_symlink(outside_ / target, package_ / name);
        return *this;
    }
    const fs::path& outside() const { return outside_; }

private:
    fs::path package_;
    fs::path outside_;
};

std::string lines(const std::vector<std::string>& list) {
    std::string text;
    for (const auto& line : list) text += line + "\r\n";
    return text;
}

std::string garbage(std::size_t size, unsigned seed) {
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (char& byte : bytes) byte = static_cast<char>(random() & 0xFF);
    return bytes;
}

std::string eventLine(int n) { return "~~~T" + std::to_string(n) + "\tEvento\t0\t\t\t0\t\t0\t0\t\t0\t0\t\t1"; }

std::string enciphered(const std::vector<std::string>& plain) {
    std::string text;
    for (const auto& line : plain) text += EncipherLine(line, {1, 2, 3, 4, 5, 6, 7, 8}) + "\r\n";
    return text;
}

const std::string kCodes = lines({"Titolo", "[scout]", "*01AB;1;0;1;10;", "a02CD;1;0;1;20;"});

struct Outcome {
    bool scoutRead = false;
    int codes = 0;                    // rows of the code table, its header row not counted
    std::vector<std::string> films;   // below the package folder
    int events = 0;
    std::optional<int> analyses;      // entries of Analisi.ini; nothing when none is read
    int homePlayers = 0;              // records that hold a name
    int matches = 0;
};

struct HostileCase {
    std::string name;  // the package folder, also what the case is about
    bool synthesis;
    std::function<void(const PackageWriter&)> make;
    Outcome expected;
};

std::vector<HostileCase> hostileCases() {
    const std::string sport2 = "sport=2\r\nfile rilevazione=scout.txt\r\n";
    const std::string sport3 = "sport=3\r\nfile rilevazione=scout.txt\r\n";
    return {
        {"garbage", false,
         [](const PackageWriter& p) {
             p.file("Match.cfg", garbage(4096, 1)).file("FilmList.cfg", garbage(4096, 2));
             p.file("Eventi.txt", garbage(4096, 3)).file("Analisi.ini", garbage(4096, 4));
         },
         {.analyses = 0}},
        {"garbage scout", false,
         [=](const PackageWriter& p) {
             p.file("Match.cfg", sport3).file("scout.txt", garbage(1 << 20, 5)).file("Film01.MPG", "");
         },
         {.scoutRead = true, .films = {"Film01.MPG"}}},
        {"ten megabyte line", false,
         [=](const PackageWriter& p) {
             const std::string longLine(10 << 20, 'x');
             p.file("Match.cfg", sport2 + "relprogramma=" + longLine + "\r\n");
             // The scout file takes the longest line it may hold; a longer one refuses the package
             // (HostileScoutFiles below).
             const std::string longestScoutLine = "*01AB;1;0;1;10;" + std::string(kMaxScoutLineBytes - 15, 'x');
             p.file("scout.txt", lines({"Titolo", "[scout]", longestScoutLine, "a02CD;1;0;1;20;"}));
             p.file("FilmList.cfg", lines({longLine, "Film01.mpg"})).file("Film01.mpg", "");
             // An events file past its size bound is not read at all.
             p.file("Eventi.txt", eventLine(1) + longLine + "\r\n");
         },
         {.scoutRead = true, .codes = 2, .films = {"Film01.mpg"}, .events = 0}},
        {"cut mid-line", false,
         [=](const PackageWriter& p) {
             p.file("Match.cfg", sport2).file("scout.txt", "Titolo\r\n[scout]\r\n*01AB;1;0;1;10;\r\na02CD;1;0");
             p.file("FilmList.cfg", "Film01.mpg\r\nFilm0").file("Film01.mpg", "");
             p.file("Eventi.txt", eventLine(1) + "\r\n" + eventLine(2).substr(0, 20));
         },
         {.scoutRead = true, .codes = 2, .films = {"Film01.mpg"}, .events = 1}},
        {"crowded teams", false,
         [=](const PackageWriter& p) {
             std::vector<std::string> scout{"[match]", "Titolo", "[hometeam]"};
             for (int n = 1; n <= 5000; ++n) scout.push_back(std::to_string(n) + ";;Giocatore " + std::to_string(n));
             scout.push_back("[scout]");
             scout.push_back("*01AB;1;0;1;10;");
             scout.push_back("[matches_data]");
             for (int n = 1; n <= 500; ++n) scout.push_back("Partita " + std::to_string(n));
             p.file("Match.cfg", sport3).file("scout.txt", lines(scout));
         },
         {.scoutRead = true, .codes = 1, .films = {"Film01.MPG"}, .homePlayers = 99, .matches = 50}},
        {"path escapes", false,
         [=](const PackageWriter& p) {
             p.file("Match.cfg", "sport=2\r\nfile rilevazione=C:\\dati\\..\r\n");
             p.file("FilmList.cfg", lines({(p.outside() / "film.mpg").string(), "..\\outside\\film.mpg",
                                           "../../../outside/film.mpg", "sub/../../outside/film.mpg", "Film01.mpg"}));
             p.file("Film01.mpg", "").folder("sub");
         },
         {.films = {"Film01.mpg"}}},
        {"links outside", true,
         [=](const PackageWriter& p) {
             p.file("Match.cfg", sport2).linkOutside("scout.txt", "scout.txt").linkOutside("FilmList.cfg", "list.cfg");
             p.linkOutside("Eventi.txt", "Eventi.txt").linkOutside("Analisi.ini", "Analisi.ini");
             p.linkOutside("Stat.txt", "Stat.txt").linkOutside("Film01.MPG", "film.mpg");
         },
         {.films = {}}},
        {"bad cipher lines", false,
         [=](const PackageWriter& p) {
             std::string scout = enciphered({"[scout]", "*01AB;1;0;1;10;"});
             scout += "{{{{not Base64}}}}\r\nQUJD\r\n====\r\n\r\n" + std::string(kMaxScoutLineBytes, '~') + "\r\n";
             scout += enciphered({"a02CD;1;0;1;20;"});
             p.file("Match.cfg", sport3).file("scout.txt", scout);
         },
         {.scoutRead = true, .codes = 2, .films = {"Film01.MPG"}}},
        {"many events", false,
         [=](const PackageWriter& p) {
             std::string events;
             for (int n = 1; n <= 100000; ++n) events += eventLine(n) + "\r\n";
             p.file("Match.cfg", sport2).file("scout.txt", kCodes).file("Eventi.txt", events);
         },
         // The lines past the events file's line bound are not loaded.
         {.scoutRead = true, .codes = 2, .films = {"Film01.MPG"}, .events = static_cast<int>(kMaxEventLines)}},
        {"many analyses", true,
         [=](const PackageWriter& p) {
             std::string analyses;
             for (int n = 1; n <= 2000; ++n) analyses += "[Analisi " + std::to_string(n) + "]\r\ntipo=A\r\nmain_code=~~~A\r\n";
             p.file("Match.cfg", sport2).file("scout.txt", kCodes).file("Analisi.ini", analyses);
         },
         {.scoutRead = true, .codes = 2, .films = {"Film01.MPG"}, .analyses = 2000}},
        {"Windows-1252 names", false,
         [=](const PackageWriter& p) {
             p.file("Match.cfg", "sport=2\r\nfile rilevazione=Citt\xE0.sco\r\n").file("Citt\xC3\xA0.sco", kCodes);
             p.file("FilmList.cfg", "Citt\xE0 1.mpg\r\nCitt\xC3\xA0 2.mpg\r\n");
             p.file("Citt\xC3\xA0 1.mpg", "").file("Citt\xE0 2.mpg", "");
         },
         {.scoutRead = true, .codes = 2, .films = {"Citt\xC3\xA0 1.mpg", "Citt\xE0 2.mpg"}}},
        {"scout folder", false, [=](const PackageWriter& p) { p.file("Match.cfg", sport2).folder("scout.txt"); },
         {.films = {"Film01.MPG"}}},
        {"fifos", true,
         [=](const PackageWriter& p) {
             p.file("Match.cfg", sport3).fifo("scout.txt").fifo("FilmList.cfg").fifo("Eventi.txt");
             p.fifo("Analisi.ini").fifo("Stat.txt").fifo("Film01.MPG");
         },
         {.films = {}}},  // the fallback film stands when missing, not when a FIFO takes its place
    };
}

int namedPlayers(const TeamPlayers& team) {
    int count = 0;
    for (int n = 1; n <= TeamPlayers::kRecords; ++n) count += !team.records[static_cast<std::size_t>(n)].slots[2].empty();
    return count;
}

struct HostileDisc : ::testing::Test {
    TempFolder root;
    fs::path disc = root / "disc";
    FixedPlatform platform;
    std::vector<HostileCase> cases = hostileCases();

    void SetUp() override {
        root.write("outside/scout.txt", kCodes);
        root.write("outside/list.cfg", "Film01.mpg\r\n");
        root.write("outside/film.mpg", "a film outside the package");
        root.write("outside/Eventi.txt", eventLine(1) + "\r\n");
        root.write("outside/Analisi.ini", "[Fuori]\r\ntipo=A\r\n");
        root.write("outside/Stat.txt", "");
        root.write("disc/System/Language.cfg", "1\r\n");
        for (const HostileCase& c : cases)
            c.make(PackageWriter(disc / "Tlx_Video" / ((c.synthesis ? "syn_" : "") + c.name), root / "outside"));
    }
};

TEST_F(HostileDisc, EachPackageOpensWithItsOutcomeAndNothingIsWritten) {
    const auto before = testing::snapshot(disc);
    ApplicationLog log(platform, root / "log");
    fs::create_directories(root / "log");
    for (const HostileCase& c : cases) {
        SCOPED_TRACE(c.name);
        const testing::Watchdog watchdog("opening the package \"" + c.name + "\"");
        ProgramState state;
        state.folders.ProgramFolder = disc.string() + "/";
        Outcome got;
        got.scoutRead = OpenPackageData(state, c.name, c.synthesis, log, platform);
        LoadFilmList(state, log);
        got.codes = state.codeTable.RowCount() - 1;
        for (const std::string& film : state.package.films)
            got.films.push_back(fs::relative(film, state.package.folder).string());
        got.events = state.events.EventCount();
        AnalysisRecord record;
        if (const auto entries = ListAnalyses(analysesFilePath(state.package.folder), state.codeTable,
                                              {state.Sport, state.SynthesisMode, 1}, record))
            got.analyses = static_cast<int>(entries->size());
        got.homePlayers = namedPlayers(state.match.HomePlayers);
        got.matches = state.match.MatchesCount;

        EXPECT_EQ(got.scoutRead, c.expected.scoutRead);
        EXPECT_EQ(got.codes, c.expected.codes);
        EXPECT_EQ(got.films, c.expected.films);
        EXPECT_EQ(got.events, c.expected.events);
        EXPECT_EQ(got.analyses, c.expected.analyses);
        EXPECT_EQ(got.homePlayers, c.expected.homePlayers);
        EXPECT_EQ(got.matches, c.expected.matches);
        EXPECT_FALSE(state.package.statisticsEnabled);

        // The companion reads the same package the same way.
        std::vector<std::string> arguments{"codes", disc.string(), c.name};
        if (c.synthesis) arguments.push_back("--synthesis");
        const CliRun run = runCli(arguments);
        ASSERT_EQ(run.exitCode, 0);
        const json out = json::parse(run.out);
        EXPECT_EQ(out["rows"].size(), static_cast<std::size_t>(c.expected.codes));
        EXPECT_EQ(out["films"].size(), c.expected.films.size());
        arguments[0] = "analyses";
        EXPECT_EQ(runCli(arguments).exitCode, c.expected.analyses ? 0 : 2);
    }
    EXPECT_EQ(testing::differences(before, testing::snapshot(disc)), "");
    EXPECT_EQ(testing::readFile(root / "outside/film.mpg"), "a film outside the package");
}

// Scout files past what a package may bring: the companion ends with the reason, never an abort,
// and quickly, whatever the reader.
TEST(HostileScoutFiles, PastABoundTheCompanionExitsWithTheReason) {
    TempFolder root;
    const fs::path disc = root / "disc";
    std::string manyLines;
    for (std::size_t n = 0; n <= kMaxScoutLines; ++n) manyLines += "*05AH#;;;;;;;;1;;;1;17;\r\n";
    const struct {
        const char* name;
        const char* sport;
        std::string scout;
        bool sparse;  // grown past the size bound without being written
        std::string reason;
    } cases[] = {
        {"lines", "1", "[3KESTRALINESCOUT]\r\n[3SCOUT]\r\n" + manyLines, false, "more than 200000 lines"},
        {"long", "2", "[match]\r\n[scout]\r\n*05AH#;" + std::string(kMaxScoutLineBytes, 'x') + "\r\n", false,
         "a line longer than 65536 bytes"},
        {"large", "3", "QUJDREVGR0g=\r\n", true, "larger than 67108864 bytes"},
    };
    for (const auto& c : cases) {
        PackageWriter package(disc / "Tlx_Video" / c.name, root / "outside");
        package.file("Match.cfg", std::string("sport=") + c.sport + "\r\nfile rilevazione=scout.txt\r\n")
            .file("scout.txt", c.scout);
        if (c.sparse) fs::resize_file(disc / "Tlx_Video" / c.name / "scout.txt", kMaxScoutFileBytes + 1);
    }
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const testing::Watchdog watchdog(std::string("the companion on the package ") + c.name);
        std::string errors;
        const CliRun run = runCli({"codes", disc.string(), c.name}, &errors);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_NE(errors.find(std::string("the package ") + c.name + " was not opened: the scout file "),
                  std::string::npos)
            << errors;
        EXPECT_NE(errors.find(c.reason), std::string::npos) << errors;
    }
}

}  // namespace
}  // namespace corvane
