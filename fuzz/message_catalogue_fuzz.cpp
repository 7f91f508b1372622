// A message catalogue of a disc's System folder, parsed and then read as the windows read it:
// every number it holds, shown with its line breaks, and one it cannot hold.

#include <map>
#include <cstdlib>
#include <string>

#include "core/messages.h"
#include "fuzz/fuzz_support.h"

namespace {

class NoBoxes : public corvane::MessageBoxPresenter {
public:
    int ShowMessageBox(const std::string&, const std::string&, int) override { return 0; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string content(corvane::fuzz::asText(data, size));
    const std::map<int, std::string> texts = corvane::parseCatalogue(content);
    std::size_t total = 0;
    for (const auto& [number, text] : texts) total += text.size();
    if (total > content.size()) std::abort();

    const std::filesystem::path system = corvane::fuzz::PrivateFolder::instance().path();
    corvane::fuzz::writeInput(corvane::catalogueFile(system, 1), content);
    const corvane::MessageCatalogue catalogue(system);
    NoBoxes boxes;
    const int language = 1;
    const corvane::Messages messages(catalogue, boxes, language);
    for (const auto& [number, text] : texts) (void)messages.MessageText(number);
    (void)messages.MessageText(0);  // never held: numbers start at 1
    return 0;
}
