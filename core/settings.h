#pragma once

#include <filesystem>
#include <limits>
#include <span>
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

// What a key's text stands for. Flags are stored as "1" (on) or "0" (off); numbers in decimal.
enum class SettingType { Flag, Number, Text };

// One key of the file, the only place that says what the key is.
struct SettingEntry {
    SettingKey key;
    std::string_view name;
    SettingType type;
    std::string_view defaultValue;
    // Used instead of defaultValue while a volleyball package is open; empty when the sport does
    // not matter. Such a default is not stored on a read: the first package ever opened would
    // then decide the key for every sport.
    std::string_view volleyballDefault;
    bool defaultStoredOnRead = true;
    // Numbers: a text that is no whole number, or one outside this range, reads as 0.
    int lowest = std::numeric_limits<int>::min();
    int highest = std::numeric_limits<int>::max();
};

// Every key, in the order of the key numbers.
std::span<const SettingEntry> settingEntries();
// The key's entry; nullptr for an unknown key number.
const SettingEntry* settingEntry(int key);

std::string_view settingKeyName(int key);

// The default of a key; keys 3 and 7 depend on the open package's Sport ("" with none open).
std::string settingDefault(int key, std::string_view sport);

// A flag's text: on exactly when it is "1", whatever else a hand-edited file holds.
bool flagFromText(std::string_view text);
std::string_view flagText(bool on);
// A number's text as the key's entry reads it.
int numberFromText(const SettingEntry& entry, std::string_view text);

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

    // Typed access; each key is read and written only through the accessor of its type.
    bool flag(SettingKey key) const;
    void setFlag(SettingKey key, bool on) const;
    int number(SettingKey key) const;
    // The text is stored as given (an empty one as the default); returns the number it reads as.
    int setNumber(SettingKey key, std::string text) const;
    std::string text(SettingKey key) const;
    void setText(SettingKey key, std::string value) const;

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
