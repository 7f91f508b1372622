#include "match/tfopzioni.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include "gui/main_window_run.h"

namespace corvane {
namespace {

using testing::Disc;
using testing::MainWindowRun;
using testing::narrow;

int countOf(const std::string& text, const std::string& part) {
    int count = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

struct OptionsFixture : ::testing::Test {
    Disc disc{{narrow()}};
    std::unique_ptr<MainWindowRun> run;

    void open() { run = std::make_unique<MainWindowRun>(disc); }
    TFOpzioni* options() { return new TFOpzioni(run->app(), *run->window, run->window.get()); }
    std::string stored(int key) { return run->app().settings.read(key); }
};

TEST_F(OptionsFixture, AClearedPreRollIsUsedAsItIsStoredSoARestartKeepsIt) {
    open();
    std::unique_ptr<TFOpzioni> window(options());
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    auto* preRoll = window->findChild<QLineEdit*>("Edit1");
    EXPECT_EQ(preRoll->text(), "2");
    QTest::mouseClick(preRoll, Qt::LeftButton, {}, preRoll->rect().center());
    QTest::keyClick(preRoll, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(preRoll, Qt::Key_Backspace);
    EXPECT_EQ(preRoll->text(), "");
    auto* endOffset = window->findChild<QLineEdit*>("Edit2");
    QTest::mouseClick(endOffset, Qt::LeftButton, {}, endOffset->rect().center());
    QTest::keyClicks(endOffset, "1x3");  // digits only
    EXPECT_EQ(endOffset->text(), "013");
    auto* ok = window->findChild<QWidget*>("SpeedButton1");
    QTest::mouseClick(ok, Qt::LeftButton, {}, ok->rect().center());
    EXPECT_EQ(stored(SecAnticipoAzione), "2");
    EXPECT_EQ(run->state().playback.PreRollSeconds, 2);  // the value a restart reads
    EXPECT_EQ(run->state().playback.EndOffsetSeconds, 13);
    EXPECT_EQ(run->control<QLabel>("SecAntInizioAzione")->text().toStdString(), run->messageText(70) + " (2)");
}

TEST_F(OptionsFixture, WithoutTheSuppliedOptionFilesTheCodecOptionIsHiddenAndStoredOff) {
    open();
    std::unique_ptr<TFOpzioni> window(options());
    EXPECT_TRUE(window->findChild<QCheckBox*>("CheckBox1")->isHidden());
    EXPECT_TRUE(window->findChild<QCheckBox*>("CheckBox4")->isHidden());  // volleyball: no effect texts
    run->app().settings.write(DisplayEffectsDescription, "1");
    std::unique_ptr<TFOpzioni> again(options());
    again->SpeedButton1Click();
    EXPECT_EQ(stored(UtilizzaCodec), "0");
    EXPECT_EQ(stored(DisplayEffectsDescription), "1");  // hidden, written back as it was
}

TEST_F(OptionsFixture, ToggledCodecsReopenTheFilmAndUntoggledOnesDoNot) {
    std::filesystem::copy_file(std::filesystem::path(CORVANE_SOURCE_DIR) / "data/System/Mpeg2_ADS.GRF",
                               disc.path() / "System/Mpeg2_ADS.GRF");
    open();
    const int openings = countOf(disc.log(), "Fine apertura");
    std::unique_ptr<TFOpzioni> unchanged(options());
    ASSERT_FALSE(unchanged->findChild<QCheckBox*>("CheckBox1")->isHidden());
    unchanged->SpeedButton1Click();
    EXPECT_EQ(countOf(disc.log(), "Fine apertura"), openings);

    std::unique_ptr<TFOpzioni> toggled(options());
    auto* codecs = toggled->findChild<QCheckBox*>("CheckBox1");
    codecs->setChecked(!codecs->isChecked());
    toggled->SpeedButton1Click();
    EXPECT_EQ(countOf(disc.log(), "Fine apertura"), openings + 1);
    EXPECT_EQ(run->player().State(), TPlayer::Ready);
}

TEST_F(OptionsFixture, CancelKeepsEverythingButTheFollowOptionReadAtOpening) {
    open();
    run->app().settings.write(SpostainelencoCodici, "0");
    run->state().playback.FollowFilm = true;
    std::unique_ptr<TFOpzioni> window(options());
    EXPECT_FALSE(run->state().playback.FollowFilm);
    window->findChild<QLineEdit*>("Edit1")->setText("9");
    window->findChild<QCheckBox*>("CheckBox3")->setChecked(true);
    window->reject();
    EXPECT_EQ(run->state().playback.PreRollSeconds, 2);
    EXPECT_FALSE(run->state().playback.StopAtEnd);
    EXPECT_EQ(stored(SecAnticipoAzione), "2");
}

}  // namespace
}  // namespace corvane
