#include "app/qt_platform_qt.h"

#include <QLocale>
#include <QMessageBox>
#include <QRegularExpression>

namespace corvane {

LocaleFormats desktopLocaleFormats() {
    const QLocale locale = QLocale::system();
    LocaleFormats formats;
    formats.shortDate = locale.dateFormat(QLocale::ShortFormat).toStdString();
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
    QMessageBox box(icon, QString::fromStdString(cutForMessageBox(caption)),
                    QString::fromStdString(cutForMessageBox(text)), QMessageBox::Ok, owner_);
    box.exec();
    return kMessageBoxOkPressed;
}

}  // namespace corvane
