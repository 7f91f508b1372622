#include "scout/scout_reading.h"

#include <fstream>

namespace corvane {

void clearScoutTarget(ScoutTarget target) {
    target.table.Clear();
    target.match.clearMatchInfo();
    target.match.HomePlayers.Clear();
    target.match.AwayPlayers.Clear();
    target.match.MatchesData = {};
    target.match.MatchesCount = 0;
    target.match.HasMatchesData = false;
}

std::optional<std::string> readScoutBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary | std::ios::ate);
    if (!in) return std::nullopt;
    const std::streamoff size = in.tellg();
    if (size < 0) return std::nullopt;
    std::string content(static_cast<std::size_t>(size), '\0');
    in.seekg(0);
    in.read(content.data(), size);
    if (in.bad()) return std::nullopt;
    // A file that shrank meanwhile keeps what was there.
    content.resize(static_cast<std::size_t>(in.gcount()));
    return content;
}

}  // namespace corvane
