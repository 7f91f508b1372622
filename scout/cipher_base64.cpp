#include "scout/cipher_base64.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace corvane::cipher {

namespace {

constexpr std::string_view kAlphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr char kFirstCharacter = '+';
constexpr char kLastCharacter = 'z';
constexpr std::size_t kPieceLength = 88;
constexpr std::int8_t kNotInAlphabet = -1;
constexpr std::int8_t kPadding = -2;

// Indexed from "+" to "z"; the characters of that range outside the alphabet are refused too,
// since decoding them to anything would only feed noise to the block cipher.
constexpr auto kSextets = [] {
    std::array<std::int8_t, kLastCharacter - kFirstCharacter + 1> table{};
    table.fill(kNotInAlphabet);
    for (std::size_t value = 0; value < kAlphabet.size(); ++value)
        table[static_cast<std::size_t>(kAlphabet[value] - kFirstCharacter)] = static_cast<std::int8_t>(value);
    table['=' - kFirstCharacter] = kPadding;
    return table;
}();

std::int8_t sextetOf(char character) {
    if (character < kFirstCharacter || character > kLastCharacter) return kNotInAlphabet;
    return kSextets[static_cast<std::size_t>(character - kFirstCharacter)];
}

// One group of up to four characters; false on a character outside the alphabet.
bool decodeGroup(std::string_view group, std::string& out) {
    std::uint32_t bits = 0;
    int count = 0;
    bool padded = false;
    for (const char character : group) {
        const std::int8_t sextet = sextetOf(character);
        if (sextet == kNotInAlphabet) return false;
        if (sextet == kPadding) padded = true;
        if (padded) continue;
        bits = (bits << 6) | static_cast<std::uint32_t>(sextet);
        ++count;
    }
    bits <<= 6 * (4 - count);
    for (int byte = 0; byte < count - 1; ++byte) out += static_cast<char>((bits >> (16 - 8 * byte)) & 0xFF);
    return true;
}

bool decodePiece(std::string_view piece, std::string& out) {
    for (std::size_t start = 0; start < piece.size(); start += 4)
        if (!decodeGroup(piece.substr(start, 4), out)) return false;
    return true;
}

}  // namespace

std::string base64Encode(std::string_view bytes) {
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    for (std::size_t start = 0; start < bytes.size(); start += 3) {
        const std::size_t count = std::min<std::size_t>(3, bytes.size() - start);
        std::uint32_t bits = 0;
        for (std::size_t i = 0; i < 3; ++i)
            bits = (bits << 8) | (i < count ? static_cast<std::uint8_t>(bytes[start + i]) : 0u);
        for (std::size_t i = 0; i < 4; ++i)
            out += i <= count ? kAlphabet[(bits >> (18 - 6 * i)) & 0x3F] : '=';
    }
    return out;
}

std::optional<std::string> base64Decode(std::string_view text) {
    std::string out;
    out.reserve(text.size() / 4 * 3 + 2);
    for (std::size_t start = 0; start < text.size(); start += kPieceLength)
        if (!decodePiece(text.substr(start, kPieceLength), out)) return std::nullopt;
    return out;
}

}  // namespace corvane::cipher
