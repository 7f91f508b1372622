#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "cli/cli_runner.h"
#include "scout/line_cipher.h"
#include "support/folder_snapshot.h"
#include "support/test_support.h"

namespace corvane {
namespace {

using nlohmann::json;

const std::string disc = testing::fixture("disc").string();

TEST(Cli, ListsThePackagesOfADisc) {
    const CliRun run = runCli({"packages", disc});
    ASSERT_EQ(run.exitCode, 0);
    EXPECT_EQ(json::parse(run.out), json::parse(R"({"matches": ["Basket", "Partita"], "syntheses": ["Sintesi"]})"));
}

TEST(Cli, PrintsTheCodeTableWithTextsInUtf8AndBlanksKept) {
    const CliRun run = runCli({"codes", disc, "Partita"});
    ASSERT_EQ(run.exitCode, 0);
    const json out = json::parse(run.out);
    EXPECT_EQ(out["sport"], "1");
    EXPECT_EQ(out["synthesis"], false);
    ASSERT_EQ(out["rows"].size(), 8u);
    EXPECT_EQ(out["rows"][0][0], "*07SM+              ");
    EXPECT_EQ(out["rows"][0][7], "20.30.05");
    EXPECT_EQ(out["rows"][4][14], " 0 :  1");
    EXPECT_EQ(out["rows"][7][14], " 0 :  0");
    EXPECT_EQ(out["match_info"].size(), 62u);
    EXPECT_EQ(out["match_info"][19], "Città di Treviso");
    EXPECT_EQ(out["home_players"].size(), 99u);
    EXPECT_EQ(out["home_players"][0].size(), 24u);
    EXPECT_EQ(out["home_players"][0][0], "7");
    EXPECT_EQ(out["home_players"][0][2], "Mario Rossi");
    EXPECT_EQ(out["films"].size(), 1u);
}

TEST(Cli, SearchesWithCodesExpressionsAndSetFilters) {
    const struct {
        std::vector<std::string> options;
        std::vector<int> rows;
    } cases[] = {
        {{}, {1, 2, 3, 4, 5, 6, 7, 8}},
        {{"--code", "a~~A"}, {4}},
        {{"--code", "~~~r"}, {4}},
        {{"--sets", "2;"}, {8}},
        {{"--adv", "OR[~~~~~=,5][~~~~~#,5]"}, {2, 4, 8}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> arguments{"search", disc, "Partita"};
        arguments.insert(arguments.end(), c.options.begin(), c.options.end());
        const CliRun run = runCli(arguments);
        ASSERT_EQ(run.exitCode, 0);
        const json out = json::parse(run.out);
        std::vector<int> rows;
        for (const auto& row : out["rows"]) rows.push_back(row["row"]);
        EXPECT_EQ(rows, c.rows) << arguments.back();
    }
    const json first = json::parse(runCli({"search", disc, "Partita", "--code", "a~~A"}).out)["rows"][0];
    EXPECT_EQ(first, json::parse(R"({"row": 4, "code": "a12AH#              ", "film": "1", "time": "0.00.08", "set": "1"})"));
}

TEST(Cli, ListsAndAppliesTheAnalysesOfASynthesis) {
    const CliRun list = runCli({"analyses", disc, "Sintesi", "--synthesis"});
    ASSERT_EQ(list.exitCode, 0);
    EXPECT_EQ(json::parse(list.out), json::parse(R"([
        {"name": "Titolo attacchi", "tipo": "T", "hidden": false},
        {"name": "Attacchi vincenti", "tipo": "A", "hidden": false},
        {"name": "Ricezioni", "tipo": "A", "hidden": true},
        {"name": "Battute", "tipo": "A", "hidden": false}])"));
    const CliRun applied = runCli({"analysis", disc, "Sintesi", "--synthesis", "--index", "1"});
    ASSERT_EQ(applied.exitCode, 0);
    const json rows = json::parse(applied.out)["rows"];
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0]["row"], 2);
}

TEST(Cli, ReadsTheLowerCaseFormat) {
    const json out = json::parse(runCli({"codes", disc, "Basket"}).out);
    EXPECT_EQ(out["sport"], "2");
    ASSERT_EQ(out["rows"].size(), 3u);
    EXPECT_EQ(out["rows"][1][0], "a09TF-");
    EXPECT_EQ(out["rows"][1][14], "y");
    EXPECT_EQ(out["match_info"][15], "Virtus");
    EXPECT_EQ(out["away_players"][0][2], "Away Nine");
}

TEST(Cli, BadInputGivesOneLineOnStandardErrorAndExitTwo) {
    const std::vector<std::vector<std::string>> calls = {
        {"packages", "/nonexistent/disc"},
        {"codes", disc, "NoSuchPackage"},
        {"codes", disc, "Partita", "--synthesis"},
        {"analysis", disc, "Sintesi", "--synthesis", "--index", "9"},
        {"analyses", disc, "Partita"},
        {"decipher", "/nonexistent/file"},
        {"frobnicate"},
    };
    for (const auto& call : calls) {
        std::string errors;
        const CliRun run = runCli(call, &errors);
        EXPECT_EQ(run.exitCode, 2) << call[0];
        EXPECT_FALSE(errors.empty()) << call[0];
        EXPECT_TRUE(run.out.empty()) << call[0];
    }
}

// The companion reads discs and never writes into one: not a plain copy of an enciphered scout
// file, not anything else. Every command runs on a copy of a disc that holds one.
TEST(Cli, EveryCommandLeavesTheDiscByteIdentical) {
    testing::TempFolder folder;
    const std::filesystem::path copy = folder / "disc";
    std::filesystem::copy(disc, copy, std::filesystem::copy_options::recursive);
    std::string scout;
    for (const std::string plain : {"[match]", "Titolo", "[scout]", "*04TIR;1;1;1;35", "a07REB;1;2;1;40"})
        scout += EncipherLine(plain, {9, 8, 7, 6, 5, 4, 3, 2}) + "\r\n";
    const auto scoutFile = folder.write("disc/Tlx_Video/Cifrato/cifrato.txt", scout);
    folder.write("disc/Tlx_Video/Cifrato/Match.cfg", "sport=3\r\nfile rilevazione=cifrato.txt\r\n");
    folder.write("disc/Tlx_Video/Cifrato/Analisi.ini", "[Tiri]\r\ntipo=A\r\nmain_code=~~~T\r\n");
    const auto before = testing::snapshot(copy);

    const std::string d = copy.string();
    const std::vector<std::vector<std::string>> calls = {
        {"packages", d},
        {"codes", d, "Cifrato"},
        {"codes", d, "Partita"},
        {"codes", d, "Basket"},
        {"codes", d, "Sintesi", "--synthesis"},
        {"search", d, "Cifrato", "--code", "~~~T"},
        {"search", d, "Partita", "--adv", "OR[~~~~~=,5][~~~~~#,5]"},
        {"analyses", d, "Cifrato"},
        {"analyses", d, "Sintesi", "--synthesis"},
        {"analysis", d, "Cifrato", "--index", "0"},
        {"analysis", d, "Sintesi", "--synthesis", "--index", "1"},
        {"decipher", scoutFile.string()},
    };
    for (const auto& call : calls) EXPECT_EQ(runCli(call).exitCode, 0) << call[0] << ' ' << call[2];

    const json codes = json::parse(runCli({"codes", d, "Cifrato"}).out);
    ASSERT_EQ(codes["rows"].size(), 2u);
    EXPECT_EQ(codes["rows"][1][0], "a07REB");
    EXPECT_EQ(runCli({"decipher", scoutFile.string()}).out, "[match]\nTitolo\n[scout]\n*04TIR;1;1;1;35\na07REB;1;2;1;40\n");
    EXPECT_EQ(testing::differences(before, testing::snapshot(copy)), "");
}

// A folder name that is not UTF-8 (a disc written on Windows) is printed from Windows-1252; the
// printed name is what a user types back.
TEST(Cli, AcceptsAPackageNameAsThePackagesCommandPrintsIt) {
    testing::TempFolder folder;
    folder.write("disc/Tlx_Video/Citt\xE0/Match.cfg", "sport=2\r\n");
    folder.write("disc/Tlx_Video/syn_Sintesi \xE8/Match.cfg", "sport=3\r\n");
    folder.write("disc/Tlx_Video/Perugia/Match.cfg", "sport=1\r\n");
    const std::string d = (folder / "disc").string();
    const json printed = json::parse(runCli({"packages", d}).out);
    ASSERT_EQ(printed, json::parse(R"({"matches": ["Città", "Perugia"], "syntheses": ["Sintesi è"]})"));
    const struct {
        std::string name;
        bool synthesis;
        std::string sport;
    } cases[] = {{printed["matches"][0], false, "2"},
                 {printed["matches"][1], false, "1"},
                 {printed["syntheses"][0], true, "3"},
                 {"Citt\xE0", false, "2"}};  // the name as it is on disk works as before
    for (const auto& c : cases) {
        std::vector<std::string> arguments{"codes", d, c.name};
        if (c.synthesis) arguments.push_back("--synthesis");
        const CliRun run = runCli(arguments);
        ASSERT_EQ(run.exitCode, 0) << c.name;
        EXPECT_EQ(json::parse(run.out)["sport"], c.sport) << c.name;
    }
}

// A case-sensitive disc may hold packages whose names differ only in letter case: the name typed
// picks the one spelt so, and a spelling the disc does not hold picks none.
TEST(Cli, PackageNamesThatDifferOnlyInCaseAreTwoPackages) {
    testing::TempFolder folder;
    folder.write("disc/Tlx_Video/Gara/Match.cfg", "sport=1\r\n");
    folder.write("disc/Tlx_Video/gara/Match.cfg", "sport=2\r\n");
    folder.write("disc/Tlx_Video/syn_Finale/Match.cfg", "sport=3\r\n");
    folder.write("disc/Tlx_Video/syn_finale/Match.cfg", "sport=4\r\n");
    const std::string d = (folder / "disc").string();
    const CliRun listed = runCli({"packages", d});
    ASSERT_EQ(listed.exitCode, 0);
    EXPECT_EQ(json::parse(listed.out), json::parse(R"({"matches": ["Gara", "gara"], "syntheses": ["Finale", "finale"]})"));
    const struct {
        const char* name;
        bool synthesis;
        const char* sport;  // empty: refused
    } cases[] = {
        {"Gara", false, "1"}, {"gara", false, "2"}, {"Finale", true, "3"}, {"finale", true, "4"},
        {"GARA", false, ""},  {"FINALE", true, ""},
    };
    for (const auto& c : cases) {
        std::vector<std::string> arguments{"codes", d, c.name};
        if (c.synthesis) arguments.push_back("--synthesis");
        std::string errors;
        const CliRun run = runCli(arguments, &errors);
        if (*c.sport == '\0') {
            EXPECT_EQ(run.exitCode, 2) << c.name;
            EXPECT_NE(errors.find(std::string("package named ") + c.name), std::string::npos) << errors;
            continue;
        }
        ASSERT_EQ(run.exitCode, 0) << c.name << ": " << errors;
        EXPECT_EQ(json::parse(run.out)["sport"], c.sport) << c.name;
    }
}

// A lone "-" names no disc and no package: one clear line, exit 2.
TEST(Cli, ALoneDashIsNoDiscAndNoPackage) {
    const std::vector<std::vector<std::string>> calls = {
        {"packages", "-"}, {"codes", "-", "Partita"}, {"codes", disc, "-"}, {"decipher", "-"}};
    for (const auto& call : calls) {
        std::string errors;
        const CliRun run = runCli(call, &errors);
        EXPECT_EQ(run.exitCode, 2) << call[1] << " " << call.back();
        EXPECT_TRUE(run.out.empty()) << call.back();
        EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << errors;
        EXPECT_EQ(errors.rfind("corvane-cli: ", 0), 0u) << errors;
    }
}

}  // namespace
}  // namespace corvane
