#pragma once

#include <string>

namespace corvane {

// Message-box style bits the program uses.
enum MessageBoxFlags : int {
    MessageBoxOk = 0,
    MessageBoxStop = 16,
    MessageBoxExclamation = 48,
};

inline constexpr int kMessageBoxOkPressed = 1;

// Shows a modal box owned by the application and returns the code of the button pressed. Texts
// are UTF-8. The windows supply the real box; tests supply a recorder.
class MessageBoxPresenter {
public:
    virtual ~MessageBoxPresenter() = default;
    virtual int ShowMessageBox(const std::string& text, const std::string& caption, int flags) = 0;
};

// Text and caption are handed to the box cut to 255 characters, as the box has always taken them;
// the cut never splits a UTF-8 character.
std::string cutForMessageBox(const std::string& text);

}  // namespace corvane
