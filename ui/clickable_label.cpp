#include "ui/clickable_label.h"

#include <QMouseEvent>

namespace corvane {

ClickableLabel::ClickableLabel(QWidget* parent) : QLabel(parent) { setCursor(Qt::PointingHandCursor); }

void ClickableLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && isEnabled() && rect().contains(event->position().toPoint()))
        Q_EMIT clicked();
    QLabel::mouseReleaseEvent(event);
}

}  // namespace corvane
