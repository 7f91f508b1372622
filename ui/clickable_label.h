#pragma once

#include <QLabel>

namespace corvane {

// A caption that acts on a click, as the pre-roll captions of the strip do.
class ClickableLabel : public QLabel {
    Q_OBJECT

public:
    explicit ClickableLabel(QWidget* parent = nullptr);

Q_SIGNALS:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

}  // namespace corvane
