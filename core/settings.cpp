#include "core/settings.h"

#include "core/ini_file.h"

#include <array>

#include "core/files.h"
#include "core/text.h"

namespace corvane {

namespace {

constexpr const char* kSection = "Player";

constexpr std::array<std::string_view, 9> kKeyNames = {
    "UtilizzaCodec",    "SpostainelencoCodici",  "CodiciInChiaro",
    "SecAnticipoAzione", "StopFineAzione",       "SecAnticipoFineAzione",
    "StatisticheModVis", "DisplayEffectsDescription", "CloseStatistics"};

bool isKnownKey(int key) { return key >= 1 && key <= static_cast<int>(kKeyNames.size()); }

}  // namespace

std::string_view settingKeyName(int key) {
    return isKnownKey(key) ? kKeyNames[static_cast<std::size_t>(key - 1)] : std::string_view();
}

std::string settingDefault(int key, std::string_view sport) {
    switch (key) {
        case UtilizzaCodec:
        case SpostainelencoCodici: return "1";
        case CodiciInChiaro:
        case StatisticheModVis: return sport == "1" ? "0" : "1";
        case SecAnticipoAzione: return "2";
        default: return "0";
    }
}

std::filesystem::path settingsFilePath(const std::filesystem::path& documentsFolder) {
    return documentsFolder.empty() ? std::filesystem::path("/tlx_player.ini")
                                   : documentsFolder / "tlx_player.ini";
}

Settings::Settings(std::filesystem::path file, const std::string& sport)
    : file_(std::move(file)), sport_(sport) {}

void Settings::SettingValue(SettingMode mode, int key, std::string& value) const {
    if (!isKnownKey(key)) return;
    const std::string name(settingKeyName(key));
    IniFile ini(false, false, false);
    ini.LoadFile(file_.c_str());  // a missing file reads as empty
    if (mode == SettingMode::Read) {
        value = std::string(trimBlanks(ini.GetValue(kSection, name.c_str(), "")));
        if (!value.empty()) return;
    }
    if (value.empty()) value = settingDefault(key, sport_);
    ini.SetSpaces(false);  // key=value, as the file has always been written
    ini.SetValue(kSection, name.c_str(), value.c_str());
    std::string content;
    if (ini.Save(content) >= 0) writeFileAtomically(file_, content);
}

std::string Settings::read(int key) const {
    std::string value;
    SettingValue(SettingMode::Read, key, value);
    return value;
}

void Settings::write(int key, std::string value) const { SettingValue(SettingMode::Write, key, value); }

}  // namespace corvane
