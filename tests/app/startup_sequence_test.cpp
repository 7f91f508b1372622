#include "app/startup_sequence.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include "core/files.h"
#include "core/messages.h"
#include "core/settings.h"
#include "support/folder_snapshot.h"
#include "support/test_support.h"

namespace corvane {
namespace {

using testing::FixedPlatform;
using testing::handToOrdinaryUser;
using testing::holdsAsOrdinaryUser;
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
    int codecChecks = 0;

    void SetUp() override {
        platform.executable = disc / "corvane-player";
        platform.documents = documents.path();
        platform.data = data.path();
        disc.write("System/Language.cfg", "1\r\n");
        disc.write("System/Messages0.txt", "65=Installare il lettore\n350=Manca libmpv: pacchetto libmpv2\n");
        std::filesystem::create_directories(disc / "Tlx_Video");  // the program runs from its disc
    }

    StartupOutcome run(std::optional<std::filesystem::path> discFolder = std::nullopt) {
        StartupSequence startup(state, {platform, boxes, [this] { return library; }, [this] { ++codecChecks; }, {}});
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

TEST_F(StartupFixture, WithoutThePlayerLibraryNothingOnTheDiscRunsAndTheBoxNamesThePackage) {
    library.reset();
    // A disc's own installer, made so that any run of it shows.
    const auto setup = disc.write("System/Bin_Setup", "#!/bin/sh\ntouch \"" + (disc / "ran").string() + "\"\n");
    std::filesystem::permissions(setup, std::filesystem::perms::owner_all);
    EXPECT_EQ(run(), StartupOutcome::PlayerLibraryMissing);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "Manca libmpv: pacchetto libmpv2");
    EXPECT_EQ(boxes.shown[0].caption, "Corvane Player");
    EXPECT_EQ(boxes.shown[0].flags, MessageBoxExclamation);
    const auto lines = logLines(disc.path());
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[3], "OCX in windows\\system non presente avvio setup libreria di supporto");
    EXPECT_EQ(lines[4], "Libreria video libmpv.so.2 non presente: pacchetto Debian libmpv2");
    // Neither the settings file nor the language file was read, and nothing was started.
    EXPECT_FALSE(std::filesystem::exists(documents / "tlx_player.ini"));
    EXPECT_EQ(state.LanguageNumber, 0);
    EXPECT_EQ(codecChecks, 0);
    sleep(1);
    EXPECT_FALSE(std::filesystem::exists(disc / "ran"));
}

TEST(StartupCatalogues, EveryLanguageHasTheStartUpBoxes) {
    const MessageCatalogue catalogue(std::filesystem::path(CORVANE_SOURCE_DIR) / "data/System");
    for (const int language : {0, 1}) {
        const auto library = catalogue.LoadSDll(kMissingPlayerLibraryMessage, language);
        ASSERT_TRUE(library) << language;
        EXPECT_NE(library->find("libmpv.so.2"), std::string::npos) << *library;
        EXPECT_NE(library->find("libmpv2"), std::string::npos) << *library;
        for (const int number : {kUnusableArgumentMessage, kSeveralArgumentsMessage}) {
            const auto text = catalogue.LoadSDll(number, language);
            ASSERT_TRUE(text) << number;
            EXPECT_NE(text->find("%s"), std::string::npos) << *text;
        }
    }
}

TEST_F(StartupFixture, ACommandLineThatNamesNothingToOpenIsToldInABoxAndTheLog) {
    disc.write("System/Messages1.txt", "351=Non apribile:_%s\n352=Troppi:_%s\n");
    const struct {
        std::vector<std::string> arguments;
        std::string box, logLine;
    } cases[] = {
        {{"/nowhere/x.dvw"}, "Non apribile:\r/nowhere/x.dvw", "Argomento non valido: /nowhere/x.dvw"},
        {{"a", "b c"}, "Troppi:\ra b c", "Argomenti non usati: a b c"},
    };
    for (const auto& c : cases) {
        boxes.shown.clear();
        StartupSequence startup(state, {platform, boxes, [this] { return library; }, [this] { ++codecChecks; }});
        EXPECT_EQ(startup.run(parseCommandLine(c.arguments)), StartupOutcome::CommandLineRefused);
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(boxes.shown[0].text, c.box);
        EXPECT_EQ(boxes.shown[0].flags, MessageBoxExclamation);
        const auto lines = logLines(disc.path());
        ASSERT_EQ(lines.size(), 4u);
        EXPECT_EQ(lines[3], c.logLine);
        EXPECT_EQ(state.folders.ProgramFolder, disc.path().string() + "/");  // the log lies beside the program
    }
    EXPECT_EQ(codecChecks, 0);

    // Started from a folder without catalogues (an installed program), the box still explains,
    // and the log goes to the data folder: nothing is written beside the executable.
    TempFolder installed;
    platform.executable = installed / "corvane-player";
    boxes.shown.clear();
    StartupSequence startup(state, {platform, boxes, [this] { return library; }, [this] { ++codecChecks; }});
    EXPECT_EQ(startup.run(parseCommandLine({"/nowhere/x.dvw"})), StartupOutcome::CommandLineRefused);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_NE(boxes.shown[0].text.find("none of them:\r/nowhere/x.dvw"), std::string::npos) << boxes.shown[0].text;
    EXPECT_TRUE(std::filesystem::is_empty(installed.path()));
    EXPECT_EQ(logLines(data / "Quintera/Corvane Player")[3], "Argomento non valido: /nowhere/x.dvw");
}

TEST_F(StartupFixture, APackageNamedOnTheCommandLineIsRememberedForTheMainWindow) {
    disc.write("Tlx_Video/syn_Reel/Match.cfg", "sport=1\r\n");
    TempFolder elsewhere;
    platform.executable = elsewhere / "corvane-player";
    StartupSequence startup(state, {platform, boxes, [this] { return library; }, [this] { ++codecChecks; }});
    EXPECT_EQ(startup.run(parseCommandLine({(disc / "Tlx_Video/syn_Reel").string()})), StartupOutcome::Continue);
    EXPECT_EQ(state.folders.ProgramFolder, disc.path().string() + "/");
    EXPECT_EQ(state.RequestedPackage, (PackageChoice{"Reel", true}));
}

TEST_F(StartupFixture, ADiscFolderTheUserCannotWriteSendsTheLogToTheDataFolder) {
    handToOrdinaryUser(disc.path());
    handToOrdinaryUser(data.path());
    std::filesystem::permissions(disc.path(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    const auto logFolder = data / "Quintera/Corvane Player";
    EXPECT_TRUE(holdsAsOrdinaryUser([&] {
        run();
        const auto lines = logLines(logFolder);
        return state.folders.LogFolder == logFolder.string() + "/" && lines.size() >= 3 &&
               lines[2] == "Percorso Log: " + logFolder.string() + "/" &&
               !std::filesystem::exists(disc / "Application.Log");
    }));
}

TEST_F(StartupFixture, NoLogLandsUnderARelativeFolder) {
    std::filesystem::permissions(disc.path(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    handToOrdinaryUser(disc.path());
    TempFolder current;
    handToOrdinaryUser(current.path());
    const auto here = std::filesystem::current_path();
    std::filesystem::current_path(current.path());
    for (const char* relative : {"", "share", "."}) {
        platform.data = relative;
        EXPECT_TRUE(holdsAsOrdinaryUser([&] {
            run();
            return state.folders.LogFolder.empty() && std::filesystem::is_empty(current.path());
        })) << relative;
    }
    std::filesystem::current_path(here);
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

// An installed program: bin/corvane-player with share/corvane-player/System beside it, and the
// user's media in a fake mount tree.
struct InstalledProgram : StartupFixture {
    TempFolder prefix, mounts;
    struct ChooserCall {
        std::string caption;
        std::filesystem::path start;
    };
    std::vector<ChooserCall> chooserCalls;
    std::optional<std::filesystem::path> answer;  // what the user picks; nothing: cancelled

    void SetUp() override {
        StartupFixture::SetUp();
        prefix.write("bin/corvane-player", "");
        prefix.write("share/corvane-player/System/Language.cfg", "1\r\n");
        prefix.write("share/corvane-player/System/Messages1.txt", "353=Scegli_il disco\n");
        platform.executable = prefix / "bin/corvane-player";
        platform.mountRoot = mounts.path();
        std::filesystem::create_directories(mounts / "media/coach");
    }

    std::filesystem::path mediaDisc(const std::string& where) {
        mounts.write(where + "/Tlx_Video/Partita/Match.cfg", "sport=1\r\n");
        return mounts / where;
    }

    StartupOutcome runInstalled(const CommandLineRequest& request = {}) {
        StartupSequence startup(state, {platform, boxes, [this] { return library; }, {}, {},
                                        [this](const std::string& caption, const std::filesystem::path& start) {
                                            chooserCalls.push_back({caption, start});
                                            return answer;
                                        }});
        return startup.run(request);
    }

    std::string lastDisc() {
        const std::string sport;
        return Settings(settingsFilePath(documents.path()), sport).read(UltimoDisco);
    }
};

TEST_F(InstalledProgram, TheOnlyDiscOnTheMediaIsUsedWithoutAsking) {
    const auto cd = mediaDisc("run/media/coach/PARTITE");
    const auto before = testing::snapshot(prefix.path());
    const auto packages = testing::snapshot(cd / "Tlx_Video");
    EXPECT_EQ(runInstalled(), StartupOutcome::Continue);
    EXPECT_TRUE(chooserCalls.empty());
    EXPECT_EQ(state.folders.ProgramFolder, cd.string() + "/");
    // The disc brings no System: the installed one serves it, and nothing is copied into the disc.
    EXPECT_EQ(state.folders.SystemFolder, (prefix / "share/corvane-player/System").string());
    EXPECT_EQ(state.LanguageNumber, 1);
    EXPECT_FALSE(std::filesystem::exists(cd / "System"));
    const auto lines = logLines(cd);
    ASSERT_GE(lines.size(), 5u);
    EXPECT_EQ(lines[3], "Disco trovato: " + cd.string());
    EXPECT_EQ(lines[4], "Percorso System: " + state.folders.SystemFolder);
    EXPECT_EQ(lastDisc(), cd.string());
    EXPECT_EQ(testing::differences(before, testing::snapshot(prefix.path())), "");
    EXPECT_EQ(testing::differences(packages, testing::snapshot(cd / "Tlx_Video")), "");
}

TEST_F(InstalledProgram, NoneOrSeveralDiscsOpenTheChooserAtTheLastDisc) {
    TempFolder copied;  // a disc copied to the hard disk, with a System of its own
    copied.write("Tlx_Video/Partita/Match.cfg", "sport=1\r\n");
    copied.write("System/Language.cfg", "0\r\n");

    // No disc on the media: the chooser opens at the media folder and the user picks the copy.
    answer = copied.path();
    EXPECT_EQ(runInstalled(), StartupOutcome::Continue);
    ASSERT_EQ(chooserCalls.size(), 1u);
    EXPECT_EQ(chooserCalls[0].caption, "Scegli\ril disco");  // in the installed program's language
    EXPECT_EQ(chooserCalls[0].start, mounts / "media/coach");
    EXPECT_EQ(state.folders.ProgramFolder, copied.path().string() + "/");
    EXPECT_EQ(state.folders.SystemFolder, copied.path().string() + "/System");  // its own wins
    EXPECT_EQ(state.LanguageNumber, 0);
    EXPECT_EQ(logLines(copied.path())[3], "Disco scelto: " + copied.path().string());
    EXPECT_EQ(lastDisc(), copied.path().string());

    // Still none: the chooser opens at the disc used last.
    chooserCalls.clear();
    runInstalled();
    ASSERT_EQ(chooserCalls.size(), 1u);
    EXPECT_EQ(chooserCalls[0].start, copied.path());

    // Two discs, the last one not among them: where they are; the user picks the second.
    const auto first = mediaDisc("media/coach/UNO");
    const auto second = mediaDisc("media/coach/DUE");
    chooserCalls.clear();
    answer = second;
    runInstalled();
    ASSERT_EQ(chooserCalls.size(), 1u);
    EXPECT_EQ(chooserCalls[0].start, mounts / "media/coach");
    EXPECT_EQ(state.folders.ProgramFolder, second.string() + "/");
    EXPECT_EQ(lastDisc(), second.string());

    // Again: the chooser opens at the one chosen last time.
    chooserCalls.clear();
    answer = first;
    runInstalled();
    ASSERT_EQ(chooserCalls.size(), 1u);
    EXPECT_EQ(chooserCalls[0].start, second);
    EXPECT_EQ(lastDisc(), first.string());
}

TEST_F(InstalledProgram, TheChosenFolderIsReadAsAnArgumentWouldBe) {
    const auto cd = mediaDisc("mnt/cd");
    mediaDisc("mnt/dvd");
    TempFolder empty;
    const struct {
        std::filesystem::path chosen;
        std::filesystem::path disc;
        std::optional<PackageChoice> package;
    } cases[] = {
        {cd / "Tlx_Video", cd, std::nullopt},
        {cd / "Tlx_Video/Partita", cd, PackageChoice{"Partita", false}},
        // A folder without packages is still taken: the main window says it holds none and ends.
        {empty.path(), empty.path(), std::nullopt},
    };
    for (const auto& c : cases) {
        answer = c.chosen;
        EXPECT_EQ(runInstalled(), StartupOutcome::Continue) << c.chosen;
        EXPECT_EQ(state.folders.ProgramFolder, c.disc.string() + "/") << c.chosen;
        EXPECT_EQ(state.RequestedPackage, c.package) << c.chosen;
    }
}

TEST_F(InstalledProgram, NoDiscChosenEndsTheRunWithoutWritingAnything) {
    mediaDisc("media/coach/UNO");
    mediaDisc("media/coach/DUE");
    const auto before = testing::snapshot(prefix.path());
    const auto media = testing::snapshot(mounts.path());
    EXPECT_EQ(runInstalled(), StartupOutcome::DiscNotChosen);
    EXPECT_EQ(chooserCalls.size(), 1u);
    EXPECT_TRUE(std::filesystem::is_empty(data.path()));
    EXPECT_TRUE(std::filesystem::is_empty(documents.path()));
    EXPECT_EQ(testing::differences(before, testing::snapshot(prefix.path())), "");
    EXPECT_EQ(testing::differences(media, testing::snapshot(mounts.path())), "");
}

TEST_F(InstalledProgram, AGivenDiscIsNotSearchedForButBorrowsTheInstalledSystem) {
    mediaDisc("media/coach/UNO");
    TempFolder given;
    given.write("Tlx_Video/Partita/Match.cfg", "");
    EXPECT_EQ(runInstalled(parseCommandLine({given.path().string()})), StartupOutcome::Continue);
    EXPECT_TRUE(chooserCalls.empty());
    EXPECT_EQ(state.folders.ProgramFolder, given.path().string() + "/");
    EXPECT_EQ(state.folders.SystemFolder, (prefix / "share/corvane-player/System").string());
    EXPECT_EQ(lastDisc(), "");  // only a disc searched for or chosen is remembered
}

}  // namespace
}  // namespace corvane
