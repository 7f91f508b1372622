#include "codes/check_list_selection.h"

#include <algorithm>

namespace corvane {

void CheckListSelection::setItems(std::vector<std::string> items) {
    items_ = std::move(items);
    ticks_.assign(items_.size(), false);
    rebuildSummary();
}

bool CheckListSelection::checked(int index) const {
    return index >= 0 && index < static_cast<int>(ticks_.size()) && ticks_[static_cast<std::size_t>(index)];
}

void CheckListSelection::setChecked(int index, bool on) {
    if (index < 0 || index >= static_cast<int>(ticks_.size())) return;
    ticks_[static_cast<std::size_t>(index)] = on;
    rebuildSummary();
}

int CheckListSelection::checkedCount() const {
    return static_cast<int>(std::count(ticks_.begin(), ticks_.end(), true));
}

std::string CheckListSelection::summaryOf(const std::vector<bool>& ticks) const {
    if (items_.empty()) return {};
    if (checkAllOnFirst_ && ticks.front()) return items_.front();
    std::string text;
    for (std::size_t i = 0; i < items_.size(); ++i) {
        if (!ticks[i]) continue;
        if (!text.empty()) text += ',';
        text += items_[i];
    }
    return text.empty() ? items_.front() : text;
}

CheckListSelection::Outcome CheckListSelection::toggleByUser(int index, const std::function<void()>& onChange) {
    if (index < 0 || index >= static_cast<int>(ticks_.size())) return Outcome::Ignored;
    const auto at = static_cast<std::size_t>(index);
    std::vector<bool> ticks = ticks_;
    ticks[at] = !ticks[at];
    if (ticks[at]) {
        // The room is for the captions as listed, whatever the "all" rule then shows.
        std::string listed;
        for (std::size_t i = 0; i < items_.size(); ++i)
            if (ticks[i]) listed += (listed.empty() ? "" : ",") + items_[i];
        if (listed.size() >= kSummaryRoom) return Outcome::NoRoom;
    }
    ticks_ = std::move(ticks);
    applyAllRule(index, ticks_[at]);
    // Reported once the ticks are settled: a handler that filters by them must not see "all"
    // ticked beside items that are about to be ticked.
    if (onChange) onChange();
    return Outcome::Changed;
}

void CheckListSelection::applyAllRule(int toggledIndex, bool ticked) {
    if (checkAllOnFirst_ && !ticks_.empty()) {
        if (!ticked && toggledIndex != 0) ticks_.front() = false;
        else if (ticks_.front()) std::fill(ticks_.begin(), ticks_.end(), true);
    }
    rebuildSummary();
}

void CheckListSelection::selectAll(const std::function<void()>& onChange) { setAll(true, onChange); }

void CheckListSelection::deselectAll(const std::function<void()>& onChange) { setAll(false, onChange); }

void CheckListSelection::setAll(bool ticked, const std::function<void()>& onChange) {
    std::fill(ticks_.begin(), ticks_.end(), ticked);
    applyAllRule(0, ticked);
    if (onChange) onChange();
}

}  // namespace corvane
