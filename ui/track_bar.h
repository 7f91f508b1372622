#pragma once

#include <QSlider>

namespace corvane {

// The position bar under the video: a range, a position, and signals only for changes the user
// makes (moving it from code does not report back). A click puts the handle where the mouse is;
// while the handle is dragged the bar reports each new position as a scrub, and where it is let
// go as a change.
class TrackBar : public QSlider {
    Q_OBJECT

public:
    explicit TrackBar(QWidget* parent = nullptr);

    // Sets the position without reporting a user change.
    void setPositionQuietly(int position);

Q_SIGNALS:
    void userChanged(int position);
    void scrubbed(int position);
};

}  // namespace corvane
