#include "codes/code_description.h"

#include <random>

#include <gtest/gtest.h>

#include "codes/match_code.h"
#include "codes/code_rows.h"
#include "core/text.h"
#include "support/event_records.h"

namespace corvane {
namespace {

EventRecord event(std::string code, std::string description, std::string effects = "", std::string extensions = "") {
    return testing::eventRecord(std::move(code), std::move(description), std::move(effects), std::move(extensions));
}

std::string item(const std::string& pattern, const std::string& text) { return testing::extensionItems({{pattern, text}}); }

EventTable tableOf(std::vector<EventRecord> records) { return EventTable(std::move(records)); }

const std::string kSep(1, kExtensionSeparator);

const EventRecord kAttack = event("~~~AH", "Attacco", "Errore;Murato;;;Positivo;Punto",
                                  item("~~~~~~V5", "Veloce") + kSep + item("~~~~~~X~", "Pipe") + kSep);
const EventRecord kHomeAttack = event("*~~AH", "Attacco casa", "E2", item("~~~~~~V5", "Casa veloce"));
const EventRecord kShortCode = event("~~~A", "Corto");
const EventRecord kNoKey = event("*07", "Senza chiave");
// An item without a text, an empty item between two separators, then one that names something.
const EventRecord kServe =
    event("~~~SQ", "Battuta", " ;Errore", "~~~~~~Q1" + kSep + kSep + item("~~~~~~Q~", "Salto"));
const EventRecord kBlock = event("~~~BZ", "Muro");

// An ordinary events table with one line repeated, out of order with another of its key.
std::vector<EventRecord> ordinaryEvents() {
    return {kAttack, kHomeAttack, kAttack, kShortCode, kNoKey, kServe, kBlock};
}

struct Describe : ::testing::Test {
    MatchCompanions match = testing::describedPlayers();
    EventTable events = tableOf(ordinaryEvents());
    CodeDescriptionSources sources{"1", match, events, "Fine azione"};
};

// Every entry of the key adds its part in file order, a repeated line as often as it stands.
TEST_F(Describe, EveryEntryOfTheKeyInFileOrder) {
    struct Case {
        const char* code;
        const char* text;
    };
    const Case cases[] = {
        {"a12AH=V5", "Verdi Attacco Errore Veloce Attacco casa E2 Casa veloce Attacco Errore Veloce"},
        {"a12AH+X3", "Verdi Attacco Positivo Pipe Attacco casa X3 Attacco Positivo Pipe"},
        {"a12AH!", "Verdi Attacco Attacco casa Attacco"},  // a blank effect and no extension add nothing
        {"a12AH#V", "Verdi Attacco Punto V Attacco casa V Attacco Punto V"},
        {"a12AH= 5", "Verdi Attacco Errore  5 Attacco casa E2  5 Attacco Errore  5"},
        {"*07A", "Pallavolo M, Rossi Corto"},     // a four-character code: a one-letter key
        {"*07", "Pallavolo M, Rossi Senza chiave"},  // no key at all matches an entry of no key
        {"a12SQ/Q1", "Verdi Battuta Errore Salto"},  // items without a text are passed over
        {"a12SQ=", "Verdi Battuta"},
        {"a12BZ#  ", "Verdi Muro"},
        {"a12BZ#Z1", "Verdi Muro Z1"},
        {"a12XX+", "Verdi XX+"},
        {"a99AH", " Attacco Attacco casa Attacco"},
        {"   ", ""},
        {"*ENDACT", "Fine azione"},
        {">Timeout", ">Timeout"},
        {"*z1", "*z1"},
    };
    for (const Case& c : cases) EXPECT_EQ(DescribeCode(c.code, sources), c.text) << c.code;
}

TEST_F(Describe, EmptyTableGivesTheRawFields) {
    const EventTable empty;
    const CodeDescriptionSources none{"2", match, empty, "Fine azione"};
    EXPECT_EQ(DescribeCode("a12AH=V5", none), "Verdi AH=V5");
    EXPECT_EQ(DescribeCode("*07AH", none), "Pallavolo M, Rossi AH");
}

// The plain definition: every entry of the table looked at for every code.
std::string describeByScanning(std::string_view rawCode, const std::vector<EventRecord>& records,
                               std::string_view sport) {
    const std::string_view code = trimBlanks(rawCode);
    const auto at = [&](std::size_t from, std::size_t count) {
        return from - 1 < code.size() ? code.substr(from - 1, count) : std::string_view();
    };
    const std::string_view key = at(4, 2), evaluation = at(6, 1), extension = at(7, 2);
    std::string text;
    bool matched = false;
    for (const EventRecord& entry : records) {
        const std::string_view entryKey =
            entry.code.size() > 3 ? std::string_view(entry.code).substr(3, 2) : std::string_view();
        if (entryKey != key) continue;
        matched = true;
        text += " " + entry.description;
        const std::size_t symbol = evaluation.empty() ? std::string_view::npos : kEvaluationSymbols.find(evaluation);
        const auto effects = SplitText(entry.effects, ';');
        if (symbol != std::string_view::npos && effects.size() > symbol && !trimBlanks(effects[symbol]).empty())
            text += " " + effects[symbol];
        if (trimBlanks(extension).empty()) continue;
        std::string found(extension);
        for (const std::string& piece : SplitText(entry.extensions, kExtensionSeparator)) {
            const std::size_t separator = piece.find(kExtensionTextSeparator);
            if (separator != std::string::npos && MatchCode(code, piece.substr(0, separator), AnySide, sport)) {
                found = piece.substr(separator + 1);
                break;
            }
        }
        text += " " + found;
    }
    if (!matched) text += " " + std::string(key) + std::string(evaluation) + std::string(extension);
    return text;
}

// Tables drawn from a small pool, with repeats, against codes drawn from another.
TEST(DescribeCodeTables, EqualToScanningEveryEntry) {
    const std::vector<EventRecord> pool = {kAttack, kHomeAttack, kShortCode, kNoKey, kServe, kBlock,
                                           event("a~~AH", "Attacco ospiti", ";;;;;", item("~~~~~~~5", "Zona 5"))};
    const char* codes[] = {"a12AH=V5", "*07AH+X5", "a12AH#", "*07A", "*07", "a12SQ/Q1", "a12SQ#Q9",
                           "a12BZ=Z1", "a12AH!~5", "a12XX+", "*07AH/ 5"};
    const MatchCompanions noPlayers;
    std::mt19937 draw(22);
    for (int round = 0; round < 200; ++round) {
        std::vector<EventRecord> records(draw() % 9);
        for (EventRecord& record : records) record = pool[draw() % pool.size()];
        const EventTable table(records);
        for (const char* sport : {"1", "2"}) {
            const CodeDescriptionSources sources{sport, noPlayers, table, "Fine azione"};
            for (const char* code : codes)
                ASSERT_EQ(DescribeCode(code, sources), describeByScanning(code, records, sport))
                    << code << " round " << round;
        }
    }
}

TEST(DescribeCodeBound, AHostileTableCannotGrowTheText) {
    const std::vector<EventRecord> copies(100000, kAttack);
    const EventTable table(copies);
    const MatchCompanions noPlayers;
    const CodeDescriptionSources sources{"1", noPlayers, table, "Fine azione"};
    const std::string text = DescribeCode("a12AH=V5", sources);
    EXPECT_EQ(text.size(), kMaxClearTextLength);
    EXPECT_TRUE(text.starts_with(" Attacco Errore Veloce Attacco Errore Veloce")) << text.substr(0, 80);
    // A text that fits is never cut.
    const EventTable few(std::vector<EventRecord>(3, kAttack));
    const CodeDescriptionSources fewSources{"1", noPlayers, few, "Fine azione"};
    EXPECT_EQ(DescribeCode("a12AH=V5", fewSources), " Attacco Errore Veloce Attacco Errore Veloce Attacco Errore Veloce");
}

}  // namespace
}  // namespace corvane
