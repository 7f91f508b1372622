#pragma once

#include <QSlider>

namespace corvane {

// The position bar under the video: a range, a position, and a signal only for changes the user
// makes (moving it from code does not report back).
class TrackBar : public QSlider {
    Q_OBJECT

public:
    explicit TrackBar(QWidget* parent = nullptr);

    // Sets the position without reporting a user change.
    void setPositionQuietly(int position);

Q_SIGNALS:
    void userChanged(int position);
};

}  // namespace corvane
