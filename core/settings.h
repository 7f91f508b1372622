#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace corvane {

// Key numbers of tlx_player.ini, section Player.
enum SettingKey : int {
    UtilizzaCodec = 1,
    SpostainelencoCodici = 2,
    CodiciInChiaro = 3,
    SecAnticipoAzione = 4,
    StopFineAzione = 5,
    SecAnticipoFineAzione = 6,
    StatisticheModVis = 7,
    DisplayEffectsDescription = 8,
    CloseStatistics = 9,
    // The disc folder last found on the user's media or chosen by the user: where the folder
    // chooser opens next time. No default is stored.
    UltimoDisco = 10,
};

enum class SettingMode : int { Read = 0, Write = 1 };

std::string_view settingKeyName(int key);

// The default of a key; keys 3 and 7 depend on the open package's Sport ("" with none open).
std::string settingDefault(int key, std::string_view sport);

class ApplicationLog;

// The per-user settings file. Nothing is cached: every call opens, reads or rewrites the file,
// so what another window wrote a moment ago is what the next call sees. Read as INI files were
// always read: section and key names without regard to case, the first occurrence of a key
// counts, blanks and one pair of surrounding double quotes are taken off the value. A rewrite
// changes or adds the one line of its key and keeps every other line as it was.
//
// The user's file is never destroyed: one that cannot be read, may not be written, or holds
// what a rewrite could not carry over (a NUL byte) is left alone, its values (or the defaults)
// are used for the run and the first refusal is logged. A link is written through to its
// target, and the file keeps its mode. Without a file path (no valid folder) nothing is stored.
class Settings {
public:
    // sport: the open package's Sport, read at every call for the defaults of keys 3 and 7.
    Settings(std::filesystem::path file, const std::string& sport, ApplicationLog* log = nullptr);

    // Reading: the stored value, or the default, which is then stored unless it follows the
    // sport (keys 3 and 7 are stored only when set). Writing: an empty value becomes the default,
    // in the caller's text too. Unknown key numbers do nothing.
    void SettingValue(SettingMode mode, int key, std::string& value) const;

    std::string read(int key) const;
    // Returns the value stored (the default for an empty one), which is the one to use.
    std::string write(int key, std::string value) const;

    const std::filesystem::path& filePath() const { return file_; }

private:
    struct LoadedFile {
        std::filesystem::path target;  // the file itself, or the target of a link
        std::string content;
        std::string refusal;  // why the file must not be written; empty when it may
    };
    LoadedFile load() const;
    void store(const LoadedFile& loaded, int key, const std::string& value) const;

    std::filesystem::path file_;
    const std::string& sport_;
    ApplicationLog* log_;
    mutable bool refusalLogged_ = false;
};

// Where the settings file lies: in the documents folder; no path at all when the folder is empty
// or relative, so that the file never lands at the root or under the current directory.
std::filesystem::path settingsFilePath(const std::filesystem::path& documentsFolder);

}  // namespace corvane
