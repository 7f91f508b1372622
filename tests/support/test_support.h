#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "core/message_box.h"
#include "core/messages.h"
#include "core/platform.h"

namespace corvane::testing {

// A platform whose every answer is fixed by the test.
class FixedPlatform : public Platform {
public:
    std::filesystem::path executable = "/opt/corvane/corvane-player";
    std::filesystem::path documents;
    std::filesystem::path data;
    std::filesystem::path cache;
    LocaleFormats formats;
    LocalDateTime clock{2026, 12, 7, 14, 32, 43};
    LocalDateTime fileTime{2026, 11, 30, 9, 5, 0};
    bool readOnlyMedia = false;
    std::filesystem::path mountRoot;  // a fake mount tree (media/USER, run/media/USER, mnt); empty: none
    std::string user = "coach";

    std::filesystem::path executablePath() const override { return executable; }
    std::filesystem::path documentsFolder() const override { return documents; }
    std::filesystem::path dataFolder() const override { return data; }
    std::filesystem::path cacheFolder() const override { return cache; }
    LocaleFormats localeFormats() const override { return formats; }
    LocalDateTime now() const override { return clock; }
    std::optional<LocalDateTime> fileModifiedTime(const std::filesystem::path&) const override {
        return fileTime;
    }
    bool isOnReadOnlyMedia(const std::filesystem::path&) const override { return readOnlyMedia; }
    std::filesystem::path mountTreeRoot() const override { return mountRoot; }
    std::string userName() const override { return user; }
};

// Records every box instead of showing it.
class RecordingBoxes : public MessageBoxPresenter {
public:
    struct Box {
        std::string text, caption;
        int flags;
    };
    std::vector<Box> shown;
    int ShowMessageBox(const std::string& text, const std::string& caption, int flags) override {
        shown.push_back({text, caption, flags});
        return kMessageBoxOkPressed;
    }
};

// A fresh empty folder under the system's temporary folder, removed with the object.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

    // Writes a file below the folder (parents created) and returns its path.
    std::filesystem::path write(const std::string& name, const std::string& content) const;

private:
    std::filesystem::path path_;
};

// Messages from a catalogue of the test's own: "number=text" lines for one language.
struct CatalogueMessages {
    explicit CatalogueMessages(const std::string& texts, int languageNumber = 1);
    TempFolder system;
    RecordingBoxes boxes;
    int language;
    MessageCatalogue catalogue{system.path()};
    Messages messages{catalogue, boxes, language};
};

// Runs a check in a child process as an ordinary user: when the suite runs as root the child
// becomes "nobody" (set-group and set-user id), so that file modes bind it as they bind a coach.
// True when the check returned true; what it prints goes to the test's standard error.
bool holdsAsOrdinaryUser(const std::function<bool()>& check);

// Hands a file or a folder with everything below it to the user of holdsAsOrdinaryUser.
void handToOrdinaryUser(const std::filesystem::path& path);

std::string readFile(const std::filesystem::path& file);
std::filesystem::path fixture(const std::string& name);

}  // namespace corvane::testing
