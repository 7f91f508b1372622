// corvane-encipher PLAIN OUT: writes the line-by-line enciphered form of a plain scout file, as
// packages of the sports read with deciphering may carry it. The initial vectors come from a
// fixed sequence, so the same input always gives the same file.
#include <array>
#include <cstdint>
#include <cstdio>
#include <string>

#include "core/files.h"
#include "scout/line_cipher.h"

namespace {

// SplitMix64: small, fixed, and good enough to make every line's initial vector different.
class VectorSequence {
public:
    std::array<std::uint8_t, 8> next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        z ^= z >> 31;
        std::array<std::uint8_t, 8> iv{};
        for (auto& byte : iv) {
            byte = static_cast<std::uint8_t>(z);
            z >>= 8;
        }
        return iv;
    }

private:
    std::uint64_t state_ = 0x436F7276616E6531ull;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s PLAIN OUT\n", argv[0]);
        return 2;
    }
    const auto plain = corvane::readWholeFile(argv[1]);
    if (!plain) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    VectorSequence vectors;
    std::string out;
    for (const std::string& line : corvane::splitTextLines(*plain)) {
        if (!line.empty()) out += corvane::EncipherLine(line, vectors.next());
        out += "\r\n";
    }
    if (!corvane::writeFileAtomically(argv[2], out)) {
        std::fprintf(stderr, "cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
