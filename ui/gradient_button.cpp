#include "ui/gradient_button.h"

#include <QLinearGradient>
#include <QPainter>

namespace corvane {

GradientButton::GradientButton(const QString& text, QWidget* parent) : QPushButton(text, parent) {
    setCursor(Qt::PointingHandCursor);
}

void GradientButton::setColors(QColor top, QColor bottom) {
    top_ = top;
    bottom_ = bottom;
    update();
}

void GradientButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF frame = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QLinearGradient gradient(frame.topLeft(), frame.bottomLeft());
    const bool pressed = isDown() || isChecked();
    gradient.setColorAt(0, pressed ? bottom_ : (underMouse() ? top_.lighter(115) : top_));
    gradient.setColorAt(1, pressed ? top_ : bottom_);
    painter.setPen(QPen(bottom_.darker(140)));
    painter.setBrush(gradient);
    painter.drawRoundedRect(frame, 4, 4);
    painter.setPen(isEnabled() ? Qt::white : QColor(Qt::gray));
    painter.drawText(rect(), Qt::AlignCenter, text());
}

}  // namespace corvane
