#include "core/files.h"

#include <gtest/gtest.h>

#include "core/cp1252.h"
#include "core/platform.h"
#include "support/test_support.h"

namespace corvane {
namespace {

using testing::TempFolder;

TEST(ResolveInFolder, FindsNamesWrittenOnWindowsInAnyCase) {
    TempFolder folder;
    folder.write("Partita/FILMATI/Film01.mpg", "x");
    EXPECT_EQ(resolveInFolder(folder.path(), "partita\\filmati\\FILM01.MPG"),
              folder / "Partita/FILMATI/Film01.mpg");
    EXPECT_EQ(resolveInFolder(folder.path(), "Partita/FILMATI/Film01.mpg"), folder / "Partita/FILMATI/Film01.mpg");
    // Nothing matches: the name as written, with "/" separators, so callers can test and log it.
    EXPECT_EQ(resolveInFolder(folder.path(), "partita\\missing.mpg"), folder / "partita/missing.mpg");
}

TEST(ReadTextLines, AcceptsCrLfLfAndCrEnds) {
    EXPECT_EQ(splitTextLines("a\r\nb\nc\rd"), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(splitTextLines("a\r\n\r\nb\r\n"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_TRUE(readTextLines("/nonexistent/file").empty());
}

TEST(WriteFileAtomically, ReplacesTheWholeFile) {
    TempFolder folder;
    const auto file = folder.write("settings.ini", "old content that is longer");
    ASSERT_TRUE(writeFileAtomically(file, "new"));
    EXPECT_EQ(testing::readFile(file), "new");
    EXPECT_FALSE(writeFileAtomically("/nonexistent-folder/x.ini", "y"));
}

TEST(Cp1252, ConvertsBothWaysIncludingTheHighControlRange) {
    const std::string bytes = "Citt\xE0 \x80 \x93ok\x94 \xB1";
    const std::string utf8 = cp1252ToUtf8(bytes);
    EXPECT_EQ(utf8, "Città € “ok” ±");
    EXPECT_EQ(utf8ToCp1252(utf8), bytes);
    EXPECT_EQ(utf8ToCp1252("日本"), "??");
}

TEST(XdgDocumentsFolder, PrefersTheVariableThenUserDirsThenHome) {
    TempFolder home;
    home.write(".config/user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"$HOME/Documenti\"\n");
    EXPECT_EQ(xdgDocumentsFolder(home.path().string(), "", "/srv/docs"), "/srv/docs");
    // A user-dirs entry naming a folder that does not exist falls back to the home folder.
    EXPECT_EQ(xdgDocumentsFolder(home.path().string(), "", ""), home.path());
    std::filesystem::create_directory(home / "Documenti");
    EXPECT_EQ(xdgDocumentsFolder(home.path().string(), "", ""), home / "Documenti");
    EXPECT_EQ(xdgDocumentsFolder("", "", ""), "");
}

}  // namespace
}  // namespace corvane
