#include "app/player/mpv_library.h"

#include <dlfcn.h>

namespace corvane {

MpvLibrary::MpvLibrary(const char* libraryName) {
    // Never unloaded: libmpv registers libavdevice's demuxers inside libavformat, which the video
    // probe keeps using; unloading would leave libavformat pointing into freed code.
    handle_ = dlopen(libraryName, RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    if (!handle_) {
        const char* reason = dlerror();
        error_ = reason ? reason : std::string("cannot load ") + libraryName;
        return;
    }
    resolve(create, "mpv_create");
    resolve(initialize, "mpv_initialize");
    resolve(terminateDestroy, "mpv_terminate_destroy");
    resolve(setOptionString, "mpv_set_option_string");
    resolve(setProperty, "mpv_set_property");
    resolve(setPropertyAsync, "mpv_set_property_async");
    resolve(getProperty, "mpv_get_property");
    resolve(getPropertyAsync, "mpv_get_property_async");
    resolve(observeProperty, "mpv_observe_property");
    resolve(command, "mpv_command");
    resolve(commandAsync, "mpv_command_async");
    resolve(waitEvent, "mpv_wait_event");
    resolve(setWakeupCallback, "mpv_set_wakeup_callback");
    resolve(requestLogMessages, "mpv_request_log_messages");
    resolve(errorString, "mpv_error_string");
    resolve(free, "mpv_free");
    resolve(freeNodeContents, "mpv_free_node_contents");
    resolve(renderContextCreate, "mpv_render_context_create");
    resolve(renderContextSetUpdateCallback, "mpv_render_context_set_update_callback");
    resolve(renderContextUpdate, "mpv_render_context_update");
    resolve(renderContextRender, "mpv_render_context_render");
    resolve(renderContextFree, "mpv_render_context_free");
    loaded_ = error_.empty();
}

MpvLibrary::~MpvLibrary() {
    if (handle_) dlclose(handle_);
}

template <typename Function>
void MpvLibrary::resolve(Function& function, const char* symbol) {
    function = reinterpret_cast<Function>(dlsym(handle_, symbol));
    if (!function && error_.empty()) error_ = std::string("libmpv lacks ") + symbol;
}

}  // namespace corvane
