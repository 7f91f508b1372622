#include "app/full_screen_keys_qt.h"

#include <QKeyEvent>

#include "app/full_screen_link.h"
#include "app/key_bindings_qt.h"

namespace corvane {

bool takeFullScreenKey(const QKeyEvent& event, FullScreenLink& link, const std::function<void()>& leave) {
    if (event.key() == Qt::Key_F4) return true;
    const std::optional<KeyAction> action = fullScreenKeyAction(event.keyCombination());
    if (!action) return false;
    switch (*action) {
        case KeyAction::LeaveFullScreen: leave(); break;
        case KeyAction::Slower: link.stepPlaybackRate(-1); break;
        case KeyAction::Faster: link.stepPlaybackRate(+1); break;
        default: break;
    }
    return true;
}

}  // namespace corvane
