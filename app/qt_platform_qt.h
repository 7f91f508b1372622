#pragma once

#include "core/message_box.h"
#include "core/platform.h"

class QWidget;

namespace corvane {

// The desktop locale's short date, long time and time separator in the patterns the logic reads.
LocaleFormats desktopLocaleFormats();

// Message boxes as Qt shows them: the style bits choose the icon.
class QtMessageBoxes : public MessageBoxPresenter {
public:
    explicit QtMessageBoxes(QWidget* owner = nullptr) : owner_(owner) {}
    int ShowMessageBox(const std::string& text, const std::string& caption, int flags) override;

private:
    QWidget* owner_;
};

}  // namespace corvane
