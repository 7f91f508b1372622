// DecipherLine on any text, and the round trip through EncipherLine that the cipher promises.

#include <algorithm>
#include <array>
#include <cstdlib>
#include <string>

#include "fuzz/fuzz_support.h"
#include "scout/line_cipher.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = corvane::fuzz::asText(data, size);
    const std::string plain = corvane::DecipherLine(text);
    // A valid line holds at least the vector and one block: never more plain bytes than that.
    if (plain.size() > text.size()) std::abort();

    std::array<std::uint8_t, 8> iv{};
    std::copy_n(data, std::min(size, iv.size()), iv.begin());
    if (corvane::DecipherLine(corvane::EncipherLine(text, iv)) != text) std::abort();
    return 0;
}
