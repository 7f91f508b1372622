#include <gtest/gtest.h>

#include <random>
#include <sys/stat.h>
#include <unistd.h>
#include <string>
#include <vector>

#include "core/text.h"
#include "scout/scout_reading.h"
#include "support/test_support.h"

namespace corvane {
namespace {

using corvane::testing::TempFolder;

template <std::size_t N>
std::vector<std::string> fieldsOf(std::string_view line) {
    const LineFields<N> fields(line);
    std::vector<std::string> out;
    for (std::size_t i = 0; i < fields.size(); ++i) out.emplace_back(fields[i]);
    return out;
}

std::vector<std::string> allLines(LineReader& reader) {
    std::vector<std::string> lines;
    for (std::string_view line; reader.next(line);) lines.emplace_back(line);
    return lines;
}

TEST(LineFields, SplitsAsSplitText) {
    const std::vector<std::string> lines{
        "", ";", ";;", "a", "a;b", "a;b;", "a;;b", ";a", "12345678;", "1234567;8", "12345678;9;;;;;;;;;;;;;;x",
        ";:;:", "\xBB;\xBB", "\x3A\x3B\x3C\x7B\xBB;\xFF\x00;\x01", " ; ; ",
    };
    for (const std::string& line : lines) EXPECT_EQ(fieldsOf<40>(line), SplitText(line, ';')) << line;

    // Random lines over the bytes that could fool an eight-byte search.
    std::mt19937 random(7);
    const std::string alphabet(";;;:<:\x3B\xBB\xBA\x01\x00\x7F\x80\xFF" "a", 15);
    for (int n = 0; n < 2000; ++n) {
        std::string line(random() % 70, ' ');
        for (char& c : line) c = alphabet[random() % alphabet.size()];
        EXPECT_EQ(fieldsOf<80>(line), SplitText(line, ';'));
    }
}

TEST(LineFields, KeepsOnlyTheFirstFields) {
    EXPECT_EQ(fieldsOf<3>("a;b;c;d;e"), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(fieldsOf<3>("aaaaaaaaaa;bbbbbbbbbbbb;cccccccccccc;dddddddd"),
              (std::vector<std::string>{"aaaaaaaaaa", "bbbbbbbbbbbb", "cccccccccccc"}));
    const LineFields<2> fields("only");
    EXPECT_EQ(fields.size(), 1u);
    EXPECT_EQ(fields[1], "");
    EXPECT_EQ(fields[5], "");
}

TEST(LineReader, LinesOfEveryLengthAcrossTheReadPieces) {
    // Lines of all sizes, a run of the longest a scout file may hold, CR LF and LF mixed, the last
    // line without an end.
    std::mt19937 random(11);
    std::vector<std::string> expected;
    std::string content;
    for (int n = 0; n < 3000; ++n) {
        std::string line(n >= 1500 && n < 1506 ? kMaxScoutLineBytes : random() % 1200, 'x');
        line[0] = static_cast<char>('a' + n % 26);
        if (n % 7 == 0) line.clear();
        expected.push_back(line);
        content += line + (n % 3 == 0 ? "\n" : "\r\n");
    }
    expected.push_back("last\rline");  // a lone CR is part of its line
    content += "last\rline";

    TempFolder folder;
    std::optional<LineReader> fromFile = LineReader::openFile(folder.write("lines.txt", content));
    ASSERT_TRUE(fromFile);
    EXPECT_EQ(allLines(*fromFile), expected);

    LineReader fromText(content);
    EXPECT_EQ(allLines(fromText), expected);
}

TEST(LineReader, LineEnds) {
    struct Case {
        std::string content;
        std::vector<std::string> lines;
    };
    const std::vector<Case> cases{
        {"", {}},
        {"\n", {""}},
        {"\r\n\r\n", {"", ""}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\nb", {"a", "b"}},
        {"a\r", {"a"}},
        {"a\r\r\n", {"a\r"}},
    };
    for (const Case& c : cases) {
        LineReader reader(c.content);
        EXPECT_EQ(allLines(reader), c.lines) << c.content;
    }
    EXPECT_FALSE(LineReader::openFile("/nonexistent/corvane/file"));
}

// What a scout file may bring: the bound itself is taken, one more is refused, from a file and from
// a text alike, and no line past the bound is handed out.
TEST(LineReader, ScoutBounds) {
    const std::string longest(kMaxScoutLineBytes, 'x');
    std::string manyLines;
    for (std::size_t n = 0; n < kMaxScoutLines; ++n) manyLines += "l\r\n";
    struct Case {
        const char* what;
        std::string content;
        std::optional<ScoutLimit> exceeded;
        std::size_t lines;  // handed out before the end
    };
    const std::vector<Case> cases{
        {"the longest line, CR LF", "a\r\n" + longest + "\r\nb\r\n", std::nullopt, 3},
        {"the longest line, last and unended", "a\n" + longest, std::nullopt, 2},
        {"a line one byte too long", "a\r\n" + longest + "y\r\nb\r\n", ScoutLimit::LineLength, 1},
        {"a too long last line", "a\n" + longest + "y", ScoutLimit::LineLength, 1},
        {"one long line without end", std::string(3 << 20, 'z'), ScoutLimit::LineLength, 0},
        {"as many lines as taken", manyLines, std::nullopt, kMaxScoutLines},
        {"one line more", manyLines + "m", ScoutLimit::LineCount, kMaxScoutLines},
    };
    TempFolder folder;
    for (const Case& c : cases) {
        std::optional<LineReader> fromFile = LineReader::openFile(folder.write("bounds.txt", c.content));
        ASSERT_TRUE(fromFile) << c.what;
        LineReader fromText(c.content);
        for (LineReader* reader : {&*fromFile, &fromText}) {
            EXPECT_EQ(allLines(*reader).size(), c.lines) << c.what;
            EXPECT_EQ(reader->exceeded(), c.exceeded) << c.what;
            std::string_view line;
            EXPECT_FALSE(reader->next(line)) << c.what;  // a refused file stays ended
        }
    }
}

TEST(LineReader, AFileLargerThanTheBoundGivesNoLine) {
    TempFolder folder;
    const auto file = folder.write("huge.txt", "a\r\nb\r\n");
    // Sparse: the size is what is checked, before anything is read.
    ASSERT_EQ(::truncate(file.c_str(), static_cast<off_t>(kMaxScoutFileBytes) + 1), 0);
    std::optional<LineReader> reader = LineReader::openFile(file);
    ASSERT_TRUE(reader);
    EXPECT_TRUE(allLines(*reader).empty());
    EXPECT_EQ(reader->exceeded(), ScoutLimit::FileSize);
}

TEST(LineReader, OnlyRegularFilesAreRead) {
    TempFolder folder;
    const auto fifo = folder / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::filesystem::create_symlink("/dev/zero", folder / "zero");
    std::filesystem::create_symlink("/dev/urandom", folder / "random");
    for (const char* name : {"fifo", "zero", "random"}) EXPECT_FALSE(LineReader::openFile(folder / name)) << name;
}

}  // namespace
}  // namespace corvane
