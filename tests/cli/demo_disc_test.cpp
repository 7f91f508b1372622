#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdlib>
#include <filesystem>

#include "cli/cli_runner.h"
#include "core/files.h"

namespace corvane {
namespace {

using nlohmann::json;

// The disc the README's commands make; test.sh names it, a plain ctest run finds it in the build.
std::string demoDisc() {
    const char* named = std::getenv("CORVANE_DEMO_DISC");
    return named && *named ? named : CORVANE_BINARY_DIR "/demo-disc";
}

json cli(const std::vector<std::string>& arguments) {
    const CliRun run = runCli(arguments);
    EXPECT_EQ(run.exitCode, 0) << arguments[0];
    return run.exitCode == 0 ? json::parse(run.out) : json();
}

class DemoDisc : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(std::filesystem::is_directory(demoDisc() + "/Tlx_Video"))
            << "no demo disc at " << demoDisc() << ": make it with tools/make_demo_disc.sh";
    }
};

TEST_F(DemoDisc, HoldsAMatchOfEachSportAndASynthesis) {
    const json packages = cli({"packages", demoDisc()});
    ASSERT_EQ(packages["matches"].size(), 3u);
    ASSERT_EQ(packages["syntheses"].size(), 1u);
    const std::vector<std::string> sports{"1", "2", "3"};
    for (std::size_t n = 0; n < 3; ++n) {
        const std::string name = packages["matches"][n];
        const json codes = cli({"codes", demoDisc(), name});
        EXPECT_EQ(codes["sport"], sports[n]) << name;
        EXPECT_GT(codes["rows"].size(), 20u) << name;
        EXPECT_FALSE(codes["match_info"][15].get<std::string>().empty()) << name;
        // Every code lies in a film of the package.
        const std::size_t films = codes["films"].size();
        for (const std::string film : codes["films"]) EXPECT_TRUE(fileExists(film)) << film;
        for (const auto& row : codes["rows"]) {
            const int film = std::atoi(row[11].get<std::string>().c_str());
            EXPECT_TRUE(film >= 1 && film <= static_cast<int>(films)) << name << " " << row[0];
        }
    }
}

TEST_F(DemoDisc, TheThirdSportIsDecipheredInMemory) {
    const std::string name = cli({"packages", demoDisc()})["matches"][2];
    const json codes = cli({"codes", demoDisc(), name});
    const std::filesystem::path scoutFile = codes["scout_file"].get<std::string>();
    const auto firstLine = readTextLines(scoutFile).front();
    EXPECT_EQ(firstLine.find('['), std::string::npos) << "the scout file should be enciphered";
    EXPECT_GT(codes["rows"].size(), 20u);
    EXPECT_FALSE(std::filesystem::exists(scoutFile.parent_path() / "tmpdecrypt"));
}

TEST_F(DemoDisc, TheSynthesisHasTitlesAnalysesAndOneThatSelectsNothing) {
    const std::string name = cli({"packages", demoDisc()})["syntheses"][0];
    const json analyses = cli({"analyses", demoDisc(), name, "--synthesis"});
    int titles = 0, hidden = 0;
    for (const auto& entry : analyses) {
        titles += entry["tipo"] != "A";
        hidden += entry["hidden"].get<bool>();
    }
    EXPECT_GE(titles, 1);
    EXPECT_EQ(hidden, 1);
    for (std::size_t index = 0; index < analyses.size(); ++index) {
        if (analyses[index]["tipo"] != "A") continue;
        const json rows = cli({"analysis", demoDisc(), name, "--synthesis", "--index", std::to_string(index)})["rows"];
        EXPECT_EQ(rows.empty(), analyses[index]["hidden"].get<bool>()) << analyses[index]["name"];
    }
}

TEST_F(DemoDisc, RallySearchesFindAttacksAfterTheTeamsOwnReception) {
    const std::string name = cli({"packages", demoDisc()})["matches"][0];
    const json rows = cli({"search", demoDisc(), name, "--code", "~~~r"})["rows"];
    ASSERT_FALSE(rows.empty());
    for (const auto& row : rows) EXPECT_EQ(row["code"].get<std::string>()[3], 'A') << row["code"];
}

}  // namespace
}  // namespace corvane
