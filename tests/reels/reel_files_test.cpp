#include <gtest/gtest.h>

#include <atomic>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "reels/reel_files.h"
#include "support/folder_snapshot.h"
#include "support/test_support.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;
using testing::TempFolder;

// A process id that surely runs no process: a child that has ended and been reaped.
long deadPid() {
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return child;
}

// Two seconds of a small silent film, made with the ffmpeg command.
fs::path smallFilm(const TempFolder& folder) {
    const fs::path film = folder / "film.mpg";
    const std::string command = "ffmpeg -v error -y -f lavfi -i testsrc=size=64x48:rate=25 -t 2 -c:v mpeg1video '" +
                                film.string() + "'";
    EXPECT_EQ(std::system(command.c_str()), 0);
    return film;
}

ReelJob oneClip(const fs::path& film, const fs::path& destination, const fs::path& disc) {
    return ReelJob{{ReelSource{film, 0.0, 1.0, {}}}, destination, ReelOutput::OneFilm, disc};
}

// A disc whose package folder "Linked" is a link to a folder outside Tlx_Video, beside a plain one.
struct LinkedPackageDisc {
    TempFolder disc, elsewhere;
    LinkedPackageDisc() {
        fs::create_directories(disc / "Tlx_Video" / "Partita");
        fs::create_directory_symlink(elsewhere.path(), disc / "Tlx_Video" / "Linked");
        fs::create_directory_symlink(disc / "Tlx_Video" / "Partita", disc.path() / "shortcut");
    }
};

TEST(ReelDestination, NoSpellingOfAPackageFolderIsWrittenInto) {
    LinkedPackageDisc fixture;
    const fs::path& disc = fixture.disc.path();
    const struct {
        fs::path destination;
        bool refused;
    } cases[] = {
        {disc / "Tlx_Video" / "Linked" / "x.mp4", true},   // under the link as given
        {fixture.elsewhere / "x.mp4", true},                // where the link leads
        {fixture.elsewhere / "sub" / "x.mp4", true},
        {disc / "Tlx_Video" / "Partita" / "x.mp4", true},
        {disc / "shortcut" / "x.mp4", true},                // a link from outside into a package
        {disc / "Tlx_Video" / "x.mp4", true},
        {disc / "Tlx_Video" / "Partita" / ".." / ".." / "x.mp4", false},
        {disc / "x.mp4", false},
        {fixture.elsewhere.path().parent_path() / "beside.mp4", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.destination);
        EXPECT_EQ(insidePackages(c.destination, disc), c.refused);
    }
}

TEST(ReelDestination, AnExportIntoALinkedPackageWritesNothingWhereTheLinkLeads) {
    LinkedPackageDisc fixture;
    TempFolder films;
    const fs::path film = smallFilm(films);
    const std::atomic<bool> cancel{false};
    for (const ReelOutput output : {ReelOutput::OneFilm, ReelOutput::ClipFolder}) {
        ReelJob job = oneClip(film, fixture.disc / "Tlx_Video" / "Linked" / "x.mp4", fixture.disc.path());
        job.output = output;
        EXPECT_EQ(writeReel(job, {}, cancel).status, ReelStatus::InsidePackages);
    }
    EXPECT_TRUE(fs::is_empty(fixture.elsewhere.path()));
}

TEST(ReelParts, OnlyTheHiddenPartsOfProcessesThatEndedAreSwept) {
    TempFolder folder;
    const std::string dead = std::to_string(deadPid());
    const std::string alive = std::to_string(::getpid());
    const struct {
        std::string name;
        bool swept;
    } cases[] = {
        {".reel.mp4.part-" + dead + "-0", true},
        {".clips.part-" + dead + "-12", true},
        {".reel.mp4.part-" + alive + "-0", false},  // an export under way
        {"reel.mp4.part-" + dead + "-0", false},    // not hidden
        {".reel.mp4.part-" + dead + "-", false},
        {".reel.mp4.part-" + dead + "-0.mp4", false},
        {".reel.mp4.part-x" + dead + "-0", false},
        {".part-" + dead + "-0", false},             // no name before the mark
        {".reel.mp4.part--0", false},
        {".reel.mp4.part-0-0", false},
        {"notes.txt", false},
    };
    for (const auto& c : cases) folder.write(c.name, "x");
    fs::create_directory(folder / (".folder.part-" + dead + "-3"));
    folder.write(".folder.part-" + dead + "-3/01.mp4", "x");
    // A stale part that is a link: the link goes, never what it names.
    TempFolder target;
    target.write("keep.txt", "x");
    fs::create_directory_symlink(target.path(), folder / (".linked.part-" + dead + "-1"));

    sweepStaleParts(folder.path());
    for (const auto& c : cases) EXPECT_EQ(!fs::exists(folder / c.name), c.swept) << c.name;
    EXPECT_FALSE(fs::exists(folder / (".folder.part-" + dead + "-3")));
    EXPECT_FALSE(fs::symlink_status(folder / (".linked.part-" + dead + "-1")).type() != fs::file_type::not_found);
    EXPECT_TRUE(fs::exists(target / "keep.txt"));
}

TEST(ReelParts, AnExportSweepsTheStalePartsOfItsFolder) {
    TempFolder films, out;
    const fs::path film = smallFilm(films);
    const std::string stale = ".old.mp4.part-" + std::to_string(deadPid()) + "-0";
    out.write(stale, "left by a killed export");
    const std::atomic<bool> cancel{false};
    ASSERT_EQ(writeReel(oneClip(film, out / "reel.mp4", films / "disc"), {}, cancel).status, ReelStatus::Done);
    EXPECT_FALSE(fs::exists(out / stale));
    EXPECT_TRUE(fs::exists(out / "reel.mp4"));
}

TEST(ReelParts, TheHiddenNameOfALongDestinationFitsTheSystemsLimit) {
    for (const std::size_t length : {1u, 200u, 230u, 249u, 255u}) {
        SCOPED_TRACE(length);
        const std::string name = std::string(length - std::min<std::size_t>(length, 4), 'r') + ".mp4";
        const fs::path hidden = temporaryBeside(fs::path("/tmp") / name);
        EXPECT_LE(hidden.filename().string().size(), static_cast<std::size_t>(NAME_MAX));
        EXPECT_TRUE(partWriter(hidden.filename().string()).has_value()) << hidden;
        EXPECT_NE(hidden.filename(), temporaryBeside(fs::path("/tmp") / name).filename());
    }
    // Names of many-byte characters are cut between characters.
    std::string accented;
    while (accented.size() < 250) accented += "\xC3\xA8";
    const std::string hidden = temporaryBeside(fs::path("/tmp") / accented).filename().string();
    EXPECT_LE(hidden.size(), static_cast<std::size_t>(NAME_MAX));
    EXPECT_EQ(hidden.find("\xC3~"), std::string::npos) << hidden;
}

TEST(ReelParts, ADestinationNameOf249CharactersIsWritten) {
    TempFolder films, out;
    const fs::path film = smallFilm(films);
    const fs::path destination = out / (std::string(245, 'k') + ".mp4");
    const std::atomic<bool> cancel{false};
    const ReelResult result = writeReel(oneClip(film, destination, films / "disc"), {}, cancel);
    EXPECT_EQ(result.status, ReelStatus::Done) << result.detail;
    EXPECT_TRUE(fs::is_regular_file(destination));
    EXPECT_EQ(std::distance(fs::directory_iterator(out.path()), fs::directory_iterator()), 1);
}

// A read-only folder: a read-only mount where this process may make one, else /sys, which takes
// no new files.
struct ReadOnlyFolder {
    TempFolder mountPoint;
    fs::path path;
    bool mounted = false;
    ReadOnlyFolder() {
        mounted = ::mount("tmpfs", mountPoint.path().c_str(), "tmpfs", MS_RDONLY, "size=64k") == 0;
        path = mounted ? mountPoint.path() : fs::path("/sys");
    }
    ~ReadOnlyFolder() {
        if (mounted) ::umount(mountPoint.path().c_str());
    }
};

TEST(ReelParts, AFolderThatTakesNothingIsToldByTheDestinationsNameAndTheCause) {
    TempFolder films;
    const fs::path film = smallFilm(films);
    ReadOnlyFolder readOnly;
    const std::atomic<bool> cancel{false};
    for (const ReelOutput output : {ReelOutput::OneFilm, ReelOutput::ClipFolder}) {
        ReelJob job = oneClip(film, readOnly.path / "reel.mp4", films / "disc");
        job.output = output;
        const ReelResult result = writeReel(job, {}, cancel);
        EXPECT_EQ(result.status, ReelStatus::CannotWrite);
        EXPECT_EQ(result.detail.rfind((readOnly.path / "reel.mp4").string() + ": ", 0), 0u) << result.detail;
        EXPECT_TRUE(result.detail.find("Read-only file system") != std::string::npos ||
                    result.detail.find("Permission denied") != std::string::npos)
            << result.detail;
        EXPECT_EQ(result.detail.find(".part-"), std::string::npos) << result.detail;
    }
}

TEST(ReelFilms, OnlyRegularFilesAreOpened) {
    TempFolder folder;
    const fs::path film = smallFilm(folder);
    ASSERT_EQ(::mkfifo((folder / "fifo.mpg").c_str(), 0644), 0);
    fs::create_symlink("/dev/urandom", folder / "random.mpg");
    fs::create_symlink(film, folder / "linked.mpg");
    folder.write("empty.mpg", "");
    const struct {
        const char* name;
        bool opened;
    } cases[] = {
        {"film.mpg", true}, {"linked.mpg", true}, {"fifo.mpg", false},
        {"random.mpg", false}, {"missing.mpg", false},
    };
    for (const auto& c : cases) EXPECT_EQ(regularFilmFile(folder / c.name), c.opened) << c.name;
    // Neither the probe nor the writer waits on a FIFO that nobody writes.
    EXPECT_FALSE(filmLengthSeconds(folder / "fifo.mpg"));
    EXPECT_FALSE(filmLengthSeconds(folder / "random.mpg"));
    EXPECT_FALSE(filmLengthSeconds(folder / "empty.mpg"));
    const std::atomic<bool> cancel{false};
    TempFolder out;
    for (const char* name : {"fifo.mpg", "random.mpg"}) {
        const ReelResult result = writeReel(oneClip(folder / name, out / "reel.mp4", folder / "disc"), {}, cancel);
        EXPECT_EQ(result.status, ReelStatus::CannotReadFilm) << name;
    }
    EXPECT_TRUE(fs::is_empty(out.path()));
}

}  // namespace
}  // namespace corvane
