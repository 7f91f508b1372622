#include "scout/line_cipher.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <sys/stat.h>

#include "core/files.h"
#include "scout/cipher_base64.h"
#include "scout/des.h"
#include "support/folder_snapshot.h"
#include "support/test_support.h"
#include "support/watchdog.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;
using cipher::base64Decode;
using cipher::base64Encode;
using testing::readFile;
using testing::TempFolder;

constexpr std::array<std::uint8_t, 8> kIv = {0x10, 0x32, 0x54, 0x76, 0x98, 0xBA, 0xDC, 0xFE};

std::string hexOf(const std::string& bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string hex;
    for (const char c : bytes) {
        hex += kDigits[static_cast<std::uint8_t>(c) >> 4];
        hex += kDigits[static_cast<std::uint8_t>(c) & 0xF];
    }
    return hex;
}

template <std::size_t N>
std::string bytesOf(const std::array<std::uint8_t, N>& array) {
    return std::string(reinterpret_cast<const char*>(array.data()), N);
}

std::string lineKeyHex() { return hexOf(bytesOf(KeyDigest("72806"))); }

// --- Key digest -------------------------------------------------------------------------------

TEST(KeyDigest, MatchesTheKnownDigestOfAbc) {
    EXPECT_EQ(hexOf(bytesOf(KeyDigest("abc"))), "2AA17BAA76A4C4CD4B73A5F934B4CC1A");
}

TEST(KeyDigest, DependsOnEveryByteAndOnTheLength) {
    const auto base = KeyDigest("72806");
    EXPECT_NE(base, KeyDigest("72807"));
    EXPECT_NE(base, KeyDigest("7280"));
    EXPECT_NE(base, KeyDigest(std::string("72806") + '\0'));
    // A whole group of eight takes a padding group of its own.
    EXPECT_NE(KeyDigest("12345678"), KeyDigest("1234567"));
    EXPECT_EQ(base, KeyDigest("72806"));
}

// --- DES --------------------------------------------------------------------------------------

struct DesCase {
    cipher::DesBlock key, plain, enciphered;
};

// FIPS 81's example, the classic worked example, the variable-plaintext and the S-box known
// answer tests of NIST SP 800-17.
constexpr DesCase kDesCases[] = {
    {0x0123456789ABCDEF, 0x4E6F772069732074, 0x3FA40E8A984D4815},
    {0x133457799BBCDFF1, 0x0123456789ABCDEF, 0x85E813540F0AB405},
    {0x0101010101010101, 0x8000000000000000, 0x95F8A5E5DD31D900},
    {0x0101010101010101, 0x4000000000000000, 0xDD7F121CA5015619},
    {0x7CA110454A1A6E57, 0x01A1D6D039776742, 0x690F5B0D9A26939B},
    {0x0131D9619DC1376E, 0x5CD54CA83DEF57DA, 0x7A389D10354BD271},
    {0x07A1133E4A0B2686, 0x0248D43806F67172, 0x868EBB51CAB4599A},
    {0x3849674C2602319E, 0x51454B582DDF440A, 0x7178876E01F19B2A},
    {0x04B915BA43FEB5B6, 0x42FD443059577FA2, 0xAF37FB421F8C4095},
    {0x0113B970FD34F2CE, 0x059B5E0851CF143A, 0x86A560F10EC6D85B},
    {0x0170F175468FB5E6, 0x0756D8E0774761D2, 0x0CD3DA020021DC09},
    {0x43297FAD38E373FE, 0x762514B829BF486A, 0xEA676B2CB7DB2B7A},
    {0x07A7137045DA2A16, 0x3BDD119049372802, 0xDFD64A815CAF1A0F},
    {0x04689104C2FD3B2F, 0x26955F6835AF609A, 0x5C513C9C4886C088},
    {0x37D06BB516CB7546, 0x164D5E404F275232, 0x0A2AEEAE3FF4AB77},
    {0x1F08260D1AC2465E, 0x6B056E18759F5CCA, 0xEF1BF03E5DFA575A},
    {0x584023641ABA6176, 0x004BD6EF09176062, 0x88BF0DB6D70DEE56},
    {0x025816164629B007, 0x480D39006EE762F2, 0xA1F9915541020B56},
    {0x49793EBC79B3258F, 0x437540C8698F3CFA, 0x6FBF1CAFCFFD0556},
    {0x4FB05E1515AB73A7, 0x072D43A077075292, 0x2F22E49BAB7CA1AC},
    {0x49E95D6D4CA229BF, 0x02FE55778117F12A, 0x5A6B612CC26CCE4A},
    {0x018310DC409B26D6, 0x1D9D5C5018F728C2, 0x5F4C038ED12B2E41},
    {0x1C587F1C13924FEF, 0x305532286D6F295A, 0x63FAC0D034D9F793},
};

cipher::DesKey desKey(cipher::DesBlock value) {
    cipher::DesKey key{};
    cipher::storeBlock(value, key.data());
    return key;
}

TEST(Des, MatchesTheKnownAnswerVectorsBothWays) {
    for (const DesCase& c : kDesCases) {
        const cipher::DesSubkeys subkeys = cipher::desSubkeys(desKey(c.key));
        EXPECT_EQ(cipher::desEncrypt(c.plain, subkeys), c.enciphered) << std::hex << c.key;
        EXPECT_EQ(cipher::desDecrypt(c.enciphered, subkeys), c.plain) << std::hex << c.key;
    }
}

TEST(Des, TripleDesWithEqualKeysIsSingleDes) {
    for (const DesCase& c : kDesCases) {
        const cipher::TripleDes triple(desKey(c.key), desKey(c.key));
        EXPECT_EQ(triple.encrypt(c.plain), c.enciphered);
        EXPECT_EQ(triple.decrypt(c.enciphered), c.plain);
    }
}

TEST(Des, TripleDesIsEncryptDecryptEncrypt) {
    const cipher::DesKey key1 = desKey(0x0123456789ABCDEF), key2 = desKey(0x23456789ABCDEF01);
    const cipher::TripleDes triple(key1, key2);
    const auto sub1 = cipher::desSubkeys(key1), sub2 = cipher::desSubkeys(key2);
    const cipher::DesBlock plain = 0x5468652071756663;
    const cipher::DesBlock expected = cipher::desEncrypt(cipher::desDecrypt(cipher::desEncrypt(plain, sub1), sub2), sub1);
    EXPECT_EQ(triple.encrypt(plain), expected);
    EXPECT_EQ(triple.decrypt(expected), plain);
}

// --- Base64 -----------------------------------------------------------------------------------

TEST(Base64, RoundTripsTheStandardVectors) {
    const std::pair<std::string, std::string> cases[] = {
        {"", ""},         {"f", "Zg=="},         {"fo", "Zm8="},        {"foo", "Zm9v"},
        {"foob", "Zm9vYg=="}, {"fooba", "Zm9vYmE="}, {"foobar", "Zm9vYmFy"}, {"\xFB\xFF", "+/8="},
    };
    for (const auto& [bytes, text] : cases) {
        EXPECT_EQ(base64Encode(bytes), text);
        EXPECT_EQ(base64Decode(text), bytes) << text;
    }
}

TEST(Base64, PaddingEndsAGroupAndDecodingGoesOn) {
    EXPECT_EQ(base64Decode("Zg==Zm8=Zm9v"), "ffofoo");
    EXPECT_EQ(base64Decode("Zm9"), "fo");  // an unpadded last group keeps its whole bytes
}

TEST(Base64, LongTextsDecodeAcrossPieces) {
    std::string bytes;
    for (int i = 0; i < 300; ++i) bytes += static_cast<char>(i * 37 + 11);
    EXPECT_EQ(base64Decode(base64Encode(bytes)), bytes);
}

TEST(Base64, RefusesCharactersOutsideTheAlphabet) {
    // Outside "+".."z", and inside that range but not in the alphabet.
    for (const char bad : {' ', '*', '{', '~', '\r', '\x80', '-', '[', '@', '_', ':'}) {
        std::string text = "Zm9vYmFy";
        text[3] = bad;
        EXPECT_FALSE(base64Decode(text)) << static_cast<int>(bad);
    }
}

// --- Line format ------------------------------------------------------------------------------

std::string decoded(const std::string& line) { return base64Decode(line).value_or("<invalid>"); }

TEST(LineCipher, RoundTripsAndCountsBlocks) {
    const std::pair<std::size_t, std::size_t> sizes[] = {{0, 16}, {1, 16}, {7, 16}, {8, 24}, {15, 24}, {16, 32}, {119, 128}};
    for (const auto& [plainSize, encipheredSize] : sizes) {
        std::string plain;
        for (std::size_t i = 0; i < plainSize; ++i) plain += static_cast<char>('A' + i % 26);
        const std::string line = EncipherLine(plain, kIv);
        EXPECT_EQ(decoded(line).size(), encipheredSize) << plainSize;
        EXPECT_EQ(decoded(line).substr(0, 8), bytesOf(kIv));
        EXPECT_EQ(DecipherLine(line), plain) << plainSize;
    }
}

TEST(LineCipher, KeepsEveryByteValue) {
    std::string plain;
    for (int i = 0; i < 256; ++i) plain += static_cast<char>(i);
    EXPECT_EQ(DecipherLine(EncipherLine(plain, kIv)), plain);
}

// The enciphered bytes of one hand-made last block after the initial vector.
std::string lineWithLastBlock(std::array<std::uint8_t, 8> block) {
    const auto digest = KeyDigest("72806");
    cipher::DesKey key1{}, key2{};
    std::copy_n(digest.begin(), 8, key1.begin());
    std::copy_n(digest.begin() + 8, 8, key2.begin());
    const cipher::TripleDes des(key1, key2);
    std::string data = bytesOf(kIv);
    std::array<std::uint8_t, 8> out{};
    cipher::storeBlock(des.encrypt(cipher::loadBlock(block.data()) ^ cipher::loadBlock(kIv.data())), out.data());
    return base64Encode(data + bytesOf(out));
}

TEST(LineCipher, LastBlockCountsItsPlainBytes) {
    EXPECT_EQ(DecipherLine(lineWithLastBlock({'a', 'b', 'c', 'd', 'e', 'f', 'g', 0})), "");
    EXPECT_EQ(DecipherLine(lineWithLastBlock({'a', 'b', 'c', 'd', 'e', 'f', 'g', 3})), "abc");
    EXPECT_EQ(DecipherLine(lineWithLastBlock({'a', 'b', 'c', 'd', 'e', 'f', 'g', 7})), "abcdefg");
    EXPECT_EQ(DecipherLine(lineWithLastBlock({'a', 'b', 'c', 'd', 'e', 'f', 'g', 8})), "");
    EXPECT_EQ(DecipherLine(lineWithLastBlock({'a', 'b', 'c', 'd', 'e', 'f', 'g', 0xFF})), "");
}

TEST(LineCipher, DataShorterThanTwoBlocksIsInvalid) {
    const std::string valid = decoded(EncipherLine("abc", kIv));
    for (const std::size_t size : {0, 1, 8, 15}) EXPECT_EQ(DecipherLine(base64Encode(valid.substr(0, size))), "") << size;
}

TEST(LineCipher, IgnoresBytesAfterTheLastWholeBlock) {
    const std::string plain = "*12A#;1;3;1;245;";
    const std::string data = decoded(EncipherLine(plain, kIv));
    for (const std::string tail : {"x", "xyz", "1234567"}) EXPECT_EQ(DecipherLine(base64Encode(data + tail)), plain);
}

TEST(LineCipher, CharactersOutsideTheRangeMakeTheLineInvalid) {
    const std::string line = EncipherLine("*12A#;1;3;1;245;", kIv);
    for (const char bad : {' ', '!', '{', '~', '\t'}) {
        std::string damaged = line;
        damaged[5] = bad;
        EXPECT_EQ(DecipherLine(damaged), "") << static_cast<int>(bad);
    }
    EXPECT_EQ(DecipherLine(line + " "), "");
    EXPECT_EQ(DecipherLine("[scout]"), "");
}

TEST(LineCipher, WrongChainingGarblesOnlyTheFirstBlock) {
    const std::string plain = "0123456789abcdef";
    std::string data = decoded(EncipherLine(plain, kIv));
    data[0] = static_cast<char>(data[0] ^ 0x01);
    const std::string deciphered = DecipherLine(base64Encode(data));
    ASSERT_EQ(deciphered.size(), plain.size());
    EXPECT_EQ(deciphered[0], static_cast<char>('0' ^ 0x01));
    EXPECT_EQ(deciphered.substr(1), plain.substr(1));
}

// --- Against OpenSSL --------------------------------------------------------------------------

struct CommandResult {
    int status;
    std::string output;
};

CommandResult run(const std::string& command) {
    CommandResult result{-1, {}};
    FILE* pipe = ::popen((command + " 2>/dev/null").c_str(), "r");
    if (!pipe) return result;
    char buffer[4096];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) result.output.append(buffer, got);
    result.status = ::pclose(pipe);
    return result;
}

// OpenSSL 3 builds may keep the DES ciphers in the legacy provider only.
std::optional<std::string> opensslDesEdeCbc(const TempFolder& folder, const std::string& data, const std::string& ivHex) {
    const fs::path in = folder.write("openssl.in", data);
    const std::string base = "openssl enc -des-ede-cbc -nopad -K " + lineKeyHex() + " -iv " + ivHex + " -in '" +
                             in.string() + "'";
    for (const std::string providers : {"", " -provider legacy -provider default"}) {
        const CommandResult result = run(base + providers);
        if (result.status == 0 && result.output.size() == data.size()) return result.output;
    }
    return std::nullopt;
}

std::optional<std::string> opensslBase64(const TempFolder& folder, const std::string& data) {
    const fs::path in = folder.write("base64.in", data);
    const CommandResult result = run("openssl base64 -A -in '" + in.string() + "'");
    if (result.status != 0) return std::nullopt;
    return result.output;
}

// The plain line laid out as the format does before enciphering: whole blocks, then a last block
// with the remaining bytes, zero-filled, counted in its last byte.
std::string formatPadded(const std::string& plain) {
    const std::size_t rest = plain.size() % 8;
    std::string padded = plain + std::string(8 - rest, '\0');
    padded.back() = static_cast<char>(rest);
    return padded;
}

TEST(LineCipher, AgreesWithOpensslDesEdeCbc) {
    const TempFolder folder;
    const std::string plains[] = {
        "",
        "[scout]",
        "abcdefgh",
        "*12A#;1;3;1;245;",
        "a05SP-;2;1;2;1190;Battuta in salto, zona 5, ricezione scarsa del libero avversario \xE8 ok",
        std::string(119, 'x') + "\xE0\x01\x7F",
    };
    for (const std::string& plain : plains) {
        const auto enciphered = opensslDesEdeCbc(folder, formatPadded(plain), hexOf(bytesOf(kIv)));
        if (!enciphered) GTEST_SKIP() << "openssl cannot run des-ede-cbc here";
        const auto line = opensslBase64(folder, bytesOf(kIv) + *enciphered);
        ASSERT_TRUE(line);
        EXPECT_EQ(DecipherLine(*line), plain);
        EXPECT_EQ(EncipherLine(plain, kIv), *line);
    }
}

// --- Plain lines ------------------------------------------------------------------------------

std::string enciphered(const std::vector<std::string>& lines, const std::string& end = "\r\n") {
    std::string file;
    for (const std::string& line : lines) file += (line.empty() ? "" : EncipherLine(line, kIv)) + end;
    return file;
}

using Lines = std::vector<std::string>;

TEST(PlainScoutLines, PlainFilesAreReadAsStored) {
    const TempFolder folder;
    for (const std::string firstLine : {"[match]", "[MATCH]", "[Match]x", "[3kestralinescout]", "[3KESTRALINESCOUT] v2",
                                        "DS", "ds;1;2"}) {
        const std::string cipherLine = EncipherLine("[scout]", kIv);
        const fs::path file = folder.write("pkg/scout.txt", firstLine + "\r\n" + cipherLine + "\r\n");
        EXPECT_EQ(PlainScoutLines(file), Lines({firstLine, cipherLine})) << firstLine;
        EXPECT_EQ(DecipherToCopy(file, folder / "private"), std::nullopt) << firstLine;
    }
}

// The plain lines stay in memory: neither the package folder nor any other gets a copy.
TEST(PlainScoutLines, DeciphersInMemoryAndWritesNothing) {
    const TempFolder folder;
    const fs::path file = folder.write(
        "pkg/scout.txt", enciphered({"[match]", "Partita 1;", "", "[scout]", "*12A#;1;3;1;245;"}) + "not base64!\r\n");
    const auto before = testing::snapshot(folder.path());
    EXPECT_EQ(PlainScoutLines(file), Lines({"[match]", "Partita 1;", "", "[scout]", "*12A#;1;3;1;245;", ""}));
    EXPECT_EQ(testing::differences(before, testing::snapshot(folder.path())), "");
}

// The fixture was enciphered line by line with the openssl command-line tool, not with this code.
TEST(PlainScoutLines, DeciphersAFileEncipheredElsewhere) {
    const auto lines = PlainScoutLines(testing::fixture("cipher/enciphered_scout.txt"));
    ASSERT_TRUE(lines);
    EXPECT_EQ(*lines, splitTextLines(readFile(testing::fixture("cipher/plain_scout.txt"))));
}

TEST(PlainScoutLines, LinesEndedByLfAloneReadAlike) {
    const TempFolder folder;
    const fs::path file = folder.write("pkg/scout.txt", enciphered({"[scout]", "", "", "a01S#;1"}, "\n"));
    EXPECT_EQ(PlainScoutLines(file), Lines({"[scout]", "", "", "a01S#;1"}));
}

TEST(PlainScoutLines, WhatIsNotARegularFileGivesNothing) {
    const TempFolder folder;
    fs::create_directories(folder / "pkg" / "folder.txt");
    ASSERT_EQ(::mkfifo((folder / "pkg" / "fifo.txt").c_str(), 0600), 0);
    const testing::Watchdog watchdog("reading a FIFO as a scout file");
    for (const char* name : {"missing.txt", "folder.txt", "fifo.txt"}) {
        EXPECT_EQ(PlainScoutLines(folder / "pkg" / name), std::nullopt) << name;
        EXPECT_EQ(DecipherToCopy(folder / "pkg" / name, folder / "private"), std::nullopt) << name;
    }
}

// For a consumer that needs a file: private, one per package and instance, and gone with its owner.
TEST(DecipherToCopy, PrivateCopyOutsideThePackageRemovedWithItsOwner) {
    const TempFolder folder;
    const fs::path file = folder.write("pkg/scout.txt", enciphered({"[scout]", "", "*12A#;1"}) + "bad line\n");
    const auto package = testing::snapshot(folder / "pkg");
    const auto privateCopies = privateFolder(folder / "runtime", "corvane-player");
    ASSERT_TRUE(privateCopies);
    fs::path first;
    {
        const auto copy = DecipherToCopy(file, *privateCopies);
        const auto other = DecipherToCopy(file, *privateCopies);
        ASSERT_TRUE(copy && other);
        first = copy->path();
        EXPECT_EQ(first.parent_path(), *privateCopies);
        EXPECT_NE(first, other->path());
        EXPECT_EQ(readFile(first), "[scout]\r\n\r\n*12A#;1\r\n\r\n");
        EXPECT_EQ(fs::status(first).permissions(), fs::perms::owner_read | fs::perms::owner_write);
        EXPECT_EQ(testing::differences(package, testing::snapshot(folder / "pkg")), "");
    }
    EXPECT_FALSE(fs::exists(first));
    EXPECT_TRUE(fs::is_empty(*privateCopies));
}

}  // namespace
}  // namespace corvane
