#pragma once

#include <QTimer>
#include <QWidget>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "codes/clear_text_layout.h"
#include "codes/code_description.h"
#include "codes/code_list_rules.h"
#include "codes/code_passes.h"

class QLabel;
class QToolButton;
class QPushButton;

namespace corvane {

struct AppContext;
class TCheckComboBoxQT;
class FittedLabel;
class TextGrid;
class MainWindowLink;
class ReelExportButton;

// The code list beside the video: the package's codes, or those of the last search, raw or in
// words. Selecting a code plays it from its pre-roll; the position timer asks it whether the
// action has ended. List rows count from 1, as the passes return them.
class TFCodici : public QWidget {
    Q_OBJECT

public:
    TFCodici(AppContext& app, MainWindowLink& main, QWidget* parent);

    // Refills the list for the open package (at every package opening).
    void preparePackage();
    // Lays the columns out for the mode; returns the list's width.
    int SetupCodeList(bool clearText);

    void FillFromSearch(const std::string& searchCode);
    // A search with its own set filter (the statistics search every set).
    void FillFromSearch(const std::string& searchCode, const std::string& setFilter);
    void ApplyAnalysisRow(int analysisIndex);

    // Seeks to the row's code; false when nothing was sought (no readable second, or its film is
    // not available).
    bool PlayCode(int listRow);
    // Where the row after the current one would send the film: what Next and the list moving on
    // by itself ask for next.
    std::optional<PlayTarget> nextPlayTarget() const;
    void CheckActionEnd(int listRow);
    // The track bar or a jump moved the film: once it is outside the current action, the list
    // stops driving playback until the user picks a code again.
    void filmMovedByUser();
    bool drivesPlayback() const { return drivesPlayback_; }
    void NextCode();
    void PreviousCode();
    void selectListRow(int listRow);
    void focusList();

    int currentListRow() const;
    int listRowCount() const { return static_cast<int>(rows_.size()); }
    const CodeListRow& listRow(int listRow) const { return rows_[static_cast<std::size_t>(listRow - 1)]; }
    bool clearText() const { return clearText_; }
    void setClearText(bool on);
    std::string SetFilterText() const;
    int listWidth() const { return listWidth_; }
    // The clear text and place a row's cell last drew, and the part of the cell they were laid
    // out in (in the list's viewport).
    struct DrawnClearText {
        ClearTextLine line;
        QRect room;
    };
    std::optional<DrawnClearText> drawnClearText(int listRow) const;

    bool PlayOnSelect = false;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildWidgets();
    void showRows(std::vector<CodeListRow> rows);
    void rowSelected(int listRow);
    // The user picked a row (click, keys, Next or Previous): the list drives playback again.
    void userPicked();
    void stepTo(int step);
    void replay(int listRow);
    void updateButtons(int listRow);
    void updateHeader();
    void searchClick();
    void paintCell(QPainter& painter, int column, int gridRow, const QRect& rect, bool selected);
    void paintClearText(QPainter& painter, const QRect& cell, int gridRow);
    void paintRawCode(QPainter& painter, const QRect& rect, const CodeListRow& row, bool selected);
    CodeDescriptionSources descriptionSources() const;
    std::string describe(const std::string& code) const;
    CodeDescriptionParts describeParts(const std::string& code) const;

    AppContext& app_;
    MainWindowLink& main_;
    TextGrid* SGrid = nullptr;
    QWidget* topStrip = nullptr;
    QLabel* LblDesSet = nullptr;
    TCheckComboBoxQT* CbSet = nullptr;
    QPushButton* ButRicerca = nullptr;
    QToolButton* ButNext = nullptr;
    QToolButton* ButPrev = nullptr;
    QToolButton* ButReplay = nullptr;
    QToolButton* ButChiaro = nullptr;
    ReelExportButton* ButReel = nullptr;
    FittedLabel* LblRelease = nullptr;
    QTimer hintTimer_;
    QPoint lastMouse_;
    bool timerStep_ = false;        // the row change comes from the end-of-action check
    bool filmMovedByUser_ = false;  // since the last end-of-action check
    bool drivesPlayback_ = true;
    bool lastSeekRefused_ = false;  // the last PlayCode sought nothing

    std::vector<CodeListRow> rows_;
    std::map<int, DrawnClearText> drawnClearText_;  // by grid row
    bool clearText_ = false;
    int listWidth_ = 170;
};

}  // namespace corvane
