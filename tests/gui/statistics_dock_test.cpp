// Where the statistics windows of both kinds sit on the main window: docked above the video and
// following its width, floating over the video and off the code list, laid out again when the
// options change.

#include <QApplication>
#include <QCheckBox>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <functional>

#include "codes/tfcodici.h"
#include "codes/tfsubform.h"
#include "gui/coach_clicks.h"
#include "gui/main_window_run.h"
#include "match/tfopzioni.h"
#include "stats/event_stats.h"
#include "stats/tfstatos.h"
#include "stats/tfstatvoll.h"
#include "ui/statistics_dock.h"
#include "ui/text_grid.h"

namespace corvane {
namespace {

using testing::clickButton;
using testing::MainWindowRun;
using testing::waitFor;

const std::string kBasket = "2026-12-02_Basket_Aquile-Lupi";
const std::string kVolley = "2026-11-28_Volley_Falchi-Delfini";

QRect onScreen(const QWidget* widget) { return {widget->mapToGlobal(QPoint(0, 0)), widget->size()}; }

std::string text(const QRect& rect) {
    return std::to_string(rect.x()) + "," + std::to_string(rect.y()) + " " + std::to_string(rect.width()) + "x" +
           std::to_string(rect.height());
}

// A match of the demo disc open on a main window of the given size, its statistics window opened
// as a coach opens it: by the opening itself (basketball) or by the search panel's button.
struct StatisticsOnTheDemoDisc {
    std::unique_ptr<MainWindowRun> run;
    QWidget* window = nullptr;

    StatisticsOnTheDemoDisc(const std::string& package, QSize size, bool docked) {
        run = std::make_unique<MainWindowRun>(testing::demoDisc(), size);
        run->app().settings.write(StatisticheModVis, docked ? "1" : "0");
        run->window->openPackage(package, false);
        window = opened();
        if (!window) {
            clickButton(run->window->searchPanel()->findChild<QWidget*>("ButStat"));
            window = opened();
        }
        if (window) waitFor([&] { return window->isVisible(); });
    }
    QWidget* opened() const {
        if (TFStatOs* stats = run->window->eventStatistics()) return stats;
        return run->window->statistics();
    }
    bool docked() const {
        if (auto* stats = qobject_cast<TFStatOs*>(window)) return stats->docked();
        return qobject_cast<TFStatVoll*>(window)->docked();
    }
    QWidget* videoArea() const { return run->control("Panel2"); }
    QWidget* button(const char* name) const { return window->findChild<QToolButton*>(QString::fromLatin1(name)); }
};

// Docked, the window is the video area's width whatever the code list's clear-text toggle makes
// it, and its dock and close buttons stay whole, inside the video area and above the tables.
TEST(StatisticsDock, DockedFollowsTheVideoAreaWhenTheListTogglesClearText) {
    for (const std::string& package : {kBasket, kVolley}) {
        SCOPED_TRACE(package);
        StatisticsOnTheDemoDisc disc(package, QSize(1280, 1024), true);
        ASSERT_TRUE(disc.window);
        ASSERT_TRUE(disc.docked());
        QWidget* toggle = disc.run->control("ButChiaro");
        for (int turn = 0; turn < 2; ++turn) {
            SCOPED_TRACE("turn " + std::to_string(turn));
            const int videoBefore = disc.videoArea()->width();
            clickButton(toggle);
            ASSERT_TRUE(waitFor([&] { return disc.videoArea()->width() != videoBefore; }));
            const QRect video = onScreen(disc.videoArea());
            const QRect docked = onScreen(disc.window);
            EXPECT_EQ(docked.left(), video.left());
            EXPECT_EQ(docked.top(), video.top());
            EXPECT_EQ(docked.width(), video.width()) << text(docked) << " over " << text(video);
            for (const char* name : {"SpeedButton1", "XiButton1"}) {
                QWidget* button = disc.button(name);
                ASSERT_TRUE(button && button->isVisible()) << name;
                EXPECT_TRUE(video.contains(onScreen(button))) << name << " " << text(onScreen(button));
                EXPECT_TRUE(docked.contains(onScreen(button))) << name << " " << text(onScreen(button));
                EXPECT_EQ(disc.window->childAt(button->geometry().center()), button) << name << " is covered";
            }
        }
    }
}

// While the Options dialog the main window's options button opened is up, `act` works on it.
void whenOptionsOpen(const std::function<void(QDialog&)>& act) {
    auto* poll = new QTimer;
    poll->setInterval(20);
    QObject::connect(poll, &QTimer::timeout, [poll, act] {
        auto* options = qobject_cast<TFOpzioni*>(QApplication::activeModalWidget());
        if (!options || !options->isVisible()) return;
        poll->stop();
        poll->deleteLater();
        act(*options);
    });
    poll->start();
}

// Ticking "show the effect descriptions" and OK widens every event column to 45 pixels a label at
// once, and the window docks or floats again in its new size.
TEST(StatisticsDock, TheEffectDescriptionsOptionLaysTheOpenEventStatisticsOutAgain) {
    for (const bool docked : {false, true}) {
        SCOPED_TRACE(docked ? "docked" : "floating");
        StatisticsOnTheDemoDisc disc(kBasket, QSize(1920, 1080), docked);
        auto* stats = qobject_cast<TFStatOs*>(disc.window);
        ASSERT_TRUE(stats);
        ASSERT_EQ(stats->docked(), docked);
        ASSERT_EQ(disc.run->app().settings.read(DisplayEffectsDescription), "0");
        const auto labelsOf = [&](int column) {
            return static_cast<int>(headerLabels(stats->stats().headers[static_cast<std::size_t>(column - 1)]).size());
        };
        TextGrid* home = stats->table(true);
        for (int column = 1; column < home->columnCount(); ++column)
            ASSERT_EQ(home->columnWidth(column), 35 * labelsOf(column));
        const QSize tablesBefore = home->size();
        const QSize windowBefore = stats->size();

        whenOptionsOpen([](QDialog& options) {
            auto* descriptions = options.findChild<QCheckBox*>("CheckBox4");
            ASSERT_TRUE(descriptions && descriptions->isVisible());
            QTest::mouseClick(descriptions, Qt::LeftButton, {}, QPoint(6, descriptions->height() / 2));
            ASSERT_TRUE(descriptions->isChecked());
            clickButton(options.findChild<QWidget*>("SpeedButton1"));
        });
        clickButton(disc.run->control("Panel1")->findChild<QWidget*>("XiButton1", Qt::FindDirectChildrenOnly));
        ASSERT_TRUE(waitFor([] { return QApplication::activeModalWidget() == nullptr; }));

        EXPECT_EQ(disc.run->app().settings.read(DisplayEffectsDescription), "1");
        ASSERT_EQ(disc.run->window->eventStatistics(), stats);
        for (int column = 1; column < home->columnCount(); ++column)
            EXPECT_EQ(home->columnWidth(column), 45 * labelsOf(column)) << "column " << column;
        EXPECT_GT(home->width(), tablesBefore.width());
        EXPECT_EQ(stats->docked(), docked);
        if (docked) {
            EXPECT_EQ(onScreen(stats), QRect(onScreen(disc.videoArea()).topLeft(),
                                              QSize(disc.videoArea()->width(), stats->height())));
        } else {
            EXPECT_GT(stats->width(), windowBefore.width());
            EXPECT_EQ(stats->width(), home->width() + 10 + (stats->dockable() ? 29 : 0));
        }
    }
}

// The floating place for the windows' sizes against a video area of 849x600 at (0, 40) in a main
// window of 1024x768, the list to the right of x 849.
TEST(StatisticsDock, TheFloatingPlaceKeepsOverTheVideoAndInsideTheMainWindow) {
    const QRect video(0, 40, 849, 600);
    const QRect main(0, 0, 1024, 768);
    struct Case {
        QSize window;
        QPoint place;
    };
    for (const Case& c : {Case{{669, 474}, {90, 102}},     // fits: centred over the video
                          Case{{849, 300}, {0, 189}},      // as wide as the video: all of it
                          Case{{900, 300}, {0, 189}},      // wider: from the video's left edge
                          Case{{400, 700}, {224, 0}},      // centred it would start above the main window
                          Case{{400, 900}, {224, 0}}}) {   // taller than the main window: from its top
        SCOPED_TRACE(text(QRect(QPoint(), c.window)));
        EXPECT_EQ(floatingStatisticsPlace(video, main, c.window), c.place);
    }
    // A main window elsewhere on the desktop carries its video area with it.
    EXPECT_EQ(floatingStatisticsPlace(video.translated(1920, 0), main.translated(1920, 0), QSize(669, 474)),
              QPoint(2010, 102));
}

// At the sizes of the screens coaches use, the floating window opens over the video and leaves the
// code list, which its clicks fill, in sight.
TEST(StatisticsDock, FloatingOpensOverTheVideoAndOffTheCodeList) {
    for (const QSize size : {QSize(1280, 1024), QSize(1024, 768)}) {
        for (const std::string& package : {kBasket, kVolley}) {
            SCOPED_TRACE(package + " at " + std::to_string(size.width()) + "x" + std::to_string(size.height()));
            StatisticsOnTheDemoDisc disc(package, size, false);
            ASSERT_TRUE(disc.window);
            ASSERT_FALSE(disc.docked());
            const QRect floating = disc.window->frameGeometry();
            const QRect list = onScreen(disc.run->window->codeList());
            const QRect main = onScreen(disc.run->window.get());
            EXPECT_FALSE(floating.intersects(list)) << text(floating) << " over the list at " << text(list);
            EXPECT_TRUE(main.contains(floating)) << text(floating) << " outside " << text(main);
            EXPECT_TRUE(floating.intersects(onScreen(disc.videoArea())));
        }
    }
}

}  // namespace
}  // namespace corvane
