// The installed commands as a user types them in a terminal: help, version and a folder that
// does not exist are answered on the terminal, without a display and without a window.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/cli_runner.h"
#include "support/test_support.h"

namespace corvane {
namespace {

using CommandRun = ShellRun;

// No display of any kind: what is answered here must not need one.
CommandRun runWithoutDisplay(const std::string& program, const std::vector<std::string>& arguments) {
    const testing::TempFolder runtime;
    return runShell("env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM XDG_RUNTIME_DIR='" + runtime.path().string() +
                        "' '" + program + "'",
                    arguments, " </dev/null");
}

TEST(ProgramCommands, HelpAndVersionAnswerWithoutADisplay) {
    const std::string version = CORVANE_VERSION;
    const struct {
        std::string program;
        std::vector<std::string> arguments;
        std::string expected;  // the start of standard output
    } cases[] = {
        {CORVANE_PLAYER, {"--version"}, "corvane-player " + version + " (Corvane System Player)\n"},
        {CORVANE_PLAYER, {"/nowhere", "--version"}, "corvane-player " + version},
        {CORVANE_PLAYER, {"--help"}, "Usage: " CORVANE_PLAYER " [DISC-FOLDER | PACKAGE-FOLDER | FILE]\n"},
        {CORVANE_PLAYER, {"-h"}, "Usage: "},
        {CORVANE_CLI, {"--version"}, "corvane-cli " + version + "\n"},
        {CORVANE_CLI, {"--help"}, "Corvane System Player companion"},
    };
    for (const auto& c : cases) {
        const CommandRun run = runWithoutDisplay(c.program, c.arguments);
        EXPECT_EQ(run.exitCode, 0) << c.program << " " << c.arguments.front() << "\n" << run.err;
        EXPECT_EQ(run.out.substr(0, c.expected.size()), c.expected) << run.out;
        EXPECT_EQ(run.err, "");
    }
}

TEST(ProgramCommands, AFolderThatDoesNotExistIsNamedOnTheTerminal) {
    testing::TempFolder disc;
    const std::string missing = (disc / "Tlx_Video").string();
    const struct {
        std::vector<std::string> arguments;
        std::string err;
    } cases[] = {
        {{missing}, std::string(CORVANE_PLAYER) + ": " + missing + ": no such folder or file\n"},
        // Qt's own options are taken off first; what remains is checked the same way.
        {{"-platform", "offscreen", missing}, std::string(CORVANE_PLAYER) + ": " + missing + ": no such folder or file\n"},
        {{"--full-screen"}, std::string(CORVANE_PLAYER) + ": unknown option --full-screen (see --help)\n"},
        {{"-"}, std::string(CORVANE_PLAYER) +
                    ": - (standard input) cannot be played: name a disc folder, a package folder or a file (see --help)\n"},
    };
    for (const auto& c : cases) {
        const CommandRun run = runWithoutDisplay(CORVANE_PLAYER, c.arguments);
        EXPECT_EQ(run.exitCode, 2) << c.arguments.front() << "\n" << run.err;
        EXPECT_EQ(run.err, c.err);
        EXPECT_EQ(run.out, "");
    }
    EXPECT_TRUE(std::filesystem::is_empty(disc.path()));
}

}  // namespace
}  // namespace corvane
