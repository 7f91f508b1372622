#include "ui/busy_cursor.h"

#include <QCursor>
#include <QGuiApplication>

#include <gtest/gtest.h>

#include <stdexcept>

namespace corvane {
namespace {

TEST(BusyCursor, ShowsTheHourglassWhileItLivesAndRestoresItOnEveryWayOut) {
    ASSERT_EQ(QGuiApplication::overrideCursor(), nullptr);
    {
        const BusyCursor busy;
        ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    }
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);

    const auto failingLoad = [] {
        const BusyCursor busy;
        throw std::runtime_error("unreadable statistics");
    };
    EXPECT_THROW(failingLoad(), std::runtime_error);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);

    // Nested work: the outer hourglass stays until the outer guard ends.
    {
        const BusyCursor outer;
        { const BusyCursor inner; }
        EXPECT_NE(QGuiApplication::overrideCursor(), nullptr);
    }
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

}  // namespace
}  // namespace corvane
