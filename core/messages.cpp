#include "core/messages.h"

#include "core/files.h"
#include "core/text.h"

namespace corvane {
namespace fs = std::filesystem;

int ReadLanguageNumber(const fs::path& systemFolder) {
    const auto lines = readTextLines(systemFolder / "Language.cfg");
    const std::string first = lines.empty() ? std::string() : lines.front();
    if (first.empty()) return 1;
    return textToInt(first, 1);
}

fs::path catalogueFile(const fs::path& systemFolder, int language) {
    return systemFolder / ("Messages" + std::to_string(language) + ".txt");
}

std::map<int, std::string> parseCatalogue(const std::string& content) {
    std::map<int, std::string> texts;
    for (const std::string& line : splitTextLines(content)) {
        if (line.empty() || line.front() == '#') continue;
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos) continue;
        const auto number = parseWholeNumber(line.substr(0, equals));
        if (number && *number > 0) texts[static_cast<int>(*number)] = line.substr(equals + 1);
    }
    return texts;
}

MessageCatalogue::MessageCatalogue(fs::path systemFolder) : systemFolder_(std::move(systemFolder)) {}

const MessageCatalogue::Texts* MessageCatalogue::textsOf(int language) const {
    auto found = loaded_.find(language);
    if (found == loaded_.end()) {
        std::optional<Texts> texts;
        if (const auto content = readWholeFile(catalogueFile(systemFolder_, language)))
            texts = parseCatalogue(*content);
        found = loaded_.emplace(language, std::move(texts)).first;
    }
    return found->second ? &*found->second : nullptr;
}

std::optional<std::string> MessageCatalogue::LoadSDll(int number, int language) const {
    const Texts* texts = textsOf(language);
    if (!texts && fileExists(catalogueFile(systemFolder_, language))) return std::nullopt;
    if (!texts) texts = textsOf(1);
    if (!texts) return std::nullopt;
    const auto text = texts->find(number);
    return text == texts->end() ? std::string(kMissingMarker) : text->second;
}

Messages::Messages(const MessageCatalogue& catalogue, MessageBoxPresenter& boxes, const int& languageNumber)
    : catalogue_(catalogue), boxes_(boxes), languageNumber_(languageNumber) {}

std::string Messages::MessageText(int number) const {
    std::string text = catalogue_.LoadSDll(number, languageNumber_).value_or(kLibraryErrorText);
    if (text == kMissingMarker) {
        text = kMissingText;
        boxes_.ShowMessageBox("Missing description. Try to reinstall program!!!", "Error", MessageBoxOk);
    }
    for (char& c : text)
        if (c == '_') c = '\r';
    return text;
}

std::string fillArguments(std::string text, std::initializer_list<std::string> arguments) {
    std::size_t from = 0;
    for (const std::string& argument : arguments) {
        const std::size_t at = text.find("%s", from);
        if (at == std::string::npos) break;
        text.replace(at, 2, argument);
        from = at + argument.size();
    }
    return text;
}

}  // namespace corvane
