#include "match/tfopzioni.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "core/files.h"
#include "core/sport.h"
#include "core/text.h"
#include "ui/app_context.h"
#include "ui/apply_language_qt.h"
#include "ui/main_window_link.h"

namespace corvane {

namespace {

QString text(const AppContext& app, int number) { return messageToQt(app.messages.MessageText(number)); }

}  // namespace

bool TFOpzioni::suppliedCodecsPresent(const AppContext& app) {
    // The player option files stand in for the codecs the disc used to install.
    return fileExists(std::filesystem::path(app.state.folders.SystemFolder) / "Mpeg2_ADS.GRF");
}

TFOpzioni::TFOpzioni(AppContext& app, MainWindowLink& main, QWidget* parent)
    : QDialog(parent), app_(app), main_(main) {
    setObjectName(QStringLiteral("FOpzioni"));
    setModal(true);
    const auto check = [this](const char* name) {
        auto* box = new QCheckBox(this);
        box->setObjectName(QString::fromLatin1(name));
        return box;
    };
    CheckBox1 = check("CheckBox1");
    CheckBox2 = check("CheckBox2");
    CheckBox3 = check("CheckBox3");
    CheckBox4 = check("CheckBox4");
    CheckBox5 = check("CheckBox5");
    const auto seconds = [this](const char* name) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
        edit->setMaximumWidth(60);
        return edit;
    };
    Edit1 = seconds("Edit1");
    Edit2 = seconds("Edit2");
    SpeedButton1 = new QPushButton(this);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setDefault(true);
    SpeedButton2 = new QPushButton(this);
    SpeedButton2->setObjectName(QStringLiteral("SpeedButton2"));
    connect(SpeedButton1, &QPushButton::clicked, this, &TFOpzioni::SpeedButton1Click);
    connect(SpeedButton2, &QPushButton::clicked, this, &QDialog::reject);

    auto* labelStart = new QLabel(this);
    labelStart->setObjectName(QStringLiteral("Label3"));
    auto* labelEnd = new QLabel(this);
    labelEnd->setObjectName(QStringLiteral("Label4"));
    auto* video = new QGroupBox(this);
    video->setObjectName(QStringLiteral("Label1"));
    auto* videoLayout = new QVBoxLayout(video);
    videoLayout->addWidget(CheckBox1);
    videoLayout->addWidget(CheckBox2);
    auto* sequence = new QGroupBox(this);
    sequence->setObjectName(QStringLiteral("Label2"));
    auto* sequenceLayout = new QGridLayout(sequence);
    sequenceLayout->addWidget(CheckBox3, 0, 0, 1, 2);
    sequenceLayout->addWidget(labelStart, 1, 0);
    sequenceLayout->addWidget(Edit1, 1, 1);
    sequenceLayout->addWidget(labelEnd, 2, 0);
    sequenceLayout->addWidget(Edit2, 2, 1);
    auto* PanStatistiche = new QGroupBox(this);
    PanStatistiche->setObjectName(QStringLiteral("Label5"));
    auto* statisticsLayout = new QVBoxLayout(PanStatistiche);
    statisticsLayout->addWidget(CheckBox5);
    statisticsLayout->addWidget(CheckBox4);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(SpeedButton1);
    buttons->addWidget(SpeedButton2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(video);
    layout->addWidget(sequence);
    layout->addWidget(PanStatistiche);
    layout->addLayout(buttons);

    // Opening.
    ApplyLanguage(this, app.state.LanguageNumber, app.messages,
                  {{"", 58}, {"CheckBox1", 57}, {"CheckBox2", 38}, {"SpeedButton1", 2}, {"SpeedButton2", 4},
                   {"Label4", 71}, {"Label2", 72}, {"Label1", 74}, {"CheckBox3", 75}, {"Label5", 35},
                   {"CheckBox4", 77}, {"CheckBox5", 79}});
    labelStart->setText(text(app, 70) + QStringLiteral(" ") + text(app, 73));
    for (QPushButton* button : {SpeedButton1, SpeedButton2}) button->setText(button->text().remove(QChar('&')));

    const bool codecsOffered = suppliedCodecsPresent(app) && app.state.package.captureCard != "CUSTOM2";
    CheckBox1->setVisible(codecsOffered);
    CheckBox1->setChecked(codecsOffered && app.settings.flag(UtilizzaCodec));
    codecsAtOpening_ = CheckBox1->isChecked();
    CheckBox2->setChecked(app.settings.flag(SpostainelencoCodici));
    app.state.playback.FollowFilm = CheckBox2->isChecked();
    const PlaybackOptions& options = app.state.playback;
    Edit1->setText(QString::number(options.PreRollSeconds));
    Edit2->setText(QString::number(options.EndOffsetSeconds));
    CheckBox3->setChecked(options.StopAtEnd);
    CheckBox4->setVisible(app.state.sport() != SportKind::Volleyball);
    CheckBox4->setChecked(app.settings.flag(DisplayEffectsDescription));
    CheckBox5->setChecked(app.settings.flag(CloseStatistics));
}

void TFOpzioni::SpeedButton1Click() {
    PlaybackOptions& options = app_.state.playback;
    const Settings& settings = app_.settings;
    options.FollowFilm = CheckBox2->isChecked();
    settings.setFlag(UtilizzaCodec, CheckBox1->isChecked());
    settings.setFlag(SpostainelencoCodici, CheckBox2->isChecked());
    if (CheckBox1->isChecked() != codecsAtOpening_) main_.CheckUleadCodecs(CheckBox1->isChecked());
    // What is stored is what is used: a cleared field takes the stored default in both, so the
    // pre-roll does not change at the next start.
    options.PreRollSeconds = settings.setNumber(SecAnticipoAzione, Edit1->text().toStdString());
    options.StopAtEnd = CheckBox3->isChecked();
    settings.setFlag(StopFineAzione, CheckBox3->isChecked());
    options.EndOffsetSeconds = settings.setNumber(SecAnticipoFineAzione, Edit2->text().toStdString());
    settings.setFlag(DisplayEffectsDescription, CheckBox4->isChecked());
    settings.setFlag(CloseStatistics, CheckBox5->isChecked());
    main_.statisticsOptionsChanged();
    main_.updatePreRollCaptions();
    accept();
}

}  // namespace corvane
