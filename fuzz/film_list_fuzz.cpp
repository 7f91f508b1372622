// FilmList.cfg of a package folder. The folder holds two films, so lines that name them (in any
// spelling) are kept.

#include <string>

#include "fuzz/fuzz_support.h"
#include "scout/packages.h"

namespace {

const std::filesystem::path& packageFolder() {
    static const std::filesystem::path folder = [] {
        std::filesystem::path made = corvane::fuzz::PrivateFolder::instance().path() / "Package";
        std::filesystem::create_directories(made);
        corvane::fuzz::writeInput(made / "Film01.MPG", "film");
        corvane::fuzz::writeInput(made / "Film02.mpg", "film");
        return made;
    }();
    return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text = corvane::fuzz::asText(data, size);
    const char* captureCard = corvane::fuzz::takeChoice(text, 2) == 1 ? "CUSTOM2" : "";
    corvane::fuzz::writeInput(packageFolder() / "FilmList.cfg", text);
    const std::vector<std::string> films = corvane::readFilmList(packageFolder(), captureCard);
    (void)films;
    return 0;
}
