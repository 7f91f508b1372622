#include "scout/packages.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "core/files.h"
#include "core/log.h"
#include "core/messages.h"
#include "core/program_state.h"
#include "support/test_support.h"

namespace corvane {
namespace {

using testing::FixedPlatform;
using testing::readFile;
using testing::TempFolder;

struct PackagesFixture : ::testing::Test {
    TempFolder disc;
    FixedPlatform platform;
    ApplicationLog log{platform, disc.path()};

    std::string logText() { return readFile(disc / "Application.Log"); }
};

TEST_F(PackagesFixture, ListsMatchesAndSynthesesSortedWithoutRegardToCase) {
    std::filesystem::create_directories(disc / "Tlx_Video/zeta");
    std::filesystem::create_directories(disc / "Tlx_Video/Alfa");
    std::filesystem::create_directories(disc / "Tlx_Video/SYN_x");
    std::filesystem::create_directories(disc / "Tlx_Video/syn_Beta");
    disc.write("Tlx_Video/syn_file", "not a folder");
    disc.write("Tlx_Video/readme.txt", "not a folder");

    const PackageLists lists = ListPackages(disc.path(), log);
    EXPECT_EQ(lists.MatchList, (std::vector<std::string>{"Alfa", "zeta"}));
    EXPECT_EQ(lists.SynthesisList, (std::vector<std::string>{"Beta", "x"}));
    // Every entry is logged, the files too.
    EXPECT_NE(logText().find((disc / "Tlx_Video").string() + " syn_file"), std::string::npos);
}

TEST_F(PackagesFixture, AMissingPackageRootIsLoggedAndListsNothing) {
    const PackageLists lists = ListPackages(disc.path(), log);
    EXPECT_TRUE(lists.MatchList.empty());
    EXPECT_TRUE(lists.SynthesisList.empty());
    EXPECT_NE(logText().find("Tlx_Video non esiste."), std::string::npos);
}

TEST(MatchConfig, KeysAreTrimmedAndLowerCasedAndTheLastOneWins) {
    const MatchConfig config = parseMatchConfig(
        {" Sport = 2 ", "FILE RILEVAZIONE=C:\\Scout\\Partita.dvw", "no equals sign", "capturecard=DVCAM",
         "capturecard=CUSTOM2", "relprogramma= 3.1 ", "titolo=ignored=really"},
        false);
    EXPECT_EQ(config.sport, "2");
    EXPECT_EQ(config.scoutFile, "C:\\Scout\\Partita.dvw");
    EXPECT_EQ(config.captureCard, "CUSTOM2");
    EXPECT_EQ(config.releaseText, "3.1");
}

TEST(ScoutFormat, SportSelectsTheReader) {
    const struct {
        const char* sport;
        ScoutFormat format;
    } cases[] = {{"1", ScoutFormat::Volleyball},          {"2", ScoutFormat::LowerCase},
                 {"3", ScoutFormat::LowerCaseDeciphered}, {"9x", ScoutFormat::LowerCaseDeciphered},
                 {"A", ScoutFormat::LowerCaseDeciphered}, {"10", ScoutFormat::None},
                 {"21", ScoutFormat::None},               {"a", ScoutFormat::None},
                 {"", ScoutFormat::None}};
    for (const auto& c : cases) EXPECT_EQ(scoutFormatOf(c.sport), c.format) << c.sport;
}

std::vector<std::string> films(const std::filesystem::path& folder, const std::string& captureCard) {
    return readFilmList(ContainedFolder(folder), captureCard).films;
}

TEST_F(PackagesFixture, FilmListKeepsExistingFilmsInOrderResolvedWithoutCase) {
    const auto folder = disc / "Tlx_Video/Partita";
    disc.write("Tlx_Video/Partita/FilmList.cfg", "Film01.mpg\r\nFilm02.mpg\r\nfilmati\\FILM03.MPG\r\n");
    disc.write("Tlx_Video/Partita/Film01.mpg", "");
    disc.write("Tlx_Video/Partita/Filmati/Film03.mpg", "");
    EXPECT_EQ(films(folder, ""),
              (std::vector<std::string>{(folder / "Film01.mpg").string(), (folder / "Filmati/Film03.mpg").string()}));
}

TEST_F(PackagesFixture, FilmListFallbacksAndLimits) {
    const auto folder = disc / "Tlx_Video/Partita";
    std::filesystem::create_directories(folder);
    // No list: the one fallback film, whether or not it exists.
    EXPECT_EQ(films(folder, ""), std::vector<std::string>{(folder / "Film01.MPG").string()});
    EXPECT_EQ(films(folder, "CUSTOM2"), std::vector<std::string>{(folder / "Film01.Avi").string()});
    // An empty list: no film at all.
    disc.write("Tlx_Video/Partita/FilmList.cfg", "");
    EXPECT_TRUE(films(folder, "").empty());
    // More than twenty films: every one is kept.
    std::string list;
    for (int n = 1; n <= 23; ++n) {
        const std::string name = "F" + std::to_string(n) + ".mpg";
        disc.write("Tlx_Video/Partita/" + name, "");
        list += name + "\r\n";
    }
    disc.write("Tlx_Video/Partita/FilmList.cfg", list);
    EXPECT_EQ(films(folder, "").size(), 23u);
}

TEST_F(PackagesFixture, OpeningAPackageSetsTheProgramWideValues) {
    disc.write("Tlx_Video/syn_Best/match.CFG", " sport = 2 \r\nfile rilevazione=D:\\dati\\missing.txt\r\n"
                                                "capturecard=DVCAM\r\nrelprogramma=5.0\r\n");
    disc.write("Tlx_Video/syn_Best/stat.txt", "");
    ProgramState state;
    state.folders.ProgramFolder = disc.path().string() + "/";
    EXPECT_FALSE(OpenPackageData(state, "Best", true, log, platform));  // the scout file is missing
    EXPECT_EQ(state.Sport, "2");
    EXPECT_TRUE(state.SynthesisMode);
    EXPECT_FALSE(state.package.preRollEnabled);
    EXPECT_EQ(state.package.folder, (disc / "Tlx_Video/syn_Best/").string());
    EXPECT_EQ(state.package.scoutFile, (disc / "Tlx_Video/syn_Best/missing.txt").string());
    EXPECT_TRUE(state.package.statisticsEnabled);
    EXPECT_EQ(state.package.captureCard, "DVCAM");
    EXPECT_NE(logText().find("Scheda DVCAM"), std::string::npos);
    EXPECT_EQ(logText().find("Before open scout"), std::string::npos);
}

TEST_F(PackagesFixture, AMissingMatchConfigMeansVolleyballAndNoScoutFile) {
    std::filesystem::create_directories(disc / "Tlx_Video/Partita");
    ProgramState state;
    state.folders.ProgramFolder = disc.path().string() + "/";
    state.match.MatchInfo[3] = "stale";
    EXPECT_FALSE(OpenPackageData(state, "Partita", false, log, platform));
    EXPECT_EQ(state.Sport, "1");
    EXPECT_EQ(state.package.scoutFile, state.package.folder);
    EXPECT_TRUE(state.match.MatchInfo[3].empty());
    EXPECT_FALSE(state.package.statisticsEnabled);
}

TEST_F(PackagesFixture, ASportOutsideTheTableReadsNoScoutFile) {
    disc.write("Tlx_Video/Partita/Match.cfg", "sport=10\r\nfile rilevazione=scout.txt\r\n");
    disc.write("Tlx_Video/Partita/scout.txt", "[scout]\r\n*01AB;1;0;1;10;\r\n");
    ProgramState state;
    state.folders.ProgramFolder = disc.path().string() + "/";
    EXPECT_FALSE(OpenPackageData(state, "Partita", false, log, platform));
    EXPECT_EQ(state.codeTable.RowCount(), 1);
    // The file exists, so the attempt is logged around the (absent) reader.
    EXPECT_NE(logText().find("After open scout"), std::string::npos);
}

TEST_F(PackagesFixture, LoadFilmListReadsTheFilmsThenTheEvents) {
    disc.write("Tlx_Video/Partita/FilmList.cfg", "a.mpg\r\n");
    disc.write("Tlx_Video/Partita/a.mpg", "");
    disc.write("Tlx_Video/Partita/EVENTI.TXT",
               "~~~TS\tTiro da due\t0\t\t\t0\t\t0\t0\t\t0\t0\t\t1\r\n");
    ProgramState state;
    state.package.folder = (disc / "Tlx_Video/Partita/").string();
    state.package.currentFilm = 3;
    LoadFilmList(state, log);
    EXPECT_EQ(state.package.films.size(), 1u);
    EXPECT_EQ(state.package.currentFilm, 1);
    ASSERT_EQ(state.events.EventCount(), 1);
    EXPECT_EQ(state.events.records()[0].description, "Tiro da due");
    const std::string text = logText();
    EXPECT_LT(text.find("Apre partita/sintesi"), text.find("Carica Eventi"));
}

// Every name read from a package stays inside it: a list or configuration that names a file
// elsewhere (written by hand, or a link on the disc) must not make the player open it.
TEST_F(PackagesFixture, NamesThatLeadOutOfThePackageAreSkippedAndLogged) {
    const auto package = disc / "Tlx_Video/Partita";
    const auto secret = disc.write("outside/secret.mpg", "not a film of this package");
    disc.write("outside/Stat.txt", "");
    disc.write("outside/Eventi.txt", "~~~TS\tTiro\t0\t\t\t0\t\t0\t0\t\t0\t0\t\t1\r\n");
    disc.write("outside/scout.txt", "[scout]\r\n*01AB;1;0;1;10;\r\n");
    disc.write("Tlx_Video/Partita/Film01.mpg", "");
    std::filesystem::create_symlink(secret, package / "linked.mpg");
    std::filesystem::create_symlink(disc / "outside", package / "away");
    std::filesystem::create_symlink(disc / "outside/Stat.txt", package / "Stat.txt");
    std::filesystem::create_symlink(disc / "outside/Eventi.txt", package / "Eventi.txt");
    const std::vector<std::string> escaping{secret.string(), "..\\..\\outside\\secret.mpg",
                                            "Film01.mpg/../../../outside/secret.mpg", "linked.mpg", "away/secret.mpg"};
    std::string list = "Film01.mpg\r\n";
    for (const std::string& line : escaping) list += line + "\r\n";
    disc.write("Tlx_Video/Partita/FilmList.cfg", list);

    // "away\scout.txt" keeps only its file-name part, "scout.txt": a link out of the package.
    const std::string scoutNames[] = {"..", "C:\\dati\\..", "away\\scout.txt"};
    std::filesystem::create_symlink(disc / "outside/scout.txt", package / "scout.txt");
    for (const std::string& scoutName : scoutNames) {
        disc.write("Tlx_Video/Partita/Match.cfg", "sport=2\r\nfile rilevazione=" + scoutName + "\r\n");
        ProgramState state;
        state.folders.ProgramFolder = disc.path().string() + "/";
        EXPECT_FALSE(OpenPackageData(state, "Partita", false, log, platform)) << scoutName;
        EXPECT_EQ(state.package.scoutFile, state.package.folder) << scoutName;
        EXPECT_EQ(state.codeTable.RowCount(), 1) << scoutName;
        EXPECT_FALSE(state.package.statisticsEnabled) << scoutName;
        EXPECT_NE(logText().find("Ignored, leads out of the package: " + scoutName),
                  std::string::npos)
            << scoutName;

        LoadFilmList(state, log);
        EXPECT_EQ(state.package.films, std::vector<std::string>{(package / "Film01.mpg").string()});
        EXPECT_EQ(state.events.EventCount(), 0);
    }
    for (const std::string& line : escaping)
        EXPECT_NE(logText().find("Ignored, leads out of the package: " + line), std::string::npos) << line;
    for (const std::string file : {"Stat.txt", "Eventi.txt"})
        EXPECT_NE(logText().find("Ignored, leads out of the package: " + file), std::string::npos) << file;
}

// Match.cfg and FilmList.cfg written on Windows name "Città" with the byte E0; a disc made on
// Linux holds the name in UTF-8, and the other way round.
TEST_F(PackagesFixture, NamesMatchInWindows1252AndUtf8) {
    const struct {
        std::string written;  // in Match.cfg and FilmList.cfg
        std::string onDisk;
    } cases[] = {
        {"Citt\xE0", "Citt\xC3\xA0"},
        {"Citt\xC3\xA0", "Citt\xE0"},
        {"CITT\xE0", "Citt\xC3\xA0"},
    };
    for (const auto& c : cases) {
        TempFolder folder;
        const auto package = folder / "Tlx_Video/Partita";
        folder.write("Tlx_Video/Partita/Match.cfg", "sport=2\r\nfile rilevazione=D:\\" + c.written + ".sco\r\n");
        folder.write("Tlx_Video/Partita/FilmList.cfg", c.written + ".mpg\r\n");
        folder.write("Tlx_Video/Partita/" + c.onDisk + ".sco", "title\r\n[scout]\r\n*01AB;1;0;1;10;\r\n");
        folder.write("Tlx_Video/Partita/" + c.onDisk + ".mpg", "");
        ProgramState state;
        state.folders.ProgramFolder = folder.path().string() + "/";
        EXPECT_TRUE(OpenPackageData(state, "Partita", false, log, platform)) << c.written;
        EXPECT_EQ(state.package.scoutFile, (package / (c.onDisk + ".sco")).string());
        EXPECT_EQ(state.codeTable.RowCount(), 2) << c.written;
        LoadFilmList(state, log);
        EXPECT_EQ(state.package.films, std::vector<std::string>{(package / (c.onDisk + ".mpg")).string()});
    }
}

// A package whose scout file brings more than a package may is refused whole: the package open
// before stays, codes, match data and all, and the refusal is logged. Each reader is held to it.
TEST_F(PackagesFixture, AScoutFilePastABoundLeavesThePackageOpenBefore) {
    disc.write("Tlx_Video/Alfa/Match.cfg", "sport=1\r\nfile rilevazione=alfa.dvw\r\n");
    disc.write("Tlx_Video/Alfa/alfa.dvw", "[3MATCH]\r\n01/02/2024;20.30;\r\n[3SCOUT]\r\n*05AH#;;;;;;;;1;;;1;17;\r\n");
    ProgramState state;
    state.folders.ProgramFolder = disc.path().string() + "/";
    ASSERT_TRUE(OpenPackageData(state, "Alfa", false, log, platform));

    std::string manyLines;
    for (std::size_t n = 0; n <= kMaxScoutLines; ++n) manyLines += "*05AH#;;;;;;;;1;;;1;17;\r\n";
    const std::string longLine = "*05AH#;" + std::string(kMaxScoutLineBytes, 'x') + "\r\n";
    struct Case {
        const char* sport;
        std::string content;  // after the first line
        ScoutLimit limit;
    };
    // The first line: the volleyball magic, a title line that marks a plain lower-case file
    // ("[Match]"), or one that marks an enciphered file.
    const auto first = [](const char* sport) -> std::string {
        return std::string(sport) == "1" ? "[3KESTRALINESCOUT]\r\n[3SCOUT]\r\n"
               : std::string(sport) == "2" ? "[match]\r\n[scout]\r\n"
                                           : "QUJDREVGR0g=\r\n";
    };
    const std::vector<Case> cases{
        {"1", manyLines, ScoutLimit::LineCount},  {"1", longLine, ScoutLimit::LineLength},
        {"2", manyLines, ScoutLimit::LineCount},  {"2", longLine, ScoutLimit::LineLength},
        {"3", manyLines, ScoutLimit::LineCount},  {"3", longLine, ScoutLimit::LineLength},
        {"1", "", ScoutLimit::FileSize},          {"3", "", ScoutLimit::FileSize},
    };
    for (const Case& c : cases) {
        const std::string what = std::string("sport ") + c.sport + ", " + describeScoutLimit(c.limit);
        disc.write("Tlx_Video/syn_Big/Match.cfg", std::string("sport=") + c.sport + "\r\nfile rilevazione=big.txt\r\n");
        const auto big = disc.write("Tlx_Video/syn_Big/big.txt", first(c.sport) + c.content);
        if (c.limit == ScoutLimit::FileSize) std::filesystem::resize_file(big, kMaxScoutFileBytes + 1);

        const PackageOpening opening = OpenPackageData(state, "Big", true, log, platform);
        EXPECT_FALSE(opening) << what;
        EXPECT_EQ(opening.refused, c.limit) << what;
        EXPECT_EQ(state.package.name, "Alfa") << what;
        EXPECT_FALSE(state.SynthesisMode) << what;
        EXPECT_EQ(state.Sport, "1") << what;
        ASSERT_EQ(state.codeTable.RowCount(), 2) << what;
        EXPECT_EQ(state.codeTable.Cell(Code, 1), "*05AH#              ") << what;
        EXPECT_EQ(state.match.MatchInfo[1], "20.30") << what;
        EXPECT_NE(logText().find("Pacchetto rifiutato: " + big.string() + " (" + describeScoutLimit(c.limit) + ")"),
                  std::string::npos)
            << what;
    }
}

// A scout file that is no regular file is not read, and nothing waits on it.
TEST_F(PackagesFixture, AScoutFileThatIsNoRegularFileIsNotRead) {
    std::filesystem::create_directories(disc / "Tlx_Video/Partita");
    ASSERT_EQ(::mkfifo((disc / "Tlx_Video/Partita/fifo.dvw").c_str(), 0600), 0);
    std::filesystem::create_symlink("/dev/zero", disc / "Tlx_Video/Partita/zero.dvw");
    for (const char* sport : {"1", "2", "3"}) {
        for (const char* name : {"fifo.dvw", "zero.dvw"}) {
            disc.write("Tlx_Video/Partita/Match.cfg", std::string("sport=") + sport + "\r\nfile rilevazione=" + name);
            ProgramState state;
            state.folders.ProgramFolder = disc.path().string() + "/";
            const PackageOpening opening = OpenPackageData(state, "Partita", false, log, platform);
            EXPECT_FALSE(opening) << sport << name;
            EXPECT_FALSE(opening.refused) << sport << name;
            EXPECT_EQ(state.codeTable.RowCount(), 1) << sport << name;
        }
    }
}

TEST(PackageRefusalMessage, NamesThePackageAndTheBound) {
    testing::CatalogueMessages texts("610=Package %s:_%s\n611=over %s lines\n612=a line over %s\n613=over %s bytes\n"
                                     "614=no memory\n");
    EXPECT_EQ(PackageRefusalMessage(texts.messages, "A%sB", ScoutLimit::LineCount), "Package A%sB:\rover 200000 lines");
    EXPECT_EQ(PackageRefusalMessage(texts.messages, "P", ScoutLimit::LineLength), "Package P:\ra line over 65536");
    EXPECT_EQ(PackageRefusalMessage(texts.messages, "P", ScoutLimit::FileSize), "Package P:\rover 67108864 bytes");
    EXPECT_EQ(PackageRefusalMessage(texts.messages, "P", std::nullopt), "Package P:\rno memory");
}

TEST(PackageWorkFolder, IsAPrivateFolderOutsideEveryPackage) {
    TempFolder home;
    FixedPlatform platform;
    platform.cache = home / "cache";
    const auto folder = PackageWorkFolder(platform);
    ASSERT_TRUE(folder);
    EXPECT_EQ(*folder, home / "cache/corvane-player");
    EXPECT_EQ(std::filesystem::status(*folder).permissions(), std::filesystem::perms::owner_all);
    platform.cache.clear();
    EXPECT_EQ(PackageWorkFolder(platform), std::nullopt);
}

}  // namespace
}  // namespace corvane
