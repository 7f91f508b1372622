#include "app/tfpancmdfsc.h"

#include <QKeyEvent>
#include <QToolButton>

#include "app/full_screen_link.h"
#include "app/full_screen_keys_qt.h"
#include "core/transport_rules.h"
#include "ui/app_context.h"
#include "ui/apply_language_qt.h"
#include "ui/transport_icons.h"

namespace corvane {

namespace {

constexpr int kPanelWidth = 286;
constexpr int kPanelHeight = 27;
constexpr int kButtonWidth = 28;
constexpr int kMargin = 3;

}  // namespace

TFPanCmdFsc::TFPanCmdFsc(AppContext& app, FullScreenLink& link)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), app_(app), link_(link) {
    setObjectName(QStringLiteral("FPanCmdFsc"));
    setWindowTitle(QStringLiteral("Strumenti"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    setAutoFillBackground(true);
    setStyleSheet(glyphButtonStyle());

    SbPlay = addButton("SbPlay", Glyph::Play);
    ButStepM = addButton("ButStepM", Glyph::StepBack);
    ButStepP = addButton("ButStepP", Glyph::StepForward);
    SbIndietro = addButton("SbIndietro", Glyph::JumpBack);
    SbAvanti = addButton("SbAvanti", Glyph::JumpForward);
    SbRallenty = addButton("SbRallenty", Glyph::SlowMotion);
    SbRallenty->setCheckable(true);
    BtnDimNormali = addButton("BtnDimNormali", Glyph::ZoomOut);
    // The list's previous and next code, not the package's films: pictures of their own.
    ButPrev = addButton("ButPrev", Glyph::PreviousCode);
    ButNext = addButton("ButNext", Glyph::NextCode);
    SpeedButton1 = addButton("SpeedButton1", Glyph::Information);

    // Every button but the analysis chooser first keeps the floating windows in sight.
    const auto shown = [this](auto action) {
        return [this, action] {
            link_.keepFloatingShown();
            action();
        };
    };
    using B = FullScreenLink::MainButton;
    connect(SbPlay, &QToolButton::clicked, this, shown([this] { SbPlayClick(); }));
    connect(ButStepM, &QToolButton::clicked, this, shown([this] { link_.mainButton(B::StepBack); }));
    connect(ButStepP, &QToolButton::clicked, this, shown([this] { link_.mainButton(B::StepForward); }));
    connect(SbIndietro, &QToolButton::clicked, this, shown([this] { link_.mainButton(B::JumpBack); }));
    connect(SbAvanti, &QToolButton::clicked, this, shown([this] { link_.mainButton(B::JumpForward); }));
    connect(SbRallenty, &QToolButton::clicked, this, shown([this] { SbRallentyClick(); }));
    connect(BtnDimNormali, &QToolButton::clicked, this, shown([this] { link_.leave(); }));
    connect(ButNext, &QToolButton::clicked, this, shown([this] { link_.stepCode(+1); }));
    connect(ButPrev, &QToolButton::clicked, this, shown([this] { link_.stepCode(-1); }));
    connect(SpeedButton1, &QToolButton::clicked, this, [this] { link_.openAnalysis(); });

    // The analysis chooser is for a synthesis only; without it the panel is narrower.
    int width = kPanelWidth;
    if (!app_.state.SynthesisMode) {
        SpeedButton1->hide();
        width -= kButtonWidth;
    }
    setFixedSize(width, kPanelHeight);
    using E = CaptionEntry;
    ApplyLanguage(this, app_.state.LanguageNumber, app_.messages,
                  {{"SbPlay", 40, E::Hint},        {"ButStepM", 44, E::Hint},   {"ButStepP", 45, E::Hint},
                   {"SbIndietro", 51, E::Hint},    {"SbAvanti", 50, E::Hint},   {"SbRallenty", 52, E::Hint},
                   {"BtnDimNormali", 55, E::Hint}, {"ButNext", 43, E::Hint},    {"ButPrev", 42, E::Hint},
                   {"SpeedButton1", 28, E::Hint}});
}

QToolButton* TFPanCmdFsc::addButton(const char* name, Glyph glyph) {
    auto* button = new QToolButton(this);
    button->setObjectName(QString::fromLatin1(name));
    button->setIcon(glyphIcon(glyph));
    button->setIconSize(QSize(18, 18));
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setGeometry(kMargin + buttons_ * kButtonWidth, 1, kButtonWidth - 2, kPanelHeight - 2);
    ++buttons_;
    return button;
}

void TFPanCmdFsc::setPlacement(const QRect& screen, const QRect& picture) {
    screen_ = screen;
    picture_ = picture;
    if (isVisible()) place();  // another film's picture has other edges
}

void TFPanCmdFsc::place() {
    const int left = picture_.isValid() ? screen_.left() + picture_.left() + 10 : screen_.left() + 50;
    move(left, screen_.top() + screen_.height() - height() - 10);
}

void TFPanCmdFsc::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    place();
    ButStepM->setToolTip(messageToQt(app_.messages.MessageText(link_.wideFilm() ? 46 : 44)));
}

void TFPanCmdFsc::keyPressEvent(QKeyEvent* event) {
    if (!takeFullScreenKey(*event, link_, [this] { BtnDimNormali->click(); })) QWidget::keyPressEvent(event);
}

void TFPanCmdFsc::showPlayImage(bool playing) {
    SbPlay->setIcon(glyphIcon(playing ? Glyph::Pause : Glyph::Play));
    SbPlay->setToolTip(messageToQt(app_.messages.MessageText(playing ? 41 : 40)));
}

void TFPanCmdFsc::SbPlayClick() {
    if (!link_.playing() && !link_.slowMotionRunning()) {
        link_.Transport(TransportPlay);
        showPlayImage(true);
    } else {
        link_.Transport(TransportPause);
        showPlayImage(false);
    }
}

void TFPanCmdFsc::SbRallentyClick() {
    link_.Transport(TransportPause);
    link_.setSlowMotion(SbRallenty->isChecked());
}

bool TFPanCmdFsc::slowMotionDown() const { return SbRallenty->isChecked(); }

void TFPanCmdFsc::setSlowMotionDown(bool down) { SbRallenty->setChecked(down); }

void TFPanCmdFsc::setCodeButtons(bool nextEnabled, bool previousEnabled) {
    ButNext->setEnabled(nextEnabled);
    ButPrev->setEnabled(previousEnabled);
}

}  // namespace corvane
