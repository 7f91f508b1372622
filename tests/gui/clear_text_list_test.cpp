#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QPixmap>
#include <QTest>
#include <QToolButton>

#include <cstdlib>
#include <filesystem>

#include <gtest/gtest.h>

#include "codes/code_description.h"
#include "codes/tfcodici.h"
#include "core/cp1252.h"
#include "gui/coach_clicks.h"
#include "gui/main_window_run.h"
#include "ui/text_grid.h"

namespace corvane {
namespace {

using testing::MainWindowRun;
using testing::waitFor;

// The whole word, not a piece of it: "Segnato" in "... Segnato in terzo tempo" or in
// "... Segnato..." (the cut after it), not in "Segn...".
bool holdsWord(const std::string& text, const std::string& word) {
    for (std::size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) {
        const std::size_t end = at + word.size();
        const bool startsWord = at == 0 || text[at - 1] == ' ';
        const bool endsWord = end == text.size() || text[end] == ' ' || text.compare(end, 3, "...") == 0;
        if (startsWord && endsWord) return true;
    }
    return false;
}

// Where a tester wants to look at the list, CORVANE_SHOT_FOLDER names the folder for its pictures.
void keepPicture(const QPixmap& picture, const QString& name) {
    const char* folder = std::getenv("CORVANE_SHOT_FOLDER");
    if (!folder || !*folder) return;
    QDir().mkpath(QString::fromLocal8Bit(folder));
    const QString path = QString::fromLocal8Bit(folder) + "/" + name;
    ASSERT_TRUE(picture.save(path + ".part.png", "PNG"));
    QFile::remove(path);
    ASSERT_TRUE(QFile::rename(path + ".part.png", path));
}

class BasketballClearText : public ::testing::TestWithParam<QSize> {};

// The demo disc's basketball match chosen in the package chooser, its list in clear text: every
// row the list draws says how the action ended, at every screen size.
TEST_P(BasketballClearText, EveryDrawnRowShowsTheWholeEffect) {
    ASSERT_TRUE(std::filesystem::is_directory(testing::demoDisc() / "Tlx_Video")) << "make the demo disc first";
    const QSize screen = GetParam();
    MainWindowRun run(testing::demoDisc(), screen);
    auto* chooser = run.control<QComboBox>("CbMatches");
    ASSERT_TRUE(chooser);
    const int basketball = chooser->findText("Basket", Qt::MatchContains);
    ASSERT_GE(basketball, 0);
    testing::choosePackage(run, basketball);
    TFCodici* list = run.window->codeList();
    ASSERT_TRUE(waitFor([&] { return run.state().Sport == "2" && list->listRowCount() > 0; }));
    if (!list->clearText()) testing::clickButton(list->findChild<QToolButton*>("ButChiaro"));
    ASSERT_TRUE(list->clearText());

    auto* grid = list->findChild<TextGrid*>("SGrid");
    const QString size = QStringLiteral("%1x%2").arg(screen.width()).arg(screen.height());
    keepPicture(run.window->grab(), "basketball-window-" + size + ".png");
    keepPicture(list->grab(), "basketball-code-list-" + size + ".png");  // draws every visible row

    const CodeDescriptionSources sources{run.state().Sport, run.state().match, run.state().events,
                                         run.messageText(131)};
    int withEffect = 0;
    for (int gridRow = 0; gridRow < list->listRowCount(); ++gridRow) {
        const QRect cell = grid->visualRect(grid->model()->index(gridRow, 0));
        if (!grid->viewport()->rect().intersects(cell)) continue;
        const auto drawn = list->drawnClearText(gridRow + 1);
        ASSERT_TRUE(drawn) << "row " << gridRow + 1 << " was not drawn";
        // The place at the right edge is read only where the scroll bar leaves it in sight.
        EXPECT_LT(drawn->room.right(), grid->viewport()->width()) << size.toStdString() << " row " << gridRow + 1;
        const std::string& code = list->listRow(gridRow + 1).code;
        const std::string effect = cp1252ToUtf8(DescribeCodeParts(code, sources).effect);
        if (effect.empty()) continue;
        ++withEffect;
        EXPECT_TRUE(holdsWord(drawn->line.text, effect))
            << size.toStdString() << " row " << gridRow + 1 << " " << code << ": \"" << drawn->line.text << "\" lacks \""
            << effect << "\"";
    }
    EXPECT_GE(withEffect, 10) << "the visible rows hold too few outcomes to prove anything";
}

INSTANTIATE_TEST_SUITE_P(ScreenSizes, BasketballClearText,
                         ::testing::Values(QSize(1920, 1080), QSize(1280, 1024), QSize(1024, 768)),
                         [](const auto& info) {
                             return std::to_string(info.param.width()) + "x" + std::to_string(info.param.height());
                         });

}  // namespace
}  // namespace corvane
