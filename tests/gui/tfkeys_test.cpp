#include "app/tfkeys.h"

#include <QApplication>
#include <QLabel>
#include <QShortcut>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "app/key_bindings_qt.h"
#include "codes/tfcodici.h"
#include "codes/tfsubform.h"
#include "core/messages.h"
#include "gui/main_window_run.h"
#include "ui/text_grid.h"

namespace corvane {
namespace {

using testing::Disc;
using testing::MainWindowRun;
using testing::RecordingBoxes;
using testing::kRallies;
using testing::narrow;
using testing::waitFor;

// The main window of a volleyball match on the demo rallies, in front and ready for keys.
struct KeysFixture : ::testing::Test {
    Disc disc{{narrow()}};
    std::unique_ptr<MainWindowRun> run;

    void SetUp() override {
        disc.withCodes(kRallies);
        run = std::make_unique<MainWindowRun>(disc);
        run->window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(run->window.get()));
    }

    // Keys go where the keyboard is, as they do for the coach.
    QWidget* keyboard() const {
        QWidget* focus = QApplication::focusWidget();
        return focus ? focus : run->window.get();
    }
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) const {
        QTest::keyClick(keyboard(), key, modifiers);
    }
    void type(const char* text) const { QTest::keyClicks(keyboard(), QString::fromLatin1(text)); }

    void clickAt(QWidget* widget, QPoint point) const {
        QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, point);
        QTest::qWait(20);
    }
    SearchCodeGrid* grid() const { return run->window->searchPanel()->searchGrid(); }
    void clickFirstCell() const { clickAt(grid(), QPoint(1 + SearchCodeGrid::kCellWidth / 2, grid()->height() / 2)); }
    TFCodici* list() const { return run->window->codeList(); }
    int shownSecond() const { return run->shownStamp()->second; }
};

TEST_F(KeysFixture, TypedSymbolsGoToTheSearchCodeAndLeaveTheFilmWhereItWas) {
    run->seekTo(40);
    clickFirstCell();
    ASSERT_EQ(QApplication::focusWidget(), grid());
    type("*05ah+");
    EXPECT_EQ(grid()->searchCode().substr(0, 6), "*05AH+");
    EXPECT_EQ(shownSecond(), 40);

    // The other keys the window binds type too: blank, "-", "=" and the numeric pad's "+".
    type("-");
    press(Qt::Key_Space);
    type("=");
    press(Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_EQ(grid()->searchCode().substr(0, 10), "*05AH+- =+");
    EXPECT_EQ(shownSecond(), 40);
    EXPECT_EQ(run->player().State(), TPlayer::Ready);  // Space typed a blank, it did not play

    // Escape clears the entry and the next key types into its first cell again.
    press(Qt::Key_Escape);
    type("a");
    EXPECT_EQ(grid()->searchCode().substr(0, 2), "A ");
}

// Where the keyboard is when a key is pressed: the search code entry, or somewhere that takes no
// text, reached by a click as the coach reaches it.
struct FocusPlace {
    const char* name;
    bool typesText;
    std::function<void(KeysFixture&)> click;
};

TEST_F(KeysFixture, HotKeysActOutsideTheSearchCodeAndCtrlKeysEverywhere) {
    const FocusPlace places[] = {
        {"search code", true, [](KeysFixture& f) { f.clickFirstCell(); }},
        {"code list", false,
         [](KeysFixture& f) {
             auto* codes = f.list()->findChild<TextGrid*>("SGrid");
             const int row = f.list()->currentListRow() - 1;
             f.clickAt(codes->viewport(), codes->visualItemRect(codes->item(row, 0)).center());
         }},
        {"video", false, [](KeysFixture& f) { f.clickAt(f.run->control("Amov"), f.run->control("Amov")->rect().center()); }},
        {"team name", false,
         [](KeysFixture& f) {
             QLabel* team = f.run->control("PanInfoMatch")->findChildren<QLabel*>().front();
             f.clickAt(team, QPoint(10, team->height() / 2));
         }},
    };
    for (const FocusPlace& place : places) {
        SCOPED_TRACE(place.name);
        run->window->Transport(1);
        run->seekTo(40);
        // The coach was typing a search code, then clicks elsewhere.
        clickFirstCell();
        place.click(*this);
        // A click on the highlighted code replays it: hold the film at 40 again for the keys.
        run->window->Transport(1);
        run->seekTo(40);
        // Out of the entry the keyboard is in the code list, whose arrow keys move through the codes.
        QWidget* codes = list()->findChild<TextGrid*>("SGrid");
        EXPECT_EQ(QApplication::focusWidget(), place.typesText ? static_cast<QWidget*>(grid()) : codes);

        press(Qt::Key_Plus);
        EXPECT_EQ(shownSecond(), place.typesText ? 40 : 42);
        press(Qt::Key_Minus);
        EXPECT_EQ(shownSecond(), 40);
        press(Qt::Key_Equal);
        EXPECT_EQ(shownSecond(), place.typesText ? 40 : 42);

        press(Qt::Key_Space);
        QTest::qWait(300);
        EXPECT_EQ(run->player().State(), place.typesText ? TPlayer::Ready : TPlayer::Playing);
        run->window->Transport(1);

        // Ctrl keys act wherever the keyboard is.
        press(Qt::Key_R, Qt::ControlModifier);
        EXPECT_TRUE(run->window->slowMotionRunning());
        press(Qt::Key_R, Qt::ControlModifier);
        EXPECT_FALSE(run->window->slowMotionRunning());
        run->window->Transport(1);

        list()->selectListRow(2);
        run->shownStamp();
        clickFirstCell();
        place.click(*this);
        // A click on the highlighted code replays it: hold the film at 40 again for the keys.
        run->window->Transport(1);
        run->seekTo(40);
        press(Qt::Key_X, Qt::ControlModifier);
        EXPECT_EQ(list()->currentListRow(), 3);
        EXPECT_EQ(shownSecond(), 12);  // second 14 less the pre-roll
        press(Qt::Key_E, Qt::ControlModifier);
        EXPECT_EQ(list()->currentListRow(), 2);
        EXPECT_EQ(shownSecond(), 10);
        grid()->entry().press(SearchCodeEntry::Key::Escape);
    }
}

TEST_F(KeysFixture, F1AndTheQuestionMarkButtonOpenTheKeyList) {
    press(Qt::Key_F1);
    ASSERT_TRUE(waitFor([&] { return run->window->keyList() && run->window->keyList()->isVisible(); }));
    run->window->keyList()->close();
    ASSERT_FALSE(run->window->keyList()->isVisible());

    auto* button = run->control<QToolButton>("ButKeys");
    ASSERT_TRUE(button->isVisible());
    // Beside the window buttons, left of the information button.
    EXPECT_EQ(button->geometry().right() + 1 + 2, run->control("ButInfo")->x());
    EXPECT_EQ(button->y(), 0);
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, button->rect().center());
    EXPECT_TRUE(waitFor([&] { return run->window->keyList()->isVisible(); }));
}

TEST_F(KeysFixture, TheKeyListNamesExactlyTheKeysTheWindowBinds) {
    run->window->showKeyList();
    const TFKeys* keys = run->window->keyList();
    ASSERT_TRUE(keys);
    std::set<QString> listed;
    for (int line = 0; line < keys->lineCount(); ++line) {
        EXPECT_FALSE(keys->actionText(line).isEmpty());
        listed.insert(keys->keyText(line));
    }
    std::set<QString> bound;
    for (const QShortcut* shortcut : run->window->findChildren<QShortcut*>())
        if (shortcut->isEnabled() && !shortcut->key().isEmpty())
            bound.insert(keyName(shortcut->key()[0], run->app().messages));
    // Beside them, the keys the search code entry and the full-screen windows take themselves.
    std::set<QString> expected = bound;
    for (const char* own : {"Enter", "Esc", "Esc (full screen)", "[ (full screen)", "] (full screen)"})
        expected.insert(QString::fromLatin1(own));
    EXPECT_EQ(listed, expected);
    // The keys a coach reads for: the space bar by name, the numeric pad's keys marked as such.
    EXPECT_TRUE(listed.contains(QStringLiteral("Space")));
    EXPECT_TRUE(listed.contains(QStringLiteral("+ (numeric pad)")));
    EXPECT_TRUE(listed.contains(QStringLiteral("Ctrl+R")));
    EXPECT_TRUE(listed.contains(QStringLiteral("F1")));
}

// What a coach looks for in the list beside the window's own keys: how to search, how to clear
// the search code, and what works in full screen.
TEST_F(KeysFixture, F1ListsEnterEscapeAndTheFullScreenKeys) {
    press(Qt::Key_F1);
    ASSERT_TRUE(waitFor([&] { return run->window->keyList() && run->window->keyList()->isVisible(); }));
    const TFKeys* keys = run->window->keyList();
    std::vector<std::pair<QString, QString>> lines;
    for (int line = 0; line < keys->lineCount(); ++line) lines.emplace_back(keys->keyText(line), keys->actionText(line));
    const std::pair<const char*, int> wanted[] = {
        {"Enter", 731}, {"Esc", 732}, {"Esc (full screen)", 734}, {"[ (full screen)", 313}, {"] (full screen)", 314},
    };
    for (const auto& [key, action] : wanted) {
        const std::pair line{QString::fromLatin1(key), QString::fromStdString(run->messageText(action))};
        EXPECT_NE(std::find(lines.begin(), lines.end(), line), lines.end()) << key;
    }
    EXPECT_EQ(run->messageText(731), "Search with the typed search code");
    EXPECT_EQ(run->messageText(734), "Leave full screen");
}

TEST(KeyList, EveryLineIsWrittenInEveryLanguage) {
    const auto system = std::filesystem::path(CORVANE_SOURCE_DIR) / "data" / "System";
    const MessageCatalogue catalogue(system.string());
    std::set<QString> actionsSeen;
    for (const int language : {0, 1}) {
        SCOPED_TRACE(language);
        RecordingBoxes boxes;
        const Messages messages(catalogue, boxes, language);
        const TFKeys keys(messages, nullptr);
        ASSERT_GT(keys.lineCount(), 0);
        for (int line = 0; line < keys.lineCount(); ++line) {
            EXPECT_FALSE(keys.keyText(line).isEmpty());
            EXPECT_FALSE(keys.actionText(line).isEmpty());
            actionsSeen.insert(keys.actionText(line));
        }
        EXPECT_TRUE(boxes.shown.empty()) << "a message of the key list is missing";
    }
    // The two languages say it each in their own words.
    EXPECT_GT(actionsSeen.size(), 7u);
}

}  // namespace
}  // namespace corvane
