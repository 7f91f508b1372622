#include "app/disc_search.h"

#include <gtest/gtest.h>

#include "core/settings.h"
#include "support/test_support.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;
using testing::TempFolder;

TEST(DiscSearch, MediaFoldersAreTheUsersAutomountsAndMnt) {
    const fs::path root = "/fake";
    const struct {
        fs::path root;
        std::string user;
        std::vector<fs::path> folders;
    } cases[] = {
        {root, "coach", {"/fake/media/coach", "/fake/run/media/coach", "/fake/mnt"}},
        // A name that would climb out of media/ or split the path names no media folder.
        {root, "", {"/fake/mnt"}},
        {root, "..", {"/fake/mnt"}},
        {root, ".", {"/fake/mnt"}},
        {root, "a/b", {"/fake/mnt"}},
        {root, std::string("co\0ach", 6), {"/fake/mnt"}},
        {fs::path(), "coach", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(mediaFolders(c.root, c.user), c.folders) << c.root << " " << c.user;
}

TEST(DiscSearch, ADiscIsAMountedFolderHoldingTlxVideo) {
    TempFolder tree;
    tree.write("media/coach/ZETA/Tlx_Video/Partita/Match.cfg", "");
    tree.write("media/coach/ALFA/TLX_VIDEO/Partita/Match.cfg", "");  // an ISO 9660 disc in capitals
    tree.write("media/coach/USB/documenti.txt", "");                  // a stick without packages
    tree.write("media/coach/FILE/Tlx_Video", "a file, not the folder");
    tree.write("media/coach/DEEP/copia/Tlx_Video/Partita/Match.cfg", "");  // one level too deep
    tree.write("media/other/DISCO/Tlx_Video/Partita/Match.cfg", "");      // another user's media
    tree.write("mnt/Tlx_Video/Partita/Match.cfg", "");                    // a disc mounted on /mnt itself
    tree.write("mnt/cd/Tlx_Video/Partita/Match.cfg", "");
    const auto media = mediaFolders(tree.path(), "coach");  // run/media/coach does not exist
    EXPECT_EQ(findDiscs(media), (std::vector<fs::path>{tree / "media/coach/ALFA", tree / "media/coach/ZETA",
                                                        tree / "mnt", tree / "mnt/cd"}));
    EXPECT_EQ(findDiscs(mediaFolders(tree.path(), "nobody")).size(), 2u);  // /mnt only
    EXPECT_TRUE(findDiscs({}).empty());
}

TEST(DiscSearch, OneDiscIsUsedNoneOrSeveralAskWithTheLastDiscFirst) {
    const fs::path a = "/media/coach/A", b = "/media/coach/B", last = "/home/coach/Dischi/C";
    const fs::path elsewhere = "/home/coach";
    const struct {
        std::vector<fs::path> discs;
        std::optional<fs::path> lastDisc;
        DiscDecision decision;
    } cases[] = {
        {{a}, std::nullopt, {true, a}},
        {{a}, b, {true, a}},  // the only disc wins over the remembered one
        {{}, std::nullopt, {false, elsewhere}},
        {{}, last, {false, last}},
        {{a, b}, std::nullopt, {false, "/media/coach"}},
        {{a, b}, b, {false, b}},
        {{a, b}, last, {false, "/media/coach"}},  // the last disc is not among them: where they are
    };
    for (const auto& c : cases)
        EXPECT_EQ(decideDisc(c.discs, c.lastDisc, elsewhere), c.decision)
            << c.discs.size() << " " << c.lastDisc.value_or("-");
}

TEST(DiscSearch, TheRememberedDiscSurvivesTheSettingsFile) {
    TempFolder documents, discs;
    const std::string sport;
    const Settings settings(settingsFilePath(documents.path()), sport);
    for (const std::string name : {"Disco 1", " Disco con spazi ", "\"virgolette\"", "Città;=#"}) {
        const fs::path disc = discs / name;
        fs::create_directories(disc);
        const auto text = rememberedDiscText(disc);
        ASSERT_TRUE(text) << name;
        settings.write(UltimoDisco, *text);
        EXPECT_EQ(rememberedDisc(settings.read(UltimoDisco)), disc) << name;
    }
    // A name that would break the settings line is not remembered; a folder gone is no disc.
    EXPECT_EQ(rememberedDiscText(discs / "riga\nnuova"), std::nullopt);
    EXPECT_EQ(rememberedDiscText("relativo/disco"), std::nullopt);
    EXPECT_EQ(rememberedDisc((discs / "sparito").string()), std::nullopt);
    EXPECT_EQ(rememberedDisc("relativo"), std::nullopt);
    EXPECT_EQ(rememberedDisc(""), std::nullopt);
}

TEST(DiscSearch, ReadingTheLastDiscStoresNothing) {
    TempFolder documents;
    const std::string sport;
    const Settings settings(settingsFilePath(documents.path()), sport);
    EXPECT_EQ(settings.read(UltimoDisco), "");
    EXPECT_FALSE(fs::exists(documents / "tlx_player.ini"));
}

TEST(DiscSearch, TheInstalledSystemFolderLiesBesideTheBinFolder) {
    EXPECT_EQ(installedSystemFolder("/usr/bin/corvane-player"), "/usr/share/corvane-player/System");
    EXPECT_EQ(installedSystemFolder("/tmp/root/usr/bin/corvane-player"), "/tmp/root/usr/share/corvane-player/System");
}

}  // namespace
}  // namespace corvane
