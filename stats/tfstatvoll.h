#pragma once

#include <QWidget>

#include <array>

#include "stats/volleyball_stats.h"

class QToolButton;

namespace corvane {

struct AppContext;
class TextGrid;
class TFMain;

// The volleyball statistics of the open match, a table a team. A click on a figure searches the
// actions behind it and plays them. It floats centred on the screen or docks into the strip above
// the video.
class TFStatVoll : public QWidget {
    Q_OBJECT

public:
    TFStatVoll(AppContext& app, TFMain& main);
    ~TFStatVoll() override;

    void Load(const std::filesystem::path& file);
    void Float();
    void Dock();
    bool docked() const { return docked_; }

    // A click at a point of a table's viewport, as the mouse gives it.
    void clickAt(bool home, const QPoint& point);
    TextGrid* table(bool home) const { return home ? GrdNos : GrdAvv; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void fillTable(TextGrid* grid, const StatsTable& table);
    int tableHeight(const TextGrid* grid) const;
    void paintCell(QPainter& painter, bool home, int column, int row, const QRect& rect);
    void showButtons();
    void forgetMain();

    AppContext& app_;
    TFMain& main_;
    TextGrid* GrdNos;
    TextGrid* GrdAvv;
    QToolButton* SpeedButton1;  // dock or float
    QToolButton* XiButton1;     // close, when docked
    VolleyballStats stats_;
    bool docked_ = false;
};

}  // namespace corvane
