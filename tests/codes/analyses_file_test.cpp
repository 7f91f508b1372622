#include "codes/analyses_file.h"

#include <gtest/gtest.h>

#include "codes/code_rows.h"
#include "support/test_support.h"

namespace corvane {
namespace {

using testing::fixture;
using testing::tableOf;
using testing::TempFolder;

const PassContext kSynthesis{"1", true, 0};

std::filesystem::path fixtureAnalyses() { return fixture("analyses/Analisi.ini"); }

// Codes of a synthesis: Clock holds the number of the analysis each belongs to.
CodeTable synthesisCodes() {
    return tableOf({{"*07AH#", "1", "1", "", "1"},
                    {"a09AH#", "1", "1", "", "1"},
                    {"*04RM+", "1", "1", "", "2"},
                    {"a12RM#", "2", "1", "", "3"}});
}

AnalysisRecord filledRecord() {
    AnalysisRecord record;
    for (std::string& slot : record.slots) slot = "old";
    return record;
}

TEST(ReadAnalysisTest, ReadsTheKeysOfTheSectionInSlotOrder) {
    AnalysisRecord record = filledRecord();
    ReadAnalysis(fixtureAnalyses(), "Attacchi vincenti", record);
    EXPECT_EQ(record[AnalysisRecord::tipo], "A");
    EXPECT_EQ(record[AnalysisRecord::team], "Corvane");
    EXPECT_EQ(record[AnalysisRecord::main_code], "~~~A~#");
    EXPECT_EQ(record[AnalysisRecord::adv_codes], "AND[~~~E,1][~~~~~#,5];due;tre;[uno][due]");
    EXPECT_EQ(record[AnalysisRecord::seconds_prev], "2");
    EXPECT_EQ(record[AnalysisRecord::play_end_rally], "1");
    // Keys the section lacks and the slots after the keys are empty.
    EXPECT_EQ(record[AnalysisRecord::team_rot], "");
    EXPECT_EQ(record[AnalysisRecord::folder], "");
    for (std::size_t slot = 13; slot < record.slots.size(); ++slot) EXPECT_EQ(record.slots[slot], "") << slot;
}

TEST(ReadAnalysisTest, KeysAndSectionsInAnyCaseAndQuotesDropped) {
    AnalysisRecord record;
    ReadAnalysis(fixtureAnalyses(), "RICEZIONI", record);
    EXPECT_EQ(record[AnalysisRecord::tipo], "A");
    EXPECT_EQ(record[AnalysisRecord::main_code], "~~~R");
    EXPECT_EQ(record[AnalysisRecord::team_rot], "3");
    EXPECT_EQ(record[AnalysisRecord::rot_zone], "1");
    EXPECT_EQ(record[AnalysisRecord::set], "1;2;");
    EXPECT_EQ(record[AnalysisRecord::phase], "2");
    EXPECT_EQ(record[AnalysisRecord::seconds_len], "8");
    EXPECT_EQ(record[AnalysisRecord::automatic_stop], "0");
    EXPECT_EQ(record[AnalysisRecord::folder], "Sintesi 1");
}

TEST(ReadAnalysisTest, MissingSectionOrFileEmptiesTheRecord) {
    TempFolder folder;
    for (const auto& [file, name] : {std::pair{fixtureAnalyses(), std::string("Nessuna")},
                                     std::pair{folder / "Analisi.ini", std::string("Ricezioni")}}) {
        AnalysisRecord record = filledRecord();
        ReadAnalysis(file, name, record);
        for (const std::string& slot : record.slots) EXPECT_EQ(slot, "") << name;
    }
}

TEST(ListAnalysesTest, EntriesInFileOrderWithTitlesAndEmptyAnalysesHidden) {
    AnalysisRecord record = filledRecord();
    const auto entries = ListAnalyses(fixtureAnalyses(), synthesisCodes(), kSynthesis, record);
    ASSERT_TRUE(entries);
    ASSERT_EQ(entries->size(), 4u);
    struct Expected {
        const char* name;
        const char* tipo;
        bool hidden;
    };
    const Expected expected[] = {{"Zona attacco", "T", false},
                                 {"Attacchi vincenti", "A", false},
                                 {"Nessun codice", "A", true},  // analysis 2 has a code, but no "Z"
                                 {"Ricezioni", "A", false}};
    for (std::size_t k = 0; k < entries->size(); ++k) {
        EXPECT_EQ((*entries)[k].name, expected[k].name) << k;
        EXPECT_EQ((*entries)[k].tipo, expected[k].tipo) << k;
        EXPECT_EQ((*entries)[k].hidden, expected[k].hidden) << k;
    }
    // The record is left holding the last section.
    EXPECT_EQ(record[AnalysisRecord::main_code], "~~~R");
    EXPECT_EQ(record[AnalysisRecord::team], "");
    EXPECT_EQ(record.slots[20], "");
}

TEST(ListAnalysesTest, AnAnalysisIsHiddenWhenItsIndexHasNoCodes) {
    TempFolder folder;
    const auto file = folder.write("Analisi.ini", "[Prima]\r\ntipo=A\r\n[Seconda]\r\ntipo=A\r\n");
    AnalysisRecord record;
    const auto entries = ListAnalyses(file, tableOf({{"*07AH#", "1", "1", "", "1"}}), kSynthesis, record);
    ASSERT_TRUE(entries);
    ASSERT_EQ(entries->size(), 2u);
    EXPECT_TRUE((*entries)[0].hidden);
    EXPECT_FALSE((*entries)[1].hidden);
}

TEST(ListAnalysesTest, MissingFileListsNothingAndKeepsTheRecord) {
    TempFolder folder;
    AnalysisRecord record = filledRecord();
    EXPECT_FALSE(ListAnalyses(folder / "Analisi.ini", synthesisCodes(), kSynthesis, record));
    EXPECT_EQ(record[AnalysisRecord::main_code], "old");
}

TEST(ListAnalysesTest, FileWithoutSectionsListsNoEntry) {
    TempFolder folder;
    AnalysisRecord record;
    const auto entries =
        ListAnalyses(folder.write("Analisi.ini", "; nothing yet\r\n"), synthesisCodes(), kSynthesis, record);
    ASSERT_TRUE(entries);
    EXPECT_TRUE(entries->empty());
}

TEST(AnalysesFilePathTest, FindsTheFileWhateverItsCase) {
    TempFolder folder;
    const auto file = folder.write("ANALISI.INI", "[Uno]\r\ntipo=A\r\n");
    EXPECT_EQ(analysesFilePath(folder.path()), file);
}

}  // namespace
}  // namespace corvane
