#include "app/check_window_qt.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

namespace corvane {

UrlOpener desktopUrlOpener() {
    return [](const QUrl& address) { QDesktopServices::openUrl(address); };
}

namespace {

QLabel* plainLabel(const QString& text, QWidget* parent, const char* name = nullptr) {
    auto* label = new QLabel(parent);
    if (name) label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setText(text);
    return label;
}

}  // namespace

CheckWindow::CheckWindow(const InstallAdvice& advice, UrlOpener openUrl, Lines lines, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint) {
    setModal(true);

    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("Image1"));
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(48, 48));
    auto* LblTitolo = plainLabel({}, this, "LblTitolo");
    QFont titleFont = LblTitolo->font();
    titleFont.setBold(true);
    titleFont.setPointSize(titleFont.pointSize() + 2);
    LblTitolo->setFont(titleFont);

    // The distribution's name comes from a system file: it is shown as plain text only.
    auto* LblInstalla = plainLabel(QString::fromStdString(advice.distribution) + QStringLiteral(":\n") +
                                 QString::fromStdString(advice.install),
                             this, "LblInstalla");
    LblInstalla->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QFont commandFont(QStringLiteral("monospace"));
    commandFont.setStyleHint(QFont::Monospace);
    LblInstalla->setFont(commandFont);
    LblInstalla->setProperty("tag", -1);  // a command line keeps its fixed-pitch font

    // The link is one of the program's own addresses; a click opens exactly that address.
    const QUrl address(QString::fromStdString(advice.address));
    auto* LblLink = new QLabel(this);
    LblLink->setObjectName(QStringLiteral("LblLink"));
    LblLink->setTextFormat(Qt::RichText);
    LblLink->setText(QStringLiteral("<a href=\"link\">%1</a>").arg(address.toString().toHtmlEscaped()));
    LblLink->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    LblLink->setCursor(Qt::PointingHandCursor);
    connect(LblLink, &QLabel::linkActivated, this, [openUrl = std::move(openUrl), address] {
        if (openUrl) openUrl(address);
    });

    auto* Button1 = new QPushButton(this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);

    auto* text = new QVBoxLayout;
    text->addWidget(LblTitolo);
    text->addSpacing(8);
    text->addWidget(plainLabel({}, this, "LblSpiegazione"));
    if (lines.installLine) text->addWidget(plainLabel({}, this, "LblRigaInstalla"));
    text->addWidget(LblInstalla);
    text->addSpacing(4);
    text->addWidget(plainLabel({}, this, "LblRigaLink"));
    text->addWidget(LblLink);
    if (lines.closingLine) {
        text->addSpacing(8);
        text->addWidget(plainLabel({}, this, "LblChiusura"));
    }
    auto* body = new QHBoxLayout;
    body->addWidget(icon, 0, Qt::AlignTop);
    body->addLayout(text, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body);
    layout->addWidget(Button1, 0, Qt::AlignHCenter);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    LblTitolo->setMinimumWidth(420);
}

void CheckWindow::centreOnScreen() {
    adjustSize();
    const QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    QRect frame = frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
}

}  // namespace corvane
