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
};

enum class SettingMode : int { Read = 0, Write = 1 };

std::string_view settingKeyName(int key);

// The default of a key; keys 3 and 7 depend on the open package's Sport ("" with none open).
std::string settingDefault(int key, std::string_view sport);

// The per-user settings file. Nothing is cached: every call opens, reads or rewrites the file,
// so what another window wrote a moment ago is what the next call sees. Section and key names
// are compared without regard to case and values are trimmed, as INI access always behaved.
class Settings {
public:
    // sport: the open package's Sport, read at every call for the defaults of keys 3 and 7.
    Settings(std::filesystem::path file, const std::string& sport);

    // Reading: the stored value, or the default (which is then stored). Writing: an empty value
    // becomes the default, in the caller's text too. Unknown key numbers do nothing.
    void SettingValue(SettingMode mode, int key, std::string& value) const;

    std::string read(int key) const;
    void write(int key, std::string value) const;

    const std::filesystem::path& filePath() const { return file_; }

private:
    std::filesystem::path file_;
    const std::string& sport_;
};

// Where the settings file lies: the documents folder, or the bare name at the root when there is
// no such folder.
std::filesystem::path settingsFilePath(const std::filesystem::path& documentsFolder);

}  // namespace corvane
