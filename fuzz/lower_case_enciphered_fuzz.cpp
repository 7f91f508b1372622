// The enciphered lower-case scout file. Random bytes seldom make valid cipher lines, so half the
// inputs are plain lines that are enciphered here first: the reader then sees the fuzzer's lines
// after deciphering. The other half is taken as the file itself; the reader deciphers in memory.

#include <algorithm>
#include <array>
#include <string>

#include "fuzz/fuzz_support.h"
#include "scout/line_cipher.h"
#include "scout/scout_readers.h"

namespace {

std::string encipheredLines(std::string_view plain) {
    constexpr std::array<std::uint8_t, 8> iv{7, 1, 4, 2, 8, 5, 7, 1};
    std::string file;
    for (std::size_t start = 0; start <= plain.size();) {
        const std::size_t end = std::min(plain.find('\n', start), plain.size());
        file += corvane::EncipherLine(plain.substr(start, end - start), iv);
        file += "\r\n";
        start = end + 1;
    }
    return file;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text = corvane::fuzz::asText(data, size);
    const bool encipherHere = corvane::fuzz::takeChoice(text, 2) == 1;
    const std::filesystem::path folder = corvane::fuzz::PrivateFolder::instance().path();
    const std::string content = encipherHere ? encipheredLines(text) : std::string(text);
    const std::filesystem::path file = corvane::fuzz::writeInput(folder / "scout.txt", content);
    static corvane::CodeTable table;
    static corvane::MatchCompanions match;
    corvane::ReadLowerCaseScout(file, true, {table, match});
    return 0;
}
