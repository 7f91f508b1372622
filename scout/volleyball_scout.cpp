#include <algorithm>
#include <array>
#include <charconv>
#include <optional>
#include <string_view>

#include "core/files.h"
#include "core/text.h"
#include "scout/scout_reading.h"
#include "scout/scout_readers.h"

namespace corvane {
namespace {

enum class Section {
    None,
    Magic,
    Match,
    Teams,
    More,
    Comments,
    Set,
    HomePlayers,
    AwayPlayers,
    AttackCombination,
    SetterCall,
    WinningSymbols,
    Reserve,
    Scout,
    MatchesData,
};
constexpr std::size_t kSectionCount = static_cast<std::size_t>(Section::MatchesData) + 1;

struct SectionHeader {
    std::string_view text;
    Section section;
};

constexpr std::array<SectionHeader, 14> kHeaders{{
    {"[3KESTRALINESCOUT]", Section::Magic},
    {"[3MATCH]", Section::Match},
    {"[3TEAMS]", Section::Teams},
    {"[3MORE]", Section::More},
    {"[3COMMENTS]", Section::Comments},
    {"[3SET]", Section::Set},
    {"[3PLAYERS-H]", Section::HomePlayers},
    {"[3PLAYERS-V]", Section::AwayPlayers},
    {"[3ATTACKCOMBINATION]", Section::AttackCombination},
    {"[3SETTERCALL]", Section::SetterCall},
    {"[3WINNINGSYMBOLS]", Section::WinningSymbols},
    {"[3RESERVE]", Section::Reserve},
    {"[3SCOUT]", Section::Scout},
    {"[3MATCHES_DATA]", Section::MatchesData},
}};

std::optional<Section> headerSection(std::string_view line) {
    const std::string_view trimmed = trimBlanks(line);
    for (const SectionHeader& header : kHeaders)
        if (trimmed == header.text) return header.section;
    return std::nullopt;
}

bool holdsBrackets(std::string_view line) {
    return line.find('[') != std::string_view::npos && line.find(']') != std::string_view::npos;
}

constexpr std::size_t kCodeWidth = 20;
constexpr std::size_t kClockWidth = 8;
constexpr std::size_t kCodeFields = CodeTable::kColumns;

// The score text " h :  v", each number right-aligned in two characters.
class RunningScore {
public:
    RunningScore() { reset(); }

    void reset() { set(0, 0); }

    void set(int home, int visiting) {
        text_ = {' ', ' ', ' ', ':', ' ', ' ', ' '};
        putNumber(home, 0);
        putNumber(visiting, 5);
    }

    std::string_view text() const { return {text_.data(), text_.size()}; }

private:
    // Two characters: a wider number keeps its first two digits, as padding to a width cuts.
    void putNumber(int value, std::size_t at) {
        std::array<char, 12> digits{};
        const char* end = std::to_chars(digits.data(), digits.data() + digits.size(), value).ptr;
        if (end - digits.data() == 1) {
            text_[at + 1] = digits[0];
        } else {
            text_[at] = digits[0];
            text_[at + 1] = digits[1];
        }
    }

    std::array<char, 7> text_{};
};

// Where the fields of a player line go: slot j takes field kPlayerFieldOfSlot[j].
constexpr std::array<std::size_t, PlayerRecord::kSlots> kPlayerFieldOfSlot{
    1, 8, 9, 0, 2, 3, 4, 5, 6, 7, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23};

std::string commentText(std::string_view field) {
    std::string text(field);
    for (char& c : text) {
        if (c == '\r') c = '\xE7';
        else if (c == '\n') c = '\xE8';
    }
    return text;
}

class VolleyballReader {
public:
    VolleyballReader(bool synthesisMode, ScoutTarget target, const LocaleFormats& formats)
        : synthesisMode_(synthesisMode), target_(target), formats_(formats) {}

    void readLine(std::string_view line) {
        if (holdsBrackets(line)) {
            if (const auto section = headerSection(line)) {
                section_ = *section;
                if (section_ == Section::MatchesData) target_.match.HasMatchesData = true;
            }
            return;
        }
        // An empty line has no fields: no record, and it does not count as a line of its section.
        if (line.empty() || section_ == Section::None) return;
        const int n = ++lineCounts_[static_cast<std::size_t>(section_)];
        switch (section_) {
            case Section::Match: readMatchLine(n, line); break;
            case Section::Teams: readTeamLine(n, line); break;
            case Section::More: readMoreLine(n, line); break;
            case Section::Comments: readCommentLine(line); break;
            case Section::Set: readSetLine(n, line); break;
            case Section::HomePlayers: readPlayerLine(target_.match.HomePlayers, n, line); break;
            case Section::AwayPlayers: readPlayerLine(target_.match.AwayPlayers, n, line); break;
            case Section::Scout: readCodeLine(line); break;
            case Section::MatchesData: readMatchesLine(n, line); break;
            default: break;
        }
    }

private:
    std::array<std::string, MatchCompanions::kMatchInfoSlots>& info() { return target_.match.MatchInfo; }

    void readMatchLine(int n, std::string_view line) {
        const LineFields<8> fields(line);
        if (n == 1) {
            copyFields(fields, 0, 8, info(), 0);
        } else if (n == 2) {
            info()[60] = fields[0];
            info()[61] = fields[1];
            if (fields.size() > 2 && !fields[2].empty()) info()[0] = DaysToDateText(fields[2], formats_);
        }
    }

    void readTeamLine(int n, std::string_view line) {
        if (n > 2) return;
        const LineFields<5> fields(line);
        const bool home = n == 1;
        info()[home ? 14 : 18] = fields[0];
        info()[home ? 15 : 19] = fields[1];
        info()[home ? 26 : 27] = fields[2];
        info()[home ? 16 : 20] = fields[3];
        info()[home ? 17 : 21] = fields[4];
    }

    void readMoreLine(int n, std::string_view line) {
        if (n == 1) copyFields(LineFields<6>(line), 0, 6, info(), 8);
    }

    void readCommentLine(std::string_view line) {
        const LineFields<4> fields(line);
        for (std::size_t i = 0; i < 4; ++i) info()[22 + i] = commentText(fields[i]);
    }

    void readSetLine(int n, std::string_view line) {
        if (n <= 5) copyFields(LineFields<6>(line), 0, 6, info(), 30 + 6 * static_cast<std::size_t>(n - 1));
    }

    static void readPlayerLine(TeamPlayers& team, int n, std::string_view line) {
        if (n > TeamPlayers::kRecords) return;
        const LineFields<PlayerRecord::kSlots> fields(line);
        auto& slots = team.records[static_cast<std::size_t>(n)].slots;
        for (std::size_t slot = 0; slot < slots.size(); ++slot) slots[slot] = fields[kPlayerFieldOfSlot[slot]];
    }

    void readMatchesLine(int n, std::string_view line) {
        if (n > MatchCompanions::kMaxMatches) return;
        copyFields(LineFields<MatchRecord::kSlots>(line), 0, MatchRecord::kSlots,
                   target_.match.MatchesData[static_cast<std::size_t>(n)].slots, 0);
        target_.match.MatchesCount = n;
    }

    void readCodeLine(std::string_view line) {
        const LineFields<kCodeFields> fields(line);
        const std::string_view raw = fields[0];
        if (raw.starts_with("*p") || raw.starts_with("ap"))
            score_.set(leadingInteger(safeSubstr(raw, 2, 2)), leadingInteger(safeSubstr(raw, 5, 2)));

        std::array<char, kCodeWidth> code;
        code.fill(' ');
        std::copy_n(raw.begin(), std::min(raw.size(), kCodeWidth), code.begin());
        std::replace(code.begin(), code.end(), '~', ' ');

        const std::string_view rawClock = fields[7];
        const std::size_t clockLength = std::min(rawClock.size(), kClockWidth);
        std::array<char, kClockWidth> clock{};
        for (std::size_t i = 0; i < clockLength; ++i) clock[i] = rawClock[i] == ':' ? '.' : rawClock[i];

        CodeTable::Cells cells;
        for (std::size_t column = 1; column < kCodeFields; ++column) cells[column] = fields[column];
        cells[CodeColumn::Code] = {code.data(), code.size()};
        cells[CodeColumn::Clock] = {clock.data(), clockLength};
        if (!synthesisMode_) cells[CodeColumn::Score] = score_.text();
        target_.table.appendRow(cells);

        if (code[0] == '*' && code[1] == '*') score_.reset();
    }

    bool synthesisMode_;
    ScoutTarget target_;
    const LocaleFormats& formats_;
    Section section_ = Section::None;
    std::array<int, kSectionCount> lineCounts_{};
    RunningScore score_;
};

}  // namespace

ScoutReading ReadScoutFile(const std::filesystem::path& path, bool synthesisMode, ScoutTarget target,
                           const LocaleFormats& formats) {
    clearScoutTarget(target);
    if (!fileExists(path)) return {};
    std::optional<LineReader> lines = LineReader::openFile(path);
    if (!lines) return {};
    VolleyballReader reader(synthesisMode, target, formats);
    for (std::string_view line; lines->next(line);) reader.readLine(line);
    if (const auto limit = lines->exceeded()) {
        clearScoutTarget(target);
        return {false, limit};
    }
    return {true, std::nullopt};
}

}  // namespace corvane
