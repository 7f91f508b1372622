#include "stats/extension_stats.h"

#include <gtest/gtest.h>

#include "core/files.h"
#include "support/test_support.h"

namespace corvane {
namespace {

ExtensionStats read(const std::string& content) { return readExtensionStats(splitTextLines(content)); }

TEST(ExtensionStatsFile, ReadsHeaderRowsAndTheRowsWithADeeperLevel) {
    const auto stats = read("ignored\r\n[testata]\r\nt$=$%$#$%\r\n[home]\r\n*05FI~LA|4;1;25%;3;75%\r\n"
                            "*05FI~DU\r\nTotali|4;1;25%;3;75%\r\n[eventswithext]\r\n*05FI~LA;*05FI~HO\r\n");
    ASSERT_EQ(stats.rows.size(), 4u);
    EXPECT_EQ(stats.rows[0].code, "");
    EXPECT_EQ(stats.rows[0].values, "t$=$%$#$%");
    EXPECT_EQ(extensionLabels(stats), (std::vector<std::string>{"t", "=", "%", "#", "%"}));
    EXPECT_EQ(stats.rows[1].code, "*05FI~LA");
    EXPECT_EQ(stats.rows[1].values, "4;1;25%;3;75%");
    EXPECT_EQ(stats.rows[2].code, "*05FI~DU");  // no "|": no values
    EXPECT_EQ(stats.rows[2].values, "");
    EXPECT_TRUE(stats.opensDeeperLevel("*05FI~LA"));
    EXPECT_FALSE(stats.opensDeeperLevel("*05FI~DU"));
    EXPECT_FALSE(stats.opensDeeperLevel("*05FI~L"));  // a code must stand there exactly

    // The line after a section line is data of that section even when it looks like one.
    const auto odd = read("[home]\r\n[eventswithext]\r\n*05FI~LA|1\r\n");
    EXPECT_EQ(odd.rows.size(), 3u);
    EXPECT_EQ(odd.rows[1].code, "[eventswithext]");
    EXPECT_TRUE(odd.withSubExtensions.empty());
}

TEST(ExtensionStatsFile, MissingFileOpensNothingAndHostileFilesStop) {
    testing::TempFolder folder;
    EXPECT_FALSE(LoadExtensionStats(folder / "StatExt.txt"));
    EXPECT_FALSE(LoadExtensionStats(folder / "StatExt.txt").has_value());
    std::string many = "[testata]\r\nt\r\n[home]\r\n";
    for (int i = 0; i < 1500; ++i) many += "*05FI~LA|1\r\n";
    const auto stats = LoadExtensionStats(folder.write("StatExt.txt", many));
    ASSERT_TRUE(stats);
    EXPECT_EQ(stats->rows.size(), kMaxExtensionRows + 1);
    EXPECT_FALSE(stats->problem.empty());
    const auto big = LoadExtensionStats(folder.write("Big.txt", std::string(2u << 20, 'x')));
    ASSERT_TRUE(big);
    EXPECT_FALSE(big->hasDataRows());
    EXPECT_FALSE(big->problem.empty());
    EXPECT_FALSE(read("[testata]\r\nt$=\r\n").hasDataRows());
}

TEST(ExtensionOverlay, ClickLaysTheTrimmedLengthAndAButtonTheWholeCode) {
    const std::string pattern = extensionPattern(true, "05", "FI");
    EXPECT_EQ(pattern, "*05FI        ");
    const struct {
        const char* code;
        const char* click;
        const char* button;
    } cases[] = {
        {"~~~~~~LA", "*05FI LA     ", "*05FI LA     "},
        {"*05FI~LAZ3", "*05FI LAZ3   ", "*05FI LAZ3   "},
        {"~~~~~~L~", "*05FI L      ", "*05FI L      "},
        // Leading blanks shorten the trimmed length: a click lays only what that length covers.
        {"      LA", "*05FI        ", "*05FI LA     "},
        {"~~~~~~~~~~~~~XYZ", "*05FI        ", "*05FI        "},  // past the pattern: dropped
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        EXPECT_EQ(overlayForClick(pattern, c.code), c.click);
        EXPECT_EQ(overlayForButton(pattern, c.code), c.button);
    }
    EXPECT_EQ(extensionPattern(false, "~~", "TO"), "a  TO        ");
}

TEST(ExtensionLabels, FortyPixelHitsAndTheEffectTheyStandFor) {
    const std::vector<std::string> labels{"t", "=", "%", "#", "%"};
    const struct {
        int offset;
        int label;
        char effect;
    } cases[] = {
        {0, 0, '~'},     // "t": every effect
        {40, 0, '~'},    // a shared edge belongs to the label on its left
        {41, 1, '='},
        {100, 2, '='},   // "%" searches the effect to its left
        {130, 3, '#'},
        {200, 4, '#'},
        {201, -1, '~'},  // past the labels
        {-3, -1, '~'},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.offset);
        const int label = extensionLabelAt(c.offset, 40, static_cast<int>(labels.size()));
        EXPECT_EQ(label, c.label);
        EXPECT_EQ(extensionLabelEffect(labels, label), c.effect);
    }
    EXPECT_EQ(extensionLabelEffect({"%", "="}, 0), '~');  // a "%" with nothing before it
    EXPECT_EQ(extensionLabelAt(10, 0, 3), -1);
}

TEST(ExtensionLabels, AClickOnTheCodeKeepsTheEffectPositionAndALabelSetsIt) {
    const auto stats = read("[testata]\r\nt$=$%$#$%\r\n[home]\r\n~~~~~~LA|4;1;25%;3;75%\r\nTotali|4\r\n");
    std::string pattern = extensionPattern(true, "05", "FI");
    pattern[5] = '/';
    EXPECT_EQ(extensionClickPattern(pattern, stats, 1, kClickOnCode), "*05FI/LA     ");
    EXPECT_EQ(extensionClickPattern(pattern, stats, 1, 0), "*05FI~LA     ");
    EXPECT_EQ(extensionClickPattern(pattern, stats, 1, 2), "*05FI=LA     ");
    EXPECT_EQ(extensionClickPattern(pattern, stats, 1, 3), "*05FI#LA     ");
    EXPECT_EQ(extensionClickPattern(pattern, stats, 1, -1), "*05FI~LA     ");
}

TEST(ExtensionLabels, TheTotalsRowSearchesEveryCodeOfThePattern) {
    // Its code "Totali" is a caption: laid over the pattern it would search codes that do not exist.
    const auto stats = read("[testata]\r\nt$=$%$#$%\r\n[home]\r\n~~~~~~LA|4;1;25%;3;75%\r\nTotali|6;2;33%;4;67%\r\n");
    const std::string pattern = extensionPattern(true, "05", "FI");
    const struct {
        const char* what;
        int label;
        const char* search;
    } cases[] = {
        {"its caption", kClickOnCode, "*05FI        "},
        {"its total", 0, "*05FI~       "},
        {"an effect", 1, "*05FI=       "},
        {"a share takes the effect before it", 4, "*05FI#       "},
        {"off every label", -1, "*05FI~       "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(extensionClickPattern(pattern, stats, 2, c.label), c.search);
    }
}

TEST(ExtensionRowText, TheLastMatchingEventDecidesWithItsFirstMatchingItem) {
    const auto item = [](const std::string& code, const std::string& text) {
        return code + kExtensionTextSeparator + text;
    };
    EventTable events;
    EventRecord shot;
    shot.code = "~~~FI";
    shot.extensions = item("~~~FI~LA", "lay-up") + kExtensionSeparator + item("~~~~~~LA", "any LA");
    EventRecord later;
    later.code = "~~~F";
    later.extensions = item("~~~~~~DU", "dunk") + kExtensionSeparator + item("~~~~~~LA", "later LA");
    EventRecord other;
    other.code = "~~~TO";
    other.extensions = item("~~~~~~LA", "not this event");
    events = EventTable({shot, later, other});
    const std::string pattern = extensionPattern(true, "05", "FI");
    EXPECT_EQ(extensionRowText(pattern, "*05FI~LA", events, "2"), "later LA");
    EXPECT_EQ(extensionRowText(pattern, "*05FI~DU", events, "2"), "dunk");
    events = EventTable({later, shot, other});
    EXPECT_EQ(extensionRowText(pattern, "*05FI~LA", events, "2"), "lay-up");
    EXPECT_EQ(extensionRowText(pattern, "*05FI~HO", events, "2"), "*05FI~HO");
    EXPECT_EQ(extensionRowText(extensionPattern(true, "05", "TO"), "*05TO~LA", events, "2"), "not this event");
}

TEST(ExtensionSubColumns, EqualSharesWithTheirBoxesAPixelInside) {
    const struct {
        int columnWidth, count;
        int shareWidth, boxWidth;
    } cases[] = {
        {200, 5, 40, 38},
        {62, 5, 12, 10},  // the two pixels left over stay unused
        {15, 5, 3, 1},
        {14, 5, 2, 0},    // a share of two pixels has no room inside
        {4, 5, 0, 0},
        {-8, 2, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.columnWidth) + "/" + std::to_string(c.count));
        const auto columns = extensionSubColumns(c.columnWidth, c.count);
        ASSERT_EQ(columns.size(), static_cast<std::size_t>(c.count));
        for (int i = 0; i < c.count; ++i) {
            const ExtensionSubColumn& column = columns[static_cast<std::size_t>(i)];
            EXPECT_EQ(column.left, i * c.shareWidth);
            EXPECT_EQ(column.width, c.shareWidth);
            EXPECT_EQ(column.boxWidth(), c.boxWidth);
            EXPECT_EQ(column.boxLeft(), column.left + 1);
        }
    }
    EXPECT_TRUE(extensionSubColumns(200, 0).empty());
}

TEST(ExtensionSubColumns, EveryPixelOfADrawnBoxIsWhereAClickSelectsItsLabel) {
    for (const int columnWidth : {35, 62, 200, 517}) {
        for (const int count : {1, 3, 5, 13}) {
            SCOPED_TRACE(std::to_string(columnWidth) + "/" + std::to_string(count));
            const auto columns = extensionSubColumns(columnWidth, count);
            for (int i = 0; i < count; ++i) {
                const ExtensionSubColumn& column = columns[static_cast<std::size_t>(i)];
                for (int x = column.boxLeft(); x < column.boxLeft() + column.boxWidth(); ++x)
                    ASSERT_EQ(extensionLabelAt(x, column.width, count), i) << "x " << x;
                // Boxes never reach into a neighbour's share.
                EXPECT_LE(column.boxLeft() + column.boxWidth(), (i + 1) * column.width);
            }
        }
    }
}

}  // namespace
}  // namespace corvane
