#include "scout/des.h"

#include <bit>
#include <utility>

namespace corvane::cipher {

namespace {

constexpr std::array<std::uint8_t, 64> kInitialPermutation = {
    58, 50, 42, 34, 26, 18, 10, 2, 60, 52, 44, 36, 28, 20, 12, 4,
    62, 54, 46, 38, 30, 22, 14, 6, 64, 56, 48, 40, 32, 24, 16, 8,
    57, 49, 41, 33, 25, 17, 9,  1, 59, 51, 43, 35, 27, 19, 11, 3,
    61, 53, 45, 37, 29, 21, 13, 5, 63, 55, 47, 39, 31, 23, 15, 7};

constexpr std::array<std::uint8_t, 32> kRoundPermutation = {
    16, 7, 20, 21, 29, 12, 28, 17, 1,  15, 23, 26, 5,  18, 31, 10,
    2,  8, 24, 14, 32, 27, 3,  9,  19, 13, 30, 6,  22, 11, 4,  25};

constexpr std::array<std::uint8_t, 56> kKeyChoice1 = {
    57, 49, 41, 33, 25, 17, 9,  1,  58, 50, 42, 34, 26, 18, 10, 2,  59, 51, 43,
    35, 27, 19, 11, 3,  60, 52, 44, 36, 63, 55, 47, 39, 31, 23, 15, 7,  62, 54,
    46, 38, 30, 22, 14, 6,  61, 53, 45, 37, 29, 21, 13, 5,  28, 20, 12, 4};

constexpr std::array<std::uint8_t, 48> kKeyChoice2 = {
    14, 17, 11, 24, 1,  5,  3,  28, 15, 6,  21, 10, 23, 19, 12, 4,
    26, 8,  16, 7,  27, 20, 13, 2,  41, 52, 31, 37, 47, 55, 30, 40,
    51, 45, 33, 48, 44, 49, 39, 56, 34, 53, 46, 42, 50, 36, 29, 32};

constexpr std::array<std::uint8_t, 16> kKeyShifts = {1, 1, 2, 2, 2, 2, 2, 2, 1, 2, 2, 2, 2, 2, 2, 1};

constexpr std::uint8_t kSBoxes[8][64] = {
    {14, 4,  13, 1, 2,  15, 11, 8,  3,  10, 6,  12, 5,  9,  0, 7,
     0,  15, 7,  4, 14, 2,  13, 1,  10, 6,  12, 11, 9,  5,  3, 8,
     4,  1,  14, 8, 13, 6,  2,  11, 15, 12, 9,  7,  3,  10, 5, 0,
     15, 12, 8,  2, 4,  9,  1,  7,  5,  11, 3,  14, 10, 0,  6, 13},
    {15, 1,  8,  14, 6,  11, 3,  4,  9,  7, 2,  13, 12, 0, 5,  10,
     3,  13, 4,  7,  15, 2,  8,  14, 12, 0, 1,  10, 6,  9, 11, 5,
     0,  14, 7,  11, 10, 4,  13, 1,  5,  8, 12, 6,  9,  3, 2,  15,
     13, 8,  10, 1,  3,  15, 4,  2,  11, 6, 7,  12, 0,  5, 14, 9},
    {10, 0,  9,  14, 6, 3,  15, 5,  1,  13, 12, 7,  11, 4,  2,  8,
     13, 7,  0,  9,  3, 4,  6,  10, 2,  8,  5,  14, 12, 11, 15, 1,
     13, 6,  4,  9,  8, 15, 3,  0,  11, 1,  2,  12, 5,  10, 14, 7,
     1,  10, 13, 0,  6, 9,  8,  7,  4,  15, 14, 3,  11, 5,  2,  12},
    {7,  13, 14, 3, 0,  6,  9,  10, 1,  2, 8, 5,  11, 12, 4,  15,
     13, 8,  11, 5, 6,  15, 0,  3,  4,  7, 2, 12, 1,  10, 14, 9,
     10, 6,  9,  0, 12, 11, 7,  13, 15, 1, 3, 14, 5,  2,  8,  4,
     3,  15, 0,  6, 10, 1,  13, 8,  9,  4, 5, 11, 12, 7,  2,  14},
    {2,  12, 4,  1,  7,  10, 11, 6,  8,  5,  3,  15, 13, 0, 14, 9,
     14, 11, 2,  12, 4,  7,  13, 1,  5,  0,  15, 10, 3,  9, 8,  6,
     4,  2,  1,  11, 10, 13, 7,  8,  15, 9,  12, 5,  6,  3, 0,  14,
     11, 8,  12, 7,  1,  14, 2,  13, 6,  15, 0,  9,  10, 4, 5,  3},
    {12, 1,  10, 15, 9, 2,  6,  8,  0,  13, 3,  4,  14, 7,  5,  11,
     10, 15, 4,  2,  7, 12, 9,  5,  6,  1,  13, 14, 0,  11, 3,  8,
     9,  14, 15, 5,  2, 8,  12, 3,  7,  0,  4,  10, 1,  13, 11, 6,
     4,  3,  2,  12, 9, 5,  15, 10, 11, 14, 1,  7,  6,  0,  8,  13},
    {4,  11, 2,  14, 15, 0, 8,  13, 3,  12, 9, 7,  5,  10, 6, 1,
     13, 0,  11, 7,  4,  9, 1,  10, 14, 3,  5, 12, 2,  15, 8, 6,
     1,  4,  11, 13, 12, 3, 7,  14, 10, 15, 6, 8,  0,  5,  9, 2,
     6,  11, 13, 8,  1,  4, 10, 7,  9,  5,  0, 15, 14, 2,  3, 12},
    {13, 2,  8,  4, 6,  15, 11, 1,  10, 9,  3,  14, 5,  0,  12, 7,
     1,  15, 13, 8, 10, 3,  7,  4,  12, 5,  6,  11, 0,  14, 9,  2,
     7,  11, 4,  1, 9,  12, 14, 2,  0,  6,  10, 13, 15, 3,  5,  8,
     2,  1,  14, 7, 4,  10, 8,  13, 15, 12, 9,  0,  3,  5,  6,  11}};

// Bit n (counted from 1 at the top) of a width-bit value.
constexpr std::uint64_t bitAt(std::uint64_t value, unsigned width, unsigned n) {
    return (value >> (width - n)) & 1u;
}

template <std::size_t N>
constexpr std::uint64_t permute(std::uint64_t value, unsigned width, const std::array<std::uint8_t, N>& table) {
    std::uint64_t out = 0;
    for (const std::uint8_t source : table) out = (out << 1) | bitAt(value, width, source);
    return out;
}

constexpr std::array<std::uint8_t, 64> kFinalPermutation = [] {
    std::array<std::uint8_t, 64> inverse{};
    for (std::size_t i = 0; i < 64; ++i) inverse[kInitialPermutation[i] - 1u] = static_cast<std::uint8_t>(i + 1);
    return inverse;
}();

// A 64-bit permutation as eight byte-indexed tables whose entries are ORed together.
using ByteSpreadTables = std::array<std::array<std::uint64_t, 256>, 8>;

constexpr ByteSpreadTables spreadTables(const std::array<std::uint8_t, 64>& table) {
    ByteSpreadTables spread{};
    for (unsigned position = 0; position < 8; ++position)
        for (unsigned value = 0; value < 256; ++value)
            spread[position][value] = permute(std::uint64_t{value} << (56 - 8 * position), 64, table);
    return spread;
}

constexpr ByteSpreadTables kInitialSpread = spreadTables(kInitialPermutation);
constexpr ByteSpreadTables kFinalSpread = spreadTables(kFinalPermutation);

// S-box i followed by the round permutation, for each 6-bit input.
constexpr auto kSpTables = [] {
    std::array<std::array<std::uint32_t, 64>, 8> sp{};
    for (unsigned box = 0; box < 8; ++box)
        for (unsigned input = 0; input < 64; ++input) {
            const unsigned row = ((input >> 4) & 2u) | (input & 1u);
            const unsigned column = (input >> 1) & 0xFu;
            const std::uint64_t output = std::uint64_t{kSBoxes[box][row * 16 + column]} << (28 - 4 * box);
            sp[box][input] = static_cast<std::uint32_t>(permute(output, 32, kRoundPermutation));
        }
    return sp;
}();

std::uint64_t applySpread(std::uint64_t value, const ByteSpreadTables& spread) {
    std::uint64_t out = 0;
    for (unsigned position = 0; position < 8; ++position)
        out |= spread[position][(value >> (56 - 8 * position)) & 0xFF];
    return out;
}

// Expansion, key mixing, S-boxes and permutation: S-box i sees bits 4i..4i+5 of the half (bit 0
// meaning bit 32), which one rotation brings to the bottom.
std::uint32_t feistel(std::uint32_t half, const std::array<std::uint8_t, 8>& key) {
    std::uint32_t out = 0;
    for (unsigned box = 0; box < 8; ++box) {
        const std::uint32_t group = std::rotr(half, static_cast<int>((27 + 32 - 4 * box) % 32)) & 0x3Fu;
        out |= kSpTables[box][group ^ key[box]];
    }
    return out;
}

enum class Direction { Encrypt, Decrypt };

// Sixteen rounds on the permuted halves, ending with the halves exchanged as the cipher leaves
// them, which is also how the next cipher of a chain takes them up.
void sixteenRounds(std::uint32_t& left, std::uint32_t& right, const DesSubkeys& subkeys, Direction direction) {
    for (unsigned round = 0; round < 16; ++round) {
        const auto& key = subkeys.rounds[direction == Direction::Encrypt ? round : 15 - round];
        const std::uint32_t next = left ^ feistel(right, key);
        left = right;
        right = next;
    }
    std::swap(left, right);
}

struct Halves {
    std::uint32_t left, right;
};

Halves enter(DesBlock block) {
    const std::uint64_t permuted = applySpread(block, kInitialSpread);
    return {static_cast<std::uint32_t>(permuted >> 32), static_cast<std::uint32_t>(permuted)};
}

DesBlock leave(const Halves& halves) {
    return applySpread((std::uint64_t{halves.left} << 32) | halves.right, kFinalSpread);
}

DesBlock single(DesBlock block, const DesSubkeys& subkeys, Direction direction) {
    Halves halves = enter(block);
    sixteenRounds(halves.left, halves.right, subkeys, direction);
    return leave(halves);
}

}  // namespace

DesSubkeys desSubkeys(const DesKey& key) {
    const std::uint64_t chosen = permute(loadBlock(key.data()), 64, kKeyChoice1);
    std::uint32_t c = static_cast<std::uint32_t>(chosen >> 28) & 0x0FFFFFFFu;
    std::uint32_t d = static_cast<std::uint32_t>(chosen) & 0x0FFFFFFFu;
    const auto rotate28 = [](std::uint32_t half, unsigned by) {
        return ((half << by) | (half >> (28 - by))) & 0x0FFFFFFFu;
    };
    DesSubkeys subkeys;
    for (unsigned round = 0; round < 16; ++round) {
        c = rotate28(c, kKeyShifts[round]);
        d = rotate28(d, kKeyShifts[round]);
        const std::uint64_t roundKey = permute((std::uint64_t{c} << 28) | d, 56, kKeyChoice2);
        for (unsigned group = 0; group < 8; ++group)
            subkeys.rounds[round][group] = static_cast<std::uint8_t>((roundKey >> (42 - 6 * group)) & 0x3F);
    }
    return subkeys;
}

DesBlock desEncrypt(DesBlock block, const DesSubkeys& subkeys) { return single(block, subkeys, Direction::Encrypt); }

DesBlock desDecrypt(DesBlock block, const DesSubkeys& subkeys) { return single(block, subkeys, Direction::Decrypt); }

TripleDes::TripleDes(const DesKey& key1, const DesKey& key2) : key1_(desSubkeys(key1)), key2_(desSubkeys(key2)) {}

// The final permutation of one stage and the initial one of the next cancel, so the chain
// permutes only at its ends.
DesBlock TripleDes::encrypt(DesBlock block) const {
    Halves halves = enter(block);
    sixteenRounds(halves.left, halves.right, key1_, Direction::Encrypt);
    sixteenRounds(halves.left, halves.right, key2_, Direction::Decrypt);
    sixteenRounds(halves.left, halves.right, key1_, Direction::Encrypt);
    return leave(halves);
}

DesBlock TripleDes::decrypt(DesBlock block) const {
    Halves halves = enter(block);
    sixteenRounds(halves.left, halves.right, key1_, Direction::Decrypt);
    sixteenRounds(halves.left, halves.right, key2_, Direction::Encrypt);
    sixteenRounds(halves.left, halves.right, key1_, Direction::Decrypt);
    return leave(halves);
}

DesBlock loadBlock(const std::uint8_t* bytes) {
    DesBlock block = 0;
    for (int i = 0; i < 8; ++i) block = (block << 8) | bytes[i];
    return block;
}

void storeBlock(DesBlock block, std::uint8_t* bytes) {
    for (int i = 7; i >= 0; --i) {
        bytes[i] = static_cast<std::uint8_t>(block & 0xFF);
        block >>= 8;
    }
}

}  // namespace corvane::cipher
