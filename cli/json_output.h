#pragma once

#include <nlohmann/json.hpp>

#include <string_view>
#include <vector>

#include "codes/code_passes.h"
#include "core/program_state.h"
#include "scout/packages.h"

namespace corvane::cli {

// Package texts are Windows-1252; JSON carries them as UTF-8, blanks kept.
nlohmann::json text(std::string_view cp1252);

nlohmann::json packagesJson(const PackageLists& lists);
nlohmann::json codesJson(const ProgramState& state);
nlohmann::json listRowsJson(const std::vector<CodeListRow>& rows);

}  // namespace corvane::cli
