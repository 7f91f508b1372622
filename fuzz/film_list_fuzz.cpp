// FilmList.cfg of a package folder. The folder holds two films, so lines that name them (in any
// spelling) are kept; whatever the lines say, every film kept lies inside the package.

#include <string>

#include "core/files.h"

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
    const corvane::FilmList list = corvane::readFilmList(corvane::ContainedFolder(packageFolder()), captureCard);
    const std::string inside = packageFolder().string() + "/";
    for (const std::string& film : list.films)
        if (film.compare(0, inside.size(), inside) != 0 || film.find("/../") != std::string::npos) __builtin_trap();
    return 0;
}
