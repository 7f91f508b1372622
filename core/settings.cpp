#include "core/settings.h"

#include <array>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/files.h"
#include "core/log.h"
#include "core/sport.h"
#include "core/text.h"

namespace corvane {
namespace fs = std::filesystem;

namespace {

constexpr std::string_view kSection = "Player";

using enum SettingType;

constexpr std::array<SettingEntry, 10> kEntries = {{
    {UtilizzaCodec, "UtilizzaCodec", Flag, "1", ""},
    {SpostainelencoCodici, "SpostainelencoCodici", Flag, "1", ""},
    {CodiciInChiaro, "CodiciInChiaro", Flag, "1", "0", false},
    {SecAnticipoAzione, "SecAnticipoAzione", Number, "2", ""},
    {StopFineAzione, "StopFineAzione", Flag, "0", ""},
    {SecAnticipoFineAzione, "SecAnticipoFineAzione", Number, "0", ""},
    {StatisticheModVis, "StatisticheModVis", Flag, "1", "0", false},
    {DisplayEffectsDescription, "DisplayEffectsDescription", Flag, "0", ""},
    {CloseStatistics, "CloseStatistics", Flag, "0", ""},
    // Where the folder chooser opens next time; its default (none) is no value to keep.
    {UltimoDisco, "UltimoDisco", Text, "", "", false},
}};

bool isKnownKey(int key) { return settingEntry(key) != nullptr; }

bool defaultIsStoredOnRead(int key) { return settingEntry(key)->defaultStoredOnRead; }

// The lines of the file, each with its own ending, so that a rewrite gives back every line it
// does not change byte for byte.
std::vector<std::string> linesWithEndings(const std::string& content) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < content.size()) {
        std::size_t end = content.find('\n', start);
        end = end == std::string::npos ? content.size() : end + 1;
        lines.push_back(content.substr(start, end - start));
        start = end;
    }
    return lines;
}

std::string_view withoutEnding(std::string_view line) {
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
    return line;
}

// Where the key lies in the first Player section, and where a new key of the section goes.
struct KeyPlace {
    std::optional<std::size_t> keyLine;     // the key's first occurrence: the one that counts
    std::optional<std::size_t> insertLine;  // after the section's last line that is not blank
};

KeyPlace findKey(const std::vector<std::string>& lines, std::string_view key) {
    KeyPlace place;
    bool inSection = false;
    bool sectionSeen = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view body = trimBlanks(withoutEnding(lines[i]));
        if (!body.empty() && body.front() == '[') {
            const std::size_t close = body.find(']');
            const bool isPlayer =
                close != std::string_view::npos && equalsIgnoringCase(trimBlanks(body.substr(1, close - 1)), kSection);
            inSection = isPlayer && !sectionSeen;
            if (inSection) place.insertLine = i + 1;
            sectionSeen = sectionSeen || isPlayer;
            continue;
        }
        if (!inSection || body.empty()) continue;
        place.insertLine = i + 1;
        const std::size_t equals = body.find('=');
        if (!place.keyLine && equals != std::string_view::npos &&
            equalsIgnoringCase(trimBlanks(body.substr(0, equals)), key))
            place.keyLine = i;
    }
    return place;
}

// A stored value: blanks around it trimmed, then one pair of surrounding double quotes removed.
std::string storedValue(std::string_view line) {
    const std::string_view body = withoutEnding(line);
    std::string_view value = trimBlanks(body.substr(body.find('=') + 1));
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
    return std::string(value);
}

std::string withKey(const std::string& content, std::string_view key, std::string_view value) {
    std::vector<std::string> lines = linesWithEndings(content);
    const std::string ending = content.find("\r\n") != std::string::npos ? "\r\n" : "\n";
    const std::string keyLine = std::string(key) + "=" + std::string(value);
    const KeyPlace place = findKey(lines, key);
    if (place.keyLine) {
        std::string& line = lines[*place.keyLine];
        line = keyLine + line.substr(withoutEnding(line).size());
    } else {
        auto at = place.insertLine ? lines.begin() + static_cast<std::ptrdiff_t>(*place.insertLine) : lines.end();
        if (at != lines.begin() && withoutEnding(*(at - 1)).size() == (at - 1)->size()) *(at - 1) += ending;
        if (!place.insertLine) {
            at = lines.insert(at, "[" + std::string(kSection) + "]" + ending) + 1;
        }
        lines.insert(at, keyLine + ending);
    }
    std::string result;
    for (const std::string& line : lines) result += line;
    return result;
}

bool writeAll(int descriptor, std::string_view content) {
    while (!content.empty()) {
        const ssize_t written = ::write(descriptor, content.data(), content.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        content.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// Replaces the file through a temporary one beside it, so a crash leaves the old content or the
// new one; the new file keeps the mode (and, where allowed, the owner) of the one it replaces.
bool replaceFile(const fs::path& file, std::string_view content) {
    std::string pattern = (file.parent_path() / ("." + file.filename().string() + ".XXXXXX")).string();
    const int descriptor = ::mkstemp(pattern.data());
    if (descriptor < 0) return false;
    struct stat old {};
    if (::stat(file.c_str(), &old) == 0) {
        ::fchmod(descriptor, old.st_mode & 07777);
        [[maybe_unused]] const int owned = ::fchown(descriptor, old.st_uid, old.st_gid);  // root only; else kept
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(descriptor, 0644 & ~mask);
    }
    const bool written = writeAll(descriptor, content) && ::fsync(descriptor) == 0;
    const bool closed = ::close(descriptor) == 0;
    if (written && closed && ::rename(pattern.c_str(), file.c_str()) == 0) return true;
    ::unlink(pattern.c_str());
    return false;
}

}  // namespace

std::span<const SettingEntry> settingEntries() { return kEntries; }

const SettingEntry* settingEntry(int key) {
    for (const SettingEntry& entry : kEntries)
        if (entry.key == key) return &entry;
    return nullptr;
}

std::string_view settingKeyName(int key) {
    const SettingEntry* entry = settingEntry(key);
    return entry ? entry->name : std::string_view();
}

std::string settingDefault(int key, std::string_view sport) {
    const SettingEntry* entry = settingEntry(key);
    if (!entry) return "0";
    const bool volleyball = isVolleyball(sport);
    return std::string(volleyball && !entry->volleyballDefault.empty() ? entry->volleyballDefault : entry->defaultValue);
}

bool flagFromText(std::string_view text) { return text == flagText(true); }

std::string_view flagText(bool on) { return on ? "1" : "0"; }

int numberFromText(const SettingEntry& entry, std::string_view text) {
    return parseIntInRange(text, entry.lowest, entry.highest).value_or(0);
}

fs::path settingsFilePath(const fs::path& documentsFolder) {
    return documentsFolder.is_absolute() ? documentsFolder / "tlx_player.ini" : fs::path();
}

Settings::Settings(fs::path file, const std::string& sport, ApplicationLog* log)
    : file_(std::move(file)), sport_(sport), log_(log) {}

Settings::LoadedFile Settings::load() const {
    LoadedFile loaded;
    if (file_.empty()) {
        loaded.refusal = "nessuna cartella documenti valida, impostazioni non salvate";
        return loaded;
    }
    std::error_code error;
    // A link is followed: the user's own file is read and written where it really lies.
    loaded.target = fs::is_symlink(fs::symlink_status(file_, error)) ? fs::weakly_canonical(file_, error) : file_;
    const int descriptor = ::open(loaded.target.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) {
        if (errno != ENOENT) loaded.refusal = loaded.target.string() + " non leggibile, valori predefiniti non salvati";
        return loaded;
    }
    char buffer[4096];
    ssize_t count = 0;
    while ((count = ::read(descriptor, buffer, sizeof buffer)) > 0 || (count < 0 && errno == EINTR))
        if (count > 0) loaded.content.append(buffer, static_cast<std::size_t>(count));
    ::close(descriptor);
    if (count < 0) {
        loaded.content.clear();
        loaded.refusal = loaded.target.string() + " non leggibile, valori predefiniti non salvati";
    } else if (loaded.content.find('\0') != std::string::npos) {
        loaded.refusal = loaded.target.string() + " contiene caratteri nulli, file non riscritto";
    } else if (::faccessat(AT_FDCWD, loaded.target.c_str(), W_OK, AT_EACCESS) != 0) {
        loaded.refusal = loaded.target.string() + " non scrivibile, impostazioni non salvate";
    }
    return loaded;
}

void Settings::store(const LoadedFile& loaded, int key, const std::string& value) const {
    if (!loaded.refusal.empty()) {
        if (!refusalLogged_ && log_) log_->WriteLog("Impostazioni: " + loaded.refusal);
        refusalLogged_ = true;
        return;
    }
    if (!replaceFile(loaded.target, withKey(loaded.content, settingKeyName(key), value)) && !refusalLogged_ && log_) {
        refusalLogged_ = true;
        log_->WriteLog("Impostazioni: " + loaded.target.string() + " non scrivibile, impostazioni non salvate");
    }
}

void Settings::SettingValue(SettingMode mode, int key, std::string& value) const {
    if (!isKnownKey(key)) return;
    const LoadedFile loaded = load();
    if (mode == SettingMode::Read) {
        const std::vector<std::string> lines = linesWithEndings(loaded.content);
        const KeyPlace place = findKey(lines, settingKeyName(key));
        value = place.keyLine ? storedValue(lines[*place.keyLine]) : std::string();
        if (!value.empty()) return;
        value = settingDefault(key, sport_);
        if (!defaultIsStoredOnRead(key)) return;
        store(loaded, key, value);
        return;
    }
    if (value.empty()) value = settingDefault(key, sport_);
    store(loaded, key, value);
}

std::string Settings::read(int key) const {
    std::string value;
    SettingValue(SettingMode::Read, key, value);
    return value;
}

std::string Settings::write(int key, std::string value) const {
    SettingValue(SettingMode::Write, key, value);
    return value;
}

bool Settings::flag(SettingKey key) const { return flagFromText(read(key)); }

void Settings::setFlag(SettingKey key, bool on) const { write(key, std::string(flagText(on))); }

int Settings::number(SettingKey key) const { return numberFromText(*settingEntry(key), read(key)); }

int Settings::setNumber(SettingKey key, std::string text) const {
    return numberFromText(*settingEntry(key), write(key, std::move(text)));
}

std::string Settings::text(SettingKey key) const { return read(key); }

void Settings::setText(SettingKey key, std::string value) const { write(key, std::move(value)); }

}  // namespace corvane
