#include "core/messages.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/test_support.h"

namespace corvane {
namespace {

using testing::RecordingBoxes;
using testing::TempFolder;

// A film's path comes from the disc: a "%s" in it is text, not a place for the next argument.
TEST(FillArguments, EachMarkTakesTheNextArgumentInOrder) {
    struct Case {
        const char* text;
        std::vector<std::string> arguments;
        const char* filled;
    };
    const std::vector<Case> cases = {
        {"The film %s: %s pixels", {"/d/F.avi", "8200x16"}, "The film /d/F.avi: 8200x16 pixels"},
        {"%s%s", {"a", "b"}, "ab"},
        {"One %s", {"a", "b"}, "One a"},              // an argument too many is dropped
        {"%s and %s", {"a"}, "a and %s"},             // a mark too many stays
        {"No mark", {"a"}, "No mark"},
        {"%s then %s", {"/d/%s.avi", "x"}, "/d/%s.avi then x"},
        {"%s", {""}, ""},
    };
    for (const Case& c : cases) {
        const std::string result = c.arguments.size() == 1
                                       ? withArguments(c.text, {c.arguments[0]})
                                       : withArguments(c.text, {c.arguments[0], c.arguments[1]});
        EXPECT_EQ(result, c.filled) << c.text;
    }
}

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

}  // namespace
}  // namespace corvane
