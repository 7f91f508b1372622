#include "ui/statistics_dock.h"

#include <QEvent>
#include <QRegion>
#include <QToolButton>
#include <QWidget>

#include <algorithm>

#include "ui/app_context.h"
#include "ui/apply_language_qt.h"
#include "ui/main_window_link.h"
#include "ui/transport_icons.h"

namespace corvane {

QPoint floatingStatisticsPlace(const QRect& videoArea, const QRect& bounds, QSize window) {
    // Centred, a window narrower than the video area ends before the list; a wider one starts at
    // the video area's left edge.
    const int x = std::max(videoArea.center().x() - window.width() / 2, videoArea.left());
    int y = videoArea.center().y() - window.height() / 2;
    y = std::max(std::min(y, bounds.bottom() + 1 - window.height()), bounds.top());
    return {x, y};
}

StatisticsDock::StatisticsDock(AppContext& app, MainWindowLink& main, Parts parts)
    : QObject(parts.window), app_(app), main_(main), parts_(std::move(parts)) {
    main_.videoArea()->installEventFilter(this);
}

int StatisticsDock::videoAreaWidth() const { return main_.videoAreaWidth(); }

bool StatisticsDock::dockable() const { return videoAreaWidth() >= parts_.widthToDock() + 20; }

void StatisticsDock::placeButtons() {
    QToolButton* dock = parts_.dockButton;
    QToolButton* close = parts_.closeButton;
    dock->setToolTip(messageToQt(app_.messages.MessageText(docked_ ? 80 : 81)));
    dock->setIcon(glyphIcon(docked_ ? Glyph::FullScreen : Glyph::Minimise, Qt::black));
    dock->setVisible(docked_ || dockable());
    close->setVisible(docked_);
    const QWidget* window = parts_.window;
    const int left = window->width() - kButtonStrip + 2;
    close->setGeometry(left, 2, kButtonStrip - 4, kButtonStrip - 4);
    dock->setGeometry(left, window->height() - kButtonStrip + 2, kButtonStrip - 4, kButtonStrip - 4);
    for (QToolButton* button : {dock, close}) button->raise();
    keepTablesOffTheButtons();
}

void StatisticsDock::keepTablesOffTheButtons() {
    // Docked in a video area narrower than the tables, they end where the button strip begins
    // instead of running under its buttons.
    const int strip = parts_.window->width() - kButtonStrip;
    for (QWidget* table : parts_.tables) {
        if (!docked_ || table->x() + table->width() <= strip) table->clearMask();
        else table->setMask(QRegion(0, 0, std::max(0, strip - table->x()), table->height()));
    }
}

void StatisticsDock::dock(int height) {
    docked_ = true;
    QWidget* window = parts_.window;
    QWidget* panel = main_.statisticsPanel(window);
    window->setParent(panel, Qt::Widget);
    window->setGeometry(0, 0, videoAreaWidth(), height);
    panel->setFixedHeight(height);
    placeButtons();
    app_.settings.setFlag(StatisticheModVis, true);
    window->show();
    main_.relayOutBesideTheList();
    main_.refitVideo();
}

void StatisticsDock::floatOverVideo(QSize size) {
    docked_ = false;
    main_.statisticsPanel(nullptr);
    QWidget* window = parts_.window;
    QWidget* mainWidget = main_.mainWidget();
    // A window of its own that the main window carries: it stays above it and cannot be lost
    // behind it.
    window->setParent(mainWidget, Qt::Window);
    window->resize(size);
    const QWidget* video = main_.videoArea();
    const QRect videoArea(video->mapToGlobal(QPoint(0, 0)), video->size());
    const QRect bounds(mainWidget->mapToGlobal(QPoint(0, 0)), mainWidget->size());
    window->move(floatingStatisticsPlace(videoArea, bounds, size));
    placeButtons();
    app_.settings.setFlag(StatisticheModVis, false);
    window->show();
    main_.refitVideo();
}

bool StatisticsDock::eventFilter(QObject* watched, QEvent* event) {
    if (watched == main_.videoArea() && event->type() == QEvent::Resize) {
        QWidget* window = parts_.window;
        if (docked_) window->resize(videoAreaWidth(), window->height());
        if (parts_.videoAreaChanged) parts_.videoAreaChanged();
        placeButtons();
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace corvane
