#pragma once

#include <QLabel>

namespace corvane {

// The playing speed over the picture ("0.5×"), shown only while the film does not play at
// normal speed, so that a changed speed is not forgotten. Its owner places it.
class RateReadout : public QLabel {
    Q_OBJECT

public:
    explicit RateReadout(QWidget* parent);

    // The speed the film plays at; the readout hides at normal speed and sizes to its text.
    void showRate(double rate);
};

}  // namespace corvane
