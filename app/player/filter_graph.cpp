#include "app/player/filter_graph.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <filesystem>
#include <optional>

#include "core/files.h"
#include "core/text.h"

namespace corvane {

namespace {

constexpr std::uintmax_t kMaxGraphFileBytes = 64 * 1024;
constexpr std::size_t kMaxRefusedLineChars = 120;

struct Choice {
    std::string_view written;  // as the option file names it
    std::string_view option;   // the player's option value, a fixed text
};

struct ChoiceSetting {
    std::string_view name;
    std::string_view option;
    std::array<Choice, 3> choices;  // unused slots stay empty
};

struct RangeSetting {
    std::string_view name;
    std::string_view option;
    int lowest;
    int highest;
};

// Our own filter chain: yadif sending one picture a frame, deinterlacing either only the frames
// marked interlaced or every frame. Nothing of it is read from the disc.
constexpr std::string_view kDeinterlaceInterlaced = "lavfi=[yadif=mode=send_frame:parity=auto:deint=interlaced]";
constexpr std::string_view kDeinterlaceAll = "lavfi=[yadif=mode=send_frame:parity=auto:deint=all]";

constexpr std::array<ChoiceSetting, 3> kChoiceSettings = {{
    {"deinterlace", "vf", {{{"no", ""}, {"interlaced", kDeinterlaceInterlaced}, {"all", kDeinterlaceAll}}}},
    {"hwdec", "hwdec", {{{"no", "no"}, {"yes", "auto-safe"}, {}}}},
    {"audio-channels", "audio-channels", {{{"auto", "auto"}, {"stereo", "stereo"}, {"mono", "mono"}}}},
}};

constexpr std::array<RangeSetting, 6> kRangeSettings = {{
    {"brightness", "brightness", -100, 100},
    {"contrast", "contrast", -100, 100},
    {"gamma", "gamma", -100, 100},
    {"saturation", "saturation", -100, 100},
    {"hue", "hue", -100, 100},
    {"volume", "volume", 0, 100},
}};

std::optional<int> wholeNumber(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

// The player option for one setting line, or nothing when the name or the value is not ours.
std::optional<PlayerOption> playerOption(std::string_view name, std::string_view value) {
    for (const ChoiceSetting& setting : kChoiceSettings) {
        if (setting.name != name) continue;
        for (const Choice& choice : setting.choices)
            if (!choice.written.empty() && choice.written == value)
                return PlayerOption{std::string(setting.option), std::string(choice.option)};
        return std::nullopt;
    }
    for (const RangeSetting& setting : kRangeSettings) {
        if (setting.name != name) continue;
        const std::optional<int> number = wholeNumber(value);
        if (!number || *number < setting.lowest || *number > setting.highest) return std::nullopt;
        return PlayerOption{std::string(setting.option), std::to_string(*number)};
    }
    return std::nullopt;
}

void take(std::vector<PlayerOption>& options, PlayerOption option) {
    const auto same = std::find_if(options.begin(), options.end(),
                                   [&](const PlayerOption& taken) { return taken.name == option.name; });
    if (same != options.end()) options.erase(same);
    // "No deinterlacing" is the player's default: nothing to ask for.
    if (option.name == "vf" && option.value.empty()) return;
    options.push_back(std::move(option));
}

std::string forTheLog(std::string_view line) {
    std::string shown(line.substr(0, kMaxRefusedLineChars));
    std::replace_if(shown.begin(), shown.end(), [](unsigned char c) { return c < 0x20 || c == 0x7f; }, '?');
    if (line.size() > kMaxRefusedLineChars) shown += "...";
    return shown;
}

}  // namespace

FilterGraph parseFilterGraph(std::string_view text) {
    FilterGraph graph;
    for (const std::string& rawLine : splitTextLines(text)) {
        const std::string_view line = trimBlanks(rawLine);
        if (line.empty() || line.front() == '#') continue;
        const std::size_t equals = line.find('=');
        std::optional<PlayerOption> option;
        if (equals != std::string_view::npos)
            option = playerOption(trimBlanks(line.substr(0, equals)), trimBlanks(line.substr(equals + 1)));
        if (option)
            take(graph.options, std::move(*option));
        else
            graph.refused.push_back(forTheLog(line));
    }
    return graph;
}

FilterGraph readFilterGraph(const std::string& filtro) {
    if (filtro.empty() || filtro == "x") return {};
    std::error_code error;
    // A FIFO or device would block the reader, a huge file would only be refused line by line.
    const bool plainFile = std::filesystem::is_regular_file(filtro, error);
    const std::uintmax_t size = plainFile ? std::filesystem::file_size(filtro, error) : 0;
    if (!plainFile || error || size > kMaxGraphFileBytes) return {{}, {"unreadable graph " + forTheLog(filtro)}};
    const std::optional<std::string> content = readWholeFile(filtro);
    if (!content) return {{}, {"unreadable graph " + forTheLog(filtro)}};
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
