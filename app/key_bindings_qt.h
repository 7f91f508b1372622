#pragma once

#include <QKeyCombination>
#include <QString>

#include <span>

namespace corvane {

class Messages;

// What a key of the main window does.
enum class KeyAction { Forward, Back, PlayPause, SlowMotion, Slower, Faster, NextCode, PreviousCode, KeyList };

// One key of the main window: the key, what it does, and the message that names the action in
// the key list.
struct KeyBinding {
    QKeyCombination keys;
    KeyAction action;
    int actionMessage;
};

// Every key of the main window, in the order the key list shows them. The window binds exactly
// these and the key list shows exactly these.
std::span<const KeyBinding> mainWindowKeys();

// The key as the key list names it, in the program's language: its own text ("+", "Ctrl+R"), the
// space bar by name, a key of the numeric pad saying so.
QString keyName(QKeyCombination keys, const Messages& messages);

}  // namespace corvane
