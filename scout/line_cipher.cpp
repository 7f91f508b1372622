#include "scout/line_cipher.h"

#include <algorithm>
#include <utility>

#include "core/files.h"
#include "scout/cipher_base64.h"
#include "scout/des.h"
#include "scout/scout_reading.h"

namespace corvane {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kKeyText = "72806";
constexpr std::size_t kBlockSize = 8;
constexpr std::uint8_t kMostBytesInLastBlock = kBlockSize - 1;
constexpr std::string_view kCopyPrefix = "plain";

const cipher::TripleDes& lineCipher() {
    static const cipher::TripleDes instance = [] {
        const std::array<std::uint8_t, 16> digest = KeyDigest(kKeyText);
        cipher::DesKey key1{};
        cipher::DesKey key2{};
        std::copy_n(digest.begin(), kBlockSize, key1.begin());
        std::copy_n(digest.begin() + kBlockSize, kBlockSize, key2.begin());
        return cipher::TripleDes(key1, key2);
    }();
    return instance;
}

const std::uint8_t* bytesOf(const std::string& data) { return reinterpret_cast<const std::uint8_t*>(data.data()); }

void appendBlock(std::string& out, cipher::DesBlock block, std::size_t count = kBlockSize) {
    std::array<std::uint8_t, kBlockSize> bytes{};
    cipher::storeBlock(block, bytes.data());
    out.append(reinterpret_cast<const char*>(bytes.data()), count);
}

bool startsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && equalsIgnoringCase(text.substr(0, prefix.size()), prefix);
}

}  // namespace

std::string DecipherLine(std::string_view text) {
    const std::optional<std::string> data = cipher::base64Decode(text);
    if (!data) return {};
    const std::size_t blocks = data->size() / kBlockSize;
    if (blocks < 2) return {};
    const cipher::TripleDes& des = lineCipher();
    const std::uint8_t* bytes = bytesOf(*data);
    cipher::DesBlock chain = cipher::loadBlock(bytes);
    std::string plain;
    plain.reserve((blocks - 1) * kBlockSize);
    for (std::size_t index = 1; index < blocks; ++index) {
        const cipher::DesBlock enciphered = cipher::loadBlock(bytes + index * kBlockSize);
        const cipher::DesBlock deciphered = des.decrypt(enciphered) ^ chain;
        chain = enciphered;
        if (index + 1 < blocks) {
            appendBlock(plain, deciphered);
            continue;
        }
        const auto count = static_cast<std::uint8_t>(deciphered & 0xFF);
        if (count > kMostBytesInLastBlock) return {};
        appendBlock(plain, deciphered, count);
    }
    return plain;
}

std::string EncipherLine(std::string_view plain, std::array<std::uint8_t, 8> iv) {
    const cipher::TripleDes& des = lineCipher();
    std::string data(reinterpret_cast<const char*>(iv.data()), iv.size());
    cipher::DesBlock chain = cipher::loadBlock(iv.data());
    const std::size_t wholeBlocks = plain.size() / kBlockSize;
    for (std::size_t index = 0; index <= wholeBlocks; ++index) {
        std::array<std::uint8_t, kBlockSize> block{};
        const std::string_view part = plain.substr(std::min(plain.size(), index * kBlockSize), kBlockSize);
        std::copy(part.begin(), part.end(), block.begin());
        if (index == wholeBlocks) block.back() = static_cast<std::uint8_t>(part.size());
        chain = des.encrypt(cipher::loadBlock(block.data()) ^ chain);
        appendBlock(data, chain);
    }
    return cipher::base64Encode(data);
}

bool IsPlainScoutLine(std::string_view firstLine) {
    return startsWithIgnoringCase(firstLine, "[3KESTRALINESCOUT]") || startsWithIgnoringCase(firstLine, "[Match]") ||
           startsWithIgnoringCase(firstLine, "DS");
}

namespace {

struct PlainPass {
    bool enciphered = false;
    std::optional<ScoutLimit> refused;
};

// Hands every plain line to each, deciphered when the file is enciphered; nothing when the file
// cannot be read. Only one line is held at a time, so a refused file costs no more than a piece.
template <class Each>
std::optional<PlainPass> eachPlainLine(const fs::path& scoutFile, Each&& each) {
    std::optional<LineReader> reader = LineReader::openFile(scoutFile);
    if (!reader) return std::nullopt;
    PlainPass pass;
    bool first = true;
    for (std::string_view line; reader->next(line);) {
        if (std::exchange(first, false)) pass.enciphered = !IsPlainScoutLine(line);
        if (pass.enciphered && !line.empty())
            each(std::string_view(DecipherLine(line)));
        else
            each(line);
    }
    pass.refused = reader->exceeded();
    return pass;
}

}  // namespace

std::optional<PlainScout> ReadPlainScout(const fs::path& scoutFile) {
    PlainScout plain;
    const auto pass = eachPlainLine(scoutFile, [&](std::string_view line) { (plain.text += line) += '\n'; });
    if (!pass) return std::nullopt;
    if (pass->refused) return PlainScout{{}, pass->refused};
    return plain;
}

std::optional<std::vector<std::string>> PlainScoutLines(const fs::path& scoutFile) {
    std::vector<std::string> lines;
    const auto pass = eachPlainLine(scoutFile, [&](std::string_view line) { lines.emplace_back(line); });
    if (!pass || pass->refused) return std::nullopt;
    return lines;
}

std::optional<PrivateFile> DecipherToCopy(const fs::path& scoutFile, const fs::path& privateFolder) {
    std::string plain;
    const auto pass = eachPlainLine(scoutFile, [&](std::string_view line) { (plain += line) += "\r\n"; });
    if (!pass || pass->refused || !pass->enciphered) return std::nullopt;
    return PrivateFile::create(privateFolder, kCopyPrefix, plain);
}

}  // namespace corvane
