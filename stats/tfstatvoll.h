#pragma once

#include <QWidget>

#include <QFont>

#include <array>
#include <optional>
#include <vector>

#include "stats/volleyball_stats.h"
#include "ui/cell_click.h"

class QShortcut;
class QToolButton;

namespace corvane {

struct AppContext;
class StatisticsDock;
class TextGrid;
class MainWindowLink;

// The volleyball statistics of the open match, a table a team. A click on a figure searches the
// actions behind it and plays them. It floats over the video or docks into the strip above the
// video.
class TFStatVoll : public QWidget {
    Q_OBJECT

public:
    TFStatVoll(AppContext& app, MainWindowLink& main);
    ~TFStatVoll() override;

    void Load(const std::filesystem::path& file);
    void Float();
    void Dock();
    bool docked() const;

    TextGrid* table(bool home) const { return home ? GrdNos : GrdAvv; }
    QToolButton* dockButton() const { return SpeedButton1; }
    QToolButton* closeButton() const { return XiButton1; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    struct Cell {
        bool home = true;
        int column = -1;
        int row = -1;
        bool operator==(const Cell&) const = default;
    };

    void fillTable(TextGrid* grid, const StatsTable& table);
    int tableHeight(const TextGrid* grid) const;
    void paintCell(QPainter& painter, bool home, int column, int row, const QRect& rect);
    QString fittedTitle(const QString& title, const QFont& font, int width);
    void forgetMain();
    std::optional<Cell> clickableCellAt(bool home, const QPoint& point) const;
    void search(bool home, const QPoint& point);
    // The main window's hot keys, for while this window floats and is the active one.
    void mirrorHotKeys(bool on);

    AppContext& app_;
    MainWindowLink& main_;
    TextGrid* GrdNos;
    TextGrid* GrdAvv;
    QToolButton* SpeedButton1;  // dock or float
    QToolButton* XiButton1;     // close, when docked
    StatisticsDock* dock_;
    VolleyballStats stats_;
    CellClick<Cell> click_;
    std::array<std::array<std::vector<QFont>, StatsTable::kColumns>, 2> valueFonts_;  // [home][column][sub]
    struct FittedTitle {
        QString title;
        int width = -1;
        QString fitted;
    };
    std::vector<FittedTitle> fittedTitles_;
    std::vector<QShortcut*> hotKeys_;
};

}  // namespace corvane
