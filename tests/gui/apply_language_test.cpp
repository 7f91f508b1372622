#include "ui/apply_language_qt.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QPushButton>
#include <QTableWidget>
#include <QWidget>

#include <fstream>

#include <gtest/gtest.h>

#include "app/qt_platform_qt.h"
#include "core/messages.h"
#include "gui/main_window_run.h"
#include "stats/tfstatvoll.h"
#include "support/test_support.h"
#include "ui/text_grid.h"

namespace corvane {
namespace {

struct LanguageFixture : ::testing::Test {
    // Language 3 has no catalogue of its own: it reads these English texts.
    testing::CatalogueMessages texts{"3=&Chiudi\n40=Play_now\n57=Codec: CD\n"};
    const Messages& messages = texts.messages;
    testing::RecordingBoxes& boxes = texts.boxes;

    QWidget window;
    QLabel* plain = new QLabel(&window);
    QLabel* keepsItsFont = new QLabel(&window);
    QTableWidget* grid = new QTableWidget(&window);
    QPushButton* close = new QPushButton(&window);

    void SetUp() override {
        texts.language = 3;
        plain->setObjectName("plain");
        keepsItsFont->setProperty("tag", -1);
        grid->setProperty("tag", -2);
        close->setObjectName("close");
        for (QWidget* widget : std::initializer_list<QWidget*>{plain, keepsItsFont, grid})
            widget->setFont(QFont("DejaVu Sans", 10));
    }
};

TEST_F(LanguageFixture, JapaneseSwitchesFontsExceptForTaggedControls) {
    ApplyLanguage(&window, 3, messages, {});
    EXPECT_EQ(window.font().family(), kJapaneseFontFamily);
    EXPECT_EQ(plain->font().family(), kJapaneseFontFamily);
    EXPECT_EQ(plain->font().pointSize(), 10);
    EXPECT_EQ(keepsItsFont->font().family(), "DejaVu Sans");
    EXPECT_EQ(grid->font().family(), kJapaneseFontFamily);
    EXPECT_EQ(grid->font().pointSize(), 11);
}

TEST_F(LanguageFixture, OtherLanguagesKeepTheDesignFonts) {
    ApplyLanguage(&window, 1, messages, {});
    EXPECT_EQ(plain->font().family(), "DejaVu Sans");
    EXPECT_EQ(grid->font().pointSize(), 10);
}

TEST_F(LanguageFixture, CaptionTablesSetCaptionsAndHintsWithTheirFilters) {
    using E = CaptionEntry;
    ApplyLanguage(&window, 1, messages,
                  {{"", 57, E::Caption, E::NoColon}, {"plain", 40}, {"close", 3, E::Hint, E::NoAmpersand}, {"absent", 40}});
    EXPECT_EQ(window.windowTitle(), "Codec CD \u2014 Corvane Player");
    EXPECT_EQ(plain->text(), "Play\nnow");
    EXPECT_EQ(close->toolTip(), "Chiudi");
    EXPECT_TRUE(boxes.shown.empty());
}

TEST(WindowTitles, BoxesAndWindowsEndWithTheApplicationNameAndBoxesShowTextAsText) {
    const struct {
        QString caption, title;
    } cases[] = {{"Messaggio di controllo", "Messaggio di controllo \u2014 Corvane Player"},
                 {"Corvane Player", "Corvane Player"},
                 {"", "Corvane Player"},
                 {"Opzioni \u2014 Corvane Player", "Opzioni \u2014 Corvane Player"}};
    for (const auto& c : cases) EXPECT_EQ(windowTitleFor(c.caption), c.title) << c.caption.toStdString();

    QtMessageBoxes boxes;
    QString title, text;
    Qt::TextFormat format = Qt::AutoText;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        title = box->windowTitle();
        text = box->text();
        format = box->textFormat();
        QTest::keyClick(box, Qt::Key_Return);
    });
    boxes.ShowMessageBox("<b>Film</b>\rmissing", "Messaggio di controllo", MessageBoxExclamation);
    EXPECT_EQ(title, "Messaggio di controllo \u2014 Corvane Player");
    EXPECT_EQ(text, "<b>Film</b>\nmissing");
    EXPECT_EQ(format, Qt::PlainText);
}

TEST(LanguageThree, TheVideoNoticeKeepsItsBoldDesignFontAndTheStatisticsGridsGrowAPoint) {
    testing::Disc disc{{testing::narrow()}};
    disc.withCodes("*05SM=;;;;;;;20.00.00;1;;;1;10\r\n");
    std::string scout = testing::readFile(disc.path() / "Tlx_Video/Partita/scout.dvw");
    scout.insert(scout.find("[3SCOUT]"), "[3PLAYERS-H]\r\n0;5;;;;;;;GAL;Galli\r\n[3PLAYERS-V]\r\n1;12;;;;;;;VER;Verdi\r\n");
    std::ofstream(disc.path() / "Tlx_Video/Partita/scout.dvw", std::ios::binary) << scout;
    std::ofstream(disc.path() / "Tlx_Video/Partita/Stat.txt", std::ios::binary)
        << "[testata]\r\nf_b;f_r;f_s;f_m\r\n[home]\r\n05;Galli;1;0;0;;;2;1;0;0;0;0;0;0;0;0;;0;0\r\n"
           "TO;Totale;1;0;0;;;2;1;0;0;0;0;0;0;0;0;;0;0\r\n[opponent]\r\n"
           "12;Verdi;1;0;0;;;0;0;0;1;1;0;1;0;0;1;100%;0;0\r\nTO;Totale;1;0;0;;;0;0;0;1;1;0;1;0;0;1;100%;0;0\r\n";
    testing::MainWindowRun run(disc, QSize(1280, 800), 3);
    QLabel* notice = nullptr;
    for (QLabel* label : run.window->findChildren<QLabel*>())
        if (label->property("tag").toInt() == -1) notice = label;
    ASSERT_TRUE(notice);
    EXPECT_EQ(notice->font().family(), "Arial");
    EXPECT_TRUE(notice->font().bold());
    EXPECT_EQ(run.control("Label5")->font().family(), kJapaneseFontFamily);

    run.app().settings.write(StatisticheModVis, "0");
    run.window->ButStatClick();  // the fonts are the point here, not the way to the window
    QWidget* stats = run.window->statistics();
    ASSERT_TRUE(stats);
    for (const char* name : {"GrdNos", "GrdAvv"}) {
        auto* grid = stats->findChild<TextGrid*>(name);
        ASSERT_TRUE(grid) << name;
        EXPECT_EQ(grid->font().family(), kJapaneseFontFamily) << name;
        EXPECT_EQ(grid->font().pointSizeF(), stats->font().pointSizeF() + 1) << name;
    }
}

}  // namespace
}  // namespace corvane
