#include "codes/reel_plan.h"

#include <algorithm>

#include "codes/action_end.h"
#include "codes/code_list_rules.h"
#include "core/text.h"

namespace corvane {

namespace {

// The film a code names, as the main window's seek reads it: a number with no blanks around it,
// of a film of the package.
std::optional<int> filmOf(const CodeTable& table, int tableRow, std::size_t films) {
    const std::string_view cell = table.Cell(Film, tableRow);
    if (cell != trimBlanks(cell)) return std::nullopt;
    return parseIntInRange(cell, 1, static_cast<int>(std::min<std::size_t>(films, 1'000'000)));
}

std::optional<ReelSkip> skipReason(const std::optional<int>& second, const std::optional<int>& film, bool hasTarget,
                                   const std::optional<double>& length) {
    if (!second || !hasTarget) return ReelSkip::NoSecond;
    if (!film) return ReelSkip::NoSuchFilm;
    if (!length) return ReelSkip::FilmUnreadable;
    if (*second < 0 || *second > *length) return ReelSkip::OutsideFilm;
    return std::nullopt;
}

}  // namespace

ReelPlan planReel(const ReelPlanInput& in) {
    std::vector<int> tableRows;
    tableRows.reserve(in.rows.size());
    for (const CodeListRow& row : in.rows) tableRows.push_back(row.row);
    std::vector<int> chosen = in.chosenRows;
    if (chosen.empty())
        for (int row = 1; row <= static_cast<int>(in.rows.size()); ++row) chosen.push_back(row);

    ReelPlan plan;
    for (const int listRow : chosen) {
        if (listRow < 1 || listRow > static_cast<int>(in.rows.size())) {
            plan.skippedRows.push_back({listRow, ReelSkip::NotListed});
            continue;
        }
        const int tableRow = tableRows[static_cast<std::size_t>(listRow - 1)];
        const auto second = codeSecond(in.table, tableRow);
        const auto film = filmOf(in.table, tableRow, in.filmSeconds.size());
        const auto target = playTargetOf(in.table, tableRow, in.preRollSeconds, in.synthesisMode);
        const auto length = film ? in.filmSeconds[static_cast<std::size_t>(*film - 1)] : std::nullopt;
        // The list plays a code only when its second lies within its film.
        if (const auto skip = skipReason(second, film, target.has_value(), length)) {
            plan.skippedRows.push_back({listRow, *skip});
            continue;
        }
        const ListActionEnd end =
            listActionEnd(in.table, tableRows, listRow, in.synthesisMode, in.endOffsetSeconds);
        ReelClip clip;
        clip.film = *film;
        clip.start = target->second;
        clip.end = end.kind == ListActionEnd::AtSecond ? std::min<double>(end.second, *length) : *length;
        if (clip.end <= clip.start) {
            plan.skippedRows.push_back({listRow, ReelSkip::NoLength});
            continue;
        }
        clip.codes.push_back({listRow, tableRow, clip.start});
        if (!plan.clips.empty()) {
            ReelClip& last = plan.clips.back();
            if (last.film == clip.film && clip.start <= last.end && clip.end >= last.start) {
                last.start = std::min(last.start, clip.start);
                last.end = std::max(last.end, clip.end);
                last.codes.push_back(clip.codes.front());
                continue;
            }
        }
        plan.clips.push_back(std::move(clip));
    }
    return plan;
}

std::string reelCaption(const std::string& describedCode, const CodeListRow& row) {
    return describedCode + " (" + row.time + " set " + row.set + ")";
}

}  // namespace corvane
