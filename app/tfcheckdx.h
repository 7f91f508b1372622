#pragma once

#include <functional>

#include "app/check_window_qt.h"
#include "core/message_box.h"
#include "core/program_state.h"

namespace corvane {

class Messages;

// Tells the user that the video stack is incomplete and what to install; the program then ends.
class TFCheckDX : public CheckWindow {
    Q_OBJECT

public:
    TFCheckDX(const InstallAdvice& advice, const Messages& messages, int languageNumber, UrlOpener openUrl,
              QWidget* parent = nullptr);
};

// True when the video stack is sufficient; otherwise shows TFCheckDX modally and gives false.
bool CheckDirectX(const VideoEnvironment& environment, const Messages& messages, int languageNumber,
                  UrlOpener openUrl = desktopUrlOpener());

}  // namespace corvane

namespace corvane {

// The check as start-up runs it: the texts in the language just read from the program's folders.
std::function<bool()> videoStackCheck(const VideoEnvironment& environment, const ProgramState& state,
                                      MessageBoxPresenter& boxes, UrlOpener openUrl = desktopUrlOpener());

}  // namespace corvane
