#include "codes/tfreel.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <cstdlib>

#include "codes/code_description.h"
#include "codes/reel_export_qt.h"
#include "codes/reel_plan.h"
#include "core/cp1252.h"
#include "core/messages.h"
#include "reels/reel_job.h"
#include "ui/app_context.h"
#include "ui/apply_language_qt.h"
#include "ui/package_text.h"

namespace corvane {

namespace {

enum ReelMessage : int {
    kButtonText = 560,
    kButtonHint = 561,
    kTitle = 562,
    kActions = 563,
    kDestination = 564,
    kBrowse = 565,
    kOneFilm = 566,
    kClipFolder = 567,
    kCaptions = 568,
    kExport = 569,
    kCancel = 570,
    kProgressTitle = 571,
    kClipOf = 572,
    kElapsed = 573,
    kReady = 574,
    kCancelled = 575,
    kInsidePackages = 576,
    kNotEmpty = 577,
    kNoFolder = 578,
    kNoH264 = 579,
    kNoAac = 580,
    kNoFont = 581,
    kCannotRead = 582,
    kCannotWrite = 583,
    kNothingToPlay = 584,
    kChooseDestination = 585,
    kLeftOut = 590,
    kFilmUnreadable = 591,
    kNoSuchFilm = 592,
    kOutsideFilm = 593,
    kNoSecond = 594,
    kNoLength = 595,
    kNotListed = 596,
    kTickAll = 750,
    kUntickAll = 751,
    kNothingTicked = 752,
    kEmptyList = 753,
};

std::string clockText(double seconds) {
    const int whole = std::max(0, static_cast<int>(seconds + 0.5));
    return QStringLiteral("%1:%2").arg(whole / 60).arg(whole % 60, 2, 10, QLatin1Char('0')).toStdString();
}

bool endsWithMp4(const QString& path) { return path.endsWith(QStringLiteral(".mp4"), Qt::CaseInsensitive); }

}  // namespace

std::string reelResultText(const Messages& messages, ReelStatus status, const std::string& detail) {
    switch (status) {
        case ReelStatus::Done: return {};
        case ReelStatus::Cancelled: return messages.MessageText(kCancelled);
        case ReelStatus::NoClips: return messages.MessageText(kNothingToPlay);
        case ReelStatus::InsidePackages: return withArguments(messages.MessageText(kInsidePackages), {detail});
        case ReelStatus::DestinationNotEmpty: return withArguments(messages.MessageText(kNotEmpty), {detail});
        case ReelStatus::NoDestinationFolder: return withArguments(messages.MessageText(kNoFolder), {detail});
        case ReelStatus::NoH264Encoder: return messages.MessageText(kNoH264);
        case ReelStatus::NoAacEncoder: return messages.MessageText(kNoAac);
        case ReelStatus::NoCaptionFont: return messages.MessageText(kNoFont);
        case ReelStatus::CannotReadFilm: return withArguments(messages.MessageText(kCannotRead), {detail});
        case ReelStatus::CannotWrite: return withArguments(messages.MessageText(kCannotWrite), {detail});
    }
    return {};
}

// ---------------------------------------------------------------- the button

ReelExportButton::ReelExportButton(AppContext& app, std::function<std::vector<CodeListRow>()> listedRows,
                                   QWidget* parent)
    : QToolButton(parent), app_(app), listedRows_(std::move(listedRows)) {
    setObjectName(QStringLiteral("ButReel"));
    setToolButtonStyle(Qt::ToolButtonTextOnly);
    setText(messageToQt(app_.messages.MessageText(kButtonText)));
    setFocusPolicy(Qt::NoFocus);
    // The list's header colours: white on blue, readable on the list's dark strip.
    setStyleSheet(QStringLiteral("QToolButton { color: white; background: rgb(0,128,192); font-weight: bold;"
                                 " border: 1px solid rgb(128,128,128); border-radius: 3px; padding: 1px 6px; }"
                                 "QToolButton:hover { background: rgb(0,150,220); }"
                                 "QToolButton:pressed { background: rgb(0,0,128); }"));
    connect(this, &QToolButton::clicked, this, &ReelExportButton::openExport);
    listChanged(listedRows_().size());
}

void ReelExportButton::listChanged(std::size_t rowCount) {
    setEnabled(rowCount > 0);
    setToolTip(messageToQt(app_.messages.MessageText(rowCount > 0 ? kButtonHint : kEmptyList)));
}

void ReelExportButton::openExport() {
    std::vector<CodeListRow> rows = listedRows_();
    if (rows.empty()) return;  // the button is disabled on an empty list
    auto* dialog = new TFReel(app_, std::move(rows), window());
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
}

// ---------------------------------------------------------------- the export window

TFReel::TFReel(AppContext& app, std::vector<CodeListRow> rows, QWidget* parent)
    : QDialog(parent), app_(app), rows_(std::move(rows)) {
    setObjectName(QStringLiteral("FReel"));
    setWindowTitle(messageToQt(text(kTitle)));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(messageToQt(text(kActions)), this));
    LstAzioni = new QListWidget(this);
    LstAzioni->setObjectName(QStringLiteral("LstAzioni"));
    const ProgramState& state = app_.state;
    const CodeDescriptionSources sources{state.Sport, state.match, state.events, text(131)};
    for (const CodeListRow& row : rows_) {
        auto* item = new QListWidgetItem(fromCp1252(reelCaption(DescribeCode(row.code, sources), row)),
                                         LstAzioni);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Checked);
    }
    layout->addWidget(LstAzioni, 1);
    auto* ticks = new QHBoxLayout;
    ButTutte = new QPushButton(messageToQt(text(kTickAll)), this);
    ButTutte->setObjectName(QStringLiteral("ButTutte"));
    ButNessuna = new QPushButton(messageToQt(text(kUntickAll)), this);
    ButNessuna->setObjectName(QStringLiteral("ButNessuna"));
    ticks->addWidget(ButTutte);
    ticks->addWidget(ButNessuna);
    ticks->addStretch();
    layout->addLayout(ticks);

    auto* where = new QHBoxLayout;
    where->addWidget(new QLabel(messageToQt(text(kDestination)), this));
    EdDestinazione = new QLineEdit(this);
    EdDestinazione->setObjectName(QStringLiteral("EdDestinazione"));
    where->addWidget(EdDestinazione, 1);
    ButSfoglia = new QPushButton(messageToQt(text(kBrowse)), this);
    ButSfoglia->setObjectName(QStringLiteral("ButSfoglia"));
    where->addWidget(ButSfoglia);
    layout->addLayout(where);

    RbFilm = new QRadioButton(messageToQt(text(kOneFilm)), this);
    RbFilm->setObjectName(QStringLiteral("RbFilm"));
    RbClip = new QRadioButton(messageToQt(text(kClipFolder)), this);
    RbClip->setObjectName(QStringLiteral("RbClip"));
    RbFilm->setChecked(true);
    CkDidascalie = new QCheckBox(messageToQt(text(kCaptions)), this);
    CkDidascalie->setObjectName(QStringLiteral("CkDidascalie"));
    layout->addWidget(RbFilm);
    layout->addWidget(RbClip);
    layout->addWidget(CkDidascalie);

    LblMotivo = new QLabel(this);
    LblMotivo->setObjectName(QStringLiteral("LblMotivo"));
    LblMotivo->setWordWrap(true);
    layout->addWidget(LblMotivo);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    ButEsporta = new QPushButton(messageToQt(text(kExport)), this);
    ButEsporta->setObjectName(QStringLiteral("ButEsporta"));
    ButEsporta->setDefault(true);
    ButAnnulla = new QPushButton(messageToQt(text(kCancel)), this);
    ButAnnulla->setObjectName(QStringLiteral("ButAnnulla"));
    buttons->addWidget(ButEsporta);
    buttons->addWidget(ButAnnulla);
    layout->addLayout(buttons);

    // The documents folder, named for the package: never the disc, which may be read-only and
    // whose package folders take nothing.
    const std::filesystem::path documents = app_.platform.documentsFolder();
    if (!documents.empty())
        EdDestinazione->setText(QString::fromStdString(
            (documents / (cp1252ToUtf8(state.package.name.empty() ? "Reel" : state.package.name) + ".mp4")).string()));

    connect(ButSfoglia, &QPushButton::clicked, this, &TFReel::browse);
    connect(RbFilm, &QRadioButton::toggled, this, &TFReel::outputChanged);
    connect(ButEsporta, &QPushButton::clicked, this, &TFReel::exportClick);
    connect(ButAnnulla, &QPushButton::clicked, this, &TFReel::close);
    connect(ButTutte, &QPushButton::clicked, this, [this] { tickAll(Qt::Checked); });
    connect(ButNessuna, &QPushButton::clicked, this, [this] { tickAll(Qt::Unchecked); });
    connect(LstAzioni, &QListWidget::itemChanged, this, &TFReel::updateExportState);
    updateExportState();
    resize(520, 460);
}

void TFReel::tickAll(Qt::CheckState state) {
    {
        // One update for the whole list, not one an item.
        const QSignalBlocker blocker(LstAzioni);
        for (int n = 0; n < LstAzioni->count(); ++n) LstAzioni->item(n)->setCheckState(state);
    }
    LstAzioni->viewport()->update();
    updateExportState();
}

// Export is pressed only with something to export; otherwise the window says why.
void TFReel::updateExportState() {
    const bool anyTicked = !tickedRows().empty();
    ButEsporta->setEnabled(anyTicked);
    ButTutte->setEnabled(LstAzioni->count() > 0);
    ButNessuna->setEnabled(LstAzioni->count() > 0);
    LblMotivo->setText(anyTicked ? QString() : messageToQt(text(rows_.empty() ? kEmptyList : kNothingTicked)));
    LblMotivo->setVisible(!anyTicked);
}

std::string TFReel::text(int number) const { return app_.messages.MessageText(number); }

void TFReel::browse() {
    const QString current = EdDestinazione->text();
    const QString chosen =
        RbFilm->isChecked()
            ? QFileDialog::getSaveFileName(this, messageToQt(text(kTitle)), current, QStringLiteral("MP4 (*.mp4)"))
            : QFileDialog::getSaveFileName(this, messageToQt(text(kTitle)), current, QString(), nullptr,
                                           QFileDialog::ShowDirsOnly);
    if (!chosen.isEmpty()) EdDestinazione->setText(chosen);
}

// A film is named .mp4, a folder of clips is not.
void TFReel::outputChanged() {
    QString path = EdDestinazione->text();
    if (RbFilm->isChecked() && !path.isEmpty() && !endsWithMp4(path)) path += QStringLiteral(".mp4");
    if (RbClip->isChecked() && endsWithMp4(path)) path.chop(4);
    EdDestinazione->setText(path);
}

// The ticked actions that make no clip, one a line with the reason, under a heading; empty when
// every one does.
std::string TFReel::leftOutText(const std::vector<SkippedRow>& skipped, const CodeDescriptionSources& sources) const {
    if (skipped.empty()) return {};
    std::string lines = withArguments(text(kLeftOut), {std::to_string(skipped.size())});
    for (const SkippedRow& row : skipped) {
        if (row.listRow < 1 || row.listRow > static_cast<int>(rows_.size())) continue;
        const CodeListRow& listed = rows_[static_cast<std::size_t>(row.listRow - 1)];
        lines += "\r" + cp1252ToUtf8(reelCaption(DescribeCode(listed.code, sources), listed)) + ": " +
                 skipReasonText(row.reason, listed.film);
    }
    return lines;
}

std::string TFReel::skipReasonText(ReelSkip reason, const std::string& film) const {
    const auto& films = app_.state.package.films;
    const int number = std::atoi(film.c_str());
    const std::string path = number >= 1 && number <= static_cast<int>(films.size())
                                 ? films[static_cast<std::size_t>(number - 1)]
                                 : film;
    switch (reason) {
        case ReelSkip::NotListed: return text(kNotListed);
        case ReelSkip::NoSecond: return text(kNoSecond);
        case ReelSkip::NoSuchFilm: return withArguments(text(kNoSuchFilm), {film});
        case ReelSkip::FilmUnreadable: return withArguments(text(kFilmUnreadable), {path});
        case ReelSkip::OutsideFilm: return text(kOutsideFilm);
        case ReelSkip::NoLength: return text(kNoLength);
    }
    return {};
}

std::vector<int> TFReel::tickedRows() const {
    std::vector<int> rows;
    for (int n = 0; n < LstAzioni->count(); ++n)
        if (LstAzioni->item(n)->checkState() == Qt::Checked) rows.push_back(n + 1);
    return rows;
}

void TFReel::exportClick() {
    const auto warn = [this](const std::string& message) {
        app_.boxes.ShowMessageBox(message, text(kTitle), MessageBoxExclamation);
    };
    QString path = EdDestinazione->text().trimmed();
    if (path.isEmpty()) return warn(text(kChooseDestination));
    if (RbFilm->isChecked() && !endsWithMp4(path)) path += QStringLiteral(".mp4");
    const std::filesystem::path destination = path.toStdString();
    const ProgramState& state = app_.state;
    if (insidePackages(destination, state.folders.ProgramFolder))
        return warn(reelResultText(app_.messages, ReelStatus::InsidePackages, destination.string()));
    const std::vector<int> ticked = tickedRows();
    if (ticked.empty()) return warn(text(rows_.empty() ? kEmptyList : kNothingTicked));

    // The plan is made here, on the interface thread, from the program state; the export's
    // thread gets only paths and seconds.
    const ReelPlan plan = planReel({state.codeTable, rows_, ticked, filmLengths(state.package.films), state.SynthesisMode,
                                    state.playback.PreRollSeconds, state.playback.EndOffsetSeconds});
    if (plan.clips.empty()) return warn(text(kNothingToPlay));
    std::function<std::string(const CodeListRow&)> caption;
    const CodeDescriptionSources sources{state.Sport, state.match, state.events, text(131)};
    if (CkDidascalie->isChecked())
        caption = [&](const CodeListRow& row) { return reelCaption(DescribeCode(row.code, sources), row); };
    ReelJob job{reelSources(plan, rows_, state.package.films, caption), destination,
                RbClip->isChecked() ? ReelOutput::ClipFolder : ReelOutput::OneFilm, state.folders.ProgramFolder};

    auto* progress = new TFReelProgress(app_, std::move(job), leftOutText(plan.skippedRows, sources), parentWidget());
    progress->setAttribute(Qt::WA_DeleteOnClose);
    progress->show();
    close();
}

// ---------------------------------------------------------------- the progress window

TFReelProgress::TFReelProgress(AppContext& app, ReelJob job, std::string leftOut, QWidget* parent)
    : QDialog(parent), app_(app), destination_(job.destination.string()), leftOut_(std::move(leftOut)) {
    setObjectName(QStringLiteral("FReelProgress"));
    setWindowTitle(messageToQt(text(kProgressTitle)));
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    LblClip = new QLabel(this);
    LblClip->setObjectName(QStringLiteral("LblClip"));
    LblTempo = new QLabel(this);
    LblTempo->setObjectName(QStringLiteral("LblTempo"));
    Barra = new QProgressBar(this);
    Barra->setObjectName(QStringLiteral("Barra"));
    Barra->setRange(0, 1000);
    ButAnnulla = new QPushButton(messageToQt(text(kCancel)), this);
    ButAnnulla->setObjectName(QStringLiteral("ButAnnulla"));
    layout->addWidget(LblClip);
    layout->addWidget(LblTempo);
    layout->addWidget(Barra);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ButAnnulla);
    layout->addLayout(buttons);
    const int clips = static_cast<int>(job.clips.size());
    progressed(1, clips, 0, 0);
    resize(420, sizeHint().height());

    job_ = new ReelExportJob(std::move(job), this);
    connect(job_, &ReelExportJob::progressed, this, &TFReelProgress::progressed);
    connect(job_, &ReelExportJob::finished, this, &TFReelProgress::finished);
    connect(ButAnnulla, &QPushButton::clicked, this, [this] {
        ButAnnulla->setEnabled(false);
        if (job_) job_->cancel();
    });
    clock_.start();
    job_->start();
}

TFReelProgress::~TFReelProgress() = default;  // the job, a child, cancels and waits

std::string TFReelProgress::text(int number) const { return app_.messages.MessageText(number); }

void TFReelProgress::progressed(int clip, int clipCount, double secondsDone, double secondsTotal) {
    LblClip->setText(messageToQt(withArguments(text(kClipOf), {std::to_string(clip), std::to_string(clipCount)})));
    const double elapsed = clock_.isValid() ? static_cast<double>(clock_.elapsed()) / 1000.0 : 0.0;
    const double share = secondsTotal > 0 ? std::clamp(secondsDone / secondsTotal, 0.0, 1.0) : 0.0;
    // The remaining time once a little is done: before that it would be a guess.
    const std::string remaining = share > 0.02 ? clockText(elapsed / share - elapsed) : "-";
    LblTempo->setText(messageToQt(withArguments(text(kElapsed), {clockText(elapsed), remaining})));
    Barra->setValue(static_cast<int>(share * 1000));
}

void TFReelProgress::endNow() {
    ending_ = true;
    done_ = true;
    // The job's end waits for the export's thread, which stops at its next packet and removes
    // the partial output; its last signals, still queued, find the window ending.
    delete job_;
    job_ = nullptr;
    close();
}

void endReelExportsNow() {
    for (QWidget* window : QApplication::topLevelWidgets())
        if (auto* progress = qobject_cast<TFReelProgress*>(window)) progress->endNow();
}

void TFReelProgress::finished(int status, const QString& detail) {
    if (ending_) return;
    done_ = true;
    const auto result = static_cast<ReelStatus>(status);
    hide();
    if (result == ReelStatus::Done && leftOut_.empty())
        app_.boxes.ShowMessageBox(withArguments(text(kReady), {destination_}), text(kTitle), MessageBoxOk);
    else if (result == ReelStatus::Done)
        app_.boxes.ShowMessageBox(withArguments(text(kReady), {destination_}) + "\r\r" + leftOut_, text(kTitle),
                                  MessageBoxExclamation);
    else
        app_.boxes.ShowMessageBox(reelResultText(app_.messages, result, detail.toStdString()), text(kTitle),
                                  result == ReelStatus::Cancelled ? MessageBoxOk : MessageBoxExclamation);
    close();
}

void TFReelProgress::closeEvent(QCloseEvent* event) {
    if (!done_ && job_) {
        // Closing the window is a Cancel: the window stays until the export has cleaned up.
        ButAnnulla->setEnabled(false);
        job_->cancel();
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

}  // namespace corvane
