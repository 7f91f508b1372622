#include "app/startup_sequence.h"

#include <gtest/gtest.h>

#include "core/files.h"
#include "support/test_support.h"

namespace corvane {
namespace {

using testing::FixedPlatform;
using testing::readFile;
using testing::RecordingBoxes;
using testing::TempFolder;

struct StartupFixture : ::testing::Test {
    TempFolder disc;
    TempFolder documents;
    TempFolder data;
    FixedPlatform platform;
    RecordingBoxes boxes;
    ProgramState state;
    std::optional<std::filesystem::path> library = std::filesystem::path("/usr/lib/libmpv.so.2");
    std::vector<std::pair<std::filesystem::path, std::filesystem::path>> launched;
    int codecChecks = 0;

    void SetUp() override {
        platform.executable = disc / "corvane-player";
        platform.documents = documents.path();
        platform.data = data.path();
        disc.write("System/Language.cfg", "1\r\n");
        disc.write("System/Messages0.txt", "65=Installare il lettore\n");
    }

    StartupOutcome run(std::optional<std::filesystem::path> discFolder = std::nullopt) {
        StartupSequence startup(state, {platform, boxes, [this] { return library; },
                                        [this](const auto& program, const auto& folder) {
                                            launched.emplace_back(program, folder);
                                        },
                                        [this] { ++codecChecks; }, {}});
        return startup.run(discFolder);
    }

    std::vector<std::string> logLines(const std::filesystem::path& folder) {
        auto lines = splitTextLines(readFile(folder / "Application.Log"));
        for (auto& line : lines) line = line.substr(line.find(' ', line.find(' ') + 1) + 1);
        return lines;
    }
};

TEST_F(StartupFixture, AFreshLogStartsWithItsThreeLinesAndNothingOfTheLastRun) {
    disc.write("Application.Log", "old run\r\n");
    EXPECT_EQ(run(), StartupOutcome::Continue);
    const auto lines = logLines(disc.path());
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[0], "-999");
    EXPECT_EQ(lines[1], "qtr-Corvane Player 2007  Build 30/11/2026 09:05:00");
    EXPECT_EQ(lines[2], "Percorso Log: " + disc.path().string() + "/");
    EXPECT_EQ(lines[3], "Data file /usr/lib/libmpv.so.2 30/11/2026 09:05:00");
    EXPECT_EQ(readFile(disc / "Application.Log").find("old run"), std::string::npos);
}

TEST_F(StartupFixture, FoldersComeFromTheExecutableOrTheDiscArgument) {
    run();
    EXPECT_EQ(state.folders.ProgramFolder, disc.path().string() + "/");
    EXPECT_EQ(state.folders.SystemFolder, disc.path().string() + "/System");
    EXPECT_EQ(state.folders.LogFolder, state.folders.ProgramFolder);

    TempFolder other;
    run(other.path());
    EXPECT_EQ(state.folders.ProgramFolder, other.path().string() + "/");
    EXPECT_TRUE(std::filesystem::exists(other / "Application.Log"));
}

TEST_F(StartupFixture, OnReadOnlyMediaTheLogGoesToTheUserDataFolder) {
    platform.readOnlyMedia = true;
    run();
    const auto logFolder = data / "Quintera/Corvane Player";
    EXPECT_EQ(state.folders.LogFolder, logFolder.string() + "/");
    EXPECT_TRUE(std::filesystem::exists(logFolder / "Application.Log"));
    EXPECT_FALSE(std::filesystem::exists(disc / "Application.Log"));
    EXPECT_EQ(logLines(logFolder)[2], "Percorso Log: " + logFolder.string() + "/");
}

TEST_F(StartupFixture, WithoutThePlayerLibraryTheSetupIsLaunchedInLanguageZero) {
    library.reset();
    EXPECT_EQ(run(), StartupOutcome::SetupLaunched);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "Installare il lettore");
    EXPECT_EQ(boxes.shown[0].caption, "Corvane Player");
    EXPECT_EQ(boxes.shown[0].flags, MessageBoxExclamation);
    ASSERT_EQ(launched.size(), 1u);
    EXPECT_EQ(launched[0].first, disc / "System/Bin_Setup");
    EXPECT_EQ(launched[0].second, disc / "System");
    const auto lines = logLines(disc.path());
    EXPECT_EQ(lines[3], "OCX in windows\\system non presente avvio setup libreria di supporto");
    EXPECT_EQ(lines[4], "Esegue ShellExecute \"" + (disc / "System/Bin_Setup").string() + "\"");
    // Neither the settings file nor the language file was read.
    EXPECT_FALSE(std::filesystem::exists(documents / "tlx_player.ini"));
    EXPECT_EQ(state.LanguageNumber, 0);
    EXPECT_EQ(codecChecks, 0);
}

TEST_F(StartupFixture, TheCodecCheckRunsWhenTheSettingIsAbsentOrOne) {
    run();
    EXPECT_EQ(codecChecks, 1);
    EXPECT_NE(readFile(documents / "tlx_player.ini").find("UtilizzaCodec=1"), std::string::npos);
    documents.write("tlx_player.ini", "[Player]\nUtilizzaCodec=0\n");
    run();
    EXPECT_EQ(codecChecks, 1);
}

TEST_F(StartupFixture, TheLanguageIsReadAndTheTerminateFlagCleared) {
    disc.write("System/Language.cfg", "3\r\n");
    state.TerminateAfterCreate = true;
    run();
    EXPECT_EQ(state.LanguageNumber, 3);
    EXPECT_FALSE(state.TerminateAfterCreate);
}

}  // namespace
}  // namespace corvane
