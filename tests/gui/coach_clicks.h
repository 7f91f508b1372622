#pragma once

// Mouse and key events where a coach puts them: the middle of a list row or a button, the
// package chooser opened and an item taken.

#include <QAbstractItemView>
#include <QComboBox>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

#include "codes/tfcodici.h"
#include "gui/main_window_run.h"
#include "ui/text_grid.h"

namespace corvane::testing {

inline void clickRow(QTableWidget* grid, int gridRow) {
    const QRect cell = grid->visualRect(grid->model()->index(gridRow, 0));
    ASSERT_TRUE(grid->viewport()->rect().contains(cell.center())) << "row " << gridRow << " is not in view";
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
}

// A row of the main window's code list, counted from 1 as the list counts them.
inline void clickListRow(const MainWindowRun& run, int listRow) {
    clickRow(run.window->codeList()->findChild<TextGrid*>("SGrid"), listRow - 1);
}

inline void clickButton(QWidget* button) {
    ASSERT_TRUE(button && button->isVisible());
    QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
}

// The chooser opened with a click, the item reached with the arrow keys and taken with Enter
// (the offscreen platform does not route clicks into a combo box's pop-up).
inline void choosePackage(MainWindowRun& run, int index) {
    auto* chooser = run.window->findChild<QComboBox*>("CbMatches");
    ASSERT_TRUE(chooser && chooser->isVisible());
    clickButton(chooser);
    QAbstractItemView* items = chooser->view();
    ASSERT_TRUE(waitFor([&] { return items->isVisible(); }));
    for (int step = chooser->currentIndex(); step != index; step += index > step ? 1 : -1)
        QTest::keyClick(items, index > step ? Qt::Key_Down : Qt::Key_Up);
    QTest::keyClick(items, Qt::Key_Return);
    ASSERT_TRUE(waitFor([&] { return chooser->currentIndex() == index && !items->isVisible(); }));
}

}  // namespace corvane::testing
