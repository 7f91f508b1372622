#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdlib>
#include <filesystem>
#include <set>

#include "cli/cli_runner.h"
#include "core/files.h"

namespace corvane {
namespace {

using nlohmann::json;

const std::string kBasket = "2026-12-02_Basket_Aquile-Lupi";
const std::string kVolley = "2026-11-28_Volley_Falchi-Delfini";

std::string demoDisc() {
    const char* named = std::getenv("CORVANE_DEMO_DISC");
    return named && *named ? named : CORVANE_BINARY_DIR "/demo-disc";
}

json cli(const std::vector<std::string>& arguments) {
    std::string errors;
    const CliRun run = runCli(arguments, &errors);
    EXPECT_EQ(run.exitCode, 0) << arguments[0] << ": " << errors;
    return run.exitCode == 0 ? json::parse(run.out) : json();
}

class StatsCommands : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(std::filesystem::is_directory(demoDisc() + "/Tlx_Video"))
            << "no demo disc at " << demoDisc() << ": make it with tools/make_demo_disc.sh";
    }
    testing::TempFolder scratch;
};

// A figure shown and what its click lists: blank is none.
int figure(const json& click) {
    const std::string shown = click["text"];
    return shown.empty() ? 0 : std::atoi(shown.c_str());
}

TEST_F(StatsCommands, EventLayoutIsPrunedAndEveryFigureListsItsCodes) {
    const json stats = cli({"stats", demoDisc(), kBasket});
    ASSERT_EQ(stats["layout"], "event");
    EXPECT_EQ(stats["eventsWithExtensions"][0], "FI");
    const json& home = stats["tables"][0];
    EXPECT_EQ(home["headers"][0], "Aquile Corvane|Franco Bellini");
    // No free throw is ever blocked: that sub-column is gone. Technical fouls never happen: the
    // column goes, and the column after it is still pruned. Both tables share the headers.
    const auto hasHeader = [&](const std::string& header) {
        return std::find(home["headers"].begin(), home["headers"].end(), header) != home["headers"].end();
    };
    EXPECT_TRUE(hasHeader("FT|Tot$=$#"));
    EXPECT_TRUE(hasHeader("PF|Tot"));
    for (const json& header : home["headers"]) EXPECT_NE(header.get<std::string>().substr(0, 3), "TF|");
    const json& opponentHeaders = stats["tables"][1]["headers"];
    EXPECT_EQ(opponentHeaders[0], "Lupi Valmarina|Renato Gallo");
    EXPECT_TRUE(std::equal(home["headers"].begin() + 1, home["headers"].end(), opponentHeaders.begin() + 1,
                           opponentHeaders.end()));
    std::size_t clicks = 0;
    for (const json& table : stats["tables"]) {
        const json& rows = table["rows"];
        const json& teamRow = rows[rows.size() - 2];
        EXPECT_EQ(teamRow["clicks"][1]["search"].get<std::string>().substr(1, 2), "$$");
        // The totals' player cell lists every action of the side: all that any figure of it counts.
        const json& everyAction = rows[rows.size() - 1]["clicks"][0];
        ASSERT_EQ(everyAction["column"], 0);
        const std::string side = table["side"] == "home" ? "*" : "a";
        EXPECT_EQ(everyAction["search"], side + "~~~~~~~~~");
        const std::set<int> listed(everyAction["rows"].begin(), everyAction["rows"].end());
        for (const json& row : rows)
            for (const json& click : row["clicks"]) {
                for (const int listedRow : click["rows"]) EXPECT_TRUE(listed.count(listedRow)) << click.dump();
                if (click["column"] == 0) continue;  // a name, no figure
                EXPECT_EQ(figure(click), static_cast<int>(click["rows"].size())) << click.dump();
                ++clicks;
            }
        EXPECT_GT(listed.size(), 0u);
    }
    EXPECT_GT(clicks, 200u);
}

// A cell a line stopped short of holds no values; its click is the event with every effect, what
// the overall figure of the full line lists.
TEST_F(StatsCommands, ACellALineNeverReachedSearchesTheEventWithEveryEffect) {
    namespace fs = std::filesystem;
    const fs::path disc = scratch.path() / "disc";
    const fs::path package = disc / "Tlx_Video" / kBasket;
    fs::create_directories(package);
    fs::copy(fs::path(demoDisc()) / "System", disc / "System", fs::copy_options::recursive);
    for (const auto& entry : fs::directory_iterator(fs::path(demoDisc()) / "Tlx_Video" / kBasket))
        fs::copy(entry.path(), package / entry.path().filename());
    std::string text = testing::readFile(package / "Stat.txt");
    // Bianchi's line, cut after the FI column: the first two fields and FI's five values.
    const std::size_t line = text.find("04;Bianchi Marco;");
    ASSERT_NE(line, std::string::npos);
    std::size_t end = line;
    for (int field = 0; field < 7; ++field) end = text.find(';', end) + 1;
    text.erase(end - 1, text.find("\r\n", line) - (end - 1));
    ASSERT_TRUE(writeFileAtomically(package / "Stat.txt", text));

    const json full = cli({"stats", demoDisc(), kBasket});
    const json cut = cli({"stats", disc.string(), kBasket});
    const auto clickOf = [](const json& stats, int column, int subColumn) {
        for (const json& click : stats["tables"][0]["rows"][0]["clicks"])
            if (click["column"] == column && click["subColumn"] == subColumn) return click;
        return json();
    };
    EXPECT_EQ(cut["tables"][0]["rows"][0]["cells"][2], "");
    const json empty = clickOf(cut, 2, -1);
    ASSERT_FALSE(empty.is_null()) << "the FG cell Bianchi's line never reached lists a click";
    EXPECT_EQ(empty["search"], "*04FG~~~~");
    EXPECT_EQ(empty["rows"], clickOf(full, 2, 0)["rows"]);
    EXPECT_FALSE(empty["rows"].empty());
}

TEST_F(StatsCommands, VolleyballLayoutThroughTheSameCommand) {
    const json stats = cli({"stats", demoDisc(), kVolley});
    ASSERT_EQ(stats["layout"], "volleyball");
    const json& player = stats["tables"][0]["rows"][0];
    const json& first = player["clicks"][0];
    EXPECT_EQ(first["column"], 0);
    EXPECT_EQ(first["search"].get<std::string>().substr(3), "~~~~~~~");
    EXPECT_FALSE(first["rows"].empty());
    bool receptionClause = false;
    for (const json& click : player["clicks"])
        if (click["column"] == 3 && click["subColumn"] == 1) receptionClause = click["advanced"] == "OR[~~~~~=,5][~~~~~/,5]";
    EXPECT_TRUE(receptionClause);
}

TEST_F(StatsCommands, ExtensionStatisticsWriteOutsideThePackagesOnly) {
    const std::string out = (scratch / "ext" / "StatExt.txt").string();
    std::filesystem::create_directories(scratch / "ext");
    const json level1 = cli({"statext", demoDisc(), kBasket, "--pattern", "*11FI", "--out", out});
    EXPECT_EQ(level1["file"], out);
    EXPECT_TRUE(fileExists(out));
    EXPECT_EQ(level1["pattern"], "*11FI~~~~~~~~");
    EXPECT_EQ(level1["labels"][0], "t");
    ASSERT_GE(level1["rows"].size(), 2u);
    std::string deeper;
    for (const json& row : level1["rows"]) {
        if (row["deeper"] && deeper.empty()) deeper = row["code"];
        for (const json& click : row["clicks"]) {
            if (click["label"] == "code") {
                EXPECT_EQ(click["rows"].size(), static_cast<std::size_t>(std::atoi(row["values"].get<std::string>().c_str())));
                continue;
            }
            const std::string label = level1["labels"][click["label"].get<int>()];
            if (label[0] != '%') EXPECT_EQ(figure(click), static_cast<int>(click["rows"].size())) << click.dump();
        }
    }
    // The totals row counts every code of the pattern, and its clicks list them.
    const json& totals = level1["rows"].back();
    EXPECT_EQ(totals["code"], "Totali");
    ASSERT_FALSE(totals["clicks"].empty());
    EXPECT_EQ(totals["clicks"][0]["label"], "code");
    EXPECT_EQ(totals["clicks"][0]["search"], "*11FI~~~~~~~~");
    EXPECT_EQ(totals["clicks"][0]["rows"].size(),
              static_cast<std::size_t>(std::atoi(totals["values"].get<std::string>().c_str())));
    // A lay-up's description comes from the events file.
    bool described = false;
    for (const json& row : level1["rows"]) described |= row["code"] == "*11FI~LA" && row["text"] == "in terzo tempo";
    EXPECT_TRUE(described);
    ASSERT_FALSE(deeper.empty());
    const json level2 = cli({"statext", demoDisc(), kBasket, "--pattern", deeper, "--out", out});
    EXPECT_EQ(level2["rows"][0]["code"].get<std::string>().substr(0, 8), deeper);

    // No file may be written into a package.
    const std::string package = demoDisc() + "/Tlx_Video/" + kBasket;
    std::string errors;
    const CliRun refused = runCli({"statext", demoDisc(), kBasket, "--pattern", "*11FI", "--out", package + "/StatExt.txt"}, &errors);
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_NE(errors.find("inside a package"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(package + "/StatExt.txt"));
}

// Without --out the record goes to a folder of its own in the temporary folder, removed when the
// command ends, whether it printed the figures or refused the pattern; the run is given a
// temporary folder of its own, so what it leaves can be counted.
TEST_F(StatsCommands, ExtensionStatisticsWithoutOutLeaveNoTemporaryFolder) {
    const std::filesystem::path temporary = scratch / "tmp";
    std::filesystem::create_directories(temporary / "corvane-statext-someone-else");
    const auto statextFolders = [&] {
        int count = 0;
        for (const auto& entry : std::filesystem::directory_iterator(temporary))
            count += entry.path().filename().string().starts_with("corvane-statext-");
        return count;
    };
    const std::string command = "TMPDIR='" + temporary.string() + "' '" CORVANE_CLI "' statext";
    const int before = statextFolders();

    const ShellRun printed = runShell(command, {demoDisc(), kBasket, "--pattern", "*11FI"});
    ASSERT_EQ(printed.exitCode, 0) << printed.err;
    const json figures = json::parse(printed.out);
    EXPECT_TRUE(figures["file"].is_null()) << figures["file"];
    EXPECT_GE(figures["rows"].size(), 2u);
    EXPECT_EQ(statextFolders(), before);

    const ShellRun bad = runShell(command, {demoDisc(), kBasket, "--pattern", "*11FI|LA|xxxxxxxxx"});
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_NE(bad.err.find("pattern"), std::string::npos) << bad.err;
    EXPECT_EQ(statextFolders(), before);
    EXPECT_TRUE(std::filesystem::is_directory(temporary / "corvane-statext-someone-else"));
}

}  // namespace
}  // namespace corvane
