#pragma once

#include <functional>

class QKeyEvent;

namespace corvane {

class FullScreenLink;

// A key pressed in one of the full-screen windows (the film, the command panel, the code window):
// F4 is swallowed (Alt+F4 would close the window under the film), the speed keys step the speed
// through the link, the leaving key calls `leave`, each window's own way of leaving. False for
// any other key, which the window handles as usual.
bool takeFullScreenKey(const QKeyEvent& event, FullScreenLink& link, const std::function<void()>& leave);

}  // namespace corvane
