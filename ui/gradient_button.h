#pragma once

#include <QColor>
#include <QPushButton>

namespace corvane {

// A flat push button painted with a vertical gradient, as the options button is.
class GradientButton : public QPushButton {
    Q_OBJECT

public:
    explicit GradientButton(const QString& text, QWidget* parent = nullptr);

    void setColors(QColor top, QColor bottom);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor top_{0x6f, 0x80, 0xc8};
    QColor bottom_{0x2a, 0x33, 0x66};
};

}  // namespace corvane
