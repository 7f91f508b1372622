#pragma once

#include <array>
#include <cstdint>

namespace corvane::cipher {

// An 8-byte block read as a big-endian number, bit 1 of the standard's tables the highest.
using DesBlock = std::uint64_t;
using DesKey = std::array<std::uint8_t, 8>;

// The per-round keys of one DES key (parity bits ignored), as the eight 6-bit groups that meet
// the eight S-boxes.
struct DesSubkeys {
    std::array<std::array<std::uint8_t, 8>, 16> rounds{};
};

DesSubkeys desSubkeys(const DesKey& key);

DesBlock desEncrypt(DesBlock block, const DesSubkeys& subkeys);
DesBlock desDecrypt(DesBlock block, const DesSubkeys& subkeys);

// Two-key Triple-DES, encrypt-decrypt-encrypt with key 1, key 2, key 1. The subkeys are set up
// once, so a value serves any number of blocks.
class TripleDes {
public:
    TripleDes(const DesKey& key1, const DesKey& key2);

    DesBlock encrypt(DesBlock block) const;
    DesBlock decrypt(DesBlock block) const;

private:
    DesSubkeys key1_;
    DesSubkeys key2_;
};

DesBlock loadBlock(const std::uint8_t* bytes);
void storeBlock(DesBlock block, std::uint8_t* bytes);

}  // namespace corvane::cipher
