#include <QComboBox>

#include <gtest/gtest.h>

#include "app/command_line.h"
#include "gui/main_window_run.h"

namespace corvane {
namespace {

using testing::demoDisc;
using testing::MainWindowRun;

// "Open with" on a file of a package (its scout file, its Match.cfg): the disc opens with that
// package, in the main window and in the search panel's chooser.
TEST(CommandLineOpen, AFileInAPackageOpensItsDiscWithThatPackageChosen) {
    ASSERT_TRUE(std::filesystem::is_directory(demoDisc() / "Tlx_Video")) << "make the demo disc first";
    const struct {
        std::string package;  // folder under Tlx_Video
        std::string listed;   // as the chooser lists it
        bool synthesis;
    } cases[] = {{"2026-12-02_Basket_Aquile-Lupi", "2026-12-02_Basket_Aquile-Lupi", false},
                 {"syn_Falchi_Stagione_2026", "Falchi_Stagione_2026", true}};
    for (const auto& c : cases) {
        const auto folder = demoDisc() / "Tlx_Video" / c.package;
        std::filesystem::path file;
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            if (entry.path().filename() == "Match.cfg") file = entry.path();
        ASSERT_FALSE(file.empty()) << c.package;
        const CommandLineRequest request = parseCommandLine({file.string()});
        ASSERT_TRUE(request.refused.empty());
        ASSERT_TRUE(request.discFolder);
        EXPECT_EQ(*request.discFolder, std::filesystem::canonical(demoDisc()));
        const MainWindowRun run(*request.discFolder, QSize(1280, 800), 1, request.package);
        EXPECT_EQ(run.state().package.name, c.listed);
        EXPECT_EQ(run.state().SynthesisMode, c.synthesis);
        auto* chooser = run.control<QComboBox>("CbMatches");
        ASSERT_TRUE(chooser);
        EXPECT_EQ(chooser->currentText().toStdString(), c.listed);
    }
}

}  // namespace
}  // namespace corvane
