#include "scout/line_cipher.h"
#include "scout/pi_fraction_table.h"

#include <cstring>

namespace corvane {

namespace {

using Word = std::uint32_t;

void mixingRound(Word& a, Word& b, Word& c, Word& d) {
    d += a; a += d; d ^= d >> 7;
    c += d; d += c; c ^= c << 13;
    b += c; c += b; b ^= b >> 17;
    a += b; b += a; a ^= a << 9;
    d += a; a += d; d ^= d >> 3;
    c += d; d += c; c ^= c << 7;
    b += c; c += b; b ^= a >> 15;
    a += b; b += a; a ^= a << 11;
}

Word loadWord(const std::uint8_t* bytes) {
    return Word{bytes[0]} | Word{bytes[1]} << 8 | Word{bytes[2]} << 16 | Word{bytes[3]} << 24;
}

void storeWord(Word word, std::uint8_t* bytes) {
    for (int i = 0; i < 4; ++i) bytes[i] = static_cast<std::uint8_t>(word >> (8 * i));
}

// The 128-bit block cipher that whitens the digest buffer: a Feistel network on 64-bit halves
// whose round function is two mixing rounds.
class WhiteningCipher {
public:
    static constexpr int kRounds = 8;

    explicit WhiteningCipher(const std::array<Word, 4>& key) {
        constexpr std::array<Word, 4> kConstants = {0x55555555u, 0xAAAAAAAAu, 0x33333333u, 0xCCCCCCCCu};
        std::size_t next = 0;
        for (const Word constant : kConstants) {
            std::array<Word, 8> s = {key[0], constant, key[1], constant, key[2], constant, key[3], constant};
            for (int pass = 0; pass < 8; ++pass) schedulePass(s);
            for (const Word word : s) subkeys_[next++] = word;
        }
    }

    void encipher(std::uint8_t* block) const {
        Word l0 = loadWord(block), l1 = loadWord(block + 4);
        Word r0 = loadWord(block + 8), r1 = loadWord(block + 12);
        for (int round = 0; round < kRounds; ++round) {
            Word d = l0, c = subkeys_[2 * round], b = l1, a = subkeys_[2 * round + 1];
            mixingRound(a, b, c, d);
            std::swap(d, b);
            std::swap(c, a);
            mixingRound(a, b, c, d);
            const Word t0 = c ^ d ^ r0;
            const Word t1 = a ^ b ^ r1;
            r0 = l0;
            r1 = l1;
            l0 = t0;
            l1 = t1;
        }
        storeWord(r0, block);
        storeWord(r1, block + 4);
        storeWord(l0, block + 8);
        storeWord(l1, block + 12);
    }

private:
    static void schedulePass(std::array<Word, 8>& s) {
        auto& [a, b, c, d, e, f, g, h] = s;
        a ^= b << 11; d += a; b += c;
        b ^= c >> 2;  e += b; c += d;
        c ^= d << 8;  f += c; d += e;
        d ^= e >> 16; g += d; e += f;
        e ^= f << 10; h += e; f += g;
        f ^= g >> 4;  a += f; g += h;
        g ^= h << 8;  b += g; h += a;
        h ^= a >> 9;  c += h; a += b;
    }

    std::array<Word, 32> subkeys_{};
};

class KeyDigester {
public:
    void add(std::uint8_t byte) {
        buffer_[position_] ^= byte;
        position_ = (position_ + 1) % buffer_.size();
        const std::size_t word = mixed_ / 4;
        mixing_[word] ^= Word{byte} << (8 * (mixed_ % 4));
        if (++mixed_ == 8) mix();
    }

    std::array<std::uint8_t, 16> finish() {
        add(0x01);
        while (mixed_ != 0) add(0x00);
        const WhiteningCipher cipher(mixing_);
        for (std::size_t offset = 0; offset < buffer_.size(); offset += 16) cipher.encipher(buffer_.data() + offset);
        std::array<std::uint8_t, 16> digest{};
        std::memcpy(digest.data(), buffer_.data(), digest.size());
        return digest;
    }

private:
    void mix() {
        Word a = mixing_[0], b = mixing_[1], c = mixing_[2], d = mixing_[3];
        for (int round = 0; round < 4; ++round) mixingRound(a, b, c, d);
        mixing_ = {d, c, b, a};
        mixed_ = 0;
    }

    std::array<std::uint8_t, 256> buffer_ = cipher::kPiFractionBytes;
    std::size_t position_ = 0;
    std::array<Word, 4> mixing_ = {0x55555555u, 0x55555555u, 0x55555555u, 0x55555555u};
    std::size_t mixed_ = 0;
};

}  // namespace

std::array<std::uint8_t, 16> KeyDigest(std::string_view keyText) {
    KeyDigester digester;
    for (const char character : keyText) digester.add(static_cast<std::uint8_t>(character));
    return digester.finish();
}

}  // namespace corvane
