#include "codes/code_list_rules.h"

#include <algorithm>
#include <cctype>

#include "core/sport.h"
#include "core/text.h"

namespace corvane {

std::optional<int> codeSecond(const CodeTable& table, int tableRow) {
    if (tableRow < 1 || tableRow >= table.RowCount()) return std::nullopt;
    return parseIntInRange(table.Cell(VideoSec, tableRow), -kCodeSecondLimit, kCodeSecondLimit);
}

std::optional<PlayTarget> playTargetOf(const CodeTable& table, int tableRow, int preRollSeconds, bool synthesisMode) {
    const auto second = codeSecond(table, tableRow);
    if (!second) return std::nullopt;
    const int preRoll = synthesisMode ? 0 : std::clamp(preRollSeconds, -kOffsetLimit, kOffsetLimit);
    return PlayTarget{std::string(table.Cell(Film, tableRow)), std::max(0, *second - preRoll)};
}

bool isActionCode(std::string_view code) {
    if (code.size() < 6 || (code[0] != '*' && code[0] != 'a')) return false;
    const std::string_view player = code.substr(1, 2);
    const bool number = player == "$$" || (parseWholeNumber(player).value_or(-1) >= 0);
    return number && kActionLetters.find(code[3]) != std::string_view::npos &&
           kEvaluationSymbols.find(code[5]) != std::string_view::npos;
}

std::vector<std::string> setComboItems(std::string_view sport, const std::string& allText,
                                       const std::string& extraPeriodText) {
    std::vector<std::string> items{allText, "1", "2"};
    switch (sportKind(sport)) {
        case SportKind::Volleyball: items.insert(items.end(), {"3", "4", "5"}); break;
        case SportKind::Basketball: items.insert(items.end(), {"3", "4", extraPeriodText}); break;
        case SportKind::TwoPeriods: items.push_back(extraPeriodText); break;
        case SportKind::TwoPeriodsNoExtra:
        case SportKind::Unknown: break;
    }
    return items;
}

std::string SetFilterText(const std::vector<std::pair<std::string, bool>>& items, std::string_view sport,
                          const std::string& extraPeriodText) {
    std::string filter;
    for (std::size_t i = 1; i < items.size(); ++i) {
        const auto& [caption, ticked] = items[i];
        if (!ticked || caption.empty()) continue;
        // The extra period counts as the one after the last regular period: 5 after basketball's
        // four, 3 after the two of the other sports (its caption's first letter matches no set).
        if (caption == extraPeriodText && i == items.size() - 1 && !isVolleyball(sport))
            filter += sportKind(sport) == SportKind::Basketball ? "5;" : "3;";
        else
            filter += caption.substr(0, 1) + ";";
    }
    return filter;
}

namespace {
constexpr int kScrollBarRoom = 20;
}  // namespace

int codeListWidth(bool clearText, int screenWidth, std::string_view sport) {
    if (!clearText) {
        // At least 170, and room for the code, time and set columns and the scroll bar: a narrower
        // list would hide time and set behind a horizontal scroll.
        const int columns = screenWidth < 1024 ? 58 + 47 + 25 : isVolleyball(sport) ? 173 + 52 + 27 : 140 + 51 + 30;
        return std::max(170, columns + kScrollBarRoom);
    }
    return std::max(screenWidth * 20 / 100, isVolleyball(sport) ? 270 : 240);
}

}  // namespace corvane
