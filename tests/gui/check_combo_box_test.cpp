#include "codes/check_combo_box_qt.h"

#include <QLineEdit>
#include <QListWidget>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QToolButton>
#include <QTest>

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace corvane {
namespace {

bool waitUntil(const std::function<bool()>& done) {
    for (int n = 0; n < 50 && !done(); ++n) QTest::qWait(20);
    return done();
}

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

// Clicks in the opened list where a coach puts them: on an item's small box or on its text.
struct SetComboClicks : SetCombo {
    QListWidget* list = nullptr;
    void SetUp() override {
        SetCombo::SetUp();
        combo->move(10, 10);
        auto* edit = combo->findChild<QLineEdit*>();
        QTest::mouseClick(edit, Qt::LeftButton, {}, edit->rect().center());
        ASSERT_TRUE(combo->droppedDown());
        list = combo->findChild<QListWidget*>();
    }
    QRect boxRect(int index) const {
        QStyleOptionViewItem option;
        option.initFrom(list);
        option.rect = list->visualItemRect(list->item(index));
        option.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
        option.text = list->item(index)->text();
        return list->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, list);
    }
    QPoint boxOf(int index) const { return boxRect(index).center(); }
    QPoint textOf(int index) const {
        const QRect item = list->visualItemRect(list->item(index));
        return {item.left() + item.width() / 2, item.center().y()};
    }
    void click(QPoint at) const { QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at); }
    std::string ticks() const {
        std::string out;
        for (int i = 0; i < list->count(); ++i) {
            const bool shown = list->item(i)->checkState() == Qt::Checked;
            EXPECT_EQ(shown, combo->checked(i)) << "item " << i << ": the list and the control disagree";
            out += shown ? '1' : '0';
        }
        return out;
    }
};

TEST_F(SetComboClicks, TheBoxAndTheTextOfAnItemEachTickItOnce) {
    QSignalSpy changes(combo, &TCheckComboBoxQT::changed);
    ASSERT_FALSE(boxRect(3).contains(textOf(3))) << "the text is beside the box";
    click(boxOf(2));
    EXPECT_EQ(ticks(), "0010");
    click(textOf(3));
    EXPECT_EQ(ticks(), "0011");
    EXPECT_EQ(combo->text(), "2,3");
    click(textOf(3));  // the text again: untick
    EXPECT_EQ(ticks(), "0010");
    click(boxOf(2));
    EXPECT_EQ(ticks(), "0000");
    EXPECT_EQ(changes.count(), 4);
    // A right click ticks nothing.
    QTest::mouseClick(list->viewport(), Qt::RightButton, {}, textOf(1));
    EXPECT_EQ(ticks(), "0000");
}

// Whoever hears of a change reads the ticks the list shows, "all" included.
TEST_F(SetComboClicks, AChangeIsReportedWithTheTicksTheListShows) {
    std::vector<std::string> seen;
    QObject::connect(combo, &TCheckComboBoxQT::changed, combo, [&] {
        std::string now;
        for (int i = 0; i < 4; ++i) now += combo->checked(i) ? '1' : '0';
        seen.push_back(now + " " + combo->text().toStdString());
    });
    click(textOf(0));  // all
    click(boxOf(2));   // then without set 2
    click(boxOf(0));   // all again
    click(textOf(1));  // then without set 1
    EXPECT_EQ(seen, (std::vector<std::string>{"1111 Tutti", "0101 1,3", "1111 Tutti", "0011 2,3"}));
    EXPECT_EQ(ticks(), "0011");
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

// Every item of the opened list shows its whole check box and text, and every line the list is
// opened for is shown whole.
TEST_F(SetCombo, TheOpenedListShowsEachTickAndTextWhole) {
    combo->move(10, 10);
    combo->setDropDownLines(4);
    QToolButton* button = combo->findChild<QToolButton*>();
    QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
    ASSERT_TRUE(combo->droppedDown());
    auto* list = combo->findChild<QListWidget*>();
    const int tick = list->style()->pixelMetric(QStyle::PM_IndicatorHeight, nullptr, list);
    for (int row = 0; row < list->count(); ++row) {
        SCOPED_TRACE(row);
        const QRect item = list->visualItemRect(list->item(row));
        EXPECT_GE(item.height(), std::max(tick, list->fontMetrics().height()) + 4);
        EXPECT_TRUE(list->viewport()->rect().contains(item)) << "line cut by the list's edge";
    }
}

TEST(SetComboFocus, EnterAndExitCountTheDropDownAsPartOfTheControl) {
    QWidget window;
    auto* before = new QLineEdit(&window);
    auto* combo = new TCheckComboBoxQT(&window);
    combo->setItems({"Tutti", "1", "2"});
    combo->move(0, 40);
    window.resize(300, 200);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    before->setFocus();
    QSignalSpy entered(combo, &TCheckComboBoxQT::entered);
    QSignalSpy exited(combo, &TCheckComboBoxQT::exited);

    QTest::keyClick(before, Qt::Key_Tab);
    EXPECT_EQ(entered.count(), 1);
    EXPECT_EQ(exited.count(), 0);
    // Dropping the list down and closing it again stays inside the control.
    auto* edit = combo->findChild<QLineEdit*>();
    QTest::mouseClick(edit, Qt::LeftButton, {}, edit->rect().center());
    ASSERT_TRUE(combo->droppedDown());
    QTest::keyClick(combo->findChild<QListWidget*>(), Qt::Key_Escape);
    // The offscreen platform does not hand activation back from a closed pop-up by itself.
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    EXPECT_TRUE(combo->hasFocus());
    EXPECT_EQ(entered.count(), 1);
    EXPECT_EQ(exited.count(), 0);

    QTest::mouseClick(before, Qt::LeftButton, {}, before->rect().center());
    EXPECT_TRUE(waitUntil([&] { return exited.count() == 1; }));
    EXPECT_EQ(entered.count(), 1);
    QTest::keyClick(before, Qt::Key_Tab);
    EXPECT_EQ(entered.count(), 2);
}

}  // namespace
}  // namespace corvane
