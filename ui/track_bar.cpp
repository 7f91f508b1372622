#include "ui/track_bar.h"

#include <QSignalBlocker>

namespace corvane {

TrackBar::TrackBar(QWidget* parent) : QSlider(Qt::Horizontal, parent) {
    setFocusPolicy(Qt::NoFocus);
    setTracking(false);  // a drag reports once, where it is let go
    connect(this, &QSlider::valueChanged, this, [this](int value) { Q_EMIT userChanged(value); });
    connect(this, &QSlider::sliderReleased, this, [this] { Q_EMIT userChanged(sliderPosition()); });
}

void TrackBar::setPositionQuietly(int position) {
    if (isSliderDown()) return;  // the user's hand wins over the timer
    const QSignalBlocker blocker(this);
    setValue(position);
}

}  // namespace corvane
