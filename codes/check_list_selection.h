#pragma once

#include <functional>
#include <string>
#include <vector>

namespace corvane {

// The ticks of a check-list combo box and the summary its edit box shows: the ticked captions in
// list order joined by ","; the first caption alone when it means "all" and is ticked, or when
// nothing is ticked. Texts are UTF-8 (captions come from messages).
class CheckListSelection {
public:
    static constexpr std::size_t kSummaryRoom = 256;

    explicit CheckListSelection(bool checkAllOnFirst = false) : checkAllOnFirst_(checkAllOnFirst) {}

    void setCheckAllOnFirst(bool on) { checkAllOnFirst_ = on; }
    bool checkAllOnFirst() const { return checkAllOnFirst_; }

    // New choices: every tick cleared.
    void setItems(std::vector<std::string> items);
    const std::vector<std::string>& items() const { return items_; }

    bool checked(int index) const;
    // Sets a tick from code: the summary follows, no change is reported.
    void setChecked(int index, bool on);
    int checkedCount() const;
    const std::string& summary() const { return summary_; }

    enum class Outcome { Changed, NoRoom, Ignored };
    // The user ticks or unticks an item. onChange runs after the "all" rule of the first item is
    // applied, so it sees the ticks the list shows. A tick that would make the summary reach 256
    // characters is refused.
    Outcome toggleByUser(int index, const std::function<void()>& onChange);
    void selectAll(const std::function<void()>& onChange);
    void deselectAll(const std::function<void()>& onChange);

private:
    void setAll(bool ticked, const std::function<void()>& onChange);
    void applyAllRule(int toggledIndex, bool ticked);
    std::string summaryOf(const std::vector<bool>& ticks) const;
    void rebuildSummary() { summary_ = summaryOf(ticks_); }

    bool checkAllOnFirst_;
    std::vector<std::string> items_;
    std::vector<bool> ticks_;
    std::string summary_;
};

}  // namespace corvane
