#pragma once

#include <nlohmann/json.hpp>

#include <filesystem>
#include <string>

#include "core/platform.h"
#include "core/program_state.h"

namespace corvane::cli {

// The statistics tables of the open package as the window shows them (event layout pruned), and
// for every clickable cell and sub-column the text shown, the search its click makes and the
// code-table rows that search lists with an empty set filter. Volleyball packages (sport "1")
// give the volleyball layout, every other sport the event layout.
nlohmann::json statsJson(const ProgramState& state);

// Runs the extension statistics generator for a pattern ("~" or blank for open positions) into
// `out`, or a fresh temporary folder removed again before this returns when `out` is empty ("file"
// is then null), and prints what the window shows with the search of every click. A file inside
// the disc's packages is refused.
nlohmann::json statextJson(const ProgramState& state, const Platform& platform, const std::string& pattern,
                           const std::filesystem::path& out);

}  // namespace corvane::cli
