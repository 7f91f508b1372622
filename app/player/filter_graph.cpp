#include "app/player/filter_graph.h"

#include <algorithm>
#include <array>

#include "core/files.h"
#include "core/text.h"

namespace corvane {

namespace {

constexpr std::array<std::string_view, 19> kAllowedNames = {
    "deinterlace", "vf",         "af",          "hwdec",      "framedrop",
    "correct-pts", "video-aspect-override",     "video-unscaled", "video-zoom",
    "brightness",  "contrast",   "gamma",       "saturation", "hue",
    "volume",      "audio-channels", "audio-delay", "container-fps-override", "aid"};

constexpr std::array<std::string_view, 7> kAllowedPrefixes = {
    "vd-lavc-", "ad-lavc-", "hr-seek", "sws-", "demuxer-lavf-", "video-pan-", "zimg-"};

bool isOptionName(std::string_view name) {
    return !name.empty() && std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-';
    });
}

}  // namespace

bool isGraphOptionAllowed(std::string_view name) {
    if (!isOptionName(name)) return false;
    if (std::find(kAllowedNames.begin(), kAllowedNames.end(), name) != kAllowedNames.end()) return true;
    return std::any_of(kAllowedPrefixes.begin(), kAllowedPrefixes.end(),
                       [name](std::string_view prefix) { return name.starts_with(prefix); });
}

FilterGraph parseFilterGraph(std::string_view text) {
    FilterGraph graph;
    for (const std::string& rawLine : splitTextLines(text)) {
        const std::string_view line = trimBlanks(rawLine);
        if (line.empty() || line.front() == '#') continue;
        const std::size_t equals = line.find('=');
        const std::string_view name = equals == std::string_view::npos ? line : trimBlanks(line.substr(0, equals));
        if (equals == std::string_view::npos || !isGraphOptionAllowed(name)) {
            graph.refused.emplace_back(line);
            continue;
        }
        graph.options.push_back({std::string(name), std::string(trimBlanks(line.substr(equals + 1)))});
    }
    return graph;
}

FilterGraph readFilterGraph(const std::string& filtro) {
    if (filtro.empty() || filtro == "x") return {};
    const std::optional<std::string> content = readWholeFile(filtro);
    if (!content) return {{}, {"unreadable graph " + filtro}};
    return parseFilterGraph(*content);
}

std::string perFileOptionList(const std::vector<PlayerOption>& options) {
    std::string list;
    for (const PlayerOption& option : options) {
        if (!list.empty()) list += ',';
        list += option.name + "=%" + std::to_string(option.value.size()) + '%' + option.value;
    }
    return list;
}

}  // namespace corvane
