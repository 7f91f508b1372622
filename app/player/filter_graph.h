#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace corvane {

struct PlayerOption {
    std::string name;
    std::string value;
};

// A filter-graph file: player options for one film, one "name=value" a line; blank lines and
// lines starting with "#" are skipped. Only options that shape decoding, filtering and seeking
// are taken, so a graph can neither run scripts nor write files; the rest is listed as refused.
struct FilterGraph {
    std::vector<PlayerOption> options;
    std::vector<std::string> refused;  // the lines not taken, trimmed
};

FilterGraph parseFilterGraph(std::string_view text);

// "x" (or nothing) is the player's defaults. A file that cannot be read gives no options and one
// refused entry naming it.
FilterGraph readFilterGraph(const std::string& filtro);

bool isGraphOptionAllowed(std::string_view name);

// The options as loadfile's per-file list; each value is length-quoted ("%n%value"), so commas
// and brackets in filter chains pass unchanged.
std::string perFileOptionList(const std::vector<PlayerOption>& options);

}  // namespace corvane
