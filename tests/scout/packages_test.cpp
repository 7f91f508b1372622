#include "scout/packages.h"

#include <gtest/gtest.h>

#include "core/log.h"
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

TEST_F(PackagesFixture, FilmListKeepsExistingFilmsInOrderResolvedWithoutCase) {
    const auto folder = disc / "Tlx_Video/Partita";
    disc.write("Tlx_Video/Partita/FilmList.cfg", "Film01.mpg\r\nFilm02.mpg\r\nfilmati\\FILM03.MPG\r\n");
    disc.write("Tlx_Video/Partita/Film01.mpg", "");
    disc.write("Tlx_Video/Partita/Filmati/Film03.mpg", "");
    EXPECT_EQ(readFilmList(folder, ""),
              (std::vector<std::string>{(folder / "Film01.mpg").string(), (folder / "Filmati/Film03.mpg").string()}));
}

TEST_F(PackagesFixture, FilmListFallbacksAndLimits) {
    const auto folder = disc / "Tlx_Video/Partita";
    std::filesystem::create_directories(folder);
    // No list: the one fallback film, whether or not it exists.
    EXPECT_EQ(readFilmList(folder, ""), std::vector<std::string>{(folder / "Film01.MPG").string()});
    EXPECT_EQ(readFilmList(folder, "CUSTOM2"), std::vector<std::string>{(folder / "Film01.Avi").string()});
    // An empty list: no film at all.
    disc.write("Tlx_Video/Partita/FilmList.cfg", "");
    EXPECT_TRUE(readFilmList(folder, "").empty());
    // More than twenty films: every one is kept.
    std::string list;
    for (int n = 1; n <= 23; ++n) {
        const std::string name = "F" + std::to_string(n) + ".mpg";
        disc.write("Tlx_Video/Partita/" + name, "");
        list += name + "\r\n";
    }
    disc.write("Tlx_Video/Partita/FilmList.cfg", list);
    EXPECT_EQ(readFilmList(folder, "").size(), 23u);
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
    EXPECT_EQ(state.events.records[0].description, "Tiro da due");
    const std::string text = logText();
    EXPECT_LT(text.find("Apre partita/sintesi"), text.find("Carica Eventi"));
}

}  // namespace
}  // namespace corvane
