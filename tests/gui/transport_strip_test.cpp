#include <QAbstractButton>
#include <QComboBox>
#include <QTableWidget>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include "gui/main_window_run.h"
#include "codes/tfcodici.h"
#include "stats/tfstatvoll.h"

namespace corvane {
namespace {

using testing::Disc;
using testing::MainWindowRun;
using testing::narrow;

struct Placed {
    QWidget* control;
    QRect rect;  // in the strip's coordinates
};

// The controls of the transport strip a coach sees: the track bar, the time, the options button,
// and every shown control of the button row.
std::vector<Placed> shownControls(QWidget* strip) {
    std::vector<Placed> controls;
    const auto add = [&](QWidget* control) {
        if (control && control->isVisible()) controls.push_back({control, QRect(control->mapTo(strip, QPoint(0, 0)), control->size())});
    };
    add(strip->findChild<QWidget*>("TrackB"));
    add(strip->findChild<QWidget*>("Panel4"));
    add(strip->findChild<QWidget*>("XiButton1"));
    for (QWidget* child : strip->findChild<QWidget*>("PanButton")->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        add(child);
    return controls;
}

std::string nameOf(const QWidget* control) { return control->objectName().toStdString(); }

// The width a control's caption needs and the width it has for it.
std::optional<std::pair<int, int>> captionRoom(QWidget* control) {
    if (auto* label = qobject_cast<QLabel*>(control); label && !label->text().isEmpty())
        return std::pair{label->fontMetrics().horizontalAdvance(label->text()), label->contentsRect().width()};
    if (auto* button = qobject_cast<QAbstractButton*>(control); button && !button->text().isEmpty())
        return std::pair{button->fontMetrics().horizontalAdvance(button->text()), button->width() - 8};
    return std::nullopt;
}

TEST(TransportStrip, EveryControlKeepsItsOwnPlaceAndEachCaptionFitsOnEachScreen) {
    for (const QSize screen : {QSize(1024, 768), QSize(1280, 1024), QSize(1920, 1080)}) {
        const std::string size = std::to_string(screen.width()) + "x" + std::to_string(screen.height());
        Disc disc{{narrow()}};
        disc.withCodes(testing::kRallies);
        MainWindowRun run(disc, screen);
        QWidget* strip = run.control("Panel1");
        ASSERT_TRUE(strip) << size;
        const auto controls = shownControls(strip);
        ASSERT_GE(controls.size(), 13u) << size;
        for (std::size_t a = 0; a < controls.size(); ++a) {
            const Placed& one = controls[a];
            EXPECT_TRUE(strip->rect().contains(one.rect)) << size << " " << nameOf(one.control) << " leaves the strip";
            for (std::size_t b = a + 1; b < controls.size(); ++b)
                EXPECT_FALSE(one.rect.intersects(controls[b].rect))
                    << size << ": " << nameOf(one.control) << " overlaps " << nameOf(controls[b].control);
            // A click at the control's centre reaches that control and no other.
            QWidget* hit = strip->childAt(one.rect.center());
            while (hit && hit != one.control && hit->parentWidget() != strip && hit != strip) hit = hit->parentWidget();
            if (qobject_cast<QAbstractButton*>(one.control))
                EXPECT_EQ(hit, one.control) << size << ": a click on " << nameOf(one.control) << " reaches "
                                            << (hit ? nameOf(hit) : "nothing");
            QList<QWidget*> captioned = one.control->findChildren<QWidget*>();
            captioned << one.control;
            for (QWidget* control : captioned)
                if (const auto room = captionRoom(control); room && control->isVisible())
                    EXPECT_LE(room->first, room->second) << size << ": the caption of " << nameOf(control) << " is cut";
        }
        if (screen.width() >= 1280)
            EXPECT_TRUE(run.control("SecAntInizioAzione")->isVisible() && run.control("SecAntFineAzione")->isVisible())
                << size << ": the pre-roll captions have room";
    }
}

TEST(SearchPanelLayout, TheSearchButtonKeepsItsSizeWhenTheListTogglesClearText) {
    Disc disc{{narrow()}};
    disc.withCodes(testing::kRallies);
    MainWindowRun run(disc, QSize(1920, 1080));
    QWidget* button = run.control("ButSearch");
    QWidget* toggle = run.control("ButChiaro");
    ASSERT_TRUE(button && toggle);
    const QSize designed = button->size();
    EXPECT_LE(designed.width(), button->sizeHint().width());
    for (int turn = 0; turn < 2; ++turn) {
        QTest::mouseClick(toggle, Qt::LeftButton, {}, toggle->rect().center());
        QTest::qWait(50);
        EXPECT_EQ(button->size(), designed) << "turn " << turn;
    }
}

TEST(CodeListLayout, EveryColumnTitleFitsItsColumnInEachSport) {
    ASSERT_TRUE(std::filesystem::is_directory(testing::demoDisc() / "Tlx_Video")) << "make the demo disc first";
    MainWindowRun run(testing::demoDisc(), QSize(1920, 1080));
    auto* chooser = run.window->findChild<QComboBox*>("CbMatches");
    ASSERT_TRUE(chooser);
    for (int package = 0; package < 3; ++package) {  // volleyball, basketball, handball
        if (package > 0) {
            chooser->setFocus();
            QTest::keyClick(chooser, Qt::Key_Down);
            ASSERT_TRUE(testing::waitFor([&] { return chooser->currentIndex() == package; }));
        }
        auto* grid = run.window->findChild<QTableWidget*>("SGrid");
        ASSERT_TRUE(grid);
        for (int column = 0; column < grid->columnCount(); ++column) {
            const QTableWidgetItem* header = grid->horizontalHeaderItem(column);
            if (grid->isColumnHidden(column) || !header || header->text().isEmpty()) continue;
            QFont font = header->font();
            font.setBold(true);
            EXPECT_LE(QFontMetrics(font).horizontalAdvance(header->text()), grid->columnWidth(column) - 6)
                << "sport " << run.state().Sport << ": \"" << header->text().toStdString() << "\" is cut";
        }
    }
}

TEST(CodeListLayout, TheScoutProgrammeLineIsShortenedNotCutAndShowsWholeAsTooltip) {
    ASSERT_TRUE(std::filesystem::is_directory(testing::demoDisc() / "Tlx_Video")) << "make the demo disc first";
    for (const QSize screen : {QSize(1024, 768), QSize(1920, 1080)}) {
        MainWindowRun run(testing::demoDisc(), screen);
        QWidget* list = run.window->codeList();
        ASSERT_TRUE(list);
        QLabel* release = nullptr;
        for (QLabel* label : list->findChildren<QLabel*>())
            if (label->isVisible() && label->text().startsWith(QStringLiteral("Corvane Scout"))) release = label;
        ASSERT_TRUE(release) << screen.width();
        const QRect shown(release->mapTo(list, QPoint(0, 0)), release->size());
        EXPECT_TRUE(list->rect().contains(shown)) << screen.width() << ": the line leaves the list";
        EXPECT_LE(release->fontMetrics().horizontalAdvance(release->text()), release->contentsRect().width())
            << screen.width() << ": \"" << release->text().toStdString() << "\" is cut";
        if (release->text().endsWith(QStringLiteral("...")))
            EXPECT_TRUE(release->toolTip().startsWith(release->text().chopped(3))) << screen.width();
    }
}

}  // namespace
}  // namespace corvane
