#include "ui/fitted_label.h"

#include "core/text.h"

namespace corvane {

FittedLabel::FittedLabel(QWidget* parent) : QLabel(parent) {
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
}

void FittedLabel::setFullText(const QString& text) {
    fullText_ = text;
    updateGeometry();
    fit();
}

QSize FittedLabel::sizeHint() const {
    const QMargins margins = contentsMargins();
    return {fontMetrics().horizontalAdvance(fullText_) + margins.left() + margins.right() + 2 * margin(),
            QLabel::sizeHint().height()};
}

QSize FittedLabel::minimumSizeHint() const {
    return {fontMetrics().horizontalAdvance(QStringLiteral("Xx...")), QLabel::minimumSizeHint().height()};
}

void FittedLabel::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    fit();
}

void FittedLabel::fit() {
    const QFontMetrics metrics = fontMetrics();
    const int room = contentsRect().width();
    if (metrics.horizontalAdvance(fullText_) <= room) {
        setText(fullText_);
        setToolTip(QString());
        return;
    }
    const std::string fitted = FitText(fullText_.toStdString(), room, [&](std::string_view part) {
        return metrics.horizontalAdvance(QString::fromUtf8(part.data(), static_cast<qsizetype>(part.size())));
    });
    setText(QString::fromStdString(fitted));
    setToolTip(fullText_);
}

}  // namespace corvane
