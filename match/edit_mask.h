#pragma once

#include <string>
#include <string_view>

namespace corvane {

// A slot shown through a fixed edit mask such as "99.99", "9999/9999" or "99-99": digit
// positions ("9") and the literals between them. Each group of digit positions takes the digits
// of the matching part of the text (the parts the text's own literals separate), right-aligned;
// missing digits stay blank, so an empty text shows as "  .  ".
std::string maskedText(std::string_view text, std::string_view mask);

}  // namespace corvane
