#pragma once

#include <filesystem>
#include <initializer_list>
#include <map>
#include <optional>
#include <string>

#include "core/message_box.h"

namespace corvane {

inline constexpr const char* kMissingMarker = "-@-@-@-#-#-#";
inline constexpr const char* kMissingText = "@missing@";
inline constexpr const char* kLibraryErrorText = "DllError!!!";

// LanguageNumber from the first line of Language.cfg in the system folder: an empty line, a line
// that is no integer or a missing file give 1.
int ReadLanguageNumber(const std::filesystem::path& systemFolder);

// The message catalogue: one UTF-8 text file a language in the system folder, "Messages<N>.txt",
// with one "number=text" a line ("#" starts a comment line; "_" in a text stands for a line
// break). A language without its own catalogue reads the English one (1).
std::filesystem::path catalogueFile(const std::filesystem::path& systemFolder, int language);

class MessageCatalogue {
public:
    explicit MessageCatalogue(std::filesystem::path systemFolder);

    // The stored text of a number in a language, "-@-@-@-#-#-#" for a number the catalogue does
    // not hold, nothing when no catalogue can be read (the call has failed).
    std::optional<std::string> LoadSDll(int number, int language) const;

private:
    using Texts = std::map<int, std::string>;
    const Texts* textsOf(int language) const;

    std::filesystem::path systemFolder_;
    mutable std::map<int, std::optional<Texts>> loaded_;
};

// MessageText by number in the current language, with the failure markers and the "_" rule.
class Messages {
public:
    Messages(const MessageCatalogue& catalogue, MessageBoxPresenter& boxes, const int& languageNumber);
    // The language is followed, not copied: a temporary number would be gone at the first message.
    Messages(const MessageCatalogue&, MessageBoxPresenter&, const int&&) = delete;

    std::string MessageText(int number) const;

private:
    const MessageCatalogue& catalogue_;
    MessageBoxPresenter& boxes_;
    const int& languageNumber_;
};

// The text with each "%s" replaced by the next argument; extra arguments are dropped, and a
// "%s" inside an argument is not filled in.
std::string fillArguments(std::string text, std::initializer_list<std::string> arguments);

// Parses a catalogue's text; exposed for tools that check catalogues.
std::map<int, std::string> parseCatalogue(const std::string& content);

}  // namespace corvane
