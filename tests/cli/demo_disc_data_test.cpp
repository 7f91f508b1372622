#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <regex>

#include "core/files.h"
#include "core/log.h"
#include "core/text.h"
#include "scout/event_lookups.h"
#include "scout/events.h"
#include "scout/scout_readers.h"
#include "support/test_support.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;

fs::path demoVideoFolder() {
    const char* named = std::getenv("CORVANE_DEMO_DISC");
    return fs::path(named && *named ? named : CORVANE_BINARY_DIR "/demo-disc") / "Tlx_Video";
}

class DemoDiscData : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(fs::is_directory(demoVideoFolder()))
            << "no demo disc at " << demoVideoFolder() << ": make it with tools/make_demo_disc.sh";
        for (const auto& entry : fs::directory_iterator(demoVideoFolder()))
            if (entry.is_directory()) packages.push_back(entry.path());
        ASSERT_FALSE(packages.empty());
    }
    std::vector<fs::path> packages;
    testing::FixedPlatform platform;
};

// What the disc shows a coach is what its files teach: every events line must load, or every
// code of the events after it is described by its bare letters.
TEST_F(DemoDiscData, EveryEventsLineLoadsAndServesAndReceptionsAreDescribed) {
    ApplicationLog log = ApplicationLog::discarding(platform);
    for (const fs::path& package : packages) {
        const fs::path events = package / "Eventi.txt";
        if (!fs::exists(events)) continue;
        int lines = 0;
        for (const std::string& line : readTextLines(events)) lines += trimBlanks(line).empty() ? 0 : 1;
        const EventTable table = LoadEvents(events, log);
        EXPECT_EQ(table.EventCount(), lines) << events;
        if (package.filename().string().find("Volley") == std::string::npos) continue;
        bool serve = false, reception = false;
        for (const EventRecord& record : table.records()) {
            serve = serve || eventKey(record).starts_with("S");
            reception = reception || eventKey(record).starts_with("R");
        }
        EXPECT_TRUE(serve && reception) << events;
        EXPECT_NE(EventDescription("SM", table), "SM") << events;
        EXPECT_NE(EventDescription("RM", table), "RM") << events;
    }
}

// The notes window shows the slots as home, visiting, result, season, competition, phase, match
// day, date, type.
TEST_F(DemoDiscData, TheSynthesisMatchesLinesFollowTheNotesColumns) {
    const std::regex date(R"(\d{1,2}/\d{1,2}/\d{4})");
    const std::regex result(R"(\d-\d)");
    const std::regex season(R"(\d{4}/\d{4})");
    int matches = 0;
    for (const fs::path& package : packages) {
        for (const auto& entry : fs::directory_iterator(package)) {
            if (entry.path().extension() != ".vsc") continue;
            CodeTable codes;
            MatchCompanions match;
            ASSERT_TRUE(ReadScoutFile(entry.path(), true, {codes, match}, platform.formats));
            for (int n = 1; match.HasMatchesData && n <= match.MatchesCount; ++n, ++matches) {
                const auto& slots = match.MatchesData[static_cast<std::size_t>(n)].slots;
                const std::string where = entry.path().string() + " match " + std::to_string(n);
                EXPECT_FALSE(std::regex_match(slots[0], date)) << where << ": home " << slots[0];
                EXPECT_FALSE(slots[1].empty()) << where;
                EXPECT_TRUE(std::regex_match(slots[2], result)) << where << ": result " << slots[2];
                EXPECT_TRUE(std::regex_match(slots[3], season)) << where << ": season " << slots[3];
                EXPECT_TRUE(std::regex_match(slots[7], date)) << where << ": date " << slots[7];
            }
        }
    }
    EXPECT_GT(matches, 0) << "the demo disc's synthesis lists the matches it was cut from";
}

}  // namespace
}  // namespace corvane
