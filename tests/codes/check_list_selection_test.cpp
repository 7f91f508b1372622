#include "codes/check_list_selection.h"

#include <algorithm>

#include <gtest/gtest.h>

namespace corvane {
namespace {

struct SetFilter : ::testing::Test {
    CheckListSelection selection{true};
    std::vector<std::string> seenAtChange;
    std::function<void()> onChange = [this] {
        std::string ticks;
        for (int i = 0; i < static_cast<int>(selection.items().size()); ++i) ticks += selection.checked(i) ? '1' : '0';
        seenAtChange.push_back(ticks);
    };
    void SetUp() override { selection.setItems({"Tutti", "1", "2", "3"}); }
};

TEST_F(SetFilter, NothingTickedShowsTheFirstCaption) {
    EXPECT_EQ(selection.summary(), "Tutti");
    EXPECT_EQ(selection.checkedCount(), 0);
    selection.toggleByUser(2, onChange);
    EXPECT_EQ(selection.summary(), "2");
    selection.toggleByUser(1, onChange);
    EXPECT_EQ(selection.summary(), "1,2");  // list order, not tick order
    selection.toggleByUser(2, onChange);
    selection.toggleByUser(1, onChange);
    EXPECT_EQ(selection.summary(), "Tutti");
}

TEST_F(SetFilter, TheFirstItemTicksAllAndUntickingAnotherUnticksIt) {
    selection.toggleByUser(0, onChange);
    EXPECT_EQ(selection.checkedCount(), 4);
    EXPECT_EQ(selection.summary(), "Tutti");
    // The change is reported once the rule has ticked the rest: a filter made at that moment
    // keeps every item.
    EXPECT_EQ(seenAtChange.back(), "1111");
    selection.toggleByUser(3, onChange);
    EXPECT_EQ(seenAtChange.back(), "0110");
    EXPECT_FALSE(selection.checked(0));
    EXPECT_EQ(selection.summary(), "1,2");
}

TEST_F(SetFilter, TheAllItemAtItsBoundaries) {
    // One user click after another: the item clicked, then the ticks and the summary shown.
    const struct {
        int clicked;
        const char* ticks;
        const char* summary;
    } steps[] = {
        {1, "0100", "1"},
        {2, "0110", "1,2"},
        {3, "0111", "1,2,3"},   // every item but "all" ticked: "all" stays unticked
        {0, "1111", "Tutti"},
        {2, "0101", "1,3"},     // every item ticked, then one unticked
        {2, "0111", "1,2,3"},
        {0, "1111", "Tutti"},
        {0, "0111", "1,2,3"},   // unticking "all" leaves the others as they are
        {1, "0011", "2,3"},
        {2, "0001", "3"},
        {3, "0000", "Tutti"},   // every item unticked
    };
    for (const auto& step : steps) {
        ASSERT_EQ(selection.toggleByUser(step.clicked, onChange), CheckListSelection::Outcome::Changed);
        EXPECT_EQ(seenAtChange.back(), step.ticks) << "after item " << step.clicked;
        EXPECT_EQ(selection.summary(), step.summary) << "after item " << step.clicked;
        EXPECT_EQ(selection.checkedCount(), static_cast<int>(std::count(step.ticks, step.ticks + 4, '1')));
    }
}

TEST_F(SetFilter, CodeTicksAndTheMenuCommands) {
    selection.setChecked(1, true);
    EXPECT_TRUE(seenAtChange.empty());
    EXPECT_EQ(selection.summary(), "1");
    selection.deselectAll(onChange);
    EXPECT_EQ(selection.checkedCount(), 0);
    EXPECT_EQ(selection.summary(), "Tutti");
    selection.selectAll(onChange);
    EXPECT_EQ(selection.checkedCount(), 4);
    EXPECT_EQ(selection.summary(), "Tutti");
    EXPECT_EQ(seenAtChange, (std::vector<std::string>{"0000", "1111"}));
}

TEST(CheckListSelection, WithoutTheAllRuleEveryItemIsItsOwnAndRoomIsLimited) {
    CheckListSelection selection;
    selection.setItems({std::string(200, 'a'), std::string(60, 'b'), "c"});
    EXPECT_EQ(selection.toggleByUser(0, {}), CheckListSelection::Outcome::Changed);
    EXPECT_EQ(selection.toggleByUser(1, {}), CheckListSelection::Outcome::NoRoom);
    EXPECT_FALSE(selection.checked(1));
    EXPECT_EQ(selection.toggleByUser(2, {}), CheckListSelection::Outcome::Changed);
    EXPECT_EQ(selection.summary(), std::string(200, 'a') + ",c");
    selection.selectAll({});
    EXPECT_EQ(selection.checkedCount(), 3);
    EXPECT_EQ(selection.toggleByUser(7, {}), CheckListSelection::Outcome::Ignored);
}

}  // namespace
}  // namespace corvane
