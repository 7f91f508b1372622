// The extension window's figures as a coach sees them: each inside its own sub-column, where a
// click on it selects it, at every main-window size.

#include <QCursor>
#include <QImage>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <fstream>

#include "codes/match_code.h"
#include "codes/tfcodici.h"
#include "core/text.h"
#include "gui/main_window_run.h"
#include "stats/extension_stats.h"
#include "stats/tfstatos.h"
#include "stats/tfvisestensioni.h"
#include "ui/text_grid.h"

namespace corvane {
namespace {

using testing::MainWindowRun;

void writeTo(const std::filesystem::path& file, const std::string& content) {
    std::ofstream(file, std::ios::binary) << content;
}

// Galli's shots: 20 drives, one made ("95%" and "5%"), one lay-up, made ("100%").
std::string shotsScout() {
    std::string scout =
        "[match]\r\nAquile - Lupi\r\n15/03/2024;18:00\r\nAQU;Aquile;Bellini;;0\r\nLUP;Lupi;Gallo;;0\r\n;;;;;\r\n;;;\r\n"
        "[hometeam]\r\n05;;Galli\r\n[oppteam]\r\n10;;Moretti\r\n[scout]\r\n";
    for (int shot = 0; shot < 20; ++shot)
        scout += std::string("*05FI") + (shot == 7 ? "#" : "=") + "DU;1;;1;" + std::to_string(2 + 4 * shot) + "\r\n";
    scout += "*05FI#LA;1;;1;90\r\n";
    return scout;
}

// The pixels of the image, in logical coordinates, that are drawn ink on a cell's background.
struct Ink {
    QImage image;
    bool light;  // white text on the dark header, black text on the light rows

    bool at(int x, int y) const {
        const qreal ratio = image.devicePixelRatio();
        for (int dy = 0; dy < static_cast<int>(ratio); ++dy)
            for (int dx = 0; dx < static_cast<int>(ratio); ++dx) {
                const int gray = qGray(image.pixel(static_cast<int>(x * ratio) + dx, static_cast<int>(y * ratio) + dy));
                if (light ? gray > 200 : gray < 100) return true;
            }
        return false;
    }
    // The columns from `left` to `right` (excluded) of rows `top` to `bottom` (excluded) that hold ink.
    std::vector<int> columns(int left, int right, int top, int bottom) const {
        std::vector<int> found;
        for (int x = left; x < right; ++x)
            for (int y = top; y < bottom; ++y)
                if (at(x, y)) {
                    found.push_back(x);
                    break;
                }
        return found;
    }
};

struct FiguresAtAScreenSize : ::testing::TestWithParam<QSize> {
    testing::Disc disc{{testing::filmPath(testing::mpeg1Film())}};
    std::unique_ptr<MainWindowRun> run;
    TFStatOs* stats = nullptr;

    void SetUp() override {
        const auto package = disc.path() / "Tlx_Video" / "Partita";
        writeTo(package / "Match.cfg", "sport=2\r\ncapturecard=\r\nfile rilevazione=scout.txt\r\n");
        writeTo(package / "scout.txt", shotsScout());
        writeTo(package / "Stat.txt", "[testata]\r\nFI|Tot$=$#\r\n[home]\r\n05;Galli;21;19;2\r\nSQ;Squadra;;;\r\n"
                                      "TO;Totali;21;19;2\r\n[opponent]\r\n10;Moretti;;;\r\nSQ;Squadra;;;\r\n"
                                      "TO;Totali;;;\r\n[eventswithext]\r\nFI\r\n");
        run = std::make_unique<MainWindowRun>(disc, GetParam());
        run->app().settings.write(StatisticheModVis, "0");
        run->window->openPackage("Partita", false);
        stats = run->window->eventStatistics();
        ASSERT_TRUE(stats);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(stats));
    }
};

// With CORVANE_SCREENSHOTS naming a folder, the window is saved there as drawn.
void saveShot(QWidget& window, const QString& name) {
    const char* folder = std::getenv("CORVANE_SCREENSHOTS");
    if (folder && *folder) window.grab().save(QString::fromLocal8Bit(folder) + "/" + name + ".png");
}

const std::string& searched(MainWindowRun& run) { return run.state().analysis[AnalysisRecord::main_code]; }

// Every label and figure of the window is drawn inside its own sub-column, a pixel clear of its
// edges, and a click at the middle of what is drawn searches that label's effect and lists the
// figure's actions. The sub-columns are the values column's equal shares, one per label.
void expectEveryFigureInItsSubColumn(MainWindowRun& run, TFVisEstensioni& window) {
    TextGrid* grid = window.table();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const auto labels = extensionLabels(window.stats());
    ASSERT_FALSE(labels.empty());
    const int count = static_cast<int>(labels.size());
    const int left = grid->columnViewportPosition(1);
    const int share = grid->columnWidth(1) / count;
    const QImage image = grid->viewport()->grab().toImage();
    for (int row = 0; row < grid->rowCount(); ++row) {
        SCOPED_TRACE("row " + std::to_string(row));
        const Ink ink{image, row == 0};
        const int top = grid->rowViewportPosition(row);
        const int bottom = top + grid->rowHeight(row);
        const auto values = SplitText(window.stats().rows[static_cast<std::size_t>(row)].values, row == 0 ? '$' : ';');
        // Nothing on the edges of a share, nor past the last one.
        for (const int x : ink.columns(left, left + grid->columnWidth(1), top, bottom)) {
            const int inShare = (x - left) % share;
            EXPECT_TRUE(x < left + count * share && inShare != 0 && inShare != share - 1)
                << "ink at x " << x << " on the edge of sub-column " << (x - left) / share << " (" << share << " wide)";
        }
        for (int label = 0; label < count; ++label) {
            const std::string figure = label < static_cast<int>(values.size()) ? values[static_cast<std::size_t>(label)] : "";
            if (figure.empty()) continue;
            SCOPED_TRACE(labels[static_cast<std::size_t>(label)] + " " + figure);
            const auto drawn = ink.columns(left + label * share, left + (label + 1) * share, top, bottom);
            ASSERT_FALSE(drawn.empty()) << "the figure is not drawn in its sub-column";
            if (row == 0 || row + 1 == grid->rowCount()) continue;  // the header and totals: next
            const QPoint middle((drawn.front() + drawn.back()) / 2, (top + bottom) / 2);
            QTest::mouseMove(grid->viewport(), middle);
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, middle);
            EXPECT_EQ(searched(run)[5], extensionLabelEffect(labels, label)) << searched(run);
            if (labels[static_cast<std::size_t>(label)][0] != '%' && run.window->codeList())
                EXPECT_EQ(run.window->codeList()->listRowCount(), std::stoi(figure)) << searched(run);
        }
    }
    // A click at the middle of each drawn header label searches that label in the row below.
    const Ink header{image, true};
    for (int label = 0; label < count; ++label) {
        SCOPED_TRACE(labels[static_cast<std::size_t>(label)]);
        const auto drawn = header.columns(left + label * share, left + (label + 1) * share, 0, grid->rowHeight(0));
        if (drawn.empty()) continue;  // no room even for the label's symbol
        const QPoint below((drawn.front() + drawn.back()) / 2, grid->rowViewportPosition(1) + grid->rowHeight(1) / 2);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, below);
        EXPECT_EQ(searched(run)[5], extensionLabelEffect(labels, label)) << searched(run);
    }
}

TEST_P(FiguresAtAScreenSize, EveryFigureFitsItsSubColumnWhereItsClickIs) {
    auto* button = stats->findChild<QToolButton*>(QStringLiteral("SpdNFI0101"));
    ASSERT_TRUE(button);
    QCursor::setPos(button->mapToGlobal(QPoint(8, 8)));
    QTest::mouseClick(button, Qt::LeftButton);
    TFVisEstensioni* level1 = stats->extensionWindow(1);
    ASSERT_TRUE(level1);
    ASSERT_EQ(level1->stats().rows[1].values, "20;19;95%;1;5%");
    ASSERT_EQ(level1->stats().rows[2].values, "1;0;0%;1;100%");
    saveShot(*level1, QStringLiteral("extension-figures-%1x%2").arg(GetParam().width()).arg(GetParam().height()));
    expectEveryFigureInItsSubColumn(*run, *level1);
}

INSTANTIATE_TEST_SUITE_P(StatisticsDrawing, FiguresAtAScreenSize,
                         ::testing::Values(QSize(1920, 1080), QSize(1280, 1024), QSize(1024, 768)),
                         [](const auto& info) {
                             return std::to_string(info.param.width()) + "x" + std::to_string(info.param.height());
                         });

}  // namespace
}  // namespace corvane
