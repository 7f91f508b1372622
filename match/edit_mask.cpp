#include "match/edit_mask.h"

#include <cctype>
#include <vector>

namespace corvane {

namespace {

std::vector<std::string> digitGroupsOf(std::string_view text) {
    std::vector<std::string> groups(1);
    for (const char c : text) {
        if (std::isdigit(static_cast<unsigned char>(c))) groups.back() += c;
        else if (!groups.back().empty()) groups.emplace_back();
    }
    if (groups.back().empty()) groups.pop_back();
    return groups;
}

}  // namespace

std::string maskedText(std::string_view text, std::string_view mask) {
    const std::vector<std::string> groups = digitGroupsOf(text);
    std::string out;
    std::size_t group = 0;
    for (std::size_t at = 0; at < mask.size();) {
        if (mask[at] != '9') {
            out += mask[at++];
            continue;
        }
        std::size_t width = 0;
        while (at + width < mask.size() && mask[at + width] == '9') ++width;
        std::string digits = group < groups.size() ? groups[group] : std::string();
        ++group;
        if (digits.size() > width) digits = digits.substr(0, width);
        out += std::string(width - digits.size(), ' ') + digits;
        at += width;
    }
    return out;
}

}  // namespace corvane
