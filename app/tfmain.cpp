#include "app/tfmain.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QFocusEvent>
#include <QFontInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QScreen>
#include <QShortcut>
#include <QStyle>
#include <QToolButton>

#include <algorithm>
#include <cmath>
#include <utility>

#include "app/command_line.h"
#include "app/film_probe.h"
#include "app/full_screen_mode_qt.h"
#include "app/key_bindings_qt.h"
#include "app/player/tplayer.h"
#include "app/player/video_info.h"
#include "app/system_video_environment_qt.h"
#include "app/tfabout.h"
#include "app/tfcheckxvid.h"
#include "app/tfkeys.h"
#include "codes/tfcodici.h"
#include "codes/tfsubform.h"
#include "core/cp1252.h"
#include "core/files.h"
#include "core/messages.h"
#include "core/sport.h"
#include "core/transport_rules.h"
#include "match/tfnote.h"
#include "match/tfopzioni.h"
#include "scout/packages.h"
#include "stats/tfstatos.h"
#include "stats/tfstatvoll.h"
#include "ui/app_context.h"
#include "ui/apply_language_qt.h"
#include "ui/busy_cursor.h"
#include "ui/clickable_label.h"
#include "ui/gradient_button.h"
#include "ui/rate_readout.h"
#include "ui/track_bar.h"
#include "ui/transport_icons.h"

namespace corvane {

namespace {

// The window's background, 9463133 as the design stores colours (blue, green, red).
const QColor kBackground(0x5D, 0x65, 0x90);
const QColor kStatusYellow(0xFF, 0xFF, 0x00);
constexpr int kReadyWaitMs = 10000;
// The standby starts on the next action once this one has started: its decoding then does not
// compete with the first pictures the coach is waiting for.
constexpr int kLookAheadDelayMs = 250;
constexpr int kWindowStripHeight = 22;  // the strip of the window buttons
constexpr int kFilmTooLargeMessage = 630;  // the film's path and its picture's size

// A disc may bring more than memory holds: the reading is given up and the program goes on with
// what it had. False when memory ran out.
template <typename Reading>
bool readWithinMemory(Reading&& reading) {
    try {
        reading();
        return true;
    } catch (const std::bad_alloc&) {
    } catch (const std::length_error&) {
    }
    return false;
}

int wholeSeconds(double seconds) { return static_cast<int>(std::trunc(seconds)); }

// The player's times come from 90 kHz clocks through floating point: 100 seconds may read
// 99.9999998. Every rule here works on whole seconds and margins, so times are taken to the
// millisecond first.
double toMilliseconds(double seconds) { return std::round(seconds * 1000.0) / 1000.0; }

// The film FilmList.cfg names as number `number` (from 1), to tell the user which one is missing.
std::string listedFilmPath(const std::filesystem::path& folder, int number) {
    int listed = 0;
    for (const std::string& line : readTextLines(resolveInFolder(folder, "FilmList.cfg")))
        if (!line.empty() && ++listed == number) return resolveInFolder(folder, line).string();
    return (folder / ("Film " + std::to_string(number))).string();
}

}  // namespace

TFMain::TFMain(AppContext& app, std::optional<QSize> screenSize, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), app_(app), screenOverride_(screenSize) {
    setObjectName(QStringLiteral("FMain"));
    setWindowTitle(QStringLiteral("Corvane System Player"));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, kBackground);
    setPalette(palette);
    setAutoFillBackground(true);
    // A click anywhere that takes no keys of its own (the video, a caption, a button) takes the
    // keyboard out of a text control, so the hot keys act again (see focusInEvent).
    setFocusPolicy(Qt::ClickFocus);

    Timer1.setInterval(1000);
    AmovRallenty.setInterval(kSlowMotionStepMs);
    Timer2.setInterval(200);
    connect(&Timer1, &QTimer::timeout, this, &TFMain::Timer1Timer);
    connect(&AmovRallenty, &QTimer::timeout, this, &TFMain::AmovRallentyTimer);
    connect(&Timer2, &QTimer::timeout, this, &TFMain::Timer2Timer);
    Timer2.start();
    lookAheadTimer_.setSingleShot(true);
    lookAheadTimer_.setInterval(kLookAheadDelayMs);
    connect(&lookAheadTimer_, &QTimer::timeout, this, &TFMain::prepareLookAhead);
    fullScreen_ = std::make_unique<FullScreenMode>(app_, *this, TimerFSCreen);

    buildWidgets();
    applyPlaybackRate();
    buildHotKeys();
    FormCreate();
}

TFMain::~TFMain() {
    // The windows beside and over the video call back into this one, so each goes while this
    // window is still whole, the ones that lean on others first: the full-screen windows, which
    // hold the player's picture (the mode itself stays to the end: closing windows below ask it);
    // the statistics windows (the open one, floating, has no parent to take it; closed ones stay
    // in the strip above the video until deleted); then the code list, which the search panel
    // drives; then the search panel.
    Timer1.stop();
    AmovRallenty.stop();
    Timer2.stop();
    lookAheadTimer_.stop();
    fullScreen_->closeWindows();
    delete statVoll_;
    delete statOs_;
    deleteClosedStatistics();
    delete std::exchange(codeList_, nullptr);
    delete std::exchange(searchPanel_, nullptr);
    // The players' last signals must not reach a window that is half gone.
    Amov->disconnect(this);
    players_->disconnect(this);
    players_.reset();
}

void TFMain::deleteClosedStatistics() {
    for (const QPointer<QWidget>& window : std::exchange(closedStatistics_, {})) delete window.data();
}

double TFMain::position() const { return toMilliseconds(Amov->Position()); }

int TFMain::positionSeconds() const { return wholeSeconds(position()); }

int TFMain::durationSeconds() const { return wholeSeconds(duration()); }

int TFMain::screenWidth() const {
    return screenOverride_ ? screenOverride_->width() : QGuiApplication::primaryScreen()->size().width();
}

void TFMain::relayOutBesideTheList() { layOut(); }

bool TFMain::playerBusy() const { return Amov->State() == TPlayer::Busy; }

bool TFMain::slowMotionButtonDown() const {
    // In full screen the panel's button is the one the user sees.
    return fullScreen_->panelSlowMotionDown().value_or(SbRallenty->isChecked());
}

void TFMain::setSlowMotion(bool on) {
    Transport(TransportPause);
    SbRallenty->setChecked(on);
    if (on) slowMotionOn();
    else slowMotionOff();
}

void TFMain::ButFullClick() { fullScreen_->ButFullClick(); }

bool TFMain::fullScreen() const { return fullScreen_->on(); }

QRect TFMain::screenGeometry() const {
    const QScreen* shown = screen() ? screen() : QGuiApplication::primaryScreen();
    const QRect geometry = shown->geometry();
    return screenOverride_ ? QRect(geometry.topLeft(), *screenOverride_) : geometry;
}

void TFMain::codeListChanged() {
    if (fullScreen_->on()) fullScreen_->FillCodeWindow();
}

void TFMain::codeListRefilled() { players_->drop(); }

void TFMain::showPlayerDetail(const std::string& playerText) { fullScreen_->ShowPlayerDetail(playerText); }

bool TFMain::filmAtItsEnd() const { return !Amov->FileName().empty() && filmAtEnd(position(), duration()); }

void TFMain::startSlowMotion() {
    SbRallenty->setChecked(true);
    fullScreen_->setPanelSlowMotionDown(true);
    slowMotionOn();
}

double TFMain::duration() const { return toMilliseconds(Amov->Duration()); }

// ---------------------------------------------------------------- creation and layout

QToolButton* TFMain::transportButton(const char* name, Glyph glyph) {
    auto* button = new QToolButton(PanButton);
    button->setObjectName(QString::fromLatin1(name));
    button->setIcon(glyphIcon(glyph));
    button->setIconSize(QSize(22, 22));
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    PanButton->layout()->addWidget(button);
    return button;
}

void TFMain::buildWidgets() {
    Panel2 = new QWidget(this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setStyleSheet(QStringLiteral("background: black;"));
    Panel3 = new QWidget(Panel2);
    Panel3->setObjectName(QStringLiteral("Panel3"));
    Panel3->hide();
    Panel5 = new QWidget(Panel2);
    Panel5->setObjectName(QStringLiteral("Panel5"));
    statusText = new QLabel(Panel5);
    statusText->setAlignment(Qt::AlignCenter);
    statusText->setWordWrap(true);
    QFont statusFont(QStringLiteral("Arial"));
    statusFont.setPixelSize(19);
    statusFont.setBold(true);
    statusText->setFont(statusFont);
    statusText->setProperty("tag", -1);  // the notice keeps its bold design font in every language
    statusText->setStyleSheet(QStringLiteral("color: #ffff00; background: transparent;"));
    // The speed in the video area's corner, over the film: the strip has no room to spare.
    rateReadout_ = new RateReadout(Panel5);
    Panel8 = new QWidget(Panel5);
    Panel8->setObjectName(QStringLiteral("Panel8"));
    Amov = new TPlayer(Panel8);
    Amov->setObjectName(QStringLiteral("Amov"));
    connectShownPlayer();
    players_ = std::make_unique<PlayerPair>(*Amov);
    connect(players_.get(), &PlayerPair::swapped, this, [this](TPlayer*, TPlayer* shown) { playersSwapped(shown); });

    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    TrackB = new TrackBar(Panel1);
    TrackB->setObjectName(QStringLiteral("TrackB"));
    connect(TrackB, &TrackBar::userChanged, this, &TFMain::TrackBChange);
    connect(TrackB, &TrackBar::scrubbed, this, &TFMain::TrackBScrub);

    PanButton = new QWidget(Panel1);
    PanButton->setObjectName(QStringLiteral("PanButton"));
    // Light glyphs on the dark strip: hover and pressed states only shade behind them.
    const QString buttonStyle = glyphButtonStyle();
    PanButton->setStyleSheet(buttonStyle);
    auto* buttons = new QHBoxLayout(PanButton);
    buttons->setContentsMargins(4, 0, 4, 0);
    buttons->setSpacing(2);
    SbIndietro = transportButton("SbIndietro", Glyph::JumpBack);
    ButStepM = transportButton("ButStepM", Glyph::StepBack);
    SbPlay = transportButton("SbPlay", Glyph::Play);
    ButStepP = transportButton("ButStepP", Glyph::StepForward);
    SbAvanti = transportButton("SbAvanti", Glyph::JumpForward);
    SbRallenty = transportButton("SbRallenty", Glyph::SlowMotion);
    SbRallenty->setCheckable(true);
    ButZoom = transportButton("ButZoom", Glyph::ZoomIn);
    ButFull = transportButton("ButFull", Glyph::FullScreen);
    Bevel8 = new QFrame(PanButton);
    Bevel8->setObjectName(QStringLiteral("Bevel8"));
    Bevel8->setFrameShape(QFrame::VLine);
    buttons->addWidget(Bevel8);
    BtnAudio = transportButton("BtnAudio", Glyph::SoundOn);
    ButPrev = transportButton("ButPrev", Glyph::PreviousFilm);
    ButNext = transportButton("ButNext", Glyph::NextFilm);
    buttons->addSpacing(12);
    const auto caption = [this, buttons](const char* name) {
        auto* label = new ClickableLabel(PanButton);
        label->setObjectName(QString::fromLatin1(name));
        label->setStyleSheet(QStringLiteral("color: white;"));
        buttons->addWidget(label);
        return label;
    };
    SecAntInizioAzione = caption("SecAntInizioAzione");
    buttons->addSpacing(8);
    SecAntFineAzione = caption("SecAntFineAzione");
    CheckBox1 = new QCheckBox(PanButton);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox1->hide();
    CheckBox2 = new QCheckBox(PanButton);
    CheckBox2->setObjectName(QStringLiteral("CheckBox2"));
    CheckBox2->hide();
    Label5 = new ClickableLabel(PanButton);
    Label5->setObjectName(QStringLiteral("Label5"));
    Label5->hide();
    buttons->addStretch();

    connect(SbPlay, &QToolButton::clicked, this, &TFMain::SbPlayClick);
    connect(SbIndietro, &QToolButton::clicked, this, &TFMain::SbIndietroClick);
    connect(SbAvanti, &QToolButton::clicked, this, &TFMain::SbAvantiClick);
    connect(ButStepM, &QToolButton::clicked, this, &TFMain::ButStepMClick);
    connect(ButStepP, &QToolButton::clicked, this, &TFMain::ButStepPClick);
    connect(SbRallenty, &QToolButton::clicked, this, [this] { SbRallentyClick(false); });
    connect(ButZoom, &QToolButton::clicked, this, &TFMain::ButZoomClick);
    connect(ButFull, &QToolButton::clicked, this, &TFMain::ButFullClick);
    connect(BtnAudio, &QToolButton::clicked, this, &TFMain::BtnAudioClick);
    connect(ButPrev, &QToolButton::clicked, this, &TFMain::ButPrevClick);
    connect(SecAntInizioAzione, &ClickableLabel::clicked, this, &TFMain::ButOpzioniClick);
    connect(SecAntFineAzione, &ClickableLabel::clicked, this, &TFMain::ButOpzioniClick);
    connect(ButNext, &QToolButton::clicked, this, &TFMain::ButNextClick);
    connect(Label5, &ClickableLabel::clicked, this, [this] {
        CheckBox2->setChecked(!CheckBox2->isChecked());
        app_.state.playback.FollowFilm = CheckBox2->isChecked();
    });

    Panel4 = new QWidget(Panel1);
    Panel4->setObjectName(QStringLiteral("Panel4"));
    auto* timeBox = new QHBoxLayout(Panel4);
    timeBox->setContentsMargins(6, 2, 6, 2);
    LblPos = new QLabel(QStringLiteral("00.00.00"), Panel4);
    LblPos->setObjectName(QStringLiteral("LblPos"));
    LblDur = new QLabel(QStringLiteral("00.00.00"), Panel4);
    LblDur->setObjectName(QStringLiteral("LblDur"));
    for (QLabel* label : {LblPos, LblDur}) {
        QFont font = label->font();
        font.setBold(true);
        font.setStyleHint(QFont::Monospace);
        label->setFont(font);
        label->setStyleSheet(QStringLiteral("color: white;"));
    }
    timeBox->addWidget(LblPos);
    timeBox->addWidget(new QLabel(QStringLiteral("/"), Panel4));
    timeBox->addWidget(LblDur);
    Panel4->setStyleSheet(QStringLiteral("background: #20243a; border-radius: 3px;"));

    XiButton1 = new GradientButton(QString(), Panel1);
    XiButton1->setObjectName(QStringLiteral("XiButton1"));
    connect(XiButton1, &GradientButton::clicked, this, &TFMain::ButOpzioniClick);
    StaticText3 = new QLabel(Panel1);
    StaticText3->setObjectName(QStringLiteral("StaticText3"));
    StaticText3->hide();
    StaticText4 = new QLabel(Panel1);
    StaticText4->setObjectName(QStringLiteral("StaticText4"));
    StaticText4->hide();

    const auto windowButton = [this](const char* name) {
        auto* button = new QToolButton(this);
        button->setObjectName(QString::fromLatin1(name));
        button->setAutoRaise(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->resize(24, kWindowStripHeight);
        return button;
    };
    ButClose = windowButton("ButClose");
    ButClose->setIcon(glyphIcon(Glyph::Close));
    ButRiduci = windowButton("ButRiduci");
    ButRiduci->setIcon(glyphIcon(Glyph::Minimise));
    ButInfo = windowButton("ButInfo");
    ButInfo->setIcon(glyphIcon(Glyph::Information));
    ButKeys = windowButton("ButKeys");
    ButKeys->setText(QStringLiteral("?"));
    for (QToolButton* button : {ButClose, ButRiduci, ButInfo, ButKeys}) button->setStyleSheet(buttonStyle);
    ButKeys->setStyleSheet(buttonStyle + QStringLiteral("QToolButton { color: white; font-weight: bold; }"));
    connect(ButClose, &QToolButton::clicked, this, &QWidget::close);
    connect(ButRiduci, &QToolButton::clicked, this, &QWidget::showMinimized);
    connect(ButInfo, &QToolButton::clicked, this, [this] {
        TFAbout about(app_, false, this);
        about.exec();
    });
    connect(ButKeys, &QToolButton::clicked, this, &TFMain::showKeyList);
}

void TFMain::buildHotKeys() {
    // Shortcuts of this window: they act exactly while it is the active window, so another
    // program, a dialog in front or the full-screen window receive their keys themselves. A
    // control that takes text claims the keys it types (the search code entry, any text box)
    // before a shortcut sees them.
    for (const KeyBinding& binding : mainWindowKeys()) {
        auto* shortcut = new QShortcut(QKeySequence(binding.keys), this);
        shortcut->setContext(Qt::WindowShortcut);
        shortcut->setAutoRepeat(binding.action != KeyAction::KeyList);
        connect(shortcut, &QShortcut::activated, this, [this, action = binding.action] { keyPressed(action); });
    }
}

void TFMain::keyPressed(KeyAction action) {
    switch (action) {
        case KeyAction::Forward: Transport(TransportForward, 0); break;
        case KeyAction::Back: Transport(TransportBack, 0); break;
        case KeyAction::PlayPause:
            if (Amov->State() == TPlayer::Ready) Transport(TransportPlay);
            else if (Amov->State() == TPlayer::Playing) Transport(TransportPause);
            break;
        case KeyAction::SlowMotion: SbRallentyClick(true); break;
        case KeyAction::Slower: stepPlaybackRate(-1); break;
        case KeyAction::Faster: stepPlaybackRate(+1); break;
        case KeyAction::NextCode:
            if (codeList_) codeList_->NextCode();
            break;
        case KeyAction::PreviousCode:
            if (codeList_) codeList_->PreviousCode();
            break;
        case KeyAction::KeyList: showKeyList(); break;
    }
}

TFKeys* TFMain::keyList() const { return keyList_; }

void TFMain::showKeyList() {
    if (!keyList_) keyList_ = new TFKeys(app_.messages, this);
    keyList_->show();
    keyList_->raise();
    keyList_->activateWindow();
}

void TFMain::applyCaptions() {
    using E = CaptionEntry;
    ApplyLanguage(this, app_.state.LanguageNumber, app_.messages,
                  {{"ButZoom", 25, E::Hint},          {"SbPlay", 40, E::Hint},
                   {"ButStepM", 44, E::Hint},         {"ButStepP", 45, E::Hint},
                   {"SbIndietro", 51, E::Hint},       {"SbAvanti", 50, E::Hint},
                   {"SbRallenty", 52, E::Hint},       {"ButPrev", 66, E::Hint},
                   {"ButNext", 67, E::Hint},          {"ButFull", 39, E::Hint},
                   {"BtnAudio", 56, E::Hint},         {"ButClose", 3, E::Hint, E::NoAmpersand},
                   {"ButRiduci", 61, E::Hint},        {"ButInfo", 60, E::Hint},
                   {"ButKeys", 312, E::Hint},         {"rateReadout", 315, E::Hint},
                   {"StaticText4", 35},               {"StaticText3", 58},
                   {"XiButton1", 58},                 {"CheckBox1", 57},
                   {"Label5", 38},                    {"SecAntInizioAzione", 70},
                   {"SecAntInizioAzione", 76, E::Hint}, {"SecAntFineAzione", 71},
                   {"SecAntFineAzione", 76, E::Hint}});
    XiButton1->setText(XiButton1->text().remove(QChar('&')));
}

void TFMain::FormCreate() {
    ZoomPercent = 90;
    applyCaptions();
    openFirstPackage();
    loadFollowFilm(app_.state.playback, app_.settings);
    CheckBox2->setChecked(app_.state.playback.FollowFilm);
    updatePreRollCaptions();
    const QSize screen = screenOverride_ ? *screenOverride_ : QGuiApplication::primaryScreen()->size();
    if (screen.width() < 1280) {
        SecAntInizioAzione->hide();
        SecAntFineAzione->hide();
        for (QLabel* label : {StaticText3, StaticText4}) {
            QFont font = label->font();
            font.setPointSize(8);
            label->setFont(font);
        }
    }
    setPanButtonEnabled(false);
    TrackB->setEnabled(false);
}

void TFMain::openFirstPackage() {
    ProgramState& state = app_.state;
    const PackageLists lists = ListPackages(state.folders.ProgramFolder, app_.log);
    state.MatchList = lists.MatchList;
    state.SynthesisList = lists.SynthesisList;
    if (state.MatchList.empty() && state.SynthesisList.empty()) {
        app_.boxes.ShowMessageBox("La cartella TLX_VIDEO non contiene partite/sintesi\r"
                                  "L'applicazione verrà terminata.",
                                  "TlxPlayer", MessageBoxStop);
        state.TerminateAfterCreate = true;
        return;
    }
    const PackageChoice first = firstPackage(state.MatchList, state.SynthesisList, state.RequestedPackage);
    state.SynthesisMode = first.synthesis;
    openPackageData(first.name, first.synthesis);
    StaticText4->setEnabled(state.package.statisticsEnabled);
    seekBusy_ = false;
    mutedBySlowMotion_ = false;
    firstActivationPending_ = true;
}

void TFMain::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    FormShow();
    // The first activation does the slow work; on platforms that never activate a window it
    // still runs once the window is up.
    QTimer::singleShot(0, this, [this] {
        if (firstActivationPending_) FormActivate();
    });
}

bool TFMain::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate && firstActivationPending_)
        QTimer::singleShot(0, this, [this] {
            if (firstActivationPending_) FormActivate();
        });
    return QWidget::event(event);
}

void TFMain::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    // The keyboard goes back where the first activation put it: the code list, whose arrow keys
    // move through the codes and which leaves every hot key to the window.
    if (event->reason() == Qt::MouseFocusReason && codeList_) codeList_->focusList();
}

void TFMain::FormShow() {
    const QSize screen = screenOverride_ ? *screenOverride_ : QGuiApplication::primaryScreen()->size();
    if (size() != screen) resize(screen);
    layOut();
}

void TFMain::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layOut();
}

void TFMain::layOut() {
    const QSize screen = screenOverride_ ? *screenOverride_ : QGuiApplication::primaryScreen()->size();
    MainLayout layout = mainLayoutFor(screen.width(), height());
    if (codeList_) {
        // The list keeps its width; the video takes the rest.
        layout.videoWidth = screen.width() - codeList_->listWidth() - 5;
        const int panelHeight = searchPanel_ ? searchPanel_->panelHeight() : 0;
        const int besideWidth = screen.width() - layout.videoWidth - 5;
        if (searchPanel_)
            searchPanel_->setGeometry(layout.videoWidth + 2, kWindowStripHeight, besideWidth, panelHeight);
        codeList_->setGeometry(layout.videoWidth + 2, kWindowStripHeight + 6 + panelHeight, besideWidth,
                               height() - panelHeight - kWindowStripHeight - 5);
    }
    Panel2->setGeometry(0, 0, layout.videoWidth, layout.videoHeight);
    // A docked statistics window takes the top of the video area.
    const int statisticsHeight = Panel3->isHidden() ? 0 : Panel3->height();
    Panel3->setGeometry(0, 0, layout.videoWidth, statisticsHeight);
    Panel5->setGeometry(0, statisticsHeight, layout.videoWidth, layout.videoHeight - statisticsHeight);
    statusText->setGeometry(0, 0, Panel5->width(), Panel5->height());
    placeRateReadout();
    Panel1->setGeometry(0, layout.stripTop, layout.videoWidth, kControlStripHeight);
    layOutTransportStrip(layout);
    if (firstActivationDone()) placeWindowButtons();
    // Keep the picture where the zoom put it.
    if (Amov->NativeWidth() > 0) SetVideoZoom(ZoomPercent);
}

void TFMain::layOutTransportStrip(const MainLayout& layout) {
    // Sizes come from the fonts, so they hold for any font and device-pixel ratio; the designed
    // sizes stay wherever the texts fit in them.
    const int width = layout.videoWidth;
    Panel4->adjustSize();
    Panel4->move(width - Panel4->width() - 4, kTrackBarHeight - 1);
    TrackB->setGeometry(0, 0, std::min(width - 160, Panel4->x() - 4), kTrackBarHeight);
    const QFontMetrics optionsMetrics(XiButton1->font());
    const int optionsWidth = std::max(88, optionsMetrics.horizontalAdvance(XiButton1->text()) + 16);
    int optionsLeft = Panel4->x() - 8 - optionsWidth;

    // The pre-roll captions show whole or not at all: a smaller font first, then none.
    QLayout* buttons = PanButton->layout();
    const auto neededWidth = [buttons] {
        buttons->invalidate();
        return buttons->sizeHint().width();
    };
    bool captions = layout.preRollCaptionsVisible;
    if (captions) {
        if (!captionFont_) captionFont_ = SecAntInizioAzione->font();
        QFont font = *captionFont_;
        int pixels = QFontInfo(font).pixelSize();
        // Hidden labels take no room in the row: measure them shown.
        for (QLabel* label : {SecAntInizioAzione, SecAntFineAzione}) label->setVisible(true);
        for (;;) {
            for (QLabel* label : {SecAntInizioAzione, SecAntFineAzione}) label->setFont(font);
            if (neededWidth() <= optionsLeft - 4) break;
            if (--pixels < 9) {
                captions = false;
                break;
            }
            font.setPixelSize(pixels);
        }
    }
    SecAntInizioAzione->setVisible(captions);
    SecAntFineAzione->setVisible(captions);
    // Without the captions the options button stands where they would begin.
    if (!captions) optionsLeft = std::min(optionsLeft, neededWidth() + 4);
    PanButton->setGeometry(0, kTrackBarHeight + 1, optionsLeft - 4, kControlStripHeight - kTrackBarHeight - 6);
    XiButton1->setGeometry(optionsLeft, kTrackBarHeight + 4, optionsWidth, 24);
}

void TFMain::placeWindowButtons() {
    ButClose->move(width() - ButClose->width(), 0);
    ButRiduci->move(ButClose->x() - 2 - ButRiduci->width(), 0);
    ButInfo->move(ButRiduci->x() - 2 - ButInfo->width(), 0);
    ButKeys->move(ButInfo->x() - 2 - ButKeys->width(), 0);
    for (QWidget* button : {ButKeys, ButInfo, ButRiduci, ButClose}) button->raise();
}

void TFMain::FormActivate() {
    firstActivationPending_ = false;
    splash_ = new TFAbout(app_, true, this);
    splash_->setAttribute(Qt::WA_DeleteOnClose);
    splash_->show();
    QCoreApplication::processEvents();
    app_.log.WriteLog("Before open synthesis");
    loadPackageFilms();
    ButZoomClick();  // from the normal zoom to the large one
    if (codeList_) codeList_->focusList();
    placeWindowButtons();
    app_.log.WriteLog("Fine Firsttime");
    if (splash_) splash_->close();
}

const VideoEnvironment& TFMain::videoEnvironment() const {
    static const SystemVideoEnvironment machine;
    return app_.video ? *app_.video : machine;
}

void TFMain::loadPackageFilms() {
    LoadFilmList(app_.state, app_.log);
    // Informative only: the films are tried whatever the answer.
    if (app_.state.package.captureCard == "CUSTOM2")
        CheckXvidCodec(videoEnvironment(), app_.messages, app_.state.LanguageNumber, this);
    if (!searchPanel_) searchPanel_ = new TFSubForm(app_, *this, this);
    searchPanel_->preparePackage();
    if (!codeList_) {
        codeList_ = new TFCodici(app_, *this, this);
        loadActionOptions(app_.state.playback, app_.settings);
        updatePreRollCaptions();
    }
    codeList_->preparePackage();
    layOut();
    const auto& films = app_.state.package.films;
    if (!films.empty()) OpenFilm(films.front());
    else clearVideo();
    app_.log.WriteLog("End Aprisintesi");
    // The other sports show their statistics as soon as a match is opened.
    const ProgramState& state = app_.state;
    if (state.sport() != SportKind::Volleyball && !state.SynthesisMode && state.package.statisticsEnabled &&
        (state.match.HomePlayers.hasAnyPlayer() || state.match.AwayPlayers.hasAnyPlayer()))
        ButStatClick();
}

void TFMain::openPackage(const std::string& name, bool synthesis) {
    if (statVoll_) statVoll_->close();
    if (statOs_) statOs_->close();
    QCoreApplication::processEvents();
    Transport(TransportPause);
    if (!openPackageData(name, synthesis)) return;  // the package open before stays
    StaticText4->setEnabled(app_.state.package.statisticsEnabled);
    if (!readWithinMemory([this] { loadPackageFilms(); })) refusePackage(name, std::nullopt);
    updatePreRollCaptions();
}

bool TFMain::openPackageData(const std::string& name, bool synthesis) {
    std::optional<ScoutLimit> refused;
    const bool read = readWithinMemory(
        [&] { refused = OpenPackageData(app_.state, name, synthesis, app_.log, app_.platform).refused; });
    if (read && !refused) return true;
    refusePackage(name, refused);  // no bound named: memory ran out
    return false;
}

void TFMain::refusePackage(const std::string& name, std::optional<ScoutLimit> limit) {
    if (!limit) app_.log.WriteLog("Memoria insufficiente per il pacchetto " + name);
    app_.boxes.ShowMessageBox(PackageRefusalMessage(app_.messages, pathToUtf8(name), limit),
                              app_.messages.MessageText(14), MessageBoxExclamation);
}

void TFMain::closeEvent(QCloseEvent* event) {
    fullScreen_->closeWindows();
    if (codeList_) codeList_->close();  // it keeps its display mode in the settings
    if (statVoll_) statVoll_->close();
    if (statOs_) statOs_->close();
    StopPlayer();
    QWidget::closeEvent(event);
}

// ---------------------------------------------------------------- opening a film

void TFMain::setPanButtonEnabled(bool enabled) {
    for (QWidget* control : PanButton->findChildren<QWidget*>())
        if (control != CheckBox1) control->setEnabled(enabled);
}

void TFMain::showStatus(const QString& text) {
    statusText->setText(text);
    statusText->raise();
    statusText->setVisible(!text.isEmpty());
}

void TFMain::waitForReadyState() {
    QElapsedTimer waited;
    waited.start();
    while (Amov->State() != TPlayer::Ready && !filmRequests_.superseded() && waited.elapsed() < kReadyWaitMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

void TFMain::showFilmNotAvailable(const std::string& path, const std::string& reason) {
    showFilmRefused(path, reason, withArguments(app_.messages.MessageText(23), {path}));
}

void TFMain::showFilmRefused(const std::string& path, const std::string& reason, const std::string& warning) {
    app_.log.WriteLog("Film non disponibile: " + path + " (" + reason + ")");
    Timer1.stop();
    AmovRallenty.stop();
    Panel8->show();
    setPanButtonEnabled(false);
    TrackB->setEnabled(false);
    TrackB->setPositionQuietly(0);
    showNoFilmTimes();
    showPlayImage(false);
    Amov->SetVideoWidth(352);
    Amov->SetVideoHeight(288);
    app_.boxes.ShowMessageBox(warning, app_.messages.MessageText(14), MessageBoxExclamation);
    showStatus(messageToQt(app_.messages.MessageText(117)));
}

bool TFMain::OpenFilm(const std::string& path) {
    if (!filmRequests_.ask({path, std::nullopt})) return false;  // opened after the one under way
    return openRequestedFilms(path);
}

// A copy of the path: callers name a film of the package, and a package chosen while this one
// opens replaces the film list.
bool TFMain::openRequestedFilms(const std::string path) {
    bool open = openFilmNow(path);
    bool replaced = false;
    while (const std::optional<FilmRequest> request = filmRequests_.next()) {
        replaced = true;
        if (request->path.empty()) {
            closeVideo();
            open = false;
            continue;
        }
        const bool codeOfTheOpenFilm = open && request->second && request->path == Amov->FileName();
        if (!codeOfTheOpenFilm) open = openFilmNow(request->path);
        if (open && request->second) {
            // A code clicked while its film opened: it plays now, as its click would have.
            Transport(TransportGoTo, *request->second);
            Transport(TransportPlay);
        }
    }
    return open && !replaced;
}

bool TFMain::openFilmNow(const std::string& path) {
    std::error_code error;
    if (path.empty() || !std::filesystem::is_regular_file(path, error)) {
        app_.log.WriteLog("Film non trovato: " + path);
        return false;
    }
    const BusyCursor busy;
    setPanButtonEnabled(true);
    PanButton->show();
    showStatus(messageToQt(app_.messages.MessageText(10)));
    Panel1->show();
    repaint();
    // The standby lets go of the film too: a disc must be free to leave the drive.
    players_->release();
    Amov->CloseFile();

    const auto CheckMpeg2Filters = [this] {
        for (const std::string& line : mpeg2FilterLogLines(videoEnvironment())) app_.log.WriteLog(line);
    };
    const FilmProbeServices probe{app_.state.folders.SystemFolder, app_.settings, app_.log, GetVideoInfo,
                                  CheckMpeg2Filters};
    const FilmOpening opening = PrepareFilmOpening(path, app_.state.package.captureCard, probe);
    if (opening.pictureRefused()) {
        // Decoding it would take gigabytes and minutes: the film is not handed to the player.
        const std::string size = std::to_string(opening.Width) + "x" + std::to_string(opening.Height);
        showFilmRefused(path, "picture " + size + " beyond the film limits",
                        withArguments(app_.messages.MessageText(kFilmTooLargeMessage), {path, size}));
        return false;
    }
    Amov->SetFiltro(opening.Filtro);
    app_.log.WriteLog("Filtro da utilizzare: " + Amov->Filtro());
    showStatus(messageToQt(app_.messages.MessageText(10)));
    Amov->SetWinHandle(fullScreen() ? fullScreen_->pictureTarget() : Amov);
    Amov->SetFileName(path);
    Panel8->hide();
    const bool opened = Amov->Open();
    Panel8->show();
    if (opened) {
        app_.log.WriteLog(Amov->Filters());
        app_.log.WriteLog("Attende ReadyState");
        waitForReadyState();
    }
    if (filmRequests_.superseded()) {
        // Another film was asked for meanwhile: this one is neither reported nor set up.
        app_.log.WriteLog("Apertura sostituita: " + path);
        return false;
    }
    if (!opened || Amov->State() != TPlayer::Ready) {
        showFilmNotAvailable(path, opened ? "not ready in time" : Amov->lastError());
        return false;
    }
    app_.log.WriteLog("ReadyState OK");

    TrackB->setEnabled(true);
    setPanButtonEnabled(true);
    TrackB->setRange(0, wholeSeconds(duration()));
    TrackB->setPositionQuietly(0);
    showStatus(QString());

    const auto& films = app_.state.package.films;
    const int filmCount = static_cast<int>(films.size());
    const int current = app_.state.package.currentFilm;
    // The film's own flag, not the button's state: in full screen the main window, and every
    // control in it, is disabled.
    const bool hasSound = Amov->Audio();
    BtnAudio->setEnabled(hasSound);
    ButPrev->setEnabled(filmCount > 1 && current > 1);
    ButNext->setEnabled(filmCount > 1 && current < filmCount);

    SbRallenty->setChecked(false);
    AmovRallenty.stop();
    // Slow motion of an earlier film must not turn on the sound of this one.
    mutedBySlowMotion_ = false;
    Amov->SetRate(1.0);
    applyPlaybackRate();  // the coach's chosen speed goes on from film to film
    BtnAudio->setVisible(hasSound);
    if (hasSound) showAudioImage(true);
    Bevel8->setVisible(hasSound);

    ButStepM->setToolTip(messageToQt(app_.messages.MessageText(44)));
    WideMpeg2 = false;
    if (Amov->NativeWidth() > 352) {
        app_.log.WriteLog("MPEG 2");
        ButStepM->setToolTip(messageToQt(app_.messages.MessageText(46)));
        WideMpeg2 = true;
    }
    if (fullScreen()) {
        // A code of another film played in full screen: the new film fills the screen too.
        fullScreen_->filmOpened();
    } else {
        app_.log.WriteLog("Not full screen");
        Amov->SetDisplayWidth(352);
        if (largeZoom_) {
            SetVideoZoom(95);
        } else {
            Panel8->resize(Amov->VideoWidth(), Amov->VideoHeight());
            Panel8->move((Panel5->width() - Amov->VideoWidth()) / 2, (Panel5->height() - Amov->VideoHeight()) / 2);
            Amov->resize(Panel8->size());
        }
    }
    LblDur->setText(QString::fromStdString(FormatSeconds(wholeSeconds(duration()), app_.platform.localeFormats().timeSeparator)));
    ShowPosition();
    showPlayImage(false);
    app_.log.WriteLog("Fine apertura");
    return true;
}

void TFMain::showNoFilmTimes() {
    for (QLabel* label : {LblPos, LblDur}) label->setText(QStringLiteral("--.--.--"));
}

void TFMain::clearVideo() {
    if (!filmRequests_.ask({})) return;  // once the film under way has opened
    closeVideo();
    filmRequests_.next();
}

void TFMain::closeVideo() {
    StopPlayer();
    Amov->SetFileName({});  // the transport has no film to act on
    Panel8->hide();
    TrackB->setEnabled(false);
    TrackB->setPositionQuietly(0);
}

void TFMain::warnFilmNotAvailable(const std::string& path) {
    app_.boxes.ShowMessageBox(withArguments(app_.messages.MessageText(23), {path}), app_.messages.MessageText(14),
                              MessageBoxExclamation);
}

void TFMain::StopPlayer() {
    Timer1.stop();
    players_->release();
    if (Amov->State() != TPlayer::Busy) Amov->CloseFile();
    Amov->lower();
    setPanButtonEnabled(false);
}

void TFMain::ButPrevClick() {
    auto& package = app_.state.package;
    if (package.currentFilm <= 1) return;
    --package.currentFilm;
    OpenFilm(package.films[static_cast<std::size_t>(package.currentFilm - 1)]);
}

void TFMain::ButNextClick() {
    auto& package = app_.state.package;
    if (package.currentFilm >= static_cast<int>(package.films.size())) return;
    ++package.currentFilm;
    OpenFilm(package.films[static_cast<std::size_t>(package.currentFilm - 1)]);
}

// ---------------------------------------------------------------- transport

void TFMain::Transport(int command, int amount) {
    if (Amov->State() == TPlayer::Busy || Amov->FileName().empty()) return;
    if (leavesSlowMotion(command)) {
        SbRallenty->setChecked(false);
        fullScreen_->setPanelSlowMotionDown(false);
        AmovRallenty.stop();
        showRateReadout();
    }
    if (runsFast(Amov->Rate(), playbackRate_) && !allowedAtFastRate(command)) return;

    switch (command) {
        case TransportPlay:
            AmovRallenty.stop();
            Amov->Pause();
            if (!filmAtEnd(position(), duration())) Amov->Play();
            Timer1.start();
            showPlayImage(true);
            break;
        case TransportPause:
            AmovRallenty.stop();
            Timer1.stop();
            Amov->Pause();
            showPlayImage(false);
            break;
        default:
            if (const auto target = transportSeekTarget(command, amount, position(), duration())) {
                Amov->Seek(static_cast<float>(*target));
                if (command != TransportGoTo && codeList_) codeList_->filmMovedByUser();
            }
            break;
    }
    ShowPosition();
    showRateReadout();
    update();
}

void TFMain::ShowPosition() {
    const int seconds = wholeSeconds(position());
    LblPos->setText(QString::fromStdString(FormatSeconds(seconds, app_.platform.localeFormats().timeSeparator)));
    TrackB->setPositionQuietly(seconds);
}

void TFMain::showPlayImage(bool playing) {
    fullScreen_->showPlayImage(playing);
    SbPlay->setIcon(glyphIcon(playing ? Glyph::Pause : Glyph::Play));
    SbPlay->setToolTip(messageToQt(app_.messages.MessageText(playing ? 41 : 40)));
}

void TFMain::showAudioImage(bool soundOn) {
    BtnAudio->setIcon(glyphIcon(soundOn ? Glyph::SoundOn : Glyph::SoundOff));
}

void TFMain::SbPlayClick() {
    if (Amov->State() == TPlayer::Playing || AmovRallenty.isActive()) Transport(TransportPause);
    else Transport(TransportPlay);
}

void TFMain::SbIndietroClick() {
    if (seekBusy_) return;
    seekBusy_ = true;
    Transport(TransportBack, 0);
    seekBusy_ = false;
}

void TFMain::SbAvantiClick() {
    if (seekBusy_) return;
    seekBusy_ = true;
    Transport(TransportForward, 0);
    seekBusy_ = false;
}

void TFMain::ButStepPClick() {
    Transport(TransportPause);
    Transport(TransportFrameForward);
}

void TFMain::ButStepMClick() {
    Transport(TransportPause);
    if (WideMpeg2) Transport(TransportBack, 1);
    else Transport(TransportFrameBack);
}

void TFMain::SbRallentyClick(bool fromHotKey) {
    if (!SbRallenty->isEnabled()) return;
    Transport(TransportPause);
    if (fromHotKey) SbRallenty->setChecked(!SbRallenty->isChecked());
    if (SbRallenty->isChecked()) slowMotionOn();
    else slowMotionOff();
}

// The film's own sound flag decides, not the sound button: in full screen the main window, and
// the button with it, is disabled.
void TFMain::slowMotionOn() {
    if (Amov->Audio()) {
        BtnAudioClick();
        mutedBySlowMotion_ = true;
    }
    showPlayImage(true);
    AmovRallenty.start(kSlowMotionStepMs);
    showRateReadout();
}

void TFMain::slowMotionOff() {
    AmovRallenty.stop();
    if (mutedBySlowMotion_ && !Amov->Audio()) {
        BtnAudioClick();
        mutedBySlowMotion_ = false;
    }
    Transport(TransportPlay);
}

void TFMain::stepPlaybackRate(int direction) {
    playbackRate_ = steppedPlaybackRate(playbackRate_, direction);
    applyPlaybackRate();
}

// Slow motion steps frame by frame and is not touched: the rate applies whenever the film plays.
void TFMain::applyPlaybackRate() {
    if (Amov->State() != TPlayer::NoFilm && Amov->State() != TPlayer::Busy) Amov->SetRate(playbackRate_);
    showRateReadout();
}

double TFMain::shownRate() const {
    return AmovRallenty.isActive() ? slowMotionRate(Amov->frameDuration(), kSlowMotionStepMs) : playbackRate_;
}

void TFMain::showRateReadout() {
    const double rate = shownRate();
    rateReadout_->showRate(rate);
    placeRateReadout();
    fullScreen_->showRate(rate);
}

void TFMain::placeRateReadout() { rateReadout_->move(Panel5->width() - rateReadout_->width() - 8, 8); }

void TFMain::AmovRallentyTimer() {
    if (Amov->State() == TPlayer::Busy) return;
    AmovRallenty.stop();
    if (!filmAtEnd(position(), duration())) {
        Amov->StepFrame();
        TrackB->setPositionQuietly(wholeSeconds(position()));
        ShowPosition();
        update();
        AmovRallenty.start();
        return;
    }
    SbRallentyClick(true);
    Amov->Stop();
    TrackB->setPositionQuietly(0);
    Timer1.stop();
    ShowPosition();
    showRateReadout();
}

void TFMain::BtnAudioClick() {
    if (AmovRallenty.isActive()) return;
    Amov->SetAudio(!Amov->Audio());
    showAudioImage(Amov->Audio());
}

void TFMain::TrackBChange(int barPosition) {
    if (barPosition > duration() - kEndMarginSeconds) return;
    // After a drag the picture shows a key frame near the second: the release always seeks exactly.
    const bool afterDrag = std::exchange(scrubbed_, false);
    if (!afterDrag && barPosition == wholeSeconds(position())) return;
    Amov->Seek(static_cast<float>(barPosition));
    if (codeList_) codeList_->filmMovedByUser();
    QCoreApplication::processEvents();
    ShowPosition();
}

void TFMain::TrackBScrub(int barPosition) {
    // The picture follows the hand at the nearest key frame, quick on any film; the player keeps
    // one seek waiting at most, so a fast drag never queues seeks behind it. The release seeks
    // exactly.
    if (Amov->FileName().empty() || barPosition > duration() - kEndMarginSeconds) return;
    Amov->SeekKeyFrame(static_cast<float>(barPosition));
    scrubbed_ = true;
    LblPos->setText(QString::fromStdString(FormatSeconds(barPosition, app_.platform.localeFormats().timeSeparator)));
}

void TFMain::ButZoomClick() {
    if (!largeZoom_) {
        SetVideoZoom(95);
        ButZoom->setToolTip(messageToQt(app_.messages.MessageText(26)));
        ButZoom->setIcon(glyphIcon(Glyph::ZoomOut));
        largeZoom_ = true;
    } else {
        ButZoom->setToolTip(messageToQt(app_.messages.MessageText(25)));
        ButZoom->setIcon(glyphIcon(Glyph::ZoomIn));
        largeZoom_ = false;
        SetVideoZoom(40);
    }
}

void TFMain::SetVideoZoom(int percent) {
    ZoomPercent = percent;
    if (fullScreen()) return;  // the picture is fitted to the full screen; the zoom waits for the return
    Panel8->hide();
    const auto geometry =
        videoZoomGeometry(percent, Amov->NativeWidth(), Amov->NativeHeight(), Panel5->width(), Panel5->height());
    if (!geometry) return;
    Amov->SetDisplayWidth(geometry->width);
    Panel8->setGeometry(geometry->left, geometry->top, geometry->width, geometry->height);
    Amov->setGeometry(0, 0, geometry->width, geometry->height);
    Panel8->show();
}

bool TFMain::SeekFilmTime(const std::string& film, const std::string& seconds) {
    const auto filmTime = parseFilmTime(film, seconds);
    if (!filmTime) return false;
    auto& package = app_.state.package;
    if (filmTime->film < 1 || filmTime->film > static_cast<int>(package.films.size())) {
        // Seeking in whatever film is open would show the wrong footage.
        warnFilmNotAvailable(listedFilmPath(package.folder, filmTime->film));
        return false;
    }
    const std::string& path = package.films[static_cast<std::size_t>(filmTime->film - 1)];
    if (filmRequests_.opening()) {
        // Never opened inside another opening: the code plays once the film under way is open.
        package.currentFilm = filmTime->film;
        filmRequests_.ask({path, filmTime->seconds});
        return false;
    }
    if (Amov->State() == TPlayer::Busy) return false;
    lookAheadTimer_.start();
    if (const auto target = lookAheadTarget(film, seconds); target && showPreparedPicture(*target)) return true;
    if (path != Amov->FileName() || Amov->State() == TPlayer::NoFilm) {
        package.currentFilm = filmTime->film;
        if (!OpenFilm(path)) return false;
    }
    Transport(TransportGoTo, filmTime->seconds);
    return true;
}

// ---------------------------------------------------------------- look-ahead

void TFMain::setLookAhead(bool on) {
    lookAheadOn_ = on;
    if (!on) players_->release();
}

void TFMain::connectShownPlayer() {
    disconnect(filmLostConnection_);
    filmLostConnection_ = connect(Amov, &TPlayer::filmLost, this, [this](const QString& reason) {
        showFilmNotAvailable(Amov->FileName(), reason.toStdString());
    });
}

void TFMain::playersSwapped(TPlayer* shown) {
    Amov = shown;
    connectShownPlayer();
}

std::optional<PlayerPair::Target> TFMain::lookAheadTarget(const std::string& film, const std::string& seconds) const {
    const auto filmTime = parseFilmTime(film, seconds);
    const auto& films = app_.state.package.films;
    if (!filmTime || filmTime->film < 1 || filmTime->film > static_cast<int>(films.size())) return std::nullopt;
    // A code of another film opens it the ordinary way, with everything an opening shows and logs.
    const std::string& path = films[static_cast<std::size_t>(filmTime->film - 1)];
    if (Amov->State() == TPlayer::NoFilm || Amov->State() == TPlayer::Busy || path != Amov->FileName())
        return std::nullopt;
    const auto second = transportSeekTarget(TransportGoTo, filmTime->seconds, position(), duration());
    if (!second) return std::nullopt;
    return PlayerPair::Target{path, Amov->Filtro(), *second};
}

// The go-to without its seek: the standby already shows the second.
bool TFMain::showPreparedPicture(const PlayerPair::Target& target) {
    if (justSwapped_ == target) {
        // Next asks for its code twice in one step: the second time the picture is already there.
        justSwapped_.reset();
        return true;
    }
    if (!players_->swapFor(target)) return false;
    justSwapped_ = target;
    QTimer::singleShot(0, this, [this] { justSwapped_.reset(); });
    ShowPosition();
    update();
    return true;
}

void TFMain::prepareLookAhead() {
    if (!lookAheadOn_ || !codeList_ || !codeList_->isVisible()) return;
    const auto next = codeList_->nextPlayTarget();
    const auto target = next ? lookAheadTarget(next->film, std::to_string(next->second)) : std::nullopt;
    if (target) players_->prepare(*target);
    else players_->drop();
}

// ---------------------------------------------------------------- timers

void TFMain::Timer1Timer() {
    if (Amov->State() == TPlayer::Busy) return;
    Timer1.stop();
    // The end of an action is checked whether or not the list follows the film: following only
    // decides whether an unfiltered list moves its highlight.
    if (codeList_) codeList_->CheckActionEnd(codeList_->currentListRow());
    if (filmAtEnd(position(), duration())) Amov->Stop();
    TrackB->setPositionQuietly(wholeSeconds(position()));
    ShowPosition();
    update();
    if (Amov->State() == TPlayer::Playing) Timer1.start();
    else if (!AmovRallenty.isActive()) showPlayImage(false);  // the film ended or was stopped
}

void TFMain::updatePreRollCaptions() {
    const PlaybackOptions& options = app_.state.playback;
    SecAntInizioAzione->setText(messageToQt(app_.messages.MessageText(70)) +
                                QStringLiteral(" (%1)").arg(options.PreRollSeconds));
    SecAntFineAzione->setText(messageToQt(app_.messages.MessageText(71)) +
                              QStringLiteral(" (%1)").arg(options.EndOffsetSeconds));
    SecAntInizioAzione->setEnabled(!app_.state.SynthesisMode);
}

void TFMain::statisticsOptionsChanged() {
    // The volleyball statistics have no option of their own to follow.
    if (statOs_) statOs_->applyDisplayOptions();
}

void TFMain::ButOpzioniClick() {
    Transport(TransportPause);
    TFOpzioni options(app_, *this, this);
    options.exec();
    players_->drop();  // the pre-roll or the film's decoding may have changed
    updatePreRollCaptions();
}

int TFMain::videoAreaWidth() const { return Panel2->width(); }

QWidget* TFMain::statisticsPanel(QWidget* docked) {
    Panel3->setVisible(docked != nullptr);
    layOut();
    return Panel3;
}

void TFMain::statisticsClosed(QWidget* window) {
    if (window == nullptr) return;
    if (window == statOs_) statOs_ = nullptr;
    else if (window == statVoll_) statVoll_ = nullptr;
    else return;
    closedStatistics_.emplace_back(window);
    if (!Panel3->isHidden()) {
        Panel3->hide();
        layOut();
        SetVideoZoom(ZoomPercent);
    }
}

std::unique_ptr<QDialog> TFMain::notesWindow() {
    const ProgramState& state = app_.state;
    if (state.match.HasMatchesData) return std::make_unique<TFDatiInc>(app_, this);
    if (state.sport() != SportKind::Volleyball) return std::make_unique<TFNoteB>(app_, this);
    return std::make_unique<TFNoteV>(app_, this);
}

void TFMain::ButNoteClick() {
    Transport(TransportPause);
    notesWindow()->exec();
}

void TFMain::ButStatClick() {
    Transport(TransportPause);
    const ProgramState& state = app_.state;
    if (!state.match.HomePlayers.hasAnyPlayer() && !state.match.AwayPlayers.hasAnyPlayer()) {
        app_.boxes.ShowMessageBox(app_.messages.MessageText(130), app_.messages.MessageText(14), MessageBoxExclamation);
        return;
    }
    const bool docked = app_.settings.flag(StatisticheModVis);
    if (state.sport() != SportKind::Volleyball) {
        if (!statOs_) {
            deleteClosedStatistics();
            statOs_ = new TFStatOs(app_, *this);
        }
        statOs_->Load(state.package.statisticsFile);
        if (docked && statOs_->dockable()) statOs_->Dock();
        else statOs_->Float();
        SetVideoZoom(largeZoom_ ? 95 : 40);
        return;
    }
    if (!statVoll_) {
        deleteClosedStatistics();
        statVoll_ = new TFStatVoll(app_, *this);
    }
    statVoll_->Load(state.package.statisticsFile);
    if (docked) statVoll_->Dock();
    else statVoll_->Float();
    SetVideoZoom(largeZoom_ ? 95 : 40);
}

void TFMain::CheckUleadCodecs(bool flag) {
    const BusyCursor busy;
    const std::string film = Amov->FileName();
    StopPlayer();
    if (const auto line = uleadCodecsLogLine(flag, videoEnvironment()); !line.empty()) app_.log.WriteLog(line);
    OpenFilm(film);
}

void TFMain::Timer2Timer() {
    // A disabled caption is drawn grey so that it does not look clickable.
    for (ClickableLabel* caption : {SecAntInizioAzione, SecAntFineAzione}) {
        const QString style = caption->isEnabled() ? QStringLiteral("color: #ffffff;") : QStringLiteral("color: #808080;");
        if (caption->styleSheet() != style) caption->setStyleSheet(style);
    }
}

}  // namespace corvane
