#pragma once

#include <optional>
#include <string>

#include "core/program_state.h"

namespace corvane::cli {

struct ReelCommand {
    std::string code;  // search code, UTF-8
    std::string adv;   // advanced-codes expression, UTF-8
    std::string sets;
    std::optional<int> analysis;  // an analysis of Analisi.ini instead of the search
    std::string out;
    bool clips = false;
    bool force = false;  // an existing film at out is replaced
    bool captions = false;
    int preRoll = 2;
    int endOffset = 0;
    bool skipMissing = false;  // listed actions left out do not make the exit status 1
};

// Writes the reel of the listed codes; progress, and each listed action left out with the reason,
// on standard error. Returns the exit code: 0 done, 1 the export failed or was interrupted, or
// left listed actions out without skipMissing. Bad input throws UsageError.
int runReel(const ProgramState& state, const ReelCommand& command);

}  // namespace corvane::cli
