#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "app/startup_sequence.h"
#include "app/system_video_environment_qt.h"
#include "app/tfabout.h"
#include "app/tfcheckdx.h"
#include "app/tfcheckxvid.h"
#include "gui/main_window_run.h"
#include "match/tfopzioni.h"
#include "support/fake_video_environment.h"
#include "ui/apply_language_qt.h"

namespace corvane {
namespace {

using testing::Disc;
using testing::FakeVideoEnvironment;
using testing::MainWindowRun;
using testing::narrow;
using testing::waitFor;
using testing::wide;

// Acts on the next shown top-level window of the given name from inside its own event loop, the
// way a coach meets a modal window: it is already there when the hand reaches it.
class NextWindow {
public:
    NextWindow(const char* name, std::function<void(QWidget&)> act) : name_(QString::fromLatin1(name)), act_(std::move(act)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            for (QWidget* window : QApplication::topLevelWidgets()) {
                if (window->objectName() != name_ || !window->isVisible()) continue;
                timer_.stop();
                seen_ = true;
                QTest::qWait(50);  // laid out and painted
                saveScreenshot(*window);
                act_(*window);
                return;
            }
        });
        timer_.start(20);
    }
    bool seen() const { return seen_; }

private:
    // For looking at the windows: CORVANE_SCREENSHOTS names a folder that receives one picture each.
    void saveScreenshot(QWidget& window) const {
        if (const char* folder = std::getenv("CORVANE_SCREENSHOTS"))
            window.grab().save(QString::fromLocal8Bit(folder) + QChar('/') + name_ + QStringLiteral(".png"));
    }

    QString name_;
    std::function<void(QWidget&)> act_;
    QTimer timer_;
    bool seen_ = false;
};

void clickCentre(QWidget* widget) {
    ASSERT_NE(widget, nullptr);
    QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center());
}

void clickLink(QLabel* link) {
    ASSERT_NE(link, nullptr);
    // The label holds only the link, drawn from its left edge.
    QTest::mouseClick(link, Qt::LeftButton, {}, QPoint(6, link->height() / 2));
}

QString labelText(QWidget& window, const char* name) {
    const auto* label = window.findChild<QLabel*>(QString::fromLatin1(name));
    return label ? label->text() : QStringLiteral("<no %1>").arg(QString::fromLatin1(name));
}

// The program's own catalogue, in English.
struct ProgramMessages {
    testing::RecordingBoxes boxes;
    int language = 1;
    MessageCatalogue catalogue{std::filesystem::path(CORVANE_SOURCE_DIR) / "data/System"};
    Messages messages{catalogue, boxes, language};
    QString text(int number) const { return messageToQt(messages.MessageText(number)); }
};

constexpr const char* kFedora = "NAME=\"Fedora Linux\"\nPRETTY_NAME=\"Fedora Linux 40 (Workstation Edition)\"\nID=fedora\n";

TEST(VideoStackWindow, AnIncompleteStackExplainsWhatToInstallOpensTheLinkAndRefuses) {
    ProgramMessages texts;
    FakeVideoEnvironment machine;
    machine.decoders.erase(VideoDecoder::H264);
    machine.osRelease = kFedora;
    std::vector<QUrl> opened;
    QString caption, title, install, explanation, closing;
    QPoint centre;
    NextWindow window("FCheckDX", [&](QWidget& shown) {
        caption = shown.windowTitle();
        title = labelText(shown, "LblTitolo");
        explanation = labelText(shown, "LblSpiegazione");
        install = labelText(shown, "LblInstalla");
        closing = labelText(shown, "LblChiusura");
        centre = shown.frameGeometry().center();
        clickLink(shown.findChild<QLabel*>("LblLink"));
        clickCentre(shown.findChild<QPushButton*>("Button1"));
    });
    EXPECT_FALSE(CheckDirectX(machine, texts.messages, texts.language, [&](const QUrl& url) { opened.push_back(url); }));
    ASSERT_TRUE(window.seen());
    EXPECT_EQ(caption, windowTitleFor(texts.text(113)));
    EXPECT_EQ(title, texts.text(490));
    EXPECT_EQ(explanation, texts.text(114));
    EXPECT_EQ(closing, texts.text(491));
    EXPECT_EQ(install, "Fedora Linux 40 (Workstation Edition):\nsudo dnf install mpv-libs ffmpeg-libs");
    EXPECT_EQ(opened, std::vector<QUrl>{QUrl("https://rpmfusion.org/Configuration")});
    EXPECT_LE((centre - QGuiApplication::primaryScreen()->availableGeometry().center()).manhattanLength(), 4);
    EXPECT_TRUE(texts.boxes.shown.empty()) << "a message of the window is missing from the catalogue";
}

TEST(VideoStackWindow, AWholeStackShowsNothing) {
    ProgramMessages texts;
    const FakeVideoEnvironment machine;
    NextWindow window("FCheckDX", [](QWidget& shown) { shown.close(); });
    EXPECT_TRUE(CheckDirectX(machine, texts.messages, texts.language));
    QTest::qWait(100);
    EXPECT_FALSE(window.seen());
}

TEST(MachineVideoEnvironment, TheBuildMachineHasTheWholeStack) {
    // The tests decode with this machine's libraries, so every piece must be reported present.
    const SystemVideoEnvironment machine;
    EXPECT_TRUE(machine.playerLibraryInitialises());
    for (const VideoDecoder decoder : {VideoDecoder::Mpeg1, VideoDecoder::Mpeg2, VideoDecoder::H264, VideoDecoder::Mpeg4Part2})
        EXPECT_TRUE(machine.hasDecoder(decoder)) << static_cast<int>(decoder);
    EXPECT_TRUE(machine.hasMpegProgramDemuxer());
    EXPECT_NE(parseOsRelease(machine.osReleaseText()).id, "");
}

struct StartupFixture : ::testing::Test {
    testing::TempFolder disc, documents, data;
    testing::FixedPlatform platform;
    testing::RecordingBoxes boxes;
    ProgramState state;
    FakeVideoEnvironment machine;

    void SetUp() override {
        platform.executable = disc / "corvane-player";
        platform.documents = documents.path();
        platform.data = data.path();
        disc.write("System/Language.cfg", "1\r\n");
        std::filesystem::copy_file(std::filesystem::path(CORVANE_SOURCE_DIR) / "data/System/Messages1.txt",
                                   disc / "System/Messages1.txt");
    }

    StartupOutcome run() {
        StartupSequence startup(state, {platform, boxes, [] { return std::optional<std::filesystem::path>("/usr/lib/libmpv.so.2"); },
                                        {}, videoStackCheck(machine, state, boxes, [](const QUrl&) {})});
        return startup.run(disc.path());
    }
};

TEST_F(StartupFixture, ARefusedVideoStackEndsTheRunOnceItsWindowIsClosed) {
    machine.libraryInitialises = false;
    QString caption;
    NextWindow window("FCheckDX", [&](QWidget& shown) {
        caption = shown.windowTitle();
        clickCentre(shown.findChild<QPushButton*>("Button1"));
    });
    EXPECT_EQ(run(), StartupOutcome::VideoStackRefused);
    EXPECT_TRUE(window.seen());
    EXPECT_EQ(caption, windowTitleFor("Video libraries - check"));  // in the language read just before
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(StartupFixture, AWholeVideoStackGoesOnToTheMainWindow) {
    NextWindow window("FCheckDX", [](QWidget& shown) { shown.close(); });
    EXPECT_EQ(run(), StartupOutcome::Continue);
    EXPECT_FALSE(window.seen());
}

TEST(XvidWindow, ShownForACustom2PackageWithoutTheDecoderAndThePackageStillOpens) {
    struct Case {
        const char* captureCard;
        bool decoder;
        bool shown;
    };
    for (const Case c : {Case{"CUSTOM2", false, true}, Case{"CUSTOM2", true, false}, Case{"", false, false}}) {
        SCOPED_TRACE(std::string(c.captureCard) + (c.decoder ? " with decoder" : " without decoder"));
        const Disc disc({narrow()}, c.captureCard);
        FakeVideoEnvironment machine;
        if (!c.decoder) machine.decoders.erase(VideoDecoder::Mpeg4Part2);
        QString caption, title, contact;
        NextWindow window("FCheckXVid", [&](QWidget& shown) {
            caption = shown.windowTitle();
            title = labelText(shown, "LblTitolo");
            contact = labelText(shown, "LblChiusura");
            clickCentre(shown.findChild<QPushButton*>("Button1"));
        });
        MainWindowRun run(disc, QSize(1280, 800), 1, &machine);
        EXPECT_EQ(window.seen(), c.shown);
        if (c.shown) {
            EXPECT_EQ(caption, windowTitleFor(QString::fromStdString(run.messageText(14))));
            EXPECT_EQ(title.toStdString(), run.messageText(145));
            EXPECT_EQ(contact.toStdString(), run.messageText(144));
        }
        EXPECT_EQ(run.player().State(), TPlayer::Ready);
        EXPECT_TRUE(run.boxes.shown.empty());
    }
}

TEST(Mpeg2Checks, EachMissingPieceLogsItsLineWhenAnMpeg2FilmOpens) {
    struct Case {
        bool decoder;
        bool demuxer;
        bool decoderLine;
        bool demuxerLine;
    };
    for (const Case c : {Case{true, true, false, false}, Case{false, true, true, false}, Case{true, false, false, true}}) {
        SCOPED_TRACE(std::to_string(c.decoder) + std::to_string(c.demuxer));
        const Disc disc({wide()});
        FakeVideoEnvironment machine;
        if (!c.decoder) machine.decoders.erase(VideoDecoder::Mpeg2);
        machine.programDemuxer = c.demuxer;
        MainWindowRun run(disc, QSize(1280, 800), 1, &machine);
        const std::string log = disc.log();
        EXPECT_NE(log.find("GetFiltro MPEG 2"), std::string::npos);
        EXPECT_EQ(log.find("Ulead ulodsmpeg.ax non installato") != std::string::npos, c.decoderLine);
        EXPECT_EQ(log.find("Ulead ulospmpeg.ax non installato") != std::string::npos, c.demuxerLine);
        EXPECT_EQ(run.player().State(), TPlayer::Ready);  // the lines only inform
    }
}

TEST(Mpeg2Checks, SwitchingTheCodecOptionOnLogsMissingCodecsAndSwitchingItOffDoesNot) {
    const Disc disc({wide()});
    std::filesystem::copy_file(std::filesystem::path(CORVANE_SOURCE_DIR) / "data/System/Mpeg2_ADS.GRF",
                               disc.path() / "System/Mpeg2_ADS.GRF");
    FakeVideoEnvironment machine;
    machine.decoders.erase(VideoDecoder::Mpeg2);
    MainWindowRun run(disc, QSize(1280, 800), 1, &machine);
    const auto missingLines = [&] {
        const std::string log = disc.log();
        int count = 0;
        for (auto at = log.find("Codec Ulead non presenti"); at != std::string::npos;
             at = log.find("Codec Ulead non presenti", at + 1))
            ++count;
        return count;
    };
    for (const bool switchOn : {false, true}) {
        SCOPED_TRACE(switchOn ? "on" : "off");
        run.app().settings.write(UtilizzaCodec, switchOn ? "0" : "1");
        const int before = missingLines();
        TFOpzioni options(run.app(), *run.window, run.window.get());
        options.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&options));
        auto* codecs = options.findChild<QCheckBox*>("CheckBox1");
        ASSERT_NE(codecs, nullptr);
        QTest::mouseClick(codecs, Qt::LeftButton, {}, QPoint(8, codecs->height() / 2));
        ASSERT_EQ(codecs->isChecked(), switchOn);
        clickCentre(options.findChild<QPushButton*>("SpeedButton1"));
        EXPECT_EQ(missingLines(), before + (switchOn ? 1 : 0));
    }
}

TEST(CheckWindowsInJapanese, EveryTextTakesTheJapaneseFontButTheCommandLine) {
    testing::CatalogueMessages texts{"2=OK\n14=x\n113=x\n114=x\n115=x\n116=x\n143=x\n144=x\n145=x\n146=x\n490=x\n491=x\n", 3};
    const InstallAdvice advice{"Ubuntu 24.04 LTS", "sudo apt install mpv libavcodec-extra", "https://packages.debian.org/stable/mpv"};
    TFCheckDX dx(advice, texts.messages, 3, {});
    TFCheckXVid xvid(advice, texts.messages, 3, {});
    for (QWidget* window : std::initializer_list<QWidget*>{&dx, &xvid}) {
        SCOPED_TRACE(window->objectName().toStdString());
        for (const char* name : {"LblTitolo", "LblSpiegazione", "LblRigaLink", "LblChiusura", "LblLink", "Button1"}) {
            const auto* control = window->findChild<QWidget*>(QString::fromLatin1(name));
            ASSERT_NE(control, nullptr) << name;
            EXPECT_EQ(control->font().family(), kJapaneseFontFamily) << name;
        }
        EXPECT_NE(window->findChild<QLabel*>("LblInstalla")->font().family(), kJapaneseFontFamily);
        EXPECT_TRUE(window->findChild<QLabel*>("LblTitolo")->font().bold());
    }
    EXPECT_TRUE(texts.boxes.shown.empty());
}

TEST(InformationWindow, TheSplashHasNoOkButtonAndTheInformationButtonShowsOneThatCloses) {
    const Disc disc({narrow()});
    MainWindowRun run(disc);

    TFAbout splash(run.app(), true, run.window.get());
    splash.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&splash));
    EXPECT_FALSE(splash.findChild<QPushButton*>("ButOk")->isVisible());
    splash.close();
    EXPECT_FALSE(splash.findChild<QPushButton*>("ButOk")->isHidden());  // closed, it is the information window

    QString version, built, program, contact;
    bool okShown = false;
    NextWindow window("FAbout", [&](QWidget& shown) {
        version = labelText(shown, "LblVersione");
        built = labelText(shown, "Label7");
        program = labelText(shown, "LblProgramma");
        contact = labelText(shown, "LblContatti");
        auto* ok = shown.findChild<QPushButton*>("ButOk");
        okShown = ok && ok->isVisible();
        clickCentre(ok);
    });
    clickCentre(run.control<QWidget>("ButInfo"));
    ASSERT_TRUE(waitFor([&] { return window.seen(); }));
    EXPECT_TRUE(okShown);
    EXPECT_EQ(version.toStdString(), run.messageText(59) + ":");
    EXPECT_EQ(built, "30/11/2026 09:05:00");  // the executable's time in the user's format
    EXPECT_EQ(program, "Corvane Player");
    EXPECT_EQ(contact.toStdString(), run.messageText(144));
    EXPECT_TRUE(waitFor([] { return QApplication::activeModalWidget() == nullptr; }));
}

}  // namespace
}  // namespace corvane
