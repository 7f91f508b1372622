#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <QToolButton>

#include <functional>
#include <vector>

#include "codes/code_description.h"
#include "codes/code_passes.h"
#include "codes/reel_plan.h"
#include "reels/reel_writer.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace corvane {

struct AppContext;
class Messages;
class ReelExportJob;

// The export command beside the code list: opens the export window on the list's rows as they
// are when it is clicked.
class ReelExportButton : public QToolButton {
    Q_OBJECT

public:
    ReelExportButton(AppContext& app, std::function<std::vector<CodeListRow>()> listedRows, QWidget* parent);

    // The list has been filled again: an empty list has nothing to export, and the hint says so.
    void listChanged(std::size_t rowCount);

private:
    void openExport();

    AppContext& app_;
    std::function<std::vector<CodeListRow>()> listedRows_;
};

// The export window: the listed actions to tick, where to write, one film or a folder of clips,
// captions. Export hands the reel to a progress window and closes.
class TFReel : public QDialog {
    Q_OBJECT

public:
    TFReel(AppContext& app, std::vector<CodeListRow> rows, QWidget* parent);

private:
    void browse();
    void outputChanged();
    void exportClick();
    void tickAll(Qt::CheckState state);
    void updateExportState();
    std::vector<int> tickedRows() const;
    std::string leftOutText(const std::vector<SkippedRow>& skipped, const CodeDescriptionSources& sources) const;
    std::string skipReasonText(ReelSkip reason, const std::string& film) const;
    std::string text(int number) const;

    AppContext& app_;
    std::vector<CodeListRow> rows_;
    QListWidget* LstAzioni = nullptr;
    QPushButton* ButTutte = nullptr;
    QPushButton* ButNessuna = nullptr;
    QLineEdit* EdDestinazione = nullptr;
    QPushButton* ButSfoglia = nullptr;
    QRadioButton* RbFilm = nullptr;
    QRadioButton* RbClip = nullptr;
    QCheckBox* CkDidascalie = nullptr;
    QLabel* LblMotivo = nullptr;  // why Export cannot be pressed
    QPushButton* ButEsporta = nullptr;
    QPushButton* ButAnnulla = nullptr;
};

// The export under way: clip count, elapsed and remaining time, and Cancel. Not modal, so the
// film and the lists stay in use meanwhile. Closing it cancels the export. leftOut tells the
// listed actions that make no clip; the end message repeats it.
class TFReelProgress : public QDialog {
    Q_OBJECT

public:
    TFReelProgress(AppContext& app, ReelJob job, std::string leftOut, QWidget* parent);
    ~TFReelProgress() override;

    // Ends the export at once, for a run that is ending: cancelled, its partial output removed
    // before this returns, and the window closed without a message.
    void endNow();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void progressed(int clip, int clipCount, double secondsDone, double secondsTotal);
    void finished(int status, const QString& detail);
    std::string text(int number) const;

    AppContext& app_;
    std::string destination_;
    std::string leftOut_;
    QLabel* LblClip = nullptr;
    QLabel* LblTempo = nullptr;
    QProgressBar* Barra = nullptr;
    QPushButton* ButAnnulla = nullptr;
    ReelExportJob* job_ = nullptr;
    QElapsedTimer clock_;
    bool done_ = false;
    bool ending_ = false;  // the run ends: no message, whatever the export's end
};

// Ends every export under way at once, as TFReelProgress::endNow does.
void endReelExportsNow();

// The catalogue's text for a writer's result (a box's text), empty for a finished export.
std::string reelResultText(const Messages& messages, ReelStatus status, const std::string& detail);

}  // namespace corvane
