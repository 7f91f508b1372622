#include "codes/check_combo_box_qt.h"

#include <QListWidget>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace corvane {
namespace {

struct SetCombo : ::testing::Test {
    QWidget window;
    TCheckComboBoxQT* combo = new TCheckComboBoxQT(&window);
    void SetUp() override {
        window.resize(400, 900);
        combo->setCheckAllOnFirst(true);
        combo->setItems({"Tutti", "1", "2", "3"});
        window.show();
    }
};

TEST_F(SetCombo, ShowsTheTicksAndAppliesTheAllRule) {
    EXPECT_EQ(combo->text(), "Tutti");
    QSignalSpy changes(combo, &TCheckComboBoxQT::changed);
    combo->toggleItem(2);
    combo->toggleItem(3);
    EXPECT_EQ(combo->text(), "2,3");
    combo->toggleItem(0);
    EXPECT_EQ(combo->checkedCount(), 4);
    EXPECT_EQ(combo->text(), "Tutti");
    EXPECT_EQ(changes.count(), 3);
    // The list shows the same ticks.
    const auto* list = combo->findChild<QListWidget*>();
    ASSERT_TRUE(list);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(list->item(i)->checkState(), Qt::Checked) << i;
    combo->setChecked(1, false);
    EXPECT_EQ(changes.count(), 3);  // a tick from code reports no change
}

TEST_F(SetCombo, DropDownLinesOutsideThreeToTenAreIgnored) {
    combo->setDropDownLines(2);
    EXPECT_EQ(combo->dropDownLines(), 3);
    combo->setDropDownLines(11);
    EXPECT_EQ(combo->dropDownLines(), 3);
    combo->setDropDownLines(7);
    EXPECT_EQ(combo->dropDownLines(), 7);
}

TEST_F(SetCombo, OpensBelowOrAboveByItsPlaceOnTheScreen) {
    combo->move(10, 10);
    combo->dropDown();
    ASSERT_TRUE(combo->droppedDown());
    const QWidget* popup = combo->findChild<QListWidget*>()->window();
    EXPECT_GE(popup->y(), combo->mapToGlobal(QPoint(0, combo->height())).y());
    EXPECT_EQ(popup->width(), combo->width());
    QTest::keyClick(combo->findChild<QListWidget*>(), Qt::Key_Escape);
    EXPECT_FALSE(combo->droppedDown());

    combo->move(10, 700);
    combo->dropDown();
    EXPECT_LT(popup->y(), combo->mapToGlobal(QPoint(0, 0)).y());
    EXPECT_EQ(popup->width(), combo->width() - 18);
}

}  // namespace
}  // namespace corvane
