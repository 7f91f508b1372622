#include "core/message_box.h"

namespace corvane {

std::string cutForMessageBox(const std::string& text) {
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool startsCharacter = (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80;
        if (startsCharacter && ++characters > 255) return text.substr(0, i);
    }
    return text;
}

}  // namespace corvane
