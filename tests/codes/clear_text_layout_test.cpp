#include <gtest/gtest.h>

#include "codes/clear_text_layout.h"

namespace corvane {
namespace {

// Ten pixels a character, the place as wide in its own font: widths read as character counts.
int tenEach(std::string_view text) {
    int characters = 0;
    for (const char c : text) characters += (static_cast<unsigned char>(c) & 0xC0) == 0x80 ? 0 : 1;
    return 10 * characters;
}

CodeDescriptionParts madeTwo() {
    CodeDescriptionParts parts;
    parts.team = "Aquile C";
    parts.player = "MARINO Enzo";
    parts.shirtNumber = "12";
    parts.event = "Tiro da 2 in area";
    parts.effect = "Segnato";
    parts.rest = " in terzo tempo";
    return parts;
}

int width(std::string_view text) { return tenEach(text); }

TEST(ClearTextLayout, ThePlayerGivesWayFirstThenTheExtensionThenTheEventNeverTheEffectWhileItFits) {
    const std::string place = "0.08 1";
    const int beside = width(place) + kPlaceGap;  // what the place column takes
    struct Case {
        const char* what;
        int width;
        const char* text;
        bool placeShown;
    };
    const std::string whole = "Aquile C, MARINO Enzo Tiro da 2 in area Segnato in terzo tempo";
    const Case cases[] = {
        {"just enough for the whole", width(whole) + beside, whole.c_str(), true},
        {"a pixel short of the whole: the row colour tells the team", width(whole) + beside - 1,
         "MARINO Enzo Tiro da 2 in area Segnato in terzo tempo", true},
        {"initial and surname", width("E. MARINO Tiro da 2 in area Segnato in terzo tempo") + beside,
         "E. MARINO Tiro da 2 in area Segnato in terzo tempo", true},
        {"a pixel short of that: the extension is cut, not the surname",
         width("E. MARINO Tiro da 2 in area Segnato in terzo tempo") + beside - 1,
         "E. MARINO Tiro da 2 in area Segnato in terzo t...", true},
        {"just enough for the surname, event and effect", width("E. MARINO Tiro da 2 in area Segnato...") + beside,
         "E. MARINO Tiro da 2 in area Segnato...", true},
        {"a pixel short of that: the surname is shortened",
         width("E. MARINO Tiro da 2 in area Segnato...") + beside - 1, "E. MARI. Tiro da 2 in area Segnato...", true},
        {"the shortest surname", width("E. MAR. Tiro da 2 in area Segnato...") + beside,
         "E. MAR. Tiro da 2 in area Segnato...", true},
        {"the shirt number", width("#12 Tiro da 2 in area Segnato...") + beside, "#12 Tiro da 2 in area Segnato...",
         true},
        {"a pixel short of that: the place gives way, not the event",
         width("#12 Tiro da 2 in area Segnato...") + beside - 1, "E. MARINO Tiro da 2 in area Segnato...", false},
        {"narrow: the description is cut, the effect stays whole", width("#12 Tiro d... Segnato"),
         "#12 Tiro d... Segnato", false},
        {"very narrow: only the effect's room is left", width("... Segnato"), "... Segnato", false},
        {"narrower than the effect: the text is cut from its end", width("#12 Ti..."), "#12 Ti...", false},
    };
    for (const Case& c : cases) {
        const ClearTextLine line = LayOutClearText(madeTwo(), place, c.width, tenEach, tenEach);
        EXPECT_EQ(line.text, c.text) << c.what;
        EXPECT_EQ(line.place, c.placeShown ? place : "") << c.what;
        EXPECT_LE(width(line.text) + (line.place.empty() ? 0 : beside), c.width) << c.what;
    }
}

TEST(ClearTextLayout, CodesWithoutPlayerOrEffectAndWholeTexts) {
    CodeDescriptionParts nobody = madeTwo();
    nobody.team = nobody.player = nobody.shirtNumber = "";
    EXPECT_EQ(LayOutClearText(nobody, "", 1000, tenEach, tenEach).text, "Tiro da 2 in area Segnato in terzo tempo");

    CodeDescriptionParts noEffect = madeTwo();
    noEffect.effect = "";
    noEffect.rest = "";
    EXPECT_EQ(LayOutClearText(noEffect, "", width("#12 Tiro da..."), tenEach, tenEach).text, "#12 Tiro da...");

    CodeDescriptionParts endOfAction;
    endOfAction.whole = "Fine azione";
    EXPECT_EQ(LayOutClearText(endOfAction, "0.08 1", 1000, tenEach, tenEach).text, "Fine azione");
    EXPECT_EQ(LayOutClearText(endOfAction, "0.08 1", 1000, tenEach, tenEach).place, "0.08 1");
    EXPECT_EQ(LayOutClearText(endOfAction, "0.08 1", width("Fine..."), tenEach, tenEach).text, "Fine...");
}

TEST(ShortPlayerName, InitialOfTheFirstNameThenTheSurname) {
    struct Case {
        const char* name;
        std::size_t letters;
        const char* shortName;
    };
    const Case cases[] = {
        {"MARINO Enzo", 0, "E. MARINO"},      {"DE LUCA Mirko", 0, "M. DE LUCA"}, {"Enzo Marino", 0, "E. Marino"},
        {"Marino", 0, "Marino"},              {"MARINO Enzo", 3, "E. MAR."},      {"DE LUCA Mirko", 3, "M. DE."},
        {"MARINO Enzo", 6, "E. MARINO"},      {"Élodie DUPONT", 0, "É. DUPONT"},  {"Ézio MÜLLER", 2, "É. MÜ."},
        {"  ", 0, ""},
    };
    for (const Case& c : cases) EXPECT_EQ(ShortPlayerName(c.name, c.letters), c.shortName) << c.name;
}

TEST(ShortPlace, TheHourOnlyWhenThereIsOne) {
    EXPECT_EQ(ShortPlace("0.00.08", "1"), "0.08 1");
    EXPECT_EQ(ShortPlace("0.12.34", "2"), "12.34 2");
    EXPECT_EQ(ShortPlace("1.02.05", "2"), "1.02.05 2");
    EXPECT_EQ(ShortPlace("-0.00.08", "1"), "-0.00.08 1");
    EXPECT_EQ(ShortPlace("0.00.08", ""), "0.08");
    EXPECT_EQ(ShortPlace("", ""), "");
}

}  // namespace
}  // namespace corvane
