#pragma once

#include <QWidget>

#include <string>
#include <vector>

#include "codes/analyses_file.h"
#include "codes/search_code_entry.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace corvane {

struct AppContext;
class TextGrid;
class MainWindowLink;

// The typed search code: one cell a code position, drawn in the colours of its field.
class SearchCodeGrid : public QWidget {
    Q_OBJECT

public:
    explicit SearchCodeGrid(QWidget* parent = nullptr);

    SearchCodeEntry& entry() { return entry_; }
    std::string searchCode() const { return entry_.searchCode(); }
    // Volleyball's 20 cells or the 13 of the other sports; empties the cells.
    void setFieldLayout(const SearchCodeLayout& layout);
    const SearchCodeLayout& fieldLayout() const { return layout_; }
    // The cell's left edge and width in the grid.
    QRect cellRect(int cell) const;
    static constexpr int kCellWidth = 11;

Q_SIGNALS:
    void searchRequested();
    // The user changed a cell.
    void edited();

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    SearchCodeEntry entry_{20};
    SearchCodeLayout layout_ = searchCodeLayout(true);
};

// The search panel above the code list: the package chooser, the open match, and the analyses
// of a synthesis or the search code entry of a volleyball match.
class TFSubForm : public QWidget {
    Q_OBJECT

public:
    TFSubForm(AppContext& app, MainWindowLink& main, QWidget* parent);

    // Every package opening: strips shown for the package, analyses listed, match shown.
    void preparePackage();
    int panelHeight() const { return height_; }

    void runSearch();
    // takeFocus: off when the list moves on by itself, so that typing elsewhere goes on.
    void selectAnalysis(int row, bool takeFocus = true);
    int selectedAnalysis() const;
    // Moves on to the next analysis that selects something; false when there is none.
    bool selectNextVisibleAnalysis(bool takeFocus = true);
    // The set filter changed: the selected analysis again, with the new sets.
    void reapplySelectedAnalysis();
    // The entry's code for a search. A code the user typed starts from a cleared analysis record,
    // so that a statistics search's advanced codes do not filter it; the code a statistics click
    // showed, searched again as it stands, keeps them.
    std::string searchCodeForSearch();
    const std::vector<AnalysisEntry>& analyses() const { return analyses_; }
    SearchCodeGrid* searchGrid() const { return GrdCod; }
    // A statistics search shows its code in the entry, "~" as blanks.
    void showSearchCode(const std::string& code);
    void setStatisticsButtonVisible(bool visible);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildWidgets();
    void layOutStrips();
    void fillPackageChooser();
    // The chooser's index of the package that is open, 0 when it lists none.
    int openPackageIndex() const;
    void choosePackage(int index);
    void listAnalyses();
    void showMatch();
    void OpenAnalysis(const std::string& name, int index);
    void playFirstFound();
    int visibleAnalysisFrom(int row, int step) const;

    AppContext& app_;
    MainWindowLink& main_;
    QWidget* PanMatch = nullptr;
    QComboBox* CbMatches = nullptr;
    QWidget* PanInfoMatch = nullptr;
    QLabel* homeLine = nullptr;
    QLabel* awayLine = nullptr;
    QLabel* dateLine = nullptr;
    QPushButton* ButNote = nullptr;
    QPushButton* ButStat = nullptr;
    QWidget* PanAna = nullptr;
    QLabel* anaTitle = nullptr;
    TextGrid* GrdAnalisi = nullptr;
    QWidget* PanRicerca = nullptr;
    QLabel* searchTitle = nullptr;
    QWidget* SG1 = nullptr;  // the field headers over the cells
    SearchCodeGrid* GrdCod = nullptr;
    QPushButton* ButSearch = nullptr;

    std::vector<AnalysisEntry> analyses_;
    std::vector<bool> packageIsSynthesis_;
    int height_ = 0;
    bool choosing_ = false;
    bool statisticsCodeShown_ = false;  // the entry holds the code of the last statistics search
};

}  // namespace corvane
