// A disc is read, never written: every demo package used as a coach uses it leaves Tlx_Video as it
// was, on the disc and on a read-only copy.

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <memory>
#include <set>
#include <string>

#include <sys/mount.h>
#include <unistd.h>

#include "codes/tfcodici.h"
#include "codes/tfsubform.h"
#include "core/files.h"
#include "support/folder_snapshot.h"
#include "gui/main_window_run.h"
#include "match/tfopzioni.h"
#include "support/test_support.h"

namespace corvane {
namespace {

using namespace std::chrono_literals;
using testing::MainWindowRun;
using testing::TempFolder;
using testing::waitFor;

// Plays, searches and changes the options in every package of the disc, by keys and clicks.
void useEveryPackage(const std::filesystem::path& disc) {
    MainWindowRun run(disc);
    run.window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(run.window.get()));
    auto* chooser = run.window->findChild<QComboBox*>("CbMatches");
    ASSERT_TRUE(chooser);
    std::set<std::string> opened;
    for (int previous = -1; chooser->currentIndex() != previous;) {
        previous = chooser->currentIndex();
        SCOPED_TRACE(chooser->currentText().toStdString());
        ASSERT_EQ(run.player().State(), TPlayer::Ready) << "the package's first film did not open";
        opened.insert(run.player().FileName());

        QTest::keyClick(run.window.get(), Qt::Key_Space);
        EXPECT_TRUE(waitFor([&] { return run.player().Position() > 0.3; }, 20s));
        QTest::keyClick(run.window.get(), Qt::Key_Space);

        if (SearchCodeGrid* entry = run.window->searchPanel()->searchGrid(); entry && entry->isVisible()) {
            entry->setFocus();
            QTest::keyClicks(entry, "   a");
            QTest::keyClick(entry, Qt::Key_Return);
            QTest::keyClick(entry, Qt::Key_Escape);
            QTest::keyClick(entry, Qt::Key_Return);
        }

        {
            TFOpzioni options(run.app(), *run.window, run.window.get());
            auto* preRoll = options.findChild<QLineEdit*>("Edit1");
            preRoll->selectAll();
            QTest::keyClicks(preRoll, std::to_string(3 + static_cast<int>(opened.size())).c_str());
            QTest::mouseClick(options.findChild<QAbstractButton*>("SpeedButton1"), Qt::LeftButton);
        }

        chooser->setFocus();
        QTest::keyClick(chooser, Qt::Key_Down);
        waitFor([&] { return run.player().State() != TPlayer::Busy; });
    }
    EXPECT_EQ(chooser->currentIndex(), chooser->count() - 1);
    EXPECT_EQ(opened.size(), static_cast<std::size_t>(chooser->count()));
}

std::filesystem::path demoDisc() {
    const auto disc = testing::demoDisc();
    if (!std::filesystem::is_directory(disc / "Tlx_Video")) ADD_FAILURE() << "make the demo disc first";
    return disc;
}

TEST(NothingWrittenOnTheDisc, UsingEveryDemoPackageChangesNoFileUnderTlxVideo) {
    const auto disc = demoDisc();
    const testing::FolderSnapshot before = testing::snapshot(disc / "Tlx_Video");
    ASSERT_FALSE(before.empty());
    useEveryPackage(disc);
    EXPECT_EQ(testing::differences(before, testing::snapshot(disc / "Tlx_Video")), "");
}

// A read-only view of a folder that holds for root too, for as long as the object lives.
class ReadOnlyBind {
public:
    explicit ReadOnlyBind(const std::filesystem::path& folder) : folder_(folder) {
        if (::mount(folder.c_str(), folder.c_str(), nullptr, MS_BIND, nullptr) != 0) {
            error_ = std::string("bind mount refused: ") + std::strerror(errno);
            return;
        }
        bound_ = true;
        if (::mount(nullptr, folder.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) != 0)
            error_ = std::string("read-only remount refused: ") + std::strerror(errno);
    }
    ~ReadOnlyBind() {
        if (bound_) ::umount2(folder_.c_str(), MNT_DETACH);
    }
    const std::string& error() const { return error_; }

private:
    std::filesystem::path folder_;
    bool bound_ = false;
    std::string error_;
};

TEST(NothingWrittenOnTheDisc, AReadOnlyCopyCannotBeWrittenAndEverythingStillWorks) {
    const auto disc = demoDisc();
    TempFolder copy;
    std::filesystem::copy(disc / "Tlx_Video", copy / "Tlx_Video", std::filesystem::copy_options::recursive);
    std::filesystem::copy(disc / "System", copy / "System", std::filesystem::copy_options::recursive);
    const testing::FolderSnapshot before = testing::snapshot(copy / "Tlx_Video");

    if (::geteuid() != 0) GTEST_SKIP() << "a read-only bind mount needs root; run the suite as root to try this";
    const ReadOnlyBind readOnly(copy.path());
    if (!readOnly.error().empty()) GTEST_SKIP() << readOnly.error() << " (no mount rights here)";
    // Proof that the copy is read-only even for root.
    EXPECT_FALSE(writeFileAtomically(copy / "Tlx_Video" / "probe.txt", "x"));
    EXPECT_FALSE(std::filesystem::exists(copy / "Tlx_Video" / "probe.txt"));

    useEveryPackage(copy.path());
    EXPECT_EQ(testing::differences(before, testing::snapshot(copy / "Tlx_Video")), "");
}

}  // namespace
}  // namespace corvane
