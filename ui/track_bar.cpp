#include "ui/track_bar.h"

#include <QProxyStyle>
#include <QSignalBlocker>

namespace corvane {

namespace {

// A left click on the groove goes to the clicked point rather than a page towards it, as in every
// film player.
class ClickToPointStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_Slider_AbsoluteSetButtons) return Qt::LeftButton;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

}  // namespace

TrackBar::TrackBar(QWidget* parent) : QSlider(Qt::Horizontal, parent) {
    auto* style = new ClickToPointStyle;
    style->setParent(this);
    setStyle(style);
    setFocusPolicy(Qt::NoFocus);
    setTracking(false);  // the exact change is reported once, where the handle is let go
    connect(this, &QSlider::sliderMoved, this, &TrackBar::scrubbed);
    connect(this, &QSlider::valueChanged, this, [this](int value) { Q_EMIT userChanged(value); });
    connect(this, &QSlider::sliderReleased, this, [this] { Q_EMIT userChanged(sliderPosition()); });
}

void TrackBar::setPositionQuietly(int position) {
    if (isSliderDown()) return;  // the user's hand wins over the timer
    const QSignalBlocker blocker(this);
    setValue(position);
}

}  // namespace corvane
