#include "app/qt_platform_qt.h"

#include <QLocale>
#include <QMessageBox>
#include <QRegularExpression>

#include "ui/apply_language_qt.h"

namespace corvane {

LocaleFormats desktopLocaleFormats() {
    const QLocale locale = QLocale::system();
    LocaleFormats formats;
    // Without a language of its own ("C") a system has no date habit worth keeping: the
    // defaults (day first, 24 hours) stand.
    if (locale.language() == QLocale::C) return formats;
    // Dates are written in numbers only: month and weekday names have no place in the texts.
    QString date = locale.dateFormat(QLocale::ShortFormat);
    date.replace(QRegularExpression(QStringLiteral("M{3,}")), QStringLiteral("MM"));
    date.remove(QRegularExpression(QStringLiteral("d{3,}[,.]?\\s*")));
    formats.shortDate = date.trimmed().toStdString();
    // The time zone has no place in the program's time texts.
    QString time = locale.timeFormat(QLocale::LongFormat);
    time.remove(QRegularExpression(QStringLiteral("\\s*t+\\s*")));
    formats.longTime = time.trimmed().toStdString();
    const QRegularExpressionMatch separator =
        QRegularExpression(QStringLiteral("[hH]+([^hHmsAaPp\\s])")).match(time);
    if (separator.hasMatch()) formats.timeSeparator = separator.captured(1).toStdString();
    return formats;
}

int QtMessageBoxes::ShowMessageBox(const std::string& text, const std::string& caption, int flags) {
    const auto icon = flags == MessageBoxStop          ? QMessageBox::Critical
                      : flags == MessageBoxExclamation ? QMessageBox::Warning
                                                       : QMessageBox::NoIcon;
    QMessageBox box(icon, windowTitleFor(QString::fromStdString(cutForMessageBox(caption))),
                    messageToQt(cutForMessageBox(text)), QMessageBox::Ok, owner_);
    box.setTextFormat(Qt::PlainText);  // texts may carry names from a disc: never markup
    box.exec();
    return kMessageBoxOkPressed;
}

}  // namespace corvane
