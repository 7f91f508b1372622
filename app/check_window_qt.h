#pragma once

#include <QDialog>
#include <QUrl>

#include <functional>

#include "app/environment_checks.h"

class QLabel;
class QPushButton;

namespace corvane {

class Messages;

// Opens an address with the desktop's URL handler; tests record it instead.
using UrlOpener = std::function<void(const QUrl& address)>;
UrlOpener desktopUrlOpener();

// The window of a failed environment check: what is missing, how to install it on this
// distribution, a link to read more, and the button that closes it. Dialog border, centred. The
// labels are named so that a caption table fills them: "LblTitolo" (bold, beside the icon),
// "LblSpiegazione", "LblRigaInstalla" (before the command), "LblRigaLink" (before the link),
// "LblChiusura" and the button "Button1".
class CheckWindow : public QDialog {
    Q_OBJECT

public:
    struct Lines {
        bool installLine = true;
        bool closingLine = true;
    };

    CheckWindow(const InstallAdvice& advice, UrlOpener openUrl, Lines lines, QWidget* parent);

protected:
    // Called once the captions are in place: the window's size depends on them.
    void centreOnScreen();
};

}  // namespace corvane
