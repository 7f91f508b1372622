#pragma once

#include <QLabel>

namespace corvane {

// A one-line label that shortens its text with "..." to the width it is given, and shows the
// whole text as its tooltip when shortened. It asks the layout for no more room than a few
// characters, so a narrow strip shortens it instead of cutting it off at the edge.
class FittedLabel : public QLabel {
    Q_OBJECT

public:
    explicit FittedLabel(QWidget* parent = nullptr);

    void setFullText(const QString& text);
    QString fullText() const { return fullText_; }
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void fit();

    QString fullText_;
};

}  // namespace corvane
