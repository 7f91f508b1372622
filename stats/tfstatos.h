#pragma once

#include <QPointer>
#include <QWidget>

#include <filesystem>
#include <vector>

#include "stats/event_stats.h"
#include "ui/cell_click.h"

class QToolButton;

namespace corvane {

struct AppContext;
class TextGrid;
class MainWindowLink;
class StatisticsDock;
class TFVisEstensioni;

// The statistics of every sport but volleyball: a table a team, a column an event with a
// sub-column for its overall value and one for each effect. A click on a figure searches the
// actions behind it and plays them; the button in a cell of an event with extensions opens the
// extension statistics beside the pointer. It floats over the video or docks into the strip
// above it.
class TFStatOs : public QWidget {
    Q_OBJECT

public:
    TFStatOs(AppContext& app, MainWindowLink& main);
    ~TFStatOs() override;

    void Load(const std::filesystem::path& file);
    void Float();
    void Dock();
    bool docked() const;
    // Whether the video area is wide enough for the tables to dock above it.
    bool dockable() const;
    // The options changed: the columns take the effect descriptions' widths, and the window
    // docks or floats again in its new size.
    void applyDisplayOptions();

    TextGrid* table(bool home) const { return home ? GrdNos : GrdAvv; }
    const EventStats& stats() const { return stats_; }
    // The open extension window of a level (1, 2, ...), if any.
    TFVisEstensioni* extensionWindow(int level) const;

    // A sub-column of a drawn cell, in viewport pixels: left edge and recorded width.
    struct SubColumn {
        int left = 0, width = 0;
    };
    // The sub-columns of an event column whose cell spans left..right, for `count` labels.
    static std::vector<SubColumn> subColumns(int left, int right, int count);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void fillTable(TextGrid* grid, bool home);
    int rowHeight() const;
    int tableHeight(const TextGrid* grid) const;
    int tableWidth(const TextGrid* grid) const;
    void layOut();
    void placeExtensionButtons();
    void centreDockedTables();
    void followVideoArea();
    QSize floatingSize() const;
    void paintCell(QPainter& painter, bool home, int column, int row, const QRect& rect);
    void paintHeader(QPainter& painter, bool home, int column, const QRect& rect);
    struct Cell {
        bool home = true;
        int row = -1;  // table row, 1.. for the data rows
        int column = -1;
        bool operator==(const Cell&) const = default;
    };
    std::optional<Cell> clickableCellAt(bool home, const QPoint& point) const;
    void clickAt(bool home, const QPoint& point);
    void search(bool home, const QPoint& point);
    void SpdClick(QToolButton* button);
    void forgetMain();
    // Frees the extension windows of this level and every deeper one.
    void closeExtensionLevels(int level);

    AppContext& app_;
    MainWindowLink& main_;
    TextGrid* GrdNos;
    TextGrid* GrdAvv;
    QToolButton* SpeedButton1;  // dock or float
    QToolButton* XiButton1;     // close, when docked
    std::vector<QToolButton*> extensionButtons_;
    std::vector<QPointer<TFVisEstensioni>> extensionWindows_;  // level n at index n - 1
    StatisticsDock* dock_;
    EventStats stats_;
    bool effectDescriptions_ = false;
    bool closing_ = false;
    int extensionColumn_ = 0;
    CellClick<Cell> click_;

    friend class TFVisEstensioni;
};

}  // namespace corvane
