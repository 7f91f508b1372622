#pragma once

#include <optional>
#include <string>
#include <vector>

#include "codes/code_passes.h"
#include "scout/code_table.h"

namespace corvane {

// What a reel is made from: the code list as it stands and the rows the user chose.
struct ReelPlanInput {
    const CodeTable& table;
    const std::vector<CodeListRow>& rows;  // the whole list, list row 1 first
    std::vector<int> chosenRows;           // list rows from 1, in list order; empty for every row
    // The package's films, film n at index n - 1: its length in seconds, nothing when unreadable.
    std::vector<std::optional<double>> filmSeconds;
    bool synthesisMode = false;
    int preRollSeconds = 0;
    int endOffsetSeconds = 0;
};

// One listed code inside a clip, and the second of its film where the list starts playing it.
struct ReelCode {
    int listRow = 0;
    int tableRow = 0;
    double start = 0;
};

// A stretch of one film, [start, end) in seconds from the film's start.
struct ReelClip {
    int film = 0;  // from 1
    double start = 0;
    double end = 0;
    std::vector<ReelCode> codes;  // the codes it plays, in list order
};

// Why a chosen row makes no clip.
enum class ReelSkip {
    NotListed,       // the row is not in the list
    NoSecond,        // its code has no readable second
    NoSuchFilm,      // it names no film of the package
    FilmUnreadable,  // its film cannot be read (missing, empty, no pictures, not a film file)
    OutsideFilm,     // its second lies outside its film
    NoLength,        // its action ends where it starts
};

struct SkippedRow {
    int listRow = 0;
    ReelSkip reason = ReelSkip::NotListed;
    bool operator==(const SkippedRow&) const = default;
};

struct ReelPlan {
    std::vector<ReelClip> clips;  // in list order
    std::vector<SkippedRow> skippedRows;  // chosen list rows the list would not play, in list order
};

// The clips the list plays for the chosen rows: each from the code's second less the pre-roll
// (none in a synthesis) to the end of its action as the list finds it, within its film. A row
// whose code has no readable second, names a film that is not available, or lies outside its
// film is skipped, as the list would not play it; so is an action that ends where it starts. A
// clip that overlaps or touches the one before it in the same film is merged into it.
ReelPlan planReel(const ReelPlanInput& input);

// A clip's caption for a code: its words as the clear-text list shows them, then its time and
// set. describedCode is DescribeCode of the row's code. Windows-1252, as the list's texts.
std::string reelCaption(const std::string& describedCode, const CodeListRow& row);

}  // namespace corvane
