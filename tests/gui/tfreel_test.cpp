#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <cstdlib>

#include "app/player/tplayer.h"
#include "app/tfmain.h"
#include "codes/tfcodici.h"
#include "codes/tfsubform.h"
#include "gui/coach_clicks.h"
#include "gui/main_window_run.h"
#include "support/reel_frames.h"
#include "ui/text_grid.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;
using testing::clickButton;
using testing::Disc;
using testing::MainWindowRun;
using testing::waitFor;

QWidget* topLevel(const char* name) {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->objectName() == QLatin1String(name) && widget->isVisible()) return widget;
    return nullptr;
}

template <typename T>
T* child(QWidget* window, const char* name) {
    return window ? window->findChild<T*>(QString::fromLatin1(name)) : nullptr;
}

struct ReelExport : ::testing::Test {
    explicit ReelExport(const fs::path& film = testing::narrow()) : disc{{film}} {}
    Disc disc;
    std::unique_ptr<MainWindowRun> run;
    TFCodici* list = nullptr;
    testing::TempFolder out;

    void SetUp() override {
        disc.withCodes(testing::kRallies);
        run = std::make_unique<MainWindowRun>(disc);
        list = run->window->codeList();
        ASSERT_TRUE(list);
    }
    void typeSearch(const char* keys) const { run->typeSearch(keys); }
    // The export window opened with the button beside the list.
    QWidget* openExport() const {
        auto* button = list->findChild<QToolButton*>("ButReel");
        EXPECT_TRUE(button && button->isVisible() && !button->text().isEmpty());
        if (!button) return nullptr;
        clickButton(button);
        QWidget* dialog = nullptr;
        waitFor([&] { return (dialog = topLevel("FReel")) != nullptr; });
        return dialog;
    }
    static void typeDestination(QWidget* dialog, const fs::path& path) {
        auto* edit = child<QLineEdit>(dialog, "EdDestinazione");
        ASSERT_TRUE(edit);
        QTest::mouseClick(edit, Qt::LeftButton, {}, edit->rect().center());
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(edit, QString::fromStdString(path.string()));
    }
    // Film seconds played in a second of wall time.
    double secondsPlayedInASecond() const {
        const double before = run->player().Position();
        QTest::qWait(1000);
        return run->player().Position() - before;
    }
};

TEST_F(ReelExport, TheTickedActionsAreWrittenWhileTheFilmPlaysOn) {
    typeSearch("   a");  // the two attacks: 14 s to the point at 16, 45 s to 48
    ASSERT_EQ(list->listRowCount(), 2);
    ASSERT_TRUE(waitFor([&] { return run->player().State() == TPlayer::Playing; }));
    QWidget* dialog = openExport();
    ASSERT_TRUE(dialog);
    auto* actions = child<QListWidget>(dialog, "LstAzioni");
    ASSERT_EQ(actions->count(), 2);
    EXPECT_TRUE(actions->item(0)->text().contains(QStringLiteral("0.00.14")));
    // The first attack unticked: a click on its row and Space.
    QTest::mouseClick(actions->viewport(), Qt::LeftButton, {}, actions->visualItemRect(actions->item(0)).center());
    QTest::keyClick(actions, Qt::Key_Space);
    ASSERT_EQ(actions->item(0)->checkState(), Qt::Unchecked);
    typeDestination(dialog, out / "attack");
    clickButton(child<QCheckBox>(dialog, "CkDidascalie"));
    clickButton(child<QPushButton>(dialog, "ButEsporta"));

    ASSERT_TRUE(waitFor([&] { return !run->boxes.shown.empty(); }, std::chrono::seconds(60)));
    EXPECT_NE(run->boxes.shown.back().text.find((out / "attack.mp4").string()), std::string::npos)
        << run->boxes.shown.back().text;
    EXPECT_FALSE(topLevel("FReel"));
    EXPECT_FALSE(topLevel("FReelProgress"));
    // The second attack only, from its pre-roll (43 s) to its rally's point (48 s).
    const auto runs = testing::stampRuns(testing::filmStamps(out / "attack.mp4"));
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].firstFrame, 43 * 25);
    EXPECT_EQ(runs[0].lastFrame, 48 * 25 - 1);
}

// The small film encodes in a few seconds on a fast machine, sooner than a coach reaches Cancel;
// the PAL film with sound takes long enough that the export is surely still running.
struct ReelExportOfALongerEncode : ReelExport {
    ReelExportOfALongerEncode() : ReelExport(testing::wide()) {}
};

TEST_F(ReelExportOfALongerEncode, TheProgressWindowCountsAndItsCancelLeavesNothing) {
    testing::clickRow(list->findChild<TextGrid*>("SGrid"), 0);  // the whole list: every code up to the film's end
    ASSERT_TRUE(waitFor([&] { return run->player().State() == TPlayer::Playing; }));
    QWidget* dialog = openExport();
    ASSERT_TRUE(dialog);
    ASSERT_EQ(child<QListWidget>(dialog, "LstAzioni")->count(), 8);
    clickButton(child<QRadioButton>(dialog, "RbClip"));
    typeDestination(dialog, out / "clips");
    clickButton(child<QPushButton>(dialog, "ButEsporta"));

    QWidget* progress = nullptr;
    ASSERT_TRUE(waitFor([&] { return (progress = topLevel("FReelProgress")) != nullptr; }));
    auto* bar = child<QProgressBar>(progress, "Barra");
    ASSERT_TRUE(waitFor([&] { return bar->value() > 0; }, std::chrono::seconds(30)));
    EXPECT_EQ(child<QLabel>(progress, "LblClip")->text().toStdString(), "Clip 1 of 1");
    EXPECT_TRUE(child<QLabel>(progress, "LblTempo")->text().startsWith(QStringLiteral("Elapsed 0:0")));
    // The film plays on while the export runs.
    EXPECT_GE(secondsPlayedInASecond(), 0.5);
    ASSERT_TRUE(topLevel("FReelProgress")) << "the export ended before it could be cancelled";
    EXPECT_LT(bar->value(), 1000);

    clickButton(child<QPushButton>(progress, "ButAnnulla"));
    ASSERT_TRUE(waitFor([&] { return !run->boxes.shown.empty(); }, std::chrono::seconds(30)));
    EXPECT_EQ(run->boxes.shown.back().text, run->messageText(575));
    EXPECT_TRUE(waitFor([] { return !topLevel("FReelProgress"); }));
    EXPECT_TRUE(fs::is_empty(out.path()));
}

TEST_F(ReelExport, APackageFolderIsRefusedBeforeAnythingStarts) {
    QWidget* dialog = openExport();
    ASSERT_TRUE(dialog);
    typeDestination(dialog, disc.path() / "Tlx_Video" / "Partita" / "reel.mp4");
    clickButton(child<QPushButton>(dialog, "ButEsporta"));
    ASSERT_EQ(run->boxes.shown.size(), 1u);
    EXPECT_EQ(run->boxes.shown[0].text.rfind("Nothing is written into the disc's package folders", 0), 0u);
    EXPECT_FALSE(topLevel("FReelProgress"));
    EXPECT_FALSE(fs::exists(disc.path() / "Tlx_Video" / "Partita" / "reel.mp4"));
}

}  // namespace
}  // namespace corvane

namespace corvane {
namespace {

// A picture for the eye, not a check: with CORVANE_REEL_SCREENSHOT naming a PNG, the demo match
// exports ten kills while its film plays, and the screen is taken mid-export (run under Xvfb
// with QT_QPA_PLATFORM=xcb; `import` of imagemagick takes the picture).
TEST(ReelScreenshot, TenClipsExportWhileTheFilmPlays) {
    const char* shot = std::getenv("CORVANE_REEL_SCREENSHOT");
    if (!shot || !*shot) GTEST_SKIP() << "CORVANE_REEL_SCREENSHOT names no picture to take";
    MainWindowRun run(testing::demoDisc(), QSize(1920, 1080), 1, PackageChoice{"2026-11-28_Volley_Falchi-Delfini", false});
    run.window->showMaximized();
    run.window->codeList()->FillFromSearch("*~~A~#");  // the home side's kills
    testing::clickRow(run.window->codeList()->findChild<TextGrid*>("SGrid"), 0);
    waitFor([&] { return run.player().State() == TPlayer::Playing; });
    std::fprintf(stderr, "listed %d, playing %d\n", run.window->codeList()->listRowCount(),
                 run.player().State() == TPlayer::Playing);
    clickButton(run.window->codeList()->findChild<QToolButton*>("ButReel"));
    QWidget* dialog = nullptr;
    ASSERT_TRUE(waitFor([&] { return (dialog = topLevel("FReel")) != nullptr; }));
    auto* actions = child<QListWidget>(dialog, "LstAzioni");
    for (int n = 10; n < actions->count(); ++n) actions->item(n)->setCheckState(Qt::Unchecked);
    testing::TempFolder out;
    auto* edit = child<QLineEdit>(dialog, "EdDestinazione");
    edit->setText(QString::fromStdString((out / "kills.mp4").string()));
    clickButton(child<QCheckBox>(dialog, "CkDidascalie"));
    clickButton(child<QPushButton>(dialog, "ButEsporta"));
    QWidget* progress = nullptr;
    ASSERT_TRUE(waitFor([&] { return (progress = topLevel("FReelProgress")) != nullptr; }));
    ASSERT_TRUE(waitFor([&] { return child<QLabel>(progress, "LblClip")->text().startsWith(QStringLiteral("Clip 4")); },
                        std::chrono::seconds(120)));
    QTest::qWait(500);
    std::system(("import -window root '" + std::string(shot) + "'").c_str());
    ASSERT_TRUE(waitFor([&] { return !run.boxes.shown.empty(); }, std::chrono::seconds(300)));
    std::fprintf(stderr, "%s\n", run.boxes.shown.back().text.c_str());
}

}  // namespace
}  // namespace corvane
