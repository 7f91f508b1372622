#include "app/apply_language_qt.h"

#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QWidget>

#include <gtest/gtest.h>

#include "core/messages.h"
#include "support/test_support.h"

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
    EXPECT_EQ(window.windowTitle(), "Codec CD");
    EXPECT_EQ(plain->text(), "Play\nnow");
    EXPECT_EQ(close->toolTip(), "Chiudi");
    EXPECT_TRUE(boxes.shown.empty());
}

}  // namespace
}  // namespace corvane
