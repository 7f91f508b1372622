#include "app/tfabout.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/cp1252.h"
#include "core/date_time_format.h"
#include "ui/app_context.h"
#include "ui/apply_language_qt.h"

namespace corvane {

TFAbout::TFAbout(AppContext& app, bool asSplash, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("FAbout"));
    setWindowTitle(QStringLiteral("Corvane System"));
    setModal(!asSplash);

    auto* name = new QLabel(QStringLiteral("Corvane Player"), this);
    QFont nameFont = name->font();
    nameFont.setPointSize(nameFont.pointSize() + 6);
    nameFont.setBold(true);
    name->setFont(nameFont);
    LblVersione = new QLabel(this);
    LblVersione->setObjectName(QStringLiteral("LblVersione"));
    LblData = new QLabel(this);
    LblData->setObjectName(QStringLiteral("LblData"));
    Label7 = new QLabel(this);
    auto* maker = new QLabel(QStringLiteral("Quintera"), this);
    auto* contact = new QLabel(messageToQt(app.messages.MessageText(144)), this);
    contact->setObjectName(QStringLiteral("LblContatti"));
    ButOk = new QPushButton(QStringLiteral("OK"), this);
    ButOk->setDefault(true);
    connect(ButOk, &QPushButton::clicked, this, &QDialog::accept);
    name->setObjectName(QStringLiteral("LblProgramma"));
    maker->setObjectName(QStringLiteral("LblProduttore"));
    LblVersione->setObjectName(QStringLiteral("LblVersione"));
    LblData->setObjectName(QStringLiteral("LblData"));
    Label7->setObjectName(QStringLiteral("Label7"));
    ButOk->setObjectName(QStringLiteral("ButOk"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(name, 0, Qt::AlignHCenter);
    auto* version = new QHBoxLayout;
    version->addWidget(LblVersione);
    version->addWidget(LblData);
    version->addStretch();
    layout->addLayout(version);
    layout->addWidget(Label7);
    layout->addWidget(maker);
    layout->addWidget(contact);
    layout->addWidget(ButOk, 0, Qt::AlignHCenter);

    ApplyLanguage(this, app.state.LanguageNumber, app.messages, {});
    LblVersione->setText(messageToQt(app.messages.MessageText(59)) + QStringLiteral(":"));
    // The player's own version: the scouting programme's release belongs to the package and is
    // shown under the code list.
    LblData->setText(QStringLiteral(CORVANE_VERSION));
    if (const auto built = app.platform.fileModifiedTime(app.platform.executablePath()))
        Label7->setText(QString::fromStdString(formatLocaleDateTime(app.platform.localeFormats(), *built)));
    ButOk->setVisible(!asSplash);
    setMinimumWidth(320);
}

void TFAbout::hideEvent(QHideEvent* event) {
    // The splash, once closed, is the information window.
    ButOk->setVisible(true);
    QDialog::hideEvent(event);
}

}  // namespace corvane
