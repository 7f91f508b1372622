#include "scout/event_lookups.h"

#include <gtest/gtest.h>

#include "support/event_records.h"

namespace corvane {
namespace {

using testing::eventRecord;

EventRecord event(std::string code, std::string description, std::string effects = "", std::string extensions = "") {
    return eventRecord(std::move(code), std::move(description), std::move(effects), std::move(extensions));
}

std::string extensions(std::initializer_list<std::pair<std::string, std::string>> items) {
    return testing::extensionItems(items);
}

EventTable tableOf(std::vector<EventRecord> records) { return EventTable(std::move(records)); }

EventTable basketballEvents() {
    return tableOf({event("~~~TS", "Tiro da due", "Sbagliato;Stoppato;;Rimbalzo"),
                    event("~~~TS", "Secondo tiro", "A;B;C;D;E;F"),
                    event("~~~TF", "Tiro in corsa", "Fuori;Ferro;Tabella;;Fallo;Canestro;"),
                    event("*07", "Senza chiave")});
}

TEST(EventDescriptionTest, FirstEntryOfTheEventOrTheEventItself) {
    const EventTable table = basketballEvents();
    EXPECT_EQ(EventDescription("TS", table), "Tiro da due");
    EXPECT_EQ(EventDescription("TF", table), "Tiro in corsa");
    EXPECT_EQ(EventDescription("XX", table), "XX");
    EXPECT_EQ(EventDescription("T", table), "T");
    EXPECT_EQ(EventDescription("TS", EventTable{}), "TS");
}

TEST(EffectDescriptionTest, ItemOfTheEvaluationSymbol) {
    const EventTable table = basketballEvents();
    struct Case {
        const char* event;
        const char* evaluation;
        const char* result;
    };
    const Case cases[] = {
        {"TS", "=", "Sbagliato"}, {"TS", "/x", "Stoppato"},  // the first character decides
        {"TS", "-", "?"},                                    // an empty item
        {"TS", "!", "Rimbalzo"},  {"TS", "+", "?"},          // four items only: none for "+" and "#"
        {"TS", "#", "?"},         {"TF", "#", "Canestro"},
        {"TF", "!", "?"},         {"TF", "x", "?"},  // not an evaluation symbol
        {"TF", "", "?"},          {"XX", "=", "?"},  // no entry
        {"*07TF#", "#", "#"},                        // a longer text: its sixth character, never an event
    };
    for (const Case& c : cases)
        EXPECT_EQ(EffectDescription(c.event, c.evaluation, "?", table), c.result)
            << c.event << ' ' << c.evaluation;
}

TEST(EffectDescriptionTest, BlankItemGivesTheFallback) {
    const EventTable table = tableOf({event("~~~AH", "Attacco", "Errore; ;Murato")});
    EXPECT_EQ(EffectDescription("AH", "/", "fb", table), "fb");
    EXPECT_EQ(EffectDescription("AH", "-", "fb", table), "Murato");
}

TEST(ExtensionTextTest, LastMatchingEntryWithAMatchingExtensionDecides) {
    const EventTable table = tableOf({
        event("~~~AH", "Attacco", "", extensions({{"~1", "Primo tempo"}, {"X~", "Pipe"}})),
        event("*~~AH", "Attacco casa", "", extensions({{"X5", "Pipe in zona 5"}})),
        event("~~~AT", "Attacco teso", "", extensions({{"~~", "Ogni estensione"}})),
        event("~~~AH", "Senza estensioni"),
        event("~~~AH", "Voce senza testo", "", "X5"),  // an item without text names nothing
    });
    struct Case {
        const char* code;
        const char* extension;
        const char* text;
    };
    const Case cases[] = {
        {"a07AH#", "01", "Primo tempo"},
        {"a07AH#", "X5", "Pipe"},            // the first matching extension of the entry
        {"*07AH#", "X5", "Pipe in zona 5"},  // a later entry that yields a text decides
        {"*07AH#", "X2", "Pipe"},            // the later entry has no extension for it
        {"a07AH#", "Z9", "Z9"},              // none: the extension code itself
        {"a07AT+", "Z9", "Ogni estensione"},
        {"a07BH+", "01", "01"},  // no entry for the code
    };
    for (const Case& c : cases)
        EXPECT_EQ(ExtensionText(c.code, c.extension, table, "1"), c.text) << c.code << ' ' << c.extension;
}

// Repeated lines, a line shown again after another of its key, codes shorter than five characters
// and extension lists with empty items: the first entry decides descriptions and effects, the last
// entry that yields a text decides extensions.
TEST(EventLookupsTable, FirstEntryDecidesDescriptionsLastYieldingEntryDecidesExtensions) {
    const std::string sep(1, kExtensionSeparator);
    const EventRecord attack = event("~~~AH", "Attacco", "Errore;;Murato",
                                     extensions({{"V5", "Veloce"}, {"X~", "Pipe"}}) + sep);
    const EventRecord home = event("*~~AH", "Attacco casa", "E2;E3", extensions({{"V5", "Casa veloce"}}));
    const EventRecord shortCode = event("~~~A", "Corto", "C1", extensions({{"Z~", "Corta"}}));
    const EventRecord noKey = event("*07", "Senza chiave", "", extensions({{"Q~", "Nessuna chiave"}}));
    const EventRecord serve =
        event("~~~SQ", "Battuta", " ;Errore", "Q1" + sep + sep + extensions({{"Q~", "Salto"}}) + sep + sep);
    const EventTable table = tableOf({attack, home, attack, attack, shortCode, noKey, serve});

    EXPECT_EQ(EventDescription("AH", table), "Attacco");
    EXPECT_EQ(EventDescription("A", table), "Corto");
    EXPECT_EQ(EventDescription("", table), "Senza chiave");
    EXPECT_EQ(EventDescription("SQ", table), "Battuta");
    EXPECT_EQ(EventDescription("HA", table), "HA");

    struct Effect {
        const char *event, *evaluation, *result;
    };
    for (const Effect& c : std::initializer_list<Effect>{{"AH", "=", "Errore"},
                                                          {"AH", "/", "?"},  // the first entry's blank, not a later one's
                                                          {"AH", "-", "Murato"},
                                                          {"A", "=", "C1"},
                                                          {"SQ", "=", "?"},
                                                          {"SQ", "/", "Errore"},
                                                          {"", "=", "?"}})
        EXPECT_EQ(EffectDescription(c.event, c.evaluation, "?", table), c.result) << c.event << c.evaluation;

    struct Extension {
        const char *code, *extension, *text;
    };
    for (const Extension& c : std::initializer_list<Extension>{
             {"*07AH#", "V5", "Veloce"},  // the repeated line after the home entry decides again
             {"*07AH#", "X1", "Pipe"},
             {"a07AH#", "V5", "Veloce"},
             {"*07SQ=", "Q1", "Salto"},  // an item without a text and empty items name nothing
             {"*07SQ=", "Q", "Salto"},  // a shorter extension code: the pattern's rest is blank
             {"*07A", "Z9", "Corta"},
             {"*07", "QQ", "Nessuna chiave"},
             {"a12BZ#", "V5", "V5"}})
        EXPECT_EQ(ExtensionText(c.code, c.extension, table, "1"), c.text) << c.code << ' ' << c.extension;
    // The home entry last: it decides where it yields.
    const EventTable homeLast = tableOf({attack, attack, home});
    EXPECT_EQ(ExtensionText("*07AH#", "V5", homeLast, "1"), "Casa veloce");
    EXPECT_EQ(ExtensionText("*07AH#", "X1", homeLast, "1"), "Pipe");
}

}  // namespace
}  // namespace corvane
