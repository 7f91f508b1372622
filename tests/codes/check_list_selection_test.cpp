#include "codes/check_list_selection.h"

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
