#include "codes/clear_text_layout.h"

#include <vector>

namespace corvane {

namespace {

bool continuesCharacter(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// The first `characters` characters of a UTF-8 text.
std::string_view firstCharacters(std::string_view text, std::size_t characters) {
    std::size_t end = 0;
    for (std::size_t n = 0; n < characters && end < text.size(); ++n) {
        ++end;
        while (end < text.size() && continuesCharacter(text[end])) ++end;
    }
    return text.substr(0, end);
}

std::size_t characterCount(std::string_view text) {
    std::size_t count = 0;
    for (const char c : text) count += continuesCharacter(c) ? 0 : 1;
    return count;
}

std::vector<std::string_view> words(std::string_view text) {
    std::vector<std::string_view> out;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t start = text.find_first_not_of(' ', at);
        if (start == std::string_view::npos) break;
        const std::size_t end = std::min(text.find(' ', start), text.size());
        out.push_back(text.substr(start, end - start));
        at = end;
    }
    return out;
}

// A word the package writes in capitals, as surnames are written: "DE", "LUCA", "D'ANGELO".
bool inCapitals(std::string_view word) {
    bool upper = false;
    for (const char c : word) {
        if (c >= 'a' && c <= 'z') return false;
        upper = upper || (c >= 'A' && c <= 'Z');
    }
    return upper && word.size() > 1;
}

std::string joined(const std::vector<std::string_view>& pieces) {
    std::string out;
    for (const std::string_view piece : pieces) out += (out.empty() ? "" : " ") + std::string(piece);
    return out;
}

// How far a layout had to go: the lower, the more of the description is read.
enum class Cut { None, Rest, Event, Effect };

struct Fitted {
    std::string text;
    Cut cut = Cut::None;
};

std::string withLeadingBlank(std::string_view text) { return text.empty() ? std::string() : " " + std::string(text); }

// The player's forms from the longest to the shortest: those the extension is kept whole with,
// and those it is cut beside.
struct PlayerForms {
    std::vector<std::string> whole;
    std::vector<std::string> beforeACut;
};

PlayerForms playerForms(const CodeDescriptionParts& parts) {
    PlayerForms forms;
    const auto add = [](std::vector<std::string>& list, std::string form) {
        if (list.empty() || list.back() != form) list.push_back(std::move(form));
    };
    if (!parts.team.empty()) add(forms.whole, parts.team + ", " + parts.player);
    if (!parts.player.empty()) {
        add(forms.whole, parts.player);
        add(forms.whole, ShortPlayerName(parts.player));
        add(forms.beforeACut, ShortPlayerName(parts.player));
        for (std::size_t letters = characterCount(parts.player); letters >= 3; --letters)
            add(forms.beforeACut, ShortPlayerName(parts.player, letters));
    }
    if (!parts.shirtNumber.empty()) add(forms.beforeACut, "#" + parts.shirtNumber);
    if (forms.beforeACut.empty()) forms.beforeACut.emplace_back();
    if (forms.whole.empty()) forms.whole.push_back(forms.beforeACut.front());
    return forms;
}

Fitted fitted(const CodeDescriptionParts& parts, int room, const TextMeasure& measure) {
    if (!parts.whole.empty()) {
        const std::string text = FitText(parts.whole, room, measure);
        return {text, text == parts.whole ? Cut::None : Cut::Effect};
    }
    const auto head = [&](const std::string& player) {
        return std::string(trimBlanks(player + withLeadingBlank(parts.event) + withLeadingBlank(parts.effect)));
    };
    const PlayerForms forms = playerForms(parts);
    for (const std::string& player : forms.whole)
        if (measure(head(player) + parts.rest) <= room) return {head(player) + parts.rest, Cut::None};
    const int dots = measure("...");
    // The extension says less than who it was: it is cut before the surname is.
    for (const std::string& player : forms.beforeACut) {
        if (measure(head(player) + parts.rest) <= room) return {head(player) + parts.rest, Cut::None};
        if (!parts.rest.empty() && measure(head(player)) <= room - dots)
            return {FitText(head(player) + parts.rest, room, measure), Cut::Rest};
    }
    const std::string& player = forms.beforeACut.back();
    const std::string effect = withLeadingBlank(parts.effect);
    if (!effect.empty() && measure(effect) + dots <= room) {
        const std::string event(trimBlanks(player + withLeadingBlank(parts.event)));
        return {FitText(event, room - measure(effect), measure) + effect, Cut::Event};
    }
    return {FitText(head(player) + parts.rest, room, measure), Cut::Effect};
}

}  // namespace

std::string ShortPlace(std::string_view time, std::string_view set) {
    std::string_view shownTime = trimBlanks(time);
    // "0.00.08" is second 8 of the first hour: the hour says nothing then.
    if (shownTime.starts_with("0.") && shownTime.size() > 2 && shownTime.find('.', 2) != std::string_view::npos)
        shownTime.remove_prefix(2);
    if (shownTime.starts_with("0") && shownTime.size() > 1 && shownTime[1] != '.') shownTime.remove_prefix(1);
    const std::string_view shownSet = trimBlanks(set);
    if (shownTime.empty() || shownSet.empty()) return std::string(shownTime.empty() ? shownSet : shownTime);
    return std::string(shownTime) + " " + std::string(shownSet);
}

std::string ShortPlayerName(std::string_view name, std::size_t surnameLetters) {
    const std::vector<std::string_view> all = words(name);
    if (all.empty()) return {};
    std::vector<std::string_view> surname;
    std::vector<std::string_view> given;
    for (const std::string_view word : all) (inCapitals(word) ? surname : given).push_back(word);
    if (surname.empty() || given.empty()) {
        // No capitals to tell them apart: the first word is the first name.
        given.assign(all.begin(), all.begin() + 1);
        surname.assign(all.begin() + 1, all.end());
        if (surname.empty()) std::swap(given, surname);
    }
    std::string last = joined(surname);
    if (surnameLetters > 0 && characterCount(last) > surnameLetters)
        last = std::string(trimBlanks(firstCharacters(last, surnameLetters))) + ".";
    if (given.empty()) return last;
    return std::string(firstCharacters(given.front(), 1)) + ". " + last;
}

ClearTextLine LayOutClearText(const CodeDescriptionParts& parts, std::string_view place, int pixelWidth,
                              const TextMeasure& measureText, const TextMeasure& measurePlace) {
    const Fitted alone = fitted(parts, pixelWidth, measureText);
    if (place.empty()) return {alone.text, {}};
    const int room = pixelWidth - measurePlace(place) - kPlaceGap;
    if (room <= 0) return {alone.text, {}};
    Fitted beside = fitted(parts, room, measureText);
    // The place gives way only where it would cost the event or its effect.
    if (beside.cut > Cut::Rest && (alone.cut < beside.cut || alone.text.size() > beside.text.size()))
        return {alone.text, {}};
    return {std::move(beside.text), std::string(place)};
}

}  // namespace corvane
