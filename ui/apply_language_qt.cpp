#include "ui/apply_language_qt.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QGroupBox>
#include <QLabel>
#include <QWidget>

#include "core/messages.h"

namespace corvane {

QString messageToQt(const std::string& text) {
    QString qt = QString::fromStdString(text);
    qt.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    qt.replace(QChar('\r'), QChar('\n'));
    return qt;
}

QString windowTitleFor(const QString& caption) {
    const QString name = QString::fromUtf8(kApplicationDisplayName);
    const QString suffix = QStringLiteral(" \u2014 ") + name;
    if (caption.isEmpty() || caption == name || caption.endsWith(suffix)) return caption.isEmpty() ? name : caption;
    return caption + suffix;
}

namespace {

void applyJapaneseFont(QWidget* window) {
    QFont font = window->font();
    font.setFamily(QString::fromLatin1(kJapaneseFontFamily));
    window->setFont(font);
    for (QWidget* child : window->findChildren<QWidget*>()) {
        const QVariant tag = child->property("tag");
        if (tag.isValid() && tag.toInt() == -1) continue;
        QFont childFont = child->font();
        childFont.setFamily(QString::fromLatin1(kJapaneseFontFamily));
        if (tag.isValid() && tag.toInt() == -2 && qobject_cast<QAbstractItemView*>(child))
            childFont.setPointSizeF(childFont.pointSizeF() + 1);
        child->setFont(childFont);
    }
}

void setCaption(QWidget* control, const QString& text) {
    if (auto* button = qobject_cast<QAbstractButton*>(control)) button->setText(text);
    else if (auto* label = qobject_cast<QLabel*>(control)) label->setText(text);
    else if (auto* group = qobject_cast<QGroupBox*>(control)) group->setTitle(text);
    else control->setWindowTitle(text);
}

}  // namespace

void ApplyLanguage(QWidget* window, int languageNumber, const Messages& messages,
                   std::initializer_list<CaptionEntry> captions) {
    if (languageNumber == 3) applyJapaneseFont(window);
    for (const CaptionEntry& entry : captions) {
        QWidget* control = entry.control && *entry.control
                               ? window->findChild<QWidget*>(QString::fromLatin1(entry.control))
                               : window;
        if (!control) continue;
        QString text = messageToQt(messages.MessageText(entry.number));
        if (entry.filter & CaptionEntry::NoAmpersand) text.remove(QChar('&'));
        if (entry.filter & CaptionEntry::NoColon) text.remove(QChar(':'));
        if (entry.kind == CaptionEntry::Hint) control->setToolTip(text);
        else if (control == window) window->setWindowTitle(text);
        else setCaption(control, text);
    }
    window->setWindowTitle(windowTitleFor(window->windowTitle()));
}

}  // namespace corvane
