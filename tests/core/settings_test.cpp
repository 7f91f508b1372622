#include "core/settings.h"

#include <gtest/gtest.h>

#include "support/test_support.h"

namespace corvane {
namespace {

using testing::readFile;
using testing::TempFolder;

struct SettingsFixture : ::testing::Test {
    TempFolder folder;
    std::string sport;
    Settings settings{folder / "tlx_player.ini", sport};
};

TEST_F(SettingsFixture, FileWithoutPlayerSectionReadsAndStoresEveryDefault) {
    folder.write("tlx_player.ini", "[Other]\r\nUtilizzaCodec=0\r\n");
    sport = "1";
    const std::vector<std::pair<int, std::string>> expected = {
        {UtilizzaCodec, "1"},     {SpostainelencoCodici, "1"},  {CodiciInChiaro, "0"},
        {SecAnticipoAzione, "2"}, {StopFineAzione, "0"},        {SecAnticipoFineAzione, "0"},
        {StatisticheModVis, "0"}, {DisplayEffectsDescription, "0"}, {CloseStatistics, "0"}};
    for (const auto& [key, value] : expected) EXPECT_EQ(settings.read(key), value) << settingKeyName(key);

    const std::string content = readFile(folder / "tlx_player.ini");
    EXPECT_NE(content.find("[Player]"), std::string::npos);
    for (const auto& [key, value] : expected)
        EXPECT_NE(content.find(std::string(settingKeyName(key)) + "=" + value), std::string::npos) << content;
    // The other section is kept as it was.
    EXPECT_NE(content.find("[Other]"), std::string::npos);
}

TEST_F(SettingsFixture, SportDecidesTheDefaultsOfKeysThreeAndSeven) {
    const struct {
        std::string sport, expected;
    } cases[] = {{"1", "0"}, {"2", "1"}, {"", "1"}, {"A", "1"}};
    for (const auto& c : cases) {
        std::filesystem::remove(folder / "tlx_player.ini");
        sport = c.sport;
        EXPECT_EQ(settings.read(CodiciInChiaro), c.expected) << "sport " << c.sport;
        EXPECT_EQ(settings.read(StatisticheModVis), c.expected) << "sport " << c.sport;
        // The first read stored it: a later change of sport does not change the stored value.
        sport = c.sport == "1" ? "2" : "1";
        EXPECT_EQ(settings.read(CodiciInChiaro), c.expected);
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

TEST(SettingsPath, LiesInTheDocumentsFolderOrAtTheRootWithoutOne) {
    EXPECT_EQ(settingsFilePath("/home/coach/Documents"), "/home/coach/Documents/tlx_player.ini");
    EXPECT_EQ(settingsFilePath(""), "/tlx_player.ini");
}

}  // namespace
}  // namespace corvane
