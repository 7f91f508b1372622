#include "stats/tfstatvoll.h"

#include <QElapsedTimer>
#include <QPainter>
#include <QTest>
#include <QToolButton>
#include <QWindow>

#include <fstream>
#include <map>
#include <QPointer>
#include <QPushButton>

#include <gtest/gtest.h>

#include "codes/tfcodici.h"
#include "codes/tfsubform.h"
#include "gui/main_window_run.h"
#include "ui/main_window_link.h"
#include "ui/text_grid.h"

namespace corvane {
namespace {

using testing::Disc;
using testing::MainWindowRun;
using testing::narrow;
using testing::waitFor;

const std::string kServeRallies =
    "*05SM=;;;;;;;20.00.00;1;;;1;10\r\n"
    "a12RM/;;;;;;;20.00.01;1;;;1;12\r\n"
    "a12AH#;;;;;;;20.00.02;1;;;1;14\r\n"
    "ap00:01;;;;;;;20.00.03;1;;;1;16\r\n"
    "*05SM+;;;;;;;20.01.00;1;;;1;40\r\n";

const std::string kStatistics =
    "[testata]\r\nf_b;f_r;f_s;f_m\r\n[home]\r\n05;Galli;1;0;0;;;2;1;0;0;0;0;0;0;0;0;;0;0\r\n"
    "TO;Totale;1;0;0;;;2;1;0;0;0;0;0;0;0;0;;0;0\r\n[opponent]\r\n"
    "12;Verdi;1;0;0;;;0;0;0;1;1;0;1;0;0;1;100%;0;0\r\nTO;Totale;1;0;0;;;0;0;0;1;1;0;1;0;0;1;100%;0;0\r\n";

// A match of two players with their statistics file, the main window shown on it.
struct StatisticsDisc {
    Disc disc{{narrow()}};
    std::unique_ptr<MainWindowRun> run;

    explicit StatisticsDisc(const std::string& statistics = kStatistics, QSize screen = QSize(1280, 800)) {
        disc.withCodes(kServeRallies);
        std::string scout = testing::readFile(disc.path() / "Tlx_Video/Partita/scout.dvw");
        scout.insert(scout.find("[3SCOUT]"), "[3PLAYERS-H]\r\n0;5;;;;;;;GAL;Galli\r\n[3PLAYERS-V]\r\n1;12;;;;;;;VER;Verdi\r\n");
        std::ofstream(disc.path() / "Tlx_Video/Partita/scout.dvw", std::ios::binary) << scout;
        std::ofstream(disc.path() / "Tlx_Video/Partita/Stat.txt", std::ios::binary) << statistics;
        run = std::make_unique<MainWindowRun>(disc, screen);
    }
    TFStatVoll* open(bool docked) const {
        run->app().settings.write(StatisticheModVis, docked ? "1" : "0");
        run->window->ButStatClick();
        return run->window->statistics();
    }
};

// The pointer moved over a widget as the window system reports it.
void hover(QWidget* widget, QPoint at) {
    QTest::mouseMove(widget->window()->windowHandle(), widget->mapTo(widget->window(), at));
}

// A click as the mouse gives it: the pointer moves there, the button goes down and up.
void clickCell(TextGrid* grid, QPoint at, Qt::MouseButton button = Qt::LeftButton) {
    hover(grid->viewport(), at);
    QTest::mouseClick(grid->viewport(), button, {}, at);
}

void clickWidget(QWidget* widget) { QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center()); }

// The width of each of a column's sub-columns; they stand a pixel apart.
int subColumnWidth(TextGrid* grid, int column, int subColumns) { return (grid->columnWidth(column) - 3) / subColumns; }

// The point at the centre of sub-column `sub` of a column, in the table's viewport.
QPoint subColumnPoint(TextGrid* grid, int column, int row, int sub, int subColumns) {
    const int width = subColumnWidth(grid, column, subColumns);
    return {grid->columnViewportPosition(column) + sub * (width + 1) + width / 2, grid->rowViewportPosition(row) + 4};
}

// The pixel between sub-column `sub` and the next one.
QPoint gapPoint(TextGrid* grid, int column, int row, int sub, int subColumns) {
    const int width = subColumnWidth(grid, column, subColumns);
    return {grid->columnViewportPosition(column) + sub * (width + 1) + width, grid->rowViewportPosition(row) + 4};
}

struct StatisticsFixture : ::testing::Test, StatisticsDisc {};

TEST_F(StatisticsFixture, AClickOnAFigurePlaysTheActionsBehindIt) {
    TFStatVoll* stats = open(false);
    ASSERT_TRUE(stats);
    EXPECT_FALSE(stats->docked());
    TextGrid* home = stats->table(true);
    ASSERT_EQ(home->rowCount(), 3);
    // Serve errors of home player 5: sub-column 1 of the serve column.
    clickCell(home, subColumnPoint(home, 2, 1, 1, 3));
    EXPECT_EQ(run->state().analysis[AnalysisRecord::main_code], "*05S~=~~~");
    TFCodici* list = run->window->codeList();
    ASSERT_EQ(list->listRowCount(), 1);
    EXPECT_EQ(list->listRow(1).row, 1);
    EXPECT_EQ(run->window->searchPanel()->searchGrid()->searchCode().substr(0, 10), "*05S =    ");
    EXPECT_EQ(run->shownStamp()->second, 8);  // second 10 less the pre-roll
    EXPECT_TRUE(waitFor([&] { return run->player().State() == TPlayer::Playing; }));
}

TEST_F(StatisticsFixture, ReceptionErrorsUseTheAlternativeClauseAndTotalsSearchTheTeam) {
    TFStatVoll* stats = open(false);
    TextGrid* opponent = stats->table(false);
    clickCell(opponent, subColumnPoint(opponent, 3, 1, 1, 3));
    EXPECT_EQ(run->state().analysis[AnalysisRecord::adv_codes], "OR[~~~~~=,5][~~~~~/,5]");
    EXPECT_EQ(run->window->codeList()->listRowCount(), 1);  // a12RM/
    clickCell(opponent, subColumnPoint(opponent, 4, 2, 0, 5));  // the totals row: every attacker
    EXPECT_EQ(run->state().analysis[AnalysisRecord::main_code], "a~~A~~~~~");
    EXPECT_EQ(run->window->codeList()->listRowCount(), 1);
}

// The main window as the statistics window reaches it, with the player texts it was asked to show.
class PlayerDetailWatch : public MainWindowLink {
public:
    explicit PlayerDetailWatch(TFMain& main) : main_(main) {}
    std::vector<std::string> shown;

    void Transport(int command, int amount) override { main_.Transport(command, amount); }
    bool SeekFilmTime(const std::string& film, const std::string& seconds) override {
        return main_.SeekFilmTime(film, seconds);
    }
    int positionSeconds() const override { return main_.positionSeconds(); }
    int durationSeconds() const override { return main_.durationSeconds(); }
    bool filmAtItsEnd() const override { return main_.filmAtItsEnd(); }
    bool playerBusy() const override { return main_.playerBusy(); }
    bool slowMotionButtonDown() const override { return main_.slowMotionButtonDown(); }
    void startSlowMotion() override { main_.startSlowMotion(); }
    TFCodici* codeList() const override { return main_.codeList(); }
    TFSubForm* searchPanel() const override { return main_.searchPanel(); }
    void openPackage(const std::string& name, bool synthesis) override { main_.openPackage(name, synthesis); }
    void showStatistics() override { main_.showStatistics(); }
    void showNotes() override { main_.showNotes(); }
    int screenWidth() const override { return main_.screenWidth(); }
    void relayOutBesideTheList() override { main_.relayOutBesideTheList(); }
    void codeListChanged() override { main_.codeListChanged(); }
    void codeListRefilled() override { main_.codeListRefilled(); }
    void showPlayerDetail(const std::string& playerText) override {
        shown.push_back(playerText);
        main_.showPlayerDetail(playerText);
    }
    QWidget* statisticsPanel(QWidget* docked) override { return main_.statisticsPanel(docked); }
    void statisticsClosed(QWidget* window) override { main_.statisticsClosed(window); }
    int videoAreaWidth() const override { return main_.videoAreaWidth(); }
    QWidget* videoArea() const override { return main_.videoArea(); }
    void refitVideo() override { main_.refitVideo(); }
    QWidget* mainWidget() override { return main_.mainWidget(); }
    void CheckUleadCodecs(bool flag) override { main_.CheckUleadCodecs(flag); }
    void updatePreRollCaptions() override { main_.updatePreRollCaptions(); }
    void statisticsOptionsChanged() override { main_.statisticsOptionsChanged(); }

private:
    TFMain& main_;
};

// A statistics search names the player of the action it plays, as every other search does; a
// search that finds nothing names nobody.
TEST_F(StatisticsFixture, ASearchNamesThePlayerOfTheFirstAction) {
    PlayerDetailWatch link(*run->window);
    QPointer<TFStatVoll> stats = new TFStatVoll(run->app(), link);
    stats->Load(disc.path() / "Tlx_Video/Partita/Stat.txt");
    stats->Float();
    TextGrid* home = stats->table(true);
    TextGrid* opponent = stats->table(false);
    clickCell(home, subColumnPoint(home, 2, 1, 1, 3));  // serve errors of home player 5
    ASSERT_EQ(run->window->codeList()->listRowCount(), 1);
    EXPECT_EQ(link.shown, std::vector<std::string>{"5 - Galli"});
    clickCell(opponent, subColumnPoint(opponent, 3, 1, 1, 3));  // the reception error of 12
    ASSERT_EQ(run->window->codeList()->listRowCount(), 1);
    EXPECT_EQ(link.shown, (std::vector<std::string>{"5 - Galli", "12 - Verdi"}));
    clickCell(home, subColumnPoint(home, 5, 1, 1, 2));  // no block of player 5
    EXPECT_EQ(run->window->codeList()->listRowCount(), 0);
    EXPECT_EQ(link.shown.size(), 2u);
    delete stats.data();
}

TEST_F(StatisticsFixture, DocksAboveTheVideoAndClosesAfterASearchWhenAsked) {
    const int videoHeight = run->control("Panel5")->height();
    TFStatVoll* stats = open(true);
    ASSERT_TRUE(stats->docked());
    EXPECT_TRUE(run->control("Panel3")->isVisible());
    EXPECT_LT(run->control("Panel5")->height(), videoHeight);
    EXPECT_EQ(run->app().settings.read(StatisticheModVis), "1");
    run->app().settings.write(CloseStatistics, "1");
    clickCell(stats->table(true), subColumnPoint(stats->table(true), 0, 1, 0, 1));
    EXPECT_TRUE(waitFor([&] { return run->window->statistics() == nullptr; }));
    EXPECT_FALSE(run->control("Panel3")->isVisible());
    EXPECT_EQ(run->control("Panel5")->height(), videoHeight);
}

TEST_F(StatisticsFixture, OnlyALeftClickPressedAndReleasedOnTheSameCellSearches) {
    TFStatVoll* stats = open(false);
    TextGrid* home = stats->table(true);
    const QPoint serveErrors = subColumnPoint(home, 2, 1, 1, 3);
    const QPoint playerName = subColumnPoint(home, 0, 1, 0, 1);
    const QPoint header = {serveErrors.x(), 10};
    const struct {
        const char* what;
        std::function<void()> act;
    } cases[] = {
        {"right click", [&] { clickCell(home, serveErrors, Qt::RightButton); }},
        {"middle click", [&] { clickCell(home, serveErrors, Qt::MiddleButton); }},
        {"drag from the name onto a figure",
         [&] {
             QTest::mousePress(home->viewport(), Qt::LeftButton, {}, playerName);
             hover(home->viewport(), serveErrors);
             QTest::mouseRelease(home->viewport(), Qt::LeftButton, {}, serveErrors);
         }},
        {"drag from the header onto a figure",
         [&] {
             QTest::mousePress(home->viewport(), Qt::LeftButton, {}, header);
             QTest::mouseRelease(home->viewport(), Qt::LeftButton, {}, serveErrors);
         }},
    };
    for (const auto& c : cases) {
        c.act();
        EXPECT_EQ(run->state().analysis[AnalysisRecord::main_code], "") << c.what;
        EXPECT_EQ(run->window->codeList()->listRowCount(), 5) << c.what;
    }
    clickCell(home, serveErrors);
    EXPECT_EQ(run->state().analysis[AnalysisRecord::main_code], "*05S~=~~~");
    EXPECT_EQ(run->window->codeList()->listRowCount(), 1);
}

// Each point is where a coach clicks: sub-columns at their centres, the pixel between two of them.
TEST_F(StatisticsFixture, SubColumnsAndTheGapsBetweenThemAtTheirPixels) {
    TFStatVoll* stats = open(false);
    TextGrid* home = stats->table(true);
    const struct {
        const char* what;
        QPoint at;
        const char* code;
        const char* clause;
    } cases[] = {
        {"reception, sub-column 0", subColumnPoint(home, 3, 1, 0, 3), "*05R~~~~~", ""},
        {"reception, sub-column 1", subColumnPoint(home, 3, 1, 1, 3), "*05R~~~~~", "OR[~~~~~=,5][~~~~~/,5]"},
        {"reception, sub-column 2", subColumnPoint(home, 3, 1, 2, 3), "*05R~#~~~", ""},
        {"serve, between 1 and 2", gapPoint(home, 2, 1, 1, 3), "*05S~~~~~", ""},
        {"serve, sub-column 2", subColumnPoint(home, 2, 1, 2, 3), "*05S~#~~~", ""},
        {"attack, between 1 and 2", gapPoint(home, 4, 1, 1, 5), "*05A~~~~~", ""},
        {"attack, sub-column 2", subColumnPoint(home, 4, 1, 2, 5), "*05A~/~~~", ""},
        {"block, between 0 and 1", gapPoint(home, 5, 1, 0, 2), "*05B~~~~~", ""},
        {"block, sub-column 0", subColumnPoint(home, 5, 1, 0, 2), "*05B~=~~~", ""},
        {"block, sub-column 1", subColumnPoint(home, 5, 1, 1, 2), "*05B~#~~~", ""},
    };
    for (const auto& c : cases) {
        clickCell(home, c.at);
        EXPECT_EQ(run->state().analysis[AnalysisRecord::main_code], c.code) << c.what;
        EXPECT_EQ(run->state().analysis[AnalysisRecord::adv_codes], c.clause) << c.what;
    }
}

TEST_F(StatisticsFixture, InASynthesisThePointerNeverShowsTheHandAndClicksDoNothing) {
    TFStatVoll* stats = open(false);
    TextGrid* home = stats->table(true);
    const QPoint serveErrors = subColumnPoint(home, 2, 1, 1, 3);
    hover(home->viewport(), serveErrors);
    EXPECT_EQ(home->viewport()->cursor().shape(), Qt::PointingHandCursor);
    run->state().SynthesisMode = true;
    hover(home->viewport(), serveErrors + QPoint(1, 0));
    EXPECT_EQ(home->viewport()->cursor().shape(), Qt::ArrowCursor);
    clickCell(home, serveErrors);
    EXPECT_EQ(run->state().analysis[AnalysisRecord::main_code], "");
}

TEST(StatisticsFile, EmptyOrShortGivesTablesOfAHeaderAndOneEmptyRow) {
    for (const std::string statistics : {std::string(), std::string("[testata]\r\nf_b;f_r;f_s;f_m\r\n[home]\r\n"),
                                         std::string("[testata]\r\nf_b;f_r\r\n")}) {
        StatisticsDisc disc(statistics);
        TFStatVoll* stats = disc.open(false);
        ASSERT_TRUE(stats);
        for (const bool side : {true, false}) {
            TextGrid* table = stats->table(side);
            EXPECT_EQ(table->rowCount(), 2) << statistics;
            EXPECT_EQ(table->height(), 17 + 36) << statistics;
            // The empty row is nothing to search.
            clickCell(table, subColumnPoint(table, 0, 1, 0, 1));
            hover(table->viewport(), subColumnPoint(table, 0, 1, 0, 1) + QPoint(2, 0));
            EXPECT_EQ(table->viewport()->cursor().shape(), Qt::ArrowCursor);
        }
        EXPECT_EQ(disc.run->state().analysis[AnalysisRecord::main_code], "");
    }
}

TEST(StatisticsWindow, DockedFollowsTheVideoWidthWhenTheListTogglesClearText) {
    StatisticsDisc disc;
    TFStatVoll* stats = disc.open(true);
    QWidget* toggle = disc.run->control("ButChiaro");
    ASSERT_TRUE(toggle);
    for (int turn = 0; turn < 2; ++turn) {
        const int before = stats->width();
        clickWidget(toggle);
        QTest::qWait(50);
        EXPECT_NE(stats->width(), before) << "turn " << turn;
        EXPECT_EQ(stats->width(), disc.run->window->videoAreaWidth()) << "turn " << turn;
        EXPECT_EQ(stats->closeButton()->geometry().right(), stats->width() - 3) << "turn " << turn;
        EXPECT_EQ(stats->dockButton()->geometry().right(), stats->width() - 3) << "turn " << turn;
    }
}

TEST(StatisticsWindow, DockedOnANarrowScreenTheTablesEndBeforeTheButtons) {
    StatisticsDisc disc(kStatistics, QSize(1024, 768));
    TFStatVoll* stats = disc.open(true);
    QTest::qWait(50);
    ASSERT_LT(stats->width(), stats->table(true)->width() + stats->table(false)->width());
    for (QWidget* button : {static_cast<QWidget*>(stats->closeButton()), static_cast<QWidget*>(stats->dockButton())}) {
        const QPoint centre = button->geometry().center();
        EXPECT_EQ(stats->childAt(centre), button) << button->objectName().toStdString();
        for (const bool side : {true, false}) {
            TextGrid* table = stats->table(side);
            const QRegion shown = table->mask().isEmpty() ? QRegion(table->rect()) : table->mask();
            EXPECT_FALSE(shown.translated(table->pos()).intersects(button->geometry()))
                << button->objectName().toStdString() << " over " << table->objectName().toStdString();
        }
    }
}

TEST(StatisticsWindow, FloatingOffersToDockExactlyWhenBothTablesFitTheVideoArea) {
    // 1600 pixels: both tables fit beside the list of codes, not beside the wider clear-text list.
    StatisticsDisc disc(kStatistics, QSize(1600, 900));
    TFStatVoll* stats = disc.open(false);
    QWidget* toggle = disc.run->control("ButChiaro");
    const int bothTables = stats->table(true)->width() + stats->table(false)->width();
    std::vector<bool> offered;
    for (int turn = 0; turn < 3; ++turn) {
        const bool fits = disc.run->window->videoAreaWidth() >= bothTables + 20;
        EXPECT_EQ(stats->dockButton()->isVisible(), fits) << "turn " << turn;
        offered.push_back(stats->dockButton()->isVisible());
        clickWidget(toggle);
        QTest::qWait(50);
    }
    EXPECT_NE(offered[0], offered[1]) << "the screen should make the toggle matter";
}

TEST(StatisticsWindow, FloatingStaysWithTheMainWindowAndPassesItsHotKeys) {
    StatisticsDisc disc;
    TFStatVoll* stats = disc.open(false);
    ASSERT_TRUE(stats->windowHandle());
    EXPECT_EQ(stats->windowHandle()->transientParent(), disc.run->window->windowHandle());
    // A click on the video leaves it shown, above its main window.
    clickWidget(disc.run->control("Panel5"));
    EXPECT_TRUE(stats->isVisible());
    EXPECT_EQ(stats->windowHandle()->transientParent(), disc.run->window->windowHandle());

    stats->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(stats));
    TPlayer& player = disc.run->player();
    ASSERT_NE(player.State(), TPlayer::Playing);
    QTest::keyClick(stats, Qt::Key_Space);
    EXPECT_TRUE(waitFor([&] { return player.State() == TPlayer::Playing; }));
    QTest::keyClick(stats, Qt::Key_Space);
    EXPECT_TRUE(waitFor([&] { return player.State() != TPlayer::Playing; }));
    // Docked, the window is part of the main one: its keys still act once, not twice or never.
    clickWidget(stats->dockButton());
    ASSERT_TRUE(stats->docked());
    disc.run->window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(disc.run->window.get()));
    QTest::keyClick(stats, Qt::Key_Space);
    EXPECT_TRUE(waitFor([&] { return player.State() == TPlayer::Playing; }));
}

// What is drawn, read back from the window's own pixels.
QImage shot(QWidget* widget) { return widget->grab().toImage(); }

QColor pixel(const QImage& image, QPoint logical) {
    const qreal ratio = image.devicePixelRatio();
    return image.pixelColor(static_cast<int>(logical.x() * ratio), static_cast<int>(logical.y() * ratio));
}

TEST(StatisticsDrawing, FiguresStayInTheirSubColumnsAndShirtNumbersLoseTheirLeadingZero) {
    const std::string statistics =
        "[testata]\r\nf_b;f_r;f_s;f_m\r\n[home]\r\n05;Galli;8;13;11;10;12;22;11;10;13;14;10;21;12;13;11;10;12;11\r\n"
        "10;Rossi;1;0;0;;;2;1;0;0;0;0;0;0;0;0;;0;0\r\nTO;Totale;9;13;11;10;12;22;11;10;13;14;10;21;12;13;11;10;12;11\r\n"
        "[opponent]\r\nTO;Totale;1;0;0;;;0;0;0;1;1;0;1;0;0;1;0;0;0\r\n";
    StatisticsDisc disc(statistics);
    TFStatVoll* stats = disc.open(true);
    TextGrid* home = stats->table(true);
    QTest::qWait(50);
    const QImage image = shot(home->viewport());
    const QColor oddRow(0xEA, 0xFA, 0xFF);
    // Between two figures of a row stay three columns of the row's own colour: the gap and a
    // pixel of air on either side.
    for (const auto [column, subColumns] : {std::pair{1, 5}, {2, 3}, {3, 3}, {4, 5}, {5, 2}})
        for (int sub = 0; sub + 1 < subColumns; ++sub) {
            const QPoint gap = gapPoint(home, column, 1, sub, subColumns);
            for (int x = gap.x() - 1; x <= gap.x() + 1; ++x)
                for (int y = home->rowViewportPosition(1); y < home->rowViewportPosition(1) + home->rowHeight(1); ++y)
                    ASSERT_EQ(pixel(image, {x, y}), oddRow)
                        << "column " << column << " after sub-column " << sub << " at " << x << "," << y;
        }

    // The shirt number's place shows "5" for "05" and "10" for "10", as drawn with the table's font.
    const auto numberPlace = [&](int row) {
        return QRect(home->columnViewportPosition(0), home->rowViewportPosition(row), 15, home->rowHeight(row));
    };
    const auto drawn = [&](int row) { return home->viewport()->grab(numberPlace(row)).toImage(); };
    const auto expected = [&](int row, const QString& number) {
        QImage reference(drawn(row).size(), QImage::Format_ARGB32_Premultiplied);
        reference.setDevicePixelRatio(drawn(row).devicePixelRatio());
        reference.fill(row % 2 ? oddRow : QColor(0xCC, 0xF0, 0xFF));
        QPainter painter(&reference);
        painter.setFont(home->font());
        painter.setPen(Qt::black);
        painter.drawText(QRect(0, 0, 15, home->rowHeight(row)), Qt::AlignRight | Qt::AlignVCenter, number);
        painter.end();
        return reference.convertToFormat(drawn(row).format());
    };
    EXPECT_EQ(drawn(1), expected(1, QStringLiteral("5")));
    EXPECT_NE(drawn(1), expected(1, QStringLiteral("05")));
    EXPECT_EQ(drawn(2), expected(2, QStringLiteral("10")));
}

// The rows and columns of the darkest pixels in a rectangle of a picture: the ink of what is
// drawn there, in logical pixels.
QRect inkIn(const QImage& image, const QRect& logical) {
    const qreal ratio = image.devicePixelRatio();
    QRect ink;
    for (int y = static_cast<int>(logical.top() * ratio); y <= static_cast<int>((logical.bottom() + 1) * ratio) - 1; ++y)
        for (int x = static_cast<int>(logical.left() * ratio); x <= static_cast<int>((logical.right() + 1) * ratio) - 1; ++x)
            if (image.pixelColor(x, y).lightness() < 140) ink |= QRect(x, y, 1, 1);
    return ink.isNull() ? ink : QRectF(QPointF(ink.topLeft()) / ratio, QSizeF(ink.size()) / ratio).toRect();
}

// Figures of a table stand at one height, whatever room their sub-column gives: two-digit set
// figures in the set column's narrow sub-columns, "100%" in the attack's, single digits in the
// serve's wide ones.
TEST(StatisticsDrawing, EveryFigureOfATableIsDrawnAtOneHeight) {
    const std::string statistics =
        "[testata]\r\nf_b;f_r;f_s;f_m\r\n[home]\r\n05;Galli;8;13;11;3;0;7;1;0;2;0;0;5;0;0;5;100%;1;1\r\n"
        "TO;Totale;8;13;11;3;0;7;1;0;2;0;0;5;0;0;5;100%;1;1\r\n"
        "[opponent]\r\n12;Verdi;2;4;0;;;9;0;1;0;0;0;6;0;1;3;50%;1;2\r\nTO;Totale;2;4;0;;;9;0;1;0;0;0;6;0;1;3;50%;1;2\r\n";
    StatisticsDisc disc(statistics);
    TFStatVoll* stats = disc.open(true);
    QTest::qWait(50);
    // For looking at the tables: CORVANE_SCREENSHOTS names a folder that receives their picture.
    if (const char* folder = std::getenv("CORVANE_SCREENSHOTS"); folder && *folder)
        stats->grab().save(QString::fromLocal8Bit(folder) + QStringLiteral("/volleyball-figures.png"));
    for (const bool side : {true, false}) {
        TextGrid* grid = stats->table(side);
        const QImage image = shot(grid->viewport());
        std::map<int, std::string> heights;  // ink height: where it was seen
        for (const auto [column, subColumns] : {std::pair{1, 5}, {2, 3}, {3, 3}, {4, 5}, {5, 2}})
            for (int sub = 0; sub < subColumns; ++sub) {
                const int width = subColumnWidth(grid, column, subColumns);
                const QRect place(grid->columnViewportPosition(column) + sub * (width + 1), grid->rowViewportPosition(1),
                                  width, grid->rowHeight(1));
                const QString figure = grid->cellText(column, 1).section(QChar(';'), sub, sub);
                const QRect ink = inkIn(image, place);
                if (figure.isEmpty()) continue;
                ASSERT_FALSE(ink.isNull()) << "column " << column << " sub-column " << sub << " shows nothing";
                // Digits only: the percent sign stands a little lower than they do.
                if (figure.contains(QChar('%'))) continue;
                heights[ink.height()] += " " + std::to_string(column) + "/" + std::to_string(sub) + "=" + figure.toStdString();
            }
        EXPECT_EQ(heights.size(), 1u) << (side ? "home" : "opponent") << ": " << ::testing::PrintToString(heights);
        ASSERT_FALSE(heights.empty());
        EXPECT_GE(heights.begin()->first, 7) << "figures must stay legible";
    }
}

TEST(StatisticsDrawing, DockAndCloseButtonsShowTheirGlyphsOnTheBlackVideoArea) {
    StatisticsDisc disc;
    TFStatVoll* stats = disc.open(true);
    QTest::qWait(50);
    for (QWidget* button : {static_cast<QWidget*>(stats->dockButton()), static_cast<QWidget*>(stats->closeButton())}) {
        const QImage image = shot(button);
        int dark = 0, light = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const int lightness = image.pixelColor(x, y).lightness();
                dark += lightness < 80 ? 1 : 0;
                light += lightness > 180 ? 1 : 0;
            }
        const int all = image.width() * image.height();
        EXPECT_GT(light, all / 3) << button->objectName().toStdString() << ": a light face";
        EXPECT_GT(dark, all / 40) << button->objectName().toStdString() << ": a dark glyph on it";
    }
}

// A copy of the demo disc's volleyball match whose home team has a name of 20,000 characters,
// accented ones among them; the films are linked, not copied.
std::filesystem::path demoMatchWithLongHomeName(const std::filesystem::path& into) {
    namespace fs = std::filesystem;
    const fs::path demo = testing::demoDisc();
    fs::path source;
    for (const auto& entry : fs::directory_iterator(demo / "Tlx_Video"))
        if (entry.path().filename().string().find("Volley") != std::string::npos) source = entry.path();
    if (source.empty()) return {};
    fs::copy(demo / "System", into / "System", fs::copy_options::recursive);
    const fs::path package = into / "Tlx_Video" / source.filename();
    fs::create_directories(package);
    std::string longName;
    for (int n = 0; n < 20000; ++n) longName += n % 5 == 0 ? '\xE0' : static_cast<char>('a' + n % 26);  // à in 1252
    for (const auto& entry : fs::directory_iterator(source)) {
        const fs::path target = package / entry.path().filename();
        if (entry.path().extension() == ".vsc") {
            std::string scout = testing::readFile(entry.path());
            const std::size_t teams = scout.find("[3TEAMS]");
            const std::size_t name = scout.find(';', teams) + 1;
            scout.replace(name, scout.find(';', name) - name, longName);
            std::ofstream(target, std::ios::binary) << scout;
        } else if (entry.path().extension() == ".mpg") {
            // A link would lead out of the package, which the player refuses.
            std::error_code error;
            fs::create_hard_link(entry.path(), target, error);
            if (error) fs::copy_file(entry.path(), target);
        } else {
            fs::copy_file(entry.path(), target);
        }
    }
    return into;
}

TEST(StatisticsWindow, AHomeTeamNameOf20000CharactersKeepsTheWindowResponsive) {
    testing::TempFolder folder;
    const auto disc = demoMatchWithLongHomeName(folder.path());
    ASSERT_FALSE(disc.empty()) << "no demo disc at " << testing::demoDisc();
    QElapsedTimer watchdog;
    watchdog.start();
    MainWindowRun run(disc, QSize(1920, 1080));
    ASSERT_TRUE(run.window->firstActivationDone());
    ASSERT_EQ(run.state().match.MatchInfo[15].size(), 20000u);
    run.app().settings.write(StatisticheModVis, "1");
    run.window->ButStatClick();
    TFStatVoll* stats = run.window->statistics();
    ASSERT_TRUE(stats);
    for (int n = 0; n < 20; ++n) {
        stats->table(true)->viewport()->repaint();
        run.window->repaint();
    }
    // The user-interface thread answers: a timer fires within a generous bound.
    bool answered = false;
    QTimer::singleShot(0, [&] { answered = true; });
    EXPECT_TRUE(waitFor([&] { return answered; }));
    EXPECT_LT(watchdog.elapsed(), 30000) << "the window took this long to open and draw";
}

// Quitting with the statistics docked, or after a docked window was closed with its own button:
// every statistics window ends while the main window is still whole (the sanitizer build reports
// a call into a main window already being torn down).
TEST_F(StatisticsFixture, TheProgramClosesWithTheStatisticsDockedOrClosedBeforeIt) {
    run->app().settings.write(StatisticheModVis, "1");
    const auto click = [](QWidget* button) {
        ASSERT_TRUE(button && button->isVisible());
        QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
    };
    click(run->window->searchPanel()->findChild<QPushButton*>("ButStat"));
    ASSERT_TRUE(run->window->statistics() && run->window->statistics()->docked());
    click(run->window->statistics()->findChild<QToolButton*>("XiButton1"));
    ASSERT_TRUE(waitFor([&] { return run->window->statistics() == nullptr; }));

    click(run->window->searchPanel()->findChild<QPushButton*>("ButStat"));
    const QPointer<TFStatVoll> docked = run->window->statistics();
    ASSERT_TRUE(docked && docked->docked());
    click(run->control("ButClose"));
    EXPECT_FALSE(run->window->isVisible());
    run->window.reset();  // the program's end: the main window goes
    EXPECT_TRUE(docked.isNull());
}

TEST(StatisticsWithoutPlayers, ShowsMessage130AndNoWindow) {
    Disc disc{{narrow()}};
    disc.withCodes(kServeRallies);
    MainWindowRun run(disc);
    run.window->ButStatClick();
    ASSERT_EQ(run.boxes.shown.size(), 1u);
    EXPECT_EQ(run.boxes.shown[0].text, run.messageText(130));
    EXPECT_EQ(run.window->statistics(), nullptr);
}

}  // namespace
}  // namespace corvane
