#include "core/messages.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/test_support.h"

namespace corvane {
namespace {

using testing::RecordingBoxes;
using testing::TempFolder;

TEST(LanguageNumber, ComesFromTheFirstLineOrIsOne) {
    const struct {
        const char* content;
        int language;
    } cases[] = {{"0\r\n", 0}, {"3\r\nignored\r\n", 3}, {"x\r\n", 1}, {"\r\n2\r\n", 1}, {" 2 ", 2}};
    for (const auto& c : cases) {
        TempFolder system;
        system.write("Language.cfg", c.content);
        EXPECT_EQ(ReadLanguageNumber(system.path()), c.language) << c.content;
    }
    TempFolder empty;
    EXPECT_EQ(ReadLanguageNumber(empty.path()), 1);
}

struct MessagesFixture : ::testing::Test {
    TempFolder system;
    RecordingBoxes boxes;
    int language = 0;
    MessageCatalogue catalogue{system.path()};
    Messages messages{catalogue, boxes, language};
};

TEST_F(MessagesFixture, TextsComeByNumberWithUnderscoreAsLineBreak) {
    system.write("Messages0.txt", "# comment\n23=Impossibile aprire_%s\n40=Play\n");
    system.write("Messages1.txt", "40=Play (en)\n");
    EXPECT_EQ(messages.MessageText(23), "Impossibile aprire\r%s");
    EXPECT_EQ(messages.MessageText(40), "Play");
    language = 1;
    EXPECT_EQ(messages.MessageText(40), "Play (en)");
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(MessagesFixture, AMissingNumberShowsTheBoxOncePerFetchAndReadsMissing) {
    system.write("Messages0.txt", "40=Play\n");
    EXPECT_EQ(messages.MessageText(41), "@missing@");
    EXPECT_EQ(messages.MessageText(41), "@missing@");
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[0].text, "Missing description. Try to reinstall program!!!");
    EXPECT_EQ(boxes.shown[0].caption, "Error");
    EXPECT_EQ(boxes.shown[0].flags, MessageBoxOk);
}

TEST_F(MessagesFixture, ALanguageWithoutItsOwnCatalogueReadsEnglish) {
    system.write("Messages1.txt", "40=Play\n");
    language = 3;
    EXPECT_EQ(messages.MessageText(40), "Play");
    EXPECT_EQ(messages.MessageText(41), "@missing@");
    EXPECT_EQ(boxes.shown.size(), 1u);
}

TEST_F(MessagesFixture, NoCatalogueAtAllReadsTheLibraryError) {
    EXPECT_EQ(messages.MessageText(40), "DllError!!!");
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(MessagesFixture, AnEmptyTextStaysEmpty) {
    system.write("Messages0.txt", "10=\n");
    EXPECT_EQ(messages.MessageText(10), "");
    EXPECT_TRUE(boxes.shown.empty());
}

TEST(MessageArguments, EachPlaceTakesTheNextArgumentAndNoArgumentIsSearched) {
    struct Case {
        std::string text;
        std::vector<std::string> arguments;
        std::string filled;
    };
    const Case cases[] = {
        {"Clip %s of %s", {"3", "7"}, "Clip 3 of 7"},
        {"Film %s", {"a%sb", "unused"}, "Film a%sb"},      // a disc name holding "%s" stays as it is
        {"%s%s", {"x", "y"}, "xy"},
        {"no place", {"x"}, "no place"},
        {"%s and %s", {"only"}, "only and %s"},            // too few arguments leave the rest
        {"", {}, ""},
    };
    for (const Case& c : cases) {
        std::string text = c.text;
        if (c.arguments.size() == 0) text = withArguments(text, {});
        else if (c.arguments.size() == 1) text = withArguments(text, {c.arguments[0]});
        else text = withArguments(text, {c.arguments[0], c.arguments[1]});
        EXPECT_EQ(text, c.filled) << c.text;
    }
}

}  // namespace
}  // namespace corvane
