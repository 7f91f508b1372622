#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace corvane {

struct AppContext;

// The information window; without its OK button it is the start-up splash.
class TFAbout : public QDialog {
    Q_OBJECT

public:
    TFAbout(AppContext& app, bool asSplash, QWidget* parent = nullptr);

protected:
    void hideEvent(QHideEvent* event) override;

private:
    QLabel* LblVersione;
    QLabel* LblData;
    QLabel* Label7;
    QPushButton* ButOk;
};

}  // namespace corvane
