#include "app/command_line.h"

#include <gtest/gtest.h>

#include "support/test_support.h"

namespace corvane {
namespace {

using testing::TempFolder;

TEST(CommandLine, AnArgumentIsTakenAsTheDiscThatHoldsItWithItsPackageChosen) {
    TempFolder disc;
    disc.write("Tlx_Video/Partita A/Match.cfg", "sport=1\r\n");
    disc.write("Tlx_Video/Partita A/scout.dvw", "[3KESTRALINESCOUT]\r\n");
    disc.write("Tlx_Video/syn_Attacchi/Match.cfg", "");
    TempFolder other;
    other.write("notes.txt", "");
    TempFolder bare;  // a disc without packages is still a disc: the main window says it is empty
    bare.write("System/Language.cfg", "1\r\n");
    const auto root = disc.path();
    const std::optional<PackageChoice> none;
    const struct {
        std::vector<std::string> arguments;
        std::optional<std::filesystem::path> discFolder;
        std::optional<PackageChoice> package;
        std::vector<std::string> refused;
    } cases[] = {
        {{}, std::nullopt, none, {}},
        {{root.string()}, root, none, {}},
        {{root.string() + "/"}, root, none, {}},
        {{(root / "Tlx_Video").string()}, root, none, {}},
        {{bare.path().string()}, bare.path(), none, {}},
        {{(root / "Tlx_Video/Partita A").string()}, root, PackageChoice{"Partita A", false}, {}},
        {{(root / "Tlx_Video/Partita A/scout.dvw").string()}, root, PackageChoice{"Partita A", false}, {}},
        {{(root / "Tlx_Video/Partita A/../syn_Attacchi").string()}, root, PackageChoice{"Attacchi", true}, {}},
        {{(root / "Tlx_Video/Partita A/missing.dvw").string()}, std::nullopt, none, {(root / "Tlx_Video/Partita A/missing.dvw").string()}},
        {{(other / "notes.txt").string()}, std::nullopt, none, {(other / "notes.txt").string()}},
        {{other.path().string()}, std::nullopt, none, {other.path().string()}},
        {{"/nonexistent/disc"}, std::nullopt, none, {"/nonexistent/disc"}},
        {{root.string(), root.string()}, std::nullopt, none, {root.string(), root.string()}},
        {{"-x", "--y", "z"}, std::nullopt, none, {"-x", "--y", "z"}},
    };
    for (const auto& c : cases) {
        const std::string shown = c.arguments.empty() ? "(none)" : c.arguments.front();
        const CommandLineRequest request = parseCommandLine(c.arguments);
        EXPECT_EQ(request.discFolder, c.discFolder) << shown;
        EXPECT_EQ(request.package, c.package) << shown;
        EXPECT_EQ(request.refused, c.refused) << shown;
    }
}

TEST(CommandLine, ALoneDashIsRefusedWhereverTheProgramIsStarted) {
    // Even beside a folder named "-": the dash does not reach the disc search.
    TempFolder here;
    here.write("-/Tlx_Video/Partita A/Match.cfg", "");
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(here.path());
    const ProgramOptions dash = readProgramOptions({"-"});
    const ProgramOptions dotted = readProgramOptions({"./-"});
    const CommandLineRequest dottedRequest = parseCommandLine({"./-"});
    std::filesystem::current_path(previous);
    EXPECT_EQ(dash.action, ProgramOptions::Action::Refuse);
    EXPECT_NE(dash.message.find("standard input"), std::string::npos) << dash.message;
    EXPECT_EQ(dotted.action, ProgramOptions::Action::Run) << dotted.message;
    EXPECT_EQ(dottedRequest.discFolder, here.path() / "-");
}

// On a case-sensitive disc "Gara" and "gara" are two packages: each opens as itself.
TEST(CommandLine, PackagesWhoseNamesDifferOnlyInCaseEachOpenAsThemselves) {
    TempFolder disc;
    for (const char* name : {"Gara", "gara", "syn_Finale", "syn_finale"})
        disc.write(std::string("Tlx_Video/") + name + "/Match.cfg", "");
    const std::vector<std::string> matches = {"Gara", "gara"};
    const std::vector<std::string> syntheses = {"Finale", "finale"};
    const struct {
        const char* folder;
        PackageChoice expected;
    } cases[] = {
        {"Gara", {"Gara", false}},
        {"gara", {"gara", false}},
        {"syn_Finale", {"Finale", true}},
        {"syn_finale", {"finale", true}},
    };
    for (const auto& c : cases) {
        const CommandLineRequest request = parseCommandLine({(disc / "Tlx_Video" / c.folder).string()});
        ASSERT_TRUE(request.package) << c.folder;
        EXPECT_EQ(*request.package, c.expected) << c.folder;
        EXPECT_EQ(firstPackage(matches, syntheses, request.package), c.expected) << c.folder;
    }
}

TEST(CommandLine, TheRequestedPackageOpensFirstWhenTheDiscListsIt) {
    const std::vector<std::string> matches = {"A", "B"};
    const std::vector<std::string> syntheses = {"B", "S"};
    const struct {
        std::optional<PackageChoice> requested;
        PackageChoice expected;
    } cases[] = {
        {std::nullopt, {"A", false}},
        {PackageChoice{"B", false}, {"B", false}},
        {PackageChoice{"B", true}, {"B", true}},
        {PackageChoice{"S", false}, {"A", false}},
        {PackageChoice{"Z", true}, {"A", false}},
    };
    for (const auto& c : cases) EXPECT_EQ(firstPackage(matches, syntheses, c.requested), c.expected);
    EXPECT_EQ(firstPackage({}, syntheses, std::nullopt), (PackageChoice{"B", true}));
}

TEST(CommandLine, HelpVersionAndWhatCannotRunAreAnsweredBeforeAnyWindow) {
    const std::string kStandardInput =
        "- (standard input) cannot be played: name a disc folder, a package folder or a file (see --help)";
    TempFolder disc;
    disc.write("Tlx_Video/Partita A/Match.cfg", "");
    const std::string folder = disc.path().string();
    using Action = ProgramOptions::Action;
    const struct {
        std::vector<std::string> arguments;
        Action action;
        std::string message;
    } cases[] = {
        {{}, Action::Run, ""},
        {{folder}, Action::Run, ""},
        {{folder + "/Tlx_Video/Partita A/Match.cfg"}, Action::Run, ""},
        {{"--help"}, Action::Help, ""},
        {{"-h"}, Action::Help, ""},
        {{folder, "--version"}, Action::Version, ""},
        {{"/nowhere", "--help"}, Action::Help, ""},  // help wins over what it would refuse
        {{"--version", "--help"}, Action::Version, ""},  // the first of them
        {{"/nowhere/disc"}, Action::Refuse, "/nowhere/disc: no such folder or file"},
        {{folder + "/Tlx_Video/Partita B"}, Action::Refuse, folder + "/Tlx_Video/Partita B: no such folder or file"},
        {{"--full-screen"}, Action::Refuse, "unknown option --full-screen (see --help)"},
        {{folder, "-x"}, Action::Refuse, "unknown option -x (see --help)"},
        {{"-"}, Action::Refuse, kStandardInput},
        {{folder, "-"}, Action::Refuse, kStandardInput},
        {{"-", "--help"}, Action::Help, ""},
        // Several arguments are for the start-up's box, which names them all.
        {{"/nowhere/a", "/nowhere/b"}, Action::Run, ""},
    };
    for (const auto& c : cases) {
        const ProgramOptions options = readProgramOptions(c.arguments);
        EXPECT_EQ(options.action, c.action) << (c.arguments.empty() ? "" : c.arguments.front());
        EXPECT_EQ(options.message, c.message);
    }
    EXPECT_NE(helpText("corvane-player").find("Usage: corvane-player [DISC-FOLDER"), std::string::npos);
}

}  // namespace
}  // namespace corvane
