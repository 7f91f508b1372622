#include "stats/tfstatos.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>

#include "codes/match_code.h"
#include "codes/tfcodici.h"
#include "core/files.h"
#include "core/text.h"
#include "gui/main_window_run.h"
#include "gui/screenshots.h"
#include "scout/code_table.h"
#include "stats/stat_generator.h"
#include "stats/tfvisestensioni.h"
#include "ui/text_grid.h"

namespace corvane {
namespace {

using testing::MainWindowRun;
using testing::waitFor;

const std::string kBasket = "2026-12-02_Basket_Aquile-Lupi";

using testing::screenshot;

// The basketball match of the demo disc, its statistics opened by the opening itself.
struct EventStatisticsOnTheDemoDisc : ::testing::Test {
    std::unique_ptr<MainWindowRun> run;
    TFStatOs* stats = nullptr;

    void SetUp() override {
        ASSERT_TRUE(std::filesystem::is_directory(testing::demoDisc() / "Tlx_Video"))
            << "no demo disc: make it with tools/make_demo_disc.sh";
        run = std::make_unique<MainWindowRun>(testing::demoDisc());
        run->app().settings.write(StatisticheModVis, "0");
        run->window->openPackage(kBasket, false);
        stats = run->window->eventStatistics();
        ASSERT_TRUE(stats) << "opening a basketball match opens its statistics";
        ASSERT_TRUE(QTest::qWaitForWindowExposed(stats));
    }

    int column(const std::string& event) const {
        const auto& headers = stats->stats().headers;
        for (std::size_t c = 0; c < headers.size(); ++c)
            if (headers[c].substr(0, 2) == event) return static_cast<int>(c) + 1;
        return -1;
    }
    // The first home data row (1..) whose text begins so.
    int row(bool home, const std::string& start) const {
        const TextGrid* grid = stats->table(home);
        for (int r = 1; r < grid->rowCount(); ++r)
            if (grid->cellText(0, r).startsWith(QString::fromStdString(start))) return r;
        return -1;
    }
    // The centre of sub-column `sub` of a cell, as the window lays its sub-columns out.
    QPoint subColumnPoint(bool home, int column, int row, int sub) const {
        const TextGrid* grid = stats->table(home);
        const int left = grid->columnViewportPosition(column);
        const int labels = static_cast<int>(headerLabels(stats->stats().headers[static_cast<std::size_t>(column - 1)]).size());
        const auto subs = TFStatOs::subColumns(left, left + grid->columnWidth(column) - 1, labels);
        const auto& at = subs[static_cast<std::size_t>(sub)];
        return {at.left + at.width / 2, grid->rowViewportPosition(row) + 5};
    }
    void click(bool home, const QPoint& point) const {
        QTest::mouseMove(stats->table(home)->viewport(), point);
        QTest::mouseClick(stats->table(home)->viewport(), Qt::LeftButton, {}, point);
    }
    std::string figure(bool home, int column, int row, int sub) const {
        return stats->table(home)->cellText(column, row).split(QChar(';')).value(sub).toStdString();
    }
    // The extension button of the home player 11's shots (FI).
    QToolButton* ricciShotsButton() const {
        return stats->findChild<QToolButton*>(
            QStringLiteral("SpdNFI%1%2").arg(row(true, "11-"), 2, 10, QChar('0')).arg(column("FI"), 2, 10, QChar('0')));
    }
    const std::string& search() const { return run->state().analysis[AnalysisRecord::main_code]; }
    TFCodici* list() const { return run->window->codeList(); }
    // Every listed code matches the search and their number is the figure.
    void expectListed(const std::string& figureText) const {
        const int count = figureText.empty() ? 0 : std::stoi(figureText);
        ASSERT_EQ(list()->listRowCount(), count) << search();
        for (int r = 1; r <= count; ++r)
            EXPECT_TRUE(MatchCode(list()->listRow(r).code, search(), AnySide, "2")) << list()->listRow(r).code;
    }
};

TEST_F(EventStatisticsOnTheDemoDisc, AFigureListsThatPlayersCodesOfThatEffectAndPlaysTheFirst) {
    const int fi = column("FI");
    ASSERT_GT(fi, 0);
    const auto labels = headerLabels(stats->stats().headers[static_cast<std::size_t>(fi - 1)]);
    const int made = static_cast<int>(std::find(labels.begin(), labels.end(), "#") - labels.begin());
    // The first player who scored a two in the paint.
    int player = 1;
    while (player < stats->table(true)->rowCount() && figure(true, fi, player, made).empty()) ++player;
    const std::string number = stats->table(true)->cellText(0, player).left(2).toStdString();
    click(true, subColumnPoint(true, fi, player, made));
    EXPECT_EQ(search(), "*" + number + "FI#~~~~");
    expectListed(figure(true, fi, player, made));
    ASSERT_GT(list()->listRowCount(), 0);
    const CodeListRow& first = list()->listRow(1);
    const int second = std::stoi(std::string(run->state().codeTable.Cell(VideoSec, first.row)));
    EXPECT_EQ(run->shownStamp()->second, std::max(0, second - run->state().playback.PreRollSeconds));

    // The first sub-column, the overall figure, leaves the effect open.
    click(true, subColumnPoint(true, fi, player, 0));
    EXPECT_EQ(search(), "*" + number + "FI~~~~");
    expectListed(figure(true, fi, player, 0));
}

TEST_F(EventStatisticsOnTheDemoDisc, TheTeamRowSearchesTheTeamsOwnActionsAndTheTotalsEveryPlayer) {
    const int rebounds = column("RD");
    const int team = row(false, "SQ");
    ASSERT_GT(team, 0);
    click(false, subColumnPoint(false, rebounds, team, 0));
    EXPECT_EQ(search(), "a$$RD~~~~");
    expectListed(figure(false, rebounds, team, 0));
    click(false, subColumnPoint(false, rebounds, team + 1, 0));
    EXPECT_EQ(search(), "a~~RD~~~~");
    expectListed(figure(false, rebounds, team + 1, 0));
}

TEST_F(EventStatisticsOnTheDemoDisc, OnlyALeftClickOnOneCellSearches) {
    const int fi = column("FI");
    ASSERT_GT(fi, 0);
    QWidget* viewport = stats->table(true)->viewport();
    const QPoint first = subColumnPoint(true, fi, 1, 0);
    const QPoint second = subColumnPoint(true, fi, 2, 0);
    run->state().analysis[AnalysisRecord::main_code] = "untouched";
    const int listed = list()->listRowCount();
    const auto expectNoSearch = [&](const char* what) {
        SCOPED_TRACE(what);
        EXPECT_EQ(search(), "untouched");
        EXPECT_EQ(list()->listRowCount(), listed);
    };
    QTest::mouseMove(viewport, first);
    QTest::mouseClick(viewport, Qt::RightButton, {}, first);
    expectNoSearch("a right click");
    QTest::mouseClick(viewport, Qt::MiddleButton, {}, first);
    expectNoSearch("a middle click");
    QTest::mousePress(viewport, Qt::LeftButton, {}, first);
    QTest::mouseMove(viewport, second);
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, second);
    expectNoSearch("a drag to the next player");
    QTest::mousePress(viewport, Qt::RightButton, {}, first);
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, first);
    expectNoSearch("a left release after a right press");

    click(true, second);
    EXPECT_EQ(search().substr(3, 2), "FI");
    expectListed(figure(true, fi, 2, 0));
}

TEST_F(EventStatisticsOnTheDemoDisc, TheTotalsPlayerCellListsEveryActionOfTheSideAndMayClose) {
    const TextGrid* grid = stats->table(false);
    const int totals = grid->rowCount() - 1;
    ASSERT_TRUE(grid->cellText(0, totals).startsWith(QStringLiteral("TO")));
    run->app().settings.write(CloseStatistics, "1");
    QPointer<TFStatOs> window = stats;
    click(false, QPoint(grid->columnViewportPosition(0) + 40, grid->rowViewportPosition(totals) + 5));
    EXPECT_EQ(search(), "a~~~~~~~~~");
    int side = 0;
    for (int row = 1; row < run->state().codeTable.RowCount(); ++row)
        side += MatchCode(run->state().codeTable.Cell(Code, row), "a~~~~~~~~~", AnySide, "2");
    EXPECT_GT(side, 0);
    EXPECT_EQ(list()->listRowCount(), side);
    EXPECT_TRUE(waitFor([&] { return window.isNull(); })) << "CloseStatistics is read after the click";
}

TEST_F(EventStatisticsOnTheDemoDisc, DocksAboveTheVideoAndFloatsBack) {
    ASSERT_FALSE(stats->docked());
    const int videoHeight = run->control("Panel5")->height();
    auto* dock = stats->findChild<QToolButton*>(QStringLiteral("SpeedButton1"));
    ASSERT_TRUE(dock && dock->isVisible());
    screenshot("statos-floating");
    QTest::mouseClick(dock, Qt::LeftButton);
    EXPECT_TRUE(stats->docked());
    screenshot("statos-docked");
    EXPECT_TRUE(run->control("Panel3")->isVisible());
    EXPECT_LT(run->control("Panel5")->height(), videoHeight);
    EXPECT_EQ(run->app().settings.read(StatisticheModVis), "1");
    // The extension buttons follow the tables.
    EXPECT_TRUE(stats->findChild<QToolButton*>(QStringLiteral("SpdNFI01%1").arg(column("FI"), 2, 10, QChar('0'))));
    QTest::mouseClick(dock, Qt::LeftButton);
    EXPECT_FALSE(stats->docked());
    EXPECT_FALSE(run->control("Panel3")->isVisible());
    EXPECT_EQ(run->control("Panel5")->height(), videoHeight);
    EXPECT_EQ(run->app().settings.read(StatisticheModVis), "0");
}

TEST_F(EventStatisticsOnTheDemoDisc, ExtensionsOpenBesideThePointerAndEveryLabelSearches) {
    QToolButton* button = ricciShotsButton();
    ASSERT_TRUE(button);
    QCursor::setPos(button->mapToGlobal(QPoint(8, 8)));
    QTest::mouseClick(button, Qt::LeftButton);
    TFVisEstensioni* level1 = stats->extensionWindow(1);
    ASSERT_TRUE(level1);
    EXPECT_EQ(level1->objectName(), "FVisEstensioni1");
    EXPECT_EQ(level1->pos(), QCursor::pos() + QPoint(14, 10));
    EXPECT_TRUE(level1->caption().startsWith("Ricci Paolo, "));
    const std::string pattern = level1->pattern();
    EXPECT_EQ(pattern, "*11FI        ");

    TextGrid* grid = level1->table();
    const auto labels = extensionLabels(level1->stats());
    const int labelWidth = grid->columnWidth(1) / static_cast<int>(labels.size());
    const auto clickLabel = [&](int row, int label) {
        // Just inside the label's left edge, where a coach's click lands on a narrow label.
        const QPoint at(grid->columnWidth(0) + label * labelWidth + 3, grid->rowViewportPosition(row) + 5);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
    };
    const std::string rowCode = level1->stats().rows[1].code;
    const auto values = SplitText(level1->stats().rows[1].values, ';');
    for (int label = 0; label < static_cast<int>(labels.size()); ++label) {
        SCOPED_TRACE(labels[static_cast<std::size_t>(label)]);
        clickLabel(1, label);
        const char effect = labels[static_cast<std::size_t>(label)] == "t"   ? '~'
                            : labels[static_cast<std::size_t>(label)][0] == '%' ? labels[static_cast<std::size_t>(label - 1)][0]
                                                                                : labels[static_cast<std::size_t>(label)][0];
        EXPECT_EQ(search()[5], effect);
        EXPECT_EQ(search().substr(6, 2), rowCode.substr(6, 2));
        if (labels[static_cast<std::size_t>(label)][0] != '%') expectListed(values[static_cast<std::size_t>(label)]);
    }
    // A click on the code keeps position 6 as the window's pattern has it.
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, QPoint(20, grid->rowViewportPosition(1) + 5));
    EXPECT_EQ(search()[5], ' ');
    expectListed(values[0]);

    // A row with a deeper level: its button opens level 2; pressed again, a new level 2 replaces it.
    int deeper = -1;
    for (int r = 1; r < grid->rowCount() && deeper < 0; ++r)
        if (level1->subExtensionButton(r)) deeper = r;
    ASSERT_GT(deeper, 0);
    QCursor::setPos(level1->subExtensionButton(deeper)->mapToGlobal(QPoint(8, 8)));
    QTest::mouseClick(level1->subExtensionButton(deeper), Qt::LeftButton);
    QPointer<TFVisEstensioni> level2 = stats->extensionWindow(2);
    ASSERT_TRUE(level2);
    EXPECT_EQ(level2->objectName(), "FVisEstensioni2");
    EXPECT_EQ(level2->pos(), QCursor::pos() + QPoint(10, 10));
    EXPECT_EQ(level2->table()->columnWidth(1), 40 * static_cast<int>(extensionLabels(level2->stats()).size()));
    screenshot("extension-chain");
    QTest::mouseClick(level1->subExtensionButton(deeper), Qt::LeftButton);
    EXPECT_TRUE(level2.isNull());
    ASSERT_TRUE(stats->extensionWindow(2));
    // Opening level 1 again closes every deeper window.
    QPointer<TFVisEstensioni> second = stats->extensionWindow(2);
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_TRUE(second.isNull());
    EXPECT_TRUE(stats->extensionWindow(1));
}

TEST_F(EventStatisticsOnTheDemoDisc, TheExtensionTotalsRowListsEveryCodeItCountsOnALeftClickOnly) {
    QToolButton* button = ricciShotsButton();
    ASSERT_TRUE(button);
    QTest::mouseClick(button, Qt::LeftButton);
    TFVisEstensioni* level1 = stats->extensionWindow(1);
    ASSERT_TRUE(level1);
    TextGrid* grid = level1->table();
    const int totals = grid->rowCount() - 1;
    const QPoint code(20, grid->rowViewportPosition(totals) + 5);
    run->state().analysis[AnalysisRecord::main_code] = "untouched";
    QTest::mouseClick(grid->viewport(), Qt::RightButton, {}, code);
    QTest::mouseClick(grid->viewport(), Qt::MiddleButton, {}, code);
    QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, QPoint(20, grid->rowViewportPosition(1) + 5));
    QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, code);
    EXPECT_EQ(search(), "untouched");

    const std::string total = SplitText(level1->stats().rows.back().values, ';').front();
    run->app().settings.write(CloseStatistics, "1");
    QPointer<TFVisEstensioni> window = level1;
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, code);
    EXPECT_EQ(search(), "*11FI        ");
    expectListed(total);
    EXPECT_TRUE(waitFor([&] { return window.isNull(); }));
}

// A folder nothing can be written into, root included: immutable where the file system allows it
// (root may set that), read-only by its mode otherwise. Restored when the object goes.
class UnwritableFolder {
public:
    explicit UnwritableFolder(std::filesystem::path folder) : folder_(std::move(folder)) {
        std::filesystem::permissions(folder_, std::filesystem::perms::owner_write | std::filesystem::perms::group_write |
                                                  std::filesystem::perms::others_write,
                                     std::filesystem::perm_options::remove);
        immutable_ = setImmutable(true);
        const auto probe = folder_ / "probe";
        std::ofstream out(probe);
        unwritable_ = !out.is_open();
        out.close();
        std::error_code ignored;
        if (!unwritable_) std::filesystem::remove(probe, ignored);
    }
    ~UnwritableFolder() {
        if (immutable_) setImmutable(false);
        std::filesystem::permissions(folder_, std::filesystem::perms::owner_write, std::filesystem::perm_options::add);
    }
    UnwritableFolder(const UnwritableFolder&) = delete;
    UnwritableFolder& operator=(const UnwritableFolder&) = delete;

    bool unwritable() const { return unwritable_; }

private:
    bool setImmutable(bool on) const {
        const int descriptor = ::open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (descriptor < 0) return false;
        int flags = 0;
        bool done = ::ioctl(descriptor, FS_IOC_GETFLAGS, &flags) == 0;
        flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
        done = done && ::ioctl(descriptor, FS_IOC_SETFLAGS, &flags) == 0;
        ::close(descriptor);
        return done;
    }

    std::filesystem::path folder_;
    bool immutable_ = false;
    bool unwritable_ = false;
};

void writeTo(const std::filesystem::path& file, const std::string& content) {
    std::ofstream(file, std::ios::binary) << content;
}

// A basketball match of one player's shots, its statistics offering the shots' extensions.
struct ExtensionsOfOnePlayer : ::testing::Test {
    testing::Disc disc{{testing::filmPath(testing::mpeg1Film())}};
    std::unique_ptr<MainWindowRun> run;
    TFStatOs* stats = nullptr;
    // What an earlier click left in the documents folder: other figures altogether.
    const std::string planted =
        "[testata]\r\nt$=$%$#$%\r\n[home]\r\n*05FI~DU|999;999;100%;0;0%\r\n*05FI~LA|999;999;100%;0;0%\r\n"
        "Totali|999;999;100%;0;0%\r\n[eventswithext]\r\n*05FI~DU;*05FI~LA\r\n";

    void open(const std::string& event) {
        const auto package = disc.path() / "Tlx_Video" / "Partita";
        writeTo(package / "Match.cfg", "sport=2\r\ncapturecard=\r\nfile rilevazione=scout.txt\r\n");
        writeTo(package / "scout.txt",
                "[match]\r\nAquile - Lupi\r\n15/03/2024;18:00\r\nAQU;Aquile;Bellini;;0\r\nLUP;Lupi;Gallo;;0\r\n;;;;;\r\n;;;\r\n"
                "[hometeam]\r\n05;;Galli\r\n[oppteam]\r\n10;;Moretti\r\n[scout]\r\n"
                "*05" + event + "#LAZ1;1;;1;5\r\n*05" + event + "=LAZ2;1;;1;10\r\n*05" + event + "#DU;1;;1;15\r\n"
                "*05" + event + "#LA;1;;1;20\r\n*05" + event + "=DU;1;;1;25\r\n");
        writeTo(package / "Stat.txt", "[testata]\r\n" + event + "|Tot$=$#\r\n[home]\r\n05;Galli;5;2;3\r\nSQ;Squadra;;;\r\n"
                                      "TO;Totali;5;2;3\r\n[opponent]\r\n10;Moretti;;;\r\nSQ;Squadra;;;\r\nTO;Totali;;;\r\n"
                                      "[eventswithext]\r\n" + event + "\r\n");
        run = std::make_unique<MainWindowRun>(disc);
        run->app().settings.write(StatisticheModVis, "0");
        run->window->openPackage("Partita", false);
        stats = run->window->eventStatistics();
        ASSERT_TRUE(stats);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(stats));
    }
    std::filesystem::path documents() { return run->app().platform.documentsFolder(); }
    // The extension button of Galli's shots, pressed where a coach presses it.
    void pressExtensionButton(const std::string& event) const {
        auto* button = stats->findChild<QToolButton*>(QString::fromStdString("SpdN" + event + "0101"));
        ASSERT_TRUE(button);
        QCursor::setPos(button->mapToGlobal(QPoint(8, 8)));
        QTest::mouseClick(button, Qt::LeftButton);
    }
    // Every row of a window as it shows it: code and values.
    static std::vector<std::string> shownRows(const TFVisEstensioni& window) {
        std::vector<std::string> rows;
        for (int r = 1; r < window.table()->rowCount(); ++r)
            rows.push_back(window.stats().rows[static_cast<std::size_t>(r)].code + "|" +
                           window.table()->cellText(1, r).toStdString());
        return rows;
    }
    static std::vector<std::string> rowsOf(const ExtensionStats& figures) {
        std::vector<std::string> rows;
        for (std::size_t r = 1; r < figures.rows.size(); ++r) rows.push_back(figures.rows[r].code + "|" + figures.rows[r].values);
        return rows;
    }
    std::size_t boxesSaying(int message) const {
        const std::string text = run->messageText(message);
        const std::string start = text.substr(0, text.find("%s"));
        return static_cast<std::size_t>(std::count_if(run->boxes.shown.begin(), run->boxes.shown.end(),
                                                      [&](const auto& box) { return box.text.rfind(start, 0) == 0; }));
    }
};

TEST_F(ExtensionsOfOnePlayer, AnUnwritableDocumentsFolderShowsThisClicksFiguresAndSaysSo) {
    open("FI");
    writeTo(documents() / "StatExt.txt", planted);
    const UnwritableFolder folder(documents());
    if (!folder.unwritable()) GTEST_SKIP() << "no way to make a folder unwritable here";

    pressExtensionButton("FI");
    TFVisEstensioni* level1 = stats->extensionWindow(1);
    ASSERT_TRUE(level1);
    const std::string pattern = level1->pattern();
    EXPECT_EQ(pattern, "*05FI        ");
    EXPECT_EQ(shownRows(*level1), (std::vector<std::string>{"*05FI~DU|2;1;50%;1;50%", "*05FI~LA|3;1;33%;2;67%",
                                                            "Totali|5;2;40%;3;60%"}));
    EXPECT_EQ(shownRows(*level1), rowsOf(computeExtensionStats(run->state().codeTable, "2", pattern)));
    EXPECT_EQ(testing::readFile(documents() / "StatExt.txt"), planted);
    EXPECT_EQ(boxesSaying(621), 1u);
    EXPECT_NE(disc.log().find("StatExt.txt: the file cannot be written"), std::string::npos) << disc.log();

    // The figures are the ones a click lists: the made lay-ups.
    TextGrid* grid = level1->table();
    const int labelWidth = grid->columnWidth(1) / 5;
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                      QPoint(grid->columnWidth(0) + 3 * labelWidth + 3, grid->rowViewportPosition(2) + 5));
    EXPECT_EQ(run->state().analysis[AnalysisRecord::main_code], "*05FI#LA     ");
    EXPECT_EQ(run->window->codeList()->listRowCount(), 2);

    // The deeper level of the lay-ups opens with its own figures, and the user is not told again.
    ASSERT_TRUE(level1->subExtensionButton(2));
    QCursor::setPos(level1->subExtensionButton(2)->mapToGlobal(QPoint(8, 8)));
    QTest::mouseClick(level1->subExtensionButton(2), Qt::LeftButton);
    TFVisEstensioni* level2 = stats->extensionWindow(2);
    ASSERT_TRUE(level2);
    EXPECT_EQ(shownRows(*level2), (std::vector<std::string>{"*05FI~LAZ1|1;0;0%;1;100%", "*05FI~LAZ2|1;1;100%;0;0%",
                                                            "Totali|3;1;33%;2;67%"}));
    EXPECT_EQ(boxesSaying(621), 1u);
}

TEST_F(ExtensionsOfOnePlayer, NoFiguresOpenNothingAndSayWhy) {
    // An event code with a section bracket would break the record's lines: no figures are made.
    open("F[");
    writeTo(documents() / "StatExt.txt", planted);
    pressExtensionButton("F[");
    EXPECT_FALSE(stats->extensionWindow(1));
    EXPECT_EQ(boxesSaying(620), 1u);
    EXPECT_NE(disc.log().find("StatExt.txt: the pattern is not a code pattern"), std::string::npos) << disc.log();
    EXPECT_FALSE(fileExists(documents() / "StatExt.txt"));
}

}  // namespace
}  // namespace corvane
