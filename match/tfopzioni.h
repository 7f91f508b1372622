#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace corvane {

struct AppContext;
class MainWindowLink;

// The options: playback, the code list following the film, the action's pre-roll and end offset,
// stopping at the end of an action, two statistics options. Stored only on OK.
class TFOpzioni : public QDialog {
    Q_OBJECT

public:
    TFOpzioni(AppContext& app, MainWindowLink& main, QWidget* parent = nullptr);

    void SpeedButton1Click();  // OK

    // Whether the player options supplied with the disc are there (the codec option is offered).
    static bool suppliedCodecsPresent(const AppContext& app);

private:
    AppContext& app_;
    MainWindowLink& main_;
    QCheckBox* CheckBox1;
    QCheckBox* CheckBox2;
    QCheckBox* CheckBox3;
    QCheckBox* CheckBox4;
    QCheckBox* CheckBox5;
    QLineEdit* Edit1;
    QLineEdit* Edit2;
    QPushButton* SpeedButton1;
    QPushButton* SpeedButton2;
    bool codecsAtOpening_ = false;
};

}  // namespace corvane
