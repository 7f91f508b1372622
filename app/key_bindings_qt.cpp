#include "app/key_bindings_qt.h"

#include <QKeySequence>

#include <array>

#include "core/messages.h"
#include "ui/apply_language_qt.h"

namespace corvane {

namespace {

// Messages that name keys and actions in the key list.
constexpr int kNumericPadKey = 303;
constexpr int kSpaceKey = 304;
constexpr int kForwardAction = 305;
constexpr int kBackAction = 306;
constexpr int kPlayPauseAction = 307;
constexpr int kSlowMotionAction = 308;
constexpr int kNextCodeAction = 309;
constexpr int kPreviousCodeAction = 310;
constexpr int kKeyListAction = 311;
constexpr int kSlowerAction = 313;
constexpr int kFasterAction = 314;
constexpr int kEnterKey = 730;
constexpr int kSearchAction = 731;
constexpr int kClearSearchAction = 732;
constexpr int kFullScreenMark = 733;
constexpr int kLeaveFullScreenAction = 734;

// "+" is a key of its own on some keyboards, the shifted "=" on others, and a key of the numeric
// pad: each way of typing it jumps forward.
constexpr std::array kKeys{
    KeyBinding{Qt::Key_Plus, KeyAction::Forward, kForwardAction},
    KeyBinding{Qt::SHIFT | Qt::Key_Plus, KeyAction::Forward, kForwardAction},
    KeyBinding{Qt::Key_Equal, KeyAction::Forward, kForwardAction},
    KeyBinding{Qt::KeypadModifier | Qt::Key_Plus, KeyAction::Forward, kForwardAction},
    KeyBinding{Qt::Key_Minus, KeyAction::Back, kBackAction},
    KeyBinding{Qt::KeypadModifier | Qt::Key_Minus, KeyAction::Back, kBackAction},
    KeyBinding{Qt::Key_Space, KeyAction::PlayPause, kPlayPauseAction},
    KeyBinding{Qt::CTRL | Qt::Key_R, KeyAction::SlowMotion, kSlowMotionAction},
    KeyBinding{Qt::Key_BracketLeft, KeyAction::Slower, kSlowerAction},
    KeyBinding{Qt::Key_BracketRight, KeyAction::Faster, kFasterAction},
    KeyBinding{Qt::CTRL | Qt::Key_X, KeyAction::NextCode, kNextCodeAction},
    KeyBinding{Qt::CTRL | Qt::Key_E, KeyAction::PreviousCode, kPreviousCodeAction},
    KeyBinding{Qt::Key_F1, KeyAction::KeyList, kKeyListAction},
};

// Enter of the numeric pad searches too; the list names the key once.
constexpr std::array kSearchCodeKeys{
    KeyBinding{Qt::Key_Return, KeyAction::Search, kSearchAction},
    KeyBinding{Qt::Key_Escape, KeyAction::ClearSearch, kClearSearchAction},
};

constexpr std::array kFullScreenKeys{
    KeyBinding{Qt::Key_Escape, KeyAction::LeaveFullScreen, kLeaveFullScreenAction},
    KeyBinding{Qt::Key_BracketLeft, KeyAction::Slower, kSlowerAction},
    KeyBinding{Qt::Key_BracketRight, KeyAction::Faster, kFasterAction},
};

}  // namespace

std::span<const KeyBinding> mainWindowKeys() { return kKeys; }

std::span<const KeyBinding> searchCodeKeys() { return kSearchCodeKeys; }

std::span<const KeyBinding> fullScreenKeys() { return kFullScreenKeys; }

std::optional<KeyAction> fullScreenKeyAction(QKeyCombination pressed) {
    // A key of the numeric pad is the same key here.
    const QKeyCombination key(pressed.keyboardModifiers() & ~Qt::KeypadModifier, pressed.key());
    for (const KeyBinding& binding : kFullScreenKeys)
        if (binding.keys == key) return binding.action;
    return std::nullopt;
}

QString fullScreenKeyName(QKeyCombination keys, const Messages& messages) {
    return keyName(keys, messages) + QStringLiteral(" (") + messageToQt(messages.MessageText(kFullScreenMark)) +
           QChar(')');
}

QString keyName(QKeyCombination keys, const Messages& messages) {
    // A shifted "+" is the same key to the coach as "+" itself.
    const Qt::KeyboardModifiers modifiers = keys.keyboardModifiers();
    const Qt::KeyboardModifiers shown = modifiers & ~(Qt::ShiftModifier | Qt::KeypadModifier);
    QString name;
    if (keys.key() == Qt::Key_Space) name = messageToQt(messages.MessageText(kSpaceKey));
    else if (keys.key() == Qt::Key_Return || keys.key() == Qt::Key_Enter) name = messageToQt(messages.MessageText(kEnterKey));
    else name = QKeySequence(QKeyCombination(shown, keys.key())).toString(QKeySequence::NativeText);
    if (modifiers & Qt::KeypadModifier)
        name += QStringLiteral(" (") + messageToQt(messages.MessageText(kNumericPadKey)) + QChar(')');
    return name;
}

}  // namespace corvane
