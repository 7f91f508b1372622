#pragma once

#include "core/log.h"
#include "core/message_box.h"
#include "core/messages.h"
#include "core/platform.h"
#include "core/program_state.h"
#include "core/settings.h"

namespace corvane {
class VideoEnvironment;
}

namespace corvane {

// What every window works with: the program state and the services around it. Owned by main().
struct AppContext {
    ProgramState& state;
    const Platform& platform;
    ApplicationLog& log;
    const Messages& messages;
    MessageBoxPresenter& boxes;
    Settings settings;
    // What the environment checks read; the machine's own when not given.
    const VideoEnvironment* video = nullptr;
};

}  // namespace corvane
