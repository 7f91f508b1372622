#include <array>
#include <optional>
#include <string_view>

#include "core/files.h"
#include "core/text.h"
#include "scout/line_cipher.h"
#include "scout/scout_reading.h"
#include "scout/scout_readers.h"

namespace corvane {
namespace {

enum class Section { None, Match, HomeTeam, OppTeam, Scout, MatchesData };

struct SectionHeader {
    std::string_view text;
    Section section;
};

constexpr std::array<SectionHeader, 5> kHeaders{{
    {"[match]", Section::Match},
    {"[hometeam]", Section::HomeTeam},
    {"[oppteam]", Section::OppTeam},
    {"[scout]", Section::Scout},
    {"[matches_data]", Section::MatchesData},
}};

std::optional<Section> headerSection(std::string_view line) {
    for (const SectionHeader& header : kHeaders)
        if (equalsIgnoringCase(line, header.text)) return header.section;
    return std::nullopt;
}

// Player line n into record n, slot j from field j; lines past the last record are dropped.
void storePlayer(TeamPlayers& team, int n, std::string_view line) {
    if (n < 1 || n > TeamPlayers::kRecords) return;
    copyFields(LineFields<PlayerRecord::kSlots>(line), 0, PlayerRecord::kSlots,
               team.records[static_cast<std::size_t>(n)].slots, 0);
}

// The code pass: codes, the matches list and, for deciphered files, the teams.
class CodePass {
public:
    CodePass(bool decipher, ScoutTarget target) : decipher_(decipher), target_(target) {}

    void readLine(std::string_view line) {
        if (const auto section = headerSection(line)) {
            section_ = *section;
            if (section_ == Section::MatchesData) target_.match.HasMatchesData = true;
            return;
        }
        if (decipher_ && line.starts_with('[') && line.ends_with(']')) return;
        switch (section_) {
            case Section::MatchesData: readMatchesLine(line); break;
            case Section::HomeTeam:
                if (decipher_) storePlayer(target_.match.HomePlayers, ++homeLines_, line);
                break;
            case Section::OppTeam:
                if (decipher_) storePlayer(target_.match.AwayPlayers, ++awayLines_, line);
                break;
            case Section::Scout: readCodeLine(line); break;
            default: break;
        }
    }

private:
    // Every line counts here, an empty one as an empty match.
    void readMatchesLine(std::string_view line) {
        const int n = ++matchesLines_;
        if (n > MatchCompanions::kMaxMatches) return;
        copyFields(LineFields<MatchRecord::kSlots>(line), 0, MatchRecord::kSlots,
                   target_.match.MatchesData[static_cast<std::size_t>(n)].slots, 0);
        target_.match.MatchesCount = n;
    }

    void readCodeLine(std::string_view line) {
        if (equalsIgnoringCase(line.substr(0, 7), "[scout]") || trimBlanks(line).empty()) return;
        const LineFields<6> fields(line);
        CodeTable::Cells cells;
        cells[CodeColumn::Code] = trimBlanks(fields[0]);
        cells[CodeColumn::SetNo] = trimBlanks(fields[1]);
        cells[CodeColumn::Clock] = trimBlanks(fields[2]);
        cells[CodeColumn::Film] = trimBlanks(fields[3]);
        cells[CodeColumn::VideoSec] = trimBlanks(fields[4]);
        cells[CodeColumn::Score] = fields[5];
        target_.table.appendRow(cells);
    }

    bool decipher_;
    ScoutTarget target_;
    Section section_ = Section::None;
    int homeLines_ = 0;
    int awayLines_ = 0;
    int matchesLines_ = 0;
};

void storeMatchLine(MatchCompanions& match, int n, std::string_view line) {
    auto& info = match.MatchInfo;
    switch (n) {
        case 2: copyFields(LineFields<8>(line), 0, 8, info, 0); break;
        case 3:
        case 4: {
            const LineFields<5> fields(line);
            const bool home = n == 3;
            info[home ? 14 : 18] = fields[0];
            info[home ? 15 : 19] = fields[1];
            info[home ? 16 : 20] = fields[2];
            info[home ? 17 : 21] = fields[3];
            info[home ? 26 : 27] = fields[4];
            break;
        }
        case 5: copyFields(LineFields<6>(line), 0, 6, info, 8); break;
        case 6: copyFields(LineFields<4>(line), 0, 4, info, 22); break;
        default: break;  // line 1 is the title, kept nowhere
    }
}

std::optional<Section> matchPassHeader(std::string_view line) {
    const auto section = headerSection(line);
    if (section == Section::MatchesData) return std::nullopt;
    return section;
}

void readMatchSectionFrom(LineReader& lines, MatchCompanions& match) {
    Section section = Section::None;
    int matchLines = 0;
    int homeLines = 0;
    int awayLines = 0;
    std::string_view line;
    bool more = lines.next(line);
    while (more) {
        if (const auto header = matchPassHeader(line)) {
            if (*header == Section::Scout) return;
            section = *header;
        }
        if (section == Section::Match) {
            // The header line itself, and a line without fields, give their place to the next
            // line; a section header found there is still obeyed, never stored as match data.
            if (line.starts_with('[') || line.find(';') == std::string_view::npos) {
                if (!lines.next(line)) return;
                if (matchPassHeader(line)) continue;
            }
            storeMatchLine(match, ++matchLines, line);
        } else if (section == Section::HomeTeam) {
            if (!equalsIgnoringCase(trimBlanks(line), "[hometeam]"))
                storePlayer(match.HomePlayers, ++homeLines, line);
        } else if (section == Section::OppTeam) {
            if (!equalsIgnoringCase(trimBlanks(line), "[oppteam]"))
                storePlayer(match.AwayPlayers, ++awayLines, line);
        }
        more = lines.next(line);
    }
}

// The lines a pass reads: the file itself, or the plain lines of an enciphered file, deciphered
// in memory once for both passes.
struct PlainSource {
    std::filesystem::path file;
    std::optional<std::string> text;

    std::optional<LineReader> open() const {
        if (text) return LineReader(*text);
        return LineReader::openFile(file);
    }
};

// Nothing when the file cannot be read; refused when the enciphered file passes a bound.
struct PlainSourceOutcome {
    std::optional<PlainSource> source;
    std::optional<ScoutLimit> refused;
};

PlainSourceOutcome plainSource(const std::filesystem::path& path, bool decipher) {
    if (!decipher) return {PlainSource{path, std::nullopt}, std::nullopt};
    std::optional<PlainScout> plain = ReadPlainScout(path);
    if (!plain) return {};
    if (plain->refused) return {std::nullopt, plain->refused};
    return {PlainSource{path, std::move(plain->text)}, std::nullopt};
}

}  // namespace

void ReadMatchSection(const std::filesystem::path& path, MatchCompanions& match) {
    match.clearMatchInfo();
    if (!fileExists(path)) return;
    if (std::optional<LineReader> lines = LineReader::openFile(path)) readMatchSectionFrom(*lines, match);
}

ScoutReading ReadLowerCaseScout(const std::filesystem::path& path, bool decipher, ScoutTarget target) {
    clearScoutTarget(target);
    if (!fileExists(path)) return {};
    const PlainSourceOutcome plain = plainSource(path, decipher);
    if (plain.refused) return {false, plain.refused};
    const std::optional<PlainSource>& source = plain.source;
    if (!source) return {};
    std::optional<LineReader> lines = source->open();
    if (!lines) return {};

    std::string_view line;
    if (!decipher) lines->next(line);
    CodePass pass(decipher, target);
    while (lines->next(line)) pass.readLine(line);
    if (const auto limit = lines->exceeded()) {
        clearScoutTarget(target);
        return {false, limit};
    }

    // The header pass reads the same lines again, from the first.
    target.match.clearMatchInfo();
    if (std::optional<LineReader> again = source->open()) readMatchSectionFrom(*again, target.match);
    return {true, std::nullopt};
}

}  // namespace corvane
