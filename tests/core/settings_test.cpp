#include "core/settings.h"

#include <gtest/gtest.h>

#include "core/files.h"
#include "core/log.h"
#include "support/test_support.h"

namespace corvane {
namespace {

using testing::FixedPlatform;
using testing::handToOrdinaryUser;
using testing::holdsAsOrdinaryUser;
using testing::readFile;
using testing::TempFolder;

struct SettingsFixture : ::testing::Test {
    TempFolder folder;
    std::string sport;
    Settings settings{folder / "tlx_player.ini", sport};
};

TEST_F(SettingsFixture, FileWithoutPlayerSectionReadsEveryDefaultAndStoresAllButTheSportOnes) {
    folder.write("tlx_player.ini", "[Other]\r\nUtilizzaCodec=0\r\n");
    sport = "1";
    const std::vector<std::pair<int, std::string>> expected = {
        {UtilizzaCodec, "1"},     {SpostainelencoCodici, "1"},  {CodiciInChiaro, "0"},
        {SecAnticipoAzione, "2"}, {StopFineAzione, "0"},        {SecAnticipoFineAzione, "0"},
        {StatisticheModVis, "0"}, {DisplayEffectsDescription, "0"}, {CloseStatistics, "0"}};
    for (const auto& [key, value] : expected) EXPECT_EQ(settings.read(key), value) << settingKeyName(key);

    const std::string content = readFile(folder / "tlx_player.ini");
    EXPECT_NE(content.find("[Player]"), std::string::npos);
    for (const auto& [key, value] : expected) {
        const bool followsSport = key == CodiciInChiaro || key == StatisticheModVis;
        EXPECT_EQ(content.find(std::string(settingKeyName(key)) + "=" + value) != std::string::npos, !followsSport)
            << content;
    }
    // The other section is kept as it was.
    EXPECT_NE(content.find("[Other]"), std::string::npos);
}

TEST_F(SettingsFixture, TheSportDecidesKeysThreeAndSevenUntilTheUserSetsThem) {
    const struct {
        std::string sport, expected;
    } cases[] = {{"1", "0"}, {"2", "1"}, {"", "1"}, {"A", "1"}};
    for (const auto& c : cases) {
        std::filesystem::remove(folder / "tlx_player.ini");
        sport = c.sport;
        EXPECT_EQ(settings.read(CodiciInChiaro), c.expected) << "sport " << c.sport;
        EXPECT_EQ(settings.read(StatisticheModVis), c.expected) << "sport " << c.sport;
        // Not stored: the next package's sport decides again.
        sport = c.sport == "1" ? "2" : "1";
        EXPECT_EQ(settings.read(CodiciInChiaro), c.expected == "1" ? "0" : "1") << "sport " << c.sport;
        EXPECT_EQ(readFile(folder / "tlx_player.ini").find("CodiciInChiaro"), std::string::npos);
    }
    settings.write(CodiciInChiaro, "1");  // the user's choice holds for every sport
    sport = "1";
    EXPECT_EQ(settings.read(CodiciInChiaro), "1");
}

TEST_F(SettingsFixture, AHandEditedFileIsReadAsInisWereAndEveryUnchangedLineKept) {
    const std::string edited =
        "; coach's notes\r\n[Player]\r\nSecAnticipoAzione=9\r\nsecanticipoazione=4\r\n"
        "StopFineAzione = \"1\"\r\n\r\n[Other]\r\nSecAnticipoAzione=7\r\n[player]\r\nCloseStatistics=1\r\n";
    folder.write("tlx_player.ini", edited);
    EXPECT_EQ(settings.read(SecAnticipoAzione), "9");  // the first occurrence wins
    EXPECT_EQ(settings.read(StopFineAzione), "1");     // quotes are not part of the value
    EXPECT_EQ(settings.read(CloseStatistics), "0");    // only the first Player section counts
    EXPECT_EQ(readFile(folder / "tlx_player.ini"),
              "; coach's notes\r\n[Player]\r\nSecAnticipoAzione=9\r\nsecanticipoazione=4\r\n"
              "StopFineAzione = \"1\"\r\nCloseStatistics=0\r\n\r\n[Other]\r\nSecAnticipoAzione=7\r\n[player]\r\n"
              "CloseStatistics=1\r\n");

    const struct {
        std::string before, after;
    } writes[] = {
        {"[Player]\nSecAnticipoAzione=9\nSecAnticipoAzione=4\n", "[Player]\nSecAnticipoAzione=5\nSecAnticipoAzione=4\n"},
        {"[Player]\r\nStopFineAzione=0", "[Player]\r\nStopFineAzione=0\r\nSecAnticipoAzione=5\r\n"},
        {"x=1\n", "x=1\n[Player]\nSecAnticipoAzione=5\n"},
        {"", "[Player]\nSecAnticipoAzione=5\n"},
    };
    for (const auto& w : writes) {
        folder.write("tlx_player.ini", w.before);
        settings.write(SecAnticipoAzione, "5");
        EXPECT_EQ(readFile(folder / "tlx_player.ini"), w.after) << w.before;
    }
}

TEST_F(SettingsFixture, EmptyWriteStoresTheDefaultAndGivesItBack) {
    std::string value;
    settings.SettingValue(SettingMode::Write, SecAnticipoAzione, value);
    EXPECT_EQ(value, "2");
    EXPECT_NE(readFile(folder / "tlx_player.ini").find("SecAnticipoAzione=2"), std::string::npos);
}

TEST_F(SettingsFixture, NamesAreComparedWithoutCaseAndValuesTrimmed) {
    folder.write("tlx_player.ini", "[player]\r\nsecanticipoazione =  5  \r\nSTOPFINEAZIONE=1\r\n");
    EXPECT_EQ(settings.read(SecAnticipoAzione), "5");
    EXPECT_EQ(settings.read(StopFineAzione), "1");
}

TEST_F(SettingsFixture, ValuesAreNeverValidatedOnWrite) {
    settings.write(SecAnticipoFineAzione, "abc");
    EXPECT_EQ(settings.read(SecAnticipoFineAzione), "abc");
}

TEST_F(SettingsFixture, WritesReplaceTheFileWholeAndLeaveNoTemporaryFile) {
    settings.write(StopFineAzione, "1");
    settings.write(CloseStatistics, "1");
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.path())) ++entries;
    EXPECT_EQ(entries, 1u);
    EXPECT_EQ(settings.read(StopFineAzione), "1");
    EXPECT_EQ(settings.read(CloseStatistics), "1");
}

// What a stored text means to the typed accessors, key by key: flags are on only for "1",
// numbers give 0 for any text that is no whole int, and a missing or blank value reads as the
// key's default.
TEST_F(SettingsFixture, TypedAccessorsReadEachKeyAsTheProgramAlwaysHas) {
    const struct {
        const char* stored;  // nullptr: the key is missing
        SettingKey key;
        std::string sport;
        int expected;  // a flag as 0 or 1
    } cases[] = {
        {nullptr, UtilizzaCodec, "", 1},
        {nullptr, SpostainelencoCodici, "", 1},
        {nullptr, StopFineAzione, "", 0},
        {nullptr, DisplayEffectsDescription, "", 0},
        {nullptr, CloseStatistics, "", 0},
        {nullptr, CodiciInChiaro, "", 1},
        {nullptr, CodiciInChiaro, "1", 0},
        {nullptr, StatisticheModVis, "2", 1},
        {nullptr, StatisticheModVis, "1", 0},
        {"", CloseStatistics, "", 0},
        {"  ", UtilizzaCodec, "", 1},
        {"1", CloseStatistics, "", 1},
        {"0", UtilizzaCodec, "", 0},
        {"\"1\"", StopFineAzione, "", 1},
        {" 1 ", StopFineAzione, "", 1},
        // A hand-edited flag that is neither "1" nor "0" is off, everywhere it is read.
        {"2", UtilizzaCodec, "", 0},
        {"yes", SpostainelencoCodici, "", 0},
        {"01", CloseStatistics, "", 0},
        {"true", CodiciInChiaro, "", 0},
        {nullptr, SecAnticipoAzione, "", 2},
        {nullptr, SecAnticipoFineAzione, "", 0},
        {"7", SecAnticipoAzione, "", 7},
        {" -3 ", SecAnticipoFineAzione, "", -3},
        {"+4", SecAnticipoAzione, "", 4},
        {"abc", SecAnticipoAzione, "", 0},
        {"5s", SecAnticipoAzione, "", 0},
        {"2147483647", SecAnticipoAzione, "", 2147483647},
        {"2147483648", SecAnticipoAzione, "", 0},
        {"-2147483649", SecAnticipoFineAzione, "", 0},
        {"99999999999999999999999", SecAnticipoAzione, "", 0},
    };
    for (const auto& c : cases) {
        const std::string label = std::string(settingKeyName(c.key)) + "=" + (c.stored ? c.stored : "(missing)");
        folder.write("tlx_player.ini",
                     c.stored ? "[Player]\n" + std::string(settingKeyName(c.key)) + "=" + c.stored + "\n" : "");
        sport = c.sport;
        const SettingEntry* entry = settingEntry(c.key);
        ASSERT_NE(entry, nullptr) << label;
        const int read = entry->type == SettingType::Flag ? int(settings.flag(c.key)) : settings.number(c.key);
        EXPECT_EQ(read, c.expected) << label << " sport " << c.sport;
    }
}

TEST_F(SettingsFixture, TypedWritesKeepTheFileFormat) {
    settings.setFlag(CloseStatistics, true);
    settings.setFlag(UtilizzaCodec, false);
    EXPECT_EQ(settings.setNumber(SecAnticipoAzione, "7"), 7);
    EXPECT_EQ(settings.setNumber(SecAnticipoFineAzione, ""), 0);  // the default is stored and used
    settings.setText(UltimoDisco, "/media/coach/DISC");
    EXPECT_EQ(readFile(folder / "tlx_player.ini"),
              "[Player]\nCloseStatistics=1\nUtilizzaCodec=0\nSecAnticipoAzione=7\nSecAnticipoFineAzione=0\n"
              "UltimoDisco=/media/coach/DISC\n");
    EXPECT_TRUE(settings.flag(CloseStatistics));
    EXPECT_FALSE(settings.flag(UtilizzaCodec));
    EXPECT_EQ(settings.text(UltimoDisco), "/media/coach/DISC");

    // A cleared field stores the default, and the number used is the one stored.
    EXPECT_EQ(settings.setNumber(SecAnticipoAzione, ""), 2);
    EXPECT_EQ(settings.read(SecAnticipoAzione), "2");
    // What the field holds is stored as typed; its number is what a later read gives.
    EXPECT_EQ(settings.setNumber(SecAnticipoAzione, "12x"), 0);
    EXPECT_EQ(settings.read(SecAnticipoAzione), "12x");
    EXPECT_EQ(settings.number(SecAnticipoAzione), 0);
}

TEST(SettingEntries, EveryKeyHasOneEntryInKeyOrderWithADefaultOfItsType) {
    const auto entries = settingEntries();
    ASSERT_EQ(entries.size(), 10u);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const SettingEntry& entry = entries[i];
        EXPECT_EQ(int(entry.key), int(i) + 1) << entry.name;
        EXPECT_EQ(settingEntry(entry.key), &entry) << entry.name;
        EXPECT_EQ(settingKeyName(entry.key), entry.name);
        for (const std::string_view value : {entry.defaultValue, entry.volleyballDefault}) {
            if (value.empty()) continue;
            if (entry.type == SettingType::Flag) {
                EXPECT_TRUE(value == "1" || value == "0") << entry.name;
            }
            if (entry.type == SettingType::Number) {
                EXPECT_EQ(std::to_string(numberFromText(entry, value)), value) << entry.name;
            }
        }
        // A sport-dependent default must never be stored by a read.
        if (!entry.volleyballDefault.empty()) {
            EXPECT_FALSE(entry.defaultStoredOnRead) << entry.name;
        }
    }
    EXPECT_EQ(settingEntry(0), nullptr);
    EXPECT_EQ(settingEntry(11), nullptr);
    EXPECT_EQ(settingKeyName(11), "");
}

TEST(SettingsPath, AnEmptyOrRelativeFolderGivesNoFileAndNothingIsWritten) {
    EXPECT_EQ(settingsFilePath("/home/coach/Documents"), "/home/coach/Documents/tlx_player.ini");
    TempFolder current;
    const auto here = std::filesystem::current_path();
    std::filesystem::current_path(current.path());
    for (const char* folder : {"", "Documents", "."}) {
        EXPECT_TRUE(settingsFilePath(folder).empty()) << folder;
        const std::string sport;
        const Settings settings(settingsFilePath(folder), sport);
        EXPECT_EQ(settings.read(SecAnticipoAzione), "2");
        EXPECT_EQ(settings.write(SecAnticipoAzione, "7"), "7");
    }
    std::filesystem::current_path(here);
    EXPECT_TRUE(std::filesystem::is_empty(current.path()));
}

// What the user protected or wrote by hand survives every read and write of the program.
struct ProtectedSettings : SettingsFixture {
    TempFolder logFolder;
    FixedPlatform platform;
    ApplicationLog log{platform, logFolder.path()};
    std::string mine = "[Player]\nSecAnticipoAzione=9\nSecAnticipoFineAzione=3\nSpostainelencoCodici=0\n";

    std::filesystem::perms modeOf(const std::filesystem::path& file) {
        return std::filesystem::status(file).permissions();
    }
    std::size_t logLineCount() { return splitTextLines(readFile(logFolder / "Application.Log")).size(); }
};

TEST_F(ProtectedSettings, AFileThatCannotBeReadOrMayNotBeWrittenIsNeverReplaced) {
    using std::filesystem::perms;
    const struct {
        perms mode;
        std::string preRoll;  // what the run uses
    } cases[] = {{perms::none, "2"}, {perms::owner_read | perms::group_read | perms::others_read, "9"}};
    for (const auto& c : cases) {
        const auto file = folder.write("tlx_player.ini", mine);
        std::filesystem::permissions(file, c.mode);
        handToOrdinaryUser(folder.path());
        handToOrdinaryUser(logFolder.path());
        EXPECT_TRUE(holdsAsOrdinaryUser([&] {
            const Settings guarded(file, sport, &log);
            return guarded.read(SecAnticipoAzione) == c.preRoll && guarded.read(UtilizzaCodec) == "1" &&
                   guarded.write(StopFineAzione, "1") == "1" && logLineCount() == 1;
        })) << static_cast<int>(c.mode);
        EXPECT_EQ(modeOf(file), c.mode);
        std::filesystem::permissions(file, perms::owner_read, std::filesystem::perm_options::add);
        EXPECT_EQ(readFile(file), mine);
        std::filesystem::remove(logFolder / "Application.Log");
    }
}

TEST_F(ProtectedSettings, AWriteKeepsTheModeAndGoesThroughALinkToItsTarget) {
    using std::filesystem::perms;
    TempFolder elsewhere;
    const auto target = elsewhere.write("real.ini", mine);
    std::filesystem::permissions(target, perms::owner_read | perms::owner_write);
    std::filesystem::create_symlink(target, folder / "tlx_player.ini");
    handToOrdinaryUser(folder.path());
    handToOrdinaryUser(elsewhere.path());
    EXPECT_TRUE(holdsAsOrdinaryUser([&] {
        const Settings linked(folder / "tlx_player.ini", sport, &log);
        return linked.write(StopFineAzione, "1") == "1" && linked.read(SecAnticipoAzione) == "9";
    }));
    EXPECT_TRUE(std::filesystem::is_symlink(folder / "tlx_player.ini"));
    EXPECT_EQ(readFile(target), mine + "StopFineAzione=1\n");
    EXPECT_EQ(modeOf(target), perms::owner_read | perms::owner_write);
}

TEST_F(ProtectedSettings, AFileWithANulByteIsReadButNeverRewritten) {
    const std::string withNul = mine + std::string("Note=a\0b\n", 10);
    folder.write("tlx_player.ini", withNul);
    const Settings guarded(folder / "tlx_player.ini", sport, &log);
    EXPECT_EQ(guarded.read(SecAnticipoAzione), "9");
    EXPECT_EQ(guarded.read(StopFineAzione), "0");
    guarded.write(CloseStatistics, "1");
    EXPECT_EQ(readFile(folder / "tlx_player.ini"), withNul);
    EXPECT_EQ(logLineCount(), 1u);
}

}  // namespace
}  // namespace corvane
