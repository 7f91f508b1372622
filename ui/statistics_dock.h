#pragma once

#include <QObject>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <functional>
#include <vector>

class QToolButton;
class QWidget;

namespace corvane {

struct AppContext;
class MainWindowLink;

// Where a floating statistics window opens: centred over the video area, so the code list its
// clicks fill stays in sight; a window wider than the video area starts at its left edge and
// covers as little of the list as it can; its top stays inside `bounds` (the main window).
QPoint floatingStatisticsPlace(const QRect& videoArea, const QRect& bounds, QSize window);

// Where a statistics window sits and how it follows the main window: docked into the strip above
// the video, as wide as the video area and following its width (the code list's clear-text
// toggle changes it), or floating over the video area. Owns the placement of the button strip on
// the window's right edge (dock button at its bottom, close button at its top) and keeps the
// tables from running under those buttons.
class StatisticsDock : public QObject {
    Q_OBJECT

public:
    static constexpr int kButtonStrip = 29;

    struct Parts {
        QWidget* window;
        QToolButton* dockButton;
        QToolButton* closeButton;
        std::vector<QWidget*> tables;
        // The video area's width the tables need to dock above it.
        std::function<int()> widthToDock;
        // Called after the video area changed width, once the strip has followed it.
        std::function<void()> videoAreaChanged;
    };

    StatisticsDock(AppContext& app, MainWindowLink& main, Parts parts);

    bool docked() const { return docked_; }
    // Whether the video area is wide enough for the tables to dock above it.
    bool dockable() const;
    int videoAreaWidth() const;

    // Into the strip above the video: borderless, as wide as the video area, `height` high.
    void dock(int height);
    // A window of its own, carried by the main window, over the video area.
    void floatOverVideo(QSize size);
    // The button strip on the right edge again, and the tables kept off its buttons.
    void placeButtons();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void keepTablesOffTheButtons();

    AppContext& app_;
    MainWindowLink& main_;
    Parts parts_;
    bool docked_ = false;
};

}  // namespace corvane
