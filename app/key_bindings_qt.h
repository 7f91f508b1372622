#pragma once

#include <QKeyCombination>
#include <QString>

#include <optional>
#include <span>

namespace corvane {

class Messages;

// What a key does.
enum class KeyAction {
    Forward, Back, PlayPause, SlowMotion, Slower, Faster, NextCode, PreviousCode, KeyList,
    Search, ClearSearch, LeaveFullScreen,
};

// One key: the key, what it does, and the message that names the action in the key list.
struct KeyBinding {
    QKeyCombination keys;
    KeyAction action;
    int actionMessage;
};

// Every key of the main window, in the order the key list shows them. The window binds exactly
// these and the key list shows exactly these.
std::span<const KeyBinding> mainWindowKeys();

// The keys the search code entry takes itself, before the window's keys, for the key list.
std::span<const KeyBinding> searchCodeKeys();

// The keys of the full-screen windows (the film, the command panel, the code window): each of
// them takes exactly these, and the key list shows them marked as full-screen keys.
std::span<const KeyBinding> fullScreenKeys();
std::optional<KeyAction> fullScreenKeyAction(QKeyCombination pressed);

// The key list's mark after a full-screen key ("[ (full screen)").
QString fullScreenKeyName(QKeyCombination keys, const Messages& messages);

// The key as the key list names it, in the program's language: its own text ("+", "Ctrl+R"), the
// space bar by name, a key of the numeric pad saying so.
QString keyName(QKeyCombination keys, const Messages& messages);

}  // namespace corvane
