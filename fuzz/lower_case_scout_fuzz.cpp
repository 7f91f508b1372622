// The lower-case scout file of the other sports, plain. The header pass of the package list
// reads the same file.

#include "fuzz/fuzz_support.h"
#include "scout/scout_readers.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::filesystem::path folder = corvane::fuzz::PrivateFolder::instance().path();
    const std::filesystem::path file = corvane::fuzz::writeInput(folder / "scout.txt", corvane::fuzz::asText(data, size));
    static corvane::CodeTable table;
    static corvane::MatchCompanions match;
    corvane::ReadLowerCaseScout(file, false, {table, match});
    corvane::ReadMatchSection(file, match);
    return 0;
}
