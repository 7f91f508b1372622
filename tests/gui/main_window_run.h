#pragma once

// A disc of one match package on real test films, and the main window shown on a disc.

#include <QTest>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/player/tplayer.h"
#include "app/tfmain.h"
#include "codes/tfsubform.h"
#include "gui/player_test_support.h"
#include "support/test_support.h"
#include "ui/app_context.h"

namespace corvane::testing {

inline const TestFilm& wideFilm() {  // 100 seconds of MPEG-2 720x576 with sound
    static const TestFilm film{"main_mpeg2_100.mpg", "--codec mpeg2 --size 720x576 --seconds 100 --audio", 720, 576,
                               100, true};
    return film;
}

inline const TestFilm& narrowFilm() {  // 100 seconds of MPEG-1 352x288 without sound
    static const TestFilm film{"main_mpeg1_100.mpg", "--codec mpeg1 --size 352x288 --seconds 100", 352, 288, 100,
                               false};
    return film;
}

// A disc of one match package, its films linked from the test-film folder.
class Disc {
public:
    Disc(const std::vector<std::filesystem::path>& films, const std::string& captureCard = "",
         const std::string& package = "Partita")
        : package_("Tlx_Video/" + package + "/") {
        const auto system = std::filesystem::path(CORVANE_SOURCE_DIR) / "data" / "System";
        std::filesystem::create_directories(folder_ / "System");
        for (const char* name : {"Messages0.txt", "Messages1.txt"})
            std::filesystem::copy_file(system / name, folder_ / ("System/" + std::string(name)));
        folder_.write("System/Language.cfg", "1\r\n");
        std::string list;
        for (std::size_t n = 0; n < films.size(); ++n) {
            const std::string name = "Film0" + std::to_string(n + 1) + films[n].extension().string();
            std::filesystem::create_directories(folder_ / package_);
            // A link would point out of the package, which the player refuses; a hard link (or a
            // copy across file systems) is a file of the package.
            const auto film = folder_ / (package_ + name);
            std::error_code error;
            std::filesystem::create_hard_link(films[n], film, error);
            if (error) std::filesystem::copy_file(films[n], film);
            list += name + "\r\n";
        }
        folder_.write(package_ + "FilmList.cfg", list);
        folder_.write(package_ + "Match.cfg",
                      "sport=1\r\ncapturecard=" + captureCard + "\r\nfile rilevazione=scout.dvw\r\n");
    }
    // A volleyball scout file of the package: the lines after its "[3SCOUT]" header.
    const Disc& withCodes(const std::string& codeLines) const {
        folder_.write(package_ + "scout.dvw", "[3KESTRALINESCOUT]\r\n[3SCOUT]\r\n" + codeLines);
        return *this;
    }
    std::filesystem::path path() const { return folder_.path(); }
    std::string log() const { return testing::readFile(folder_ / "Application.Log"); }

private:
    std::string package_;  // the package folder below the disc, with a separator after it
    TempFolder folder_;
};

// The main window on a disc, shown and past its first activation.
class MainWindowRun {
public:
    explicit MainWindowRun(const Disc& disc, QSize screen = QSize(1280, 800), int language = 1,
                           const VideoEnvironment* video = nullptr)
        : MainWindowRun(disc.path(), screen, language, std::nullopt, video) {}

    explicit MainWindowRun(const std::filesystem::path& discFolder, QSize screen = QSize(1280, 800), int language = 1,
                           std::optional<PackageChoice> package = std::nullopt,
                           const VideoEnvironment* video = nullptr) {
        platform_.documents = documents_.path();
        state_.folders.ProgramFolder = discFolder.string() + "/";
        state_.folders.SystemFolder = state_.folders.ProgramFolder + "System";
        state_.folders.LogFolder = state_.folders.ProgramFolder;
        state_.LanguageNumber = language;
        state_.RequestedPackage = std::move(package);
        log_ = std::make_unique<ApplicationLog>(platform_, discFolder);
        catalogue_ = std::make_unique<MessageCatalogue>(state_.folders.SystemFolder);
        messages_ = std::make_unique<Messages>(*catalogue_, boxes, state_.LanguageNumber);
        app_ = std::make_unique<AppContext>(AppContext{state_, platform_, *log_, *messages_, boxes,
                                                       Settings(documents_ / "tlx_player.ini", state_.Sport), video});
        window = std::make_unique<TFMain>(*app_, screen);
        window->show();
        waitFor([this] { return window->firstActivationDone(); }, std::chrono::seconds(60));
    }

    TPlayer& player() const { return *window->player(); }
    template <typename T = QWidget>
    T* control(const char* name) const {
        return window->findChild<T*>(QString::fromLatin1(name));
    }
    const ProgramState& state() const { return state_; }
    ProgramState& state() { return state_; }
    AppContext& app() { return *app_; }
    std::string messageText(int number) const { return messages_->MessageText(number); }

    // Waits for the last seek to show its picture and returns the second and frame it shows.
    std::optional<FrameStamp> shownStamp() const {
        waitFor([this] { return !player().seeking(); });
        QTest::qWait(150);  // the seek's own picture arrives right after the seek reports
        return testing::stampOf(player().currentFrame());
    }
    // A typed search, as the coach types it into the search panel and presses Enter.
    void typeSearch(const char* keys) const {
        SearchCodeGrid* entry = window->searchPanel()->searchGrid();
        QTest::mouseClick(entry, Qt::LeftButton, {}, entry->cellRect(0).center());
        QTest::keyClick(entry, Qt::Key_Escape);
        QTest::keyClicks(entry, keys);
        QTest::keyClick(entry, Qt::Key_Return);
    }
    void seekTo(double seconds) const {
        player().Seek(static_cast<float>(seconds));
        shownStamp();
    }

    RecordingBoxes boxes;
    std::unique_ptr<TFMain> window;

private:
    TempFolder documents_;
    FixedPlatform platform_;
    ProgramState state_;
    std::unique_ptr<ApplicationLog> log_;
    std::unique_ptr<MessageCatalogue> catalogue_;
    std::unique_ptr<Messages> messages_;
    std::unique_ptr<AppContext> app_;
};

inline std::filesystem::path wide() { return testing::filmPath(wideFilm()); }
inline std::filesystem::path narrow() { return testing::filmPath(narrowFilm()); }

// Two rallies of a volleyball match on the narrow film: serve, reception, attack, point.
inline const std::string kRallies =
    "*07SM+;;;;;;;20.00.00;1;;;1;1\r\n"
    "a12RM#;;;;;;;20.00.01;1;;;1;12\r\n"
    "a12AH#;;;;;;;20.00.02;1;;;1;14\r\n"
    "ap00:01;;;;;;;20.00.03;1;;;1;16\r\n"
    "a05SM+;;;;;;;20.01.00;1;;;1;40\r\n"
    "*07RM-;;;;;;;20.01.01;1;;;1;42\r\n"
    "*09AH#;;;;;;;20.01.02;2;;;1;45\r\n"
    "*p01:01;;;;;;;20.01.03;2;;;1;48\r\n";

// The disc the README's commands make; test.sh names it, a plain ctest run finds it in the build.
inline std::filesystem::path demoDisc() {
    const char* named = std::getenv("CORVANE_DEMO_DISC");
    return named && *named ? std::filesystem::path(named) : std::filesystem::path(CORVANE_BINARY_DIR) / "demo-disc";
}

}  // namespace corvane::testing
