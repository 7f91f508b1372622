#pragma once

#include <QFont>
#include <QPointer>
#include <QStringList>
#include <QWidget>

#include <string>

#include "stats/extension_stats.h"
#include "ui/cell_click.h"

class QLabel;
class QToolButton;

namespace corvane {

struct AppContext;
class TextGrid;
class TFStatOs;

// One level of the extension statistics: the extensions of an event (level 1) or of an extension
// (level 2, ...), a row each with its breakdown by effect. A click on a row or a figure searches
// the actions behind it; the button of a row with a deeper level opens it beside the pointer,
// closing whatever was open at that level and deeper. Borderless, dragged by its title strip.
class TFVisEstensioni : public QWidget {
    Q_OBJECT

public:
    // Computes the extension statistics of the pattern and opens them as window `level`, after
    // closing every window of that level and deeper; their record goes into the documents folder.
    // Nothing opens when no figures could be computed (the user is told why) or they have no data
    // row. When the record cannot be written the figures still show, and the user is told unless
    // `recordFailureTold` says an earlier level of the chain did.
    static TFVisEstensioni* openLevel(TFStatOs& owner, int level, const QString& caption, const std::string& pattern,
                                      int codeWidth, int valuesWidth, bool recordFailureTold = false);

    ~TFVisEstensioni() override;

    int level() const { return level_; }
    TextGrid* table() const { return GrdExt; }
    const std::string& pattern() const { return pattern_; }
    const ExtensionStats& stats() const { return stats_; }
    QString caption() const;
    QToolButton* subExtensionButton(int row) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TFVisEstensioni(AppContext& app, TFStatOs& owner, int level);
    void present(const ExtensionStats& stats, const QString& caption, const std::string& pattern, int codeWidth,
              int valuesWidth, QPoint offset);
    void placeButtons();
    void paintCell(QPainter& painter, int column, int row, const QRect& rect);
    // The data row under a point (totals row included), nothing elsewhere.
    std::optional<int> clickableRowAt(const QPoint& point) const;
    void clickAt(const QPoint& point);
    void search(const QPoint& point);
    void SpdClick(int row);
    int labelWidth() const;
    std::vector<ExtensionSubColumn> subColumns() const;
    QString labelText(std::size_t label) const;
    // The fonts and the shown (shortened where need be) texts that fit every label and figure in
    // its box; computed once the column widths are set.
    void fitFigures();

    AppContext& app_;
    TFStatOs& owner_;
    int level_;
    QWidget* Panel4 = nullptr;
    QLabel* Label1 = nullptr;
    TextGrid* GrdExt = nullptr;
    std::vector<QToolButton*> buttons_;
    ExtensionStats stats_;
    std::string pattern_;
    bool effectDescriptions_ = false;
    QFont labelFont_;
    QFont figureFont_;
    QStringList shownLabels_;
    std::vector<QStringList> shownFigures_;  // by row, row 0 empty
    bool recordFailureTold_ = false;
    QPoint dragFrom_;
    CellClick<int> click_;  // a click is on one row; where in it is read at the release
};

}  // namespace corvane
