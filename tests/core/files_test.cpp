#include "core/files.h"

#include <gtest/gtest.h>

#include <optional>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include "core/cp1252.h"
#include "core/platform.h"
#include "support/test_support.h"
#include "support/watchdog.h"

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

namespace fs = std::filesystem;

// A package beside a folder outside it, with links of both kinds; the links' targets stay inside
// the test's own folder.
struct PackageWithLinks {
    TempFolder folder;
    fs::path package = folder / "disc/pkg";

    PackageWithLinks() {
        folder.write("outside/secret.txt", "secret");
        folder.write("disc/pkg/Film01.mpg", "film 1");
        folder.write("disc/pkg/sub/Film02.mpg", "film 2");
        fs::create_symlink(folder / "outside/secret.txt", package / "link.mpg");
        fs::create_symlink(folder / "outside", package / "linkdir");
        fs::create_symlink("../../outside/secret.txt", package / "relative.mpg");
        fs::create_symlink("Film01.mpg", package / "inner.mpg");
        fs::create_symlink(package / "sub", package / "innerdir");
    }
};

TEST(ContainedFolder, NamesNeverLeadOutOfTheFolder) {
    const PackageWithLinks disc;
    const struct {
        std::string name;
        std::optional<std::string> found;  // below the package; nothing for an escape
    } cases[] = {
        {"Film01.mpg", "Film01.mpg"},
        {"./sub/film02.MPG", "sub/Film02.mpg"},
        {"sub\\FILM02.mpg", "sub/Film02.mpg"},
        {"/etc/passwd", std::nullopt},
        {"\\etc\\passwd", std::nullopt},
        {"\\\\server\\share\\Film01.mpg", std::nullopt},
        {"../outside/secret.txt", std::nullopt},
        {"sub/../../outside/secret.txt", std::nullopt},
        {"sub\\..\\Film01.mpg", std::nullopt},  // ".." is refused even where it would come back in
        {"..", std::nullopt},
        {"link.mpg", std::nullopt},
        {"LINK.MPG", std::nullopt},
        {"relative.mpg", std::nullopt},
        {"linkdir/secret.txt", std::nullopt},
        {"linkdir/missing.txt", std::nullopt},
        {std::string("Film01.mpg") + std::string(1, '\0') + "/../../outside/secret.txt", std::nullopt},
        {"inner.mpg", "inner.mpg"},
        {"innerdir/film02.mpg", "innerdir/Film02.mpg"},
        {"missing/Film09.mpg", "missing/Film09.mpg"},  // not there: as written, inside
    };
    const ContainedFolder files(disc.package);
    for (const auto& c : cases) {
        const std::optional<fs::path> resolved = files.resolve(c.name);
        if (c.found)
            EXPECT_EQ(resolved, std::optional<fs::path>(disc.package / *c.found)) << c.name;
        else
            EXPECT_EQ(resolved, std::nullopt) << c.name;
        EXPECT_EQ(resolveInFolder(disc.package, c.name), c.found ? disc.package / *c.found : fs::path()) << c.name;
    }
}

// Configuration files written on Windows name files in Windows-1252; discs made on Linux hold
// UTF-8 names, and discs copied byte for byte from Windows hold the 8-bit names.
TEST(ContainedFolder, MatchesNamesInEitherEncoding) {
    TempFolder folder;
    folder.write("pkg/Citt\xC3\xA0.sco", "utf-8 name on disk");
    folder.write("pkg/Per\xF9.sco", "windows-1252 name on disk");
    const struct {
        std::string name;
        std::string found;
    } cases[] = {
        {"Citt\xE0.sco", "Citt\xC3\xA0.sco"},
        {"CITT\xE0.SCO", "Citt\xC3\xA0.sco"},
        {"Citt\xC3\xA0.sco", "Citt\xC3\xA0.sco"},
        {"Per\xC3\xB9.sco", "Per\xF9.sco"},
        {"per\xF9.SCO", "Per\xF9.sco"},
    };
    const ContainedFolder files(folder / "pkg");
    for (const auto& c : cases) {
        const auto resolved = files.resolve(c.name);
        ASSERT_TRUE(resolved) << c.name;
        EXPECT_EQ(*resolved, folder / "pkg" / c.found) << c.name;
        EXPECT_TRUE(fileExists(*resolved)) << c.name;
    }
}

TEST(ReadWholeFile, NeverOpensAFifoOrAFolderForReading) {
    TempFolder folder;
    ASSERT_EQ(::mkfifo((folder / "fifo").c_str(), 0600), 0);
    fs::create_directory(folder / "folder");
    const testing::Watchdog watchdog("reading a FIFO");
    EXPECT_EQ(readWholeFile(folder / "fifo"), std::nullopt);
    EXPECT_EQ(readWholeFile(folder / "folder"), std::nullopt);
    EXPECT_TRUE(readTextLines(folder / "fifo").empty());
    EXPECT_EQ(readWholeFile(folder.write("file", "a\r\nb")), std::optional<std::string>("a\r\nb"));
}

mode_t modeOf(const fs::path& path) {
    struct stat info {};
    ::lstat(path.c_str(), &info);
    return info.st_mode & 07777;
}

TEST(PrivateFolder, IsMadeOrNarrowedToTheOwnerAndRefusesLinks) {
    TempFolder folder;
    const auto made = privateFolder(folder / "runtime", "corvane-player");
    ASSERT_TRUE(made);
    EXPECT_EQ(*made, folder / "runtime/corvane-player");
    EXPECT_EQ(modeOf(*made), 0700u);

    fs::create_directories(folder / "open/corvane-player");
    ::chmod((folder / "open/corvane-player").c_str(), 0777);
    ASSERT_TRUE(privateFolder(folder / "open", "corvane-player"));
    EXPECT_EQ(modeOf(folder / "open/corvane-player"), 0700u);

    fs::create_directories(folder / "elsewhere");
    fs::create_directories(folder / "linked");
    fs::create_symlink(folder / "elsewhere", folder / "linked/corvane-player");
    EXPECT_EQ(privateFolder(folder / "linked", "corvane-player"), std::nullopt);
    folder.write("file/corvane-player", "a file");
    EXPECT_EQ(privateFolder(folder / "file", "corvane-player"), std::nullopt);
    EXPECT_EQ(privateFolder(fs::path(), "corvane-player"), std::nullopt);

    if (::geteuid() == 0) {  // only root can give a folder to another user
        fs::create_directories(folder / "foreign/corvane-player");
        ASSERT_EQ(::chown((folder / "foreign/corvane-player").c_str(), 65534, 65534), 0);
        EXPECT_EQ(privateFolder(folder / "foreign", "corvane-player"), std::nullopt);
    }
}

TEST(PrivateFile, IsOwnerOnlyUniqueAndGoesWithItsOwner) {
    TempFolder folder;
    fs::path first, second;
    {
        auto one = PrivateFile::create(folder.path(), "plain", "lines\r\n");
        auto two = PrivateFile::create(folder.path(), "plain", "lines\r\n");
        ASSERT_TRUE(one && two);
        first = one->path();
        second = two->path();
        EXPECT_NE(first, second);
        EXPECT_EQ(first.parent_path(), folder.path());
        EXPECT_TRUE(first.filename().string().starts_with("plain-" + std::to_string(::getpid()) + "-"));
        EXPECT_EQ(modeOf(first), 0600u);
        EXPECT_EQ(testing::readFile(first), "lines\r\n");

        PrivateFile moved = std::move(*one);  // the moved-from object no longer owns the file
        one.reset();
        EXPECT_TRUE(fs::exists(first));
        EXPECT_EQ(moved.path(), first);
    }
    EXPECT_FALSE(fs::exists(first));
    EXPECT_FALSE(fs::exists(second));
    EXPECT_EQ(PrivateFile::create(folder / "missing", "plain", "x"), std::nullopt);
}

TEST(PrivateFile, RemovesWhatEndedRunsLeftBehind) {
    TempFolder folder;
    const pid_t ended = ::fork();
    if (ended == 0) ::_exit(0);
    ASSERT_GT(ended, 0);
    ::waitpid(ended, nullptr, 0);
    const auto leftover = folder.write("plain-" + std::to_string(ended) + "-abcdef", "old plain lines");
    const auto ofParent = folder.write("plain-" + std::to_string(::getppid()) + "-abcdef", "a running instance");
    const auto other = folder.write("notes-" + std::to_string(ended) + "-abcdef", "not ours to remove");
    const auto file = PrivateFile::create(folder.path(), "plain", "x");
    ASSERT_TRUE(file);
    EXPECT_FALSE(fs::exists(leftover));
    EXPECT_TRUE(fs::exists(ofParent));
    EXPECT_TRUE(fs::exists(other));
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

TEST(Cp1252, TheTableCoversExactlyTheBytes80To9F) {
    const struct {
        const char* byte;
        const char* utf8;
    } cases[] = {
        {"\x7F", "\x7F"},          // the last byte below the table is itself
        {"\x80", "\u20AC"},        // the table's first byte: the euro sign
        {"\x81", "\u0081"},        // a hole of the code page keeps its C1 value
        {"\x9F", "\u0178"},        // the table's last byte
        {"\xA0", "\u00A0"},        // the first byte past it is Latin-1 again
    };
    for (const auto& c : cases) {
        EXPECT_EQ(cp1252ToUtf8(c.byte), c.utf8) << static_cast<int>(static_cast<unsigned char>(c.byte[0]));
        EXPECT_EQ(utf8ToCp1252(c.utf8), c.byte) << static_cast<int>(static_cast<unsigned char>(c.byte[0]));
    }
    // The C1 code points the table replaces have no byte of their own.
    EXPECT_EQ(utf8ToCp1252("\u0080"), "?");
    EXPECT_EQ(utf8ToCp1252("\u009F"), "?");
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
