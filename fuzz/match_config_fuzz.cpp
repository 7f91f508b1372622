// Match.cfg lines: the keys this program uses, and the reader that the Sport value selects.

#include <algorithm>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "scout/packages.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text = corvane::fuzz::asText(data, size);
    const bool synthesis = corvane::fuzz::takeChoice(text, 2) == 1;
    std::vector<std::string> lines;
    for (std::size_t start = 0; start <= text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        lines.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
    const corvane::MatchConfig config = corvane::parseMatchConfig(lines, synthesis);
    (void)corvane::scoutFormatOf(config.sport);
    return 0;
}
