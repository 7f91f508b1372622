#pragma once

#include <mpv/client.h>
#include <mpv/render.h>

#include <string>

namespace corvane {

// libmpv loaded at run time, so that the program starts (and can say what is missing) on a
// machine without it. Each instance holds its own reference; the loader counts them.
class MpvLibrary {
public:
    static constexpr const char* kLibraryName = "libmpv.so.2";

    explicit MpvLibrary(const char* libraryName = kLibraryName);
    ~MpvLibrary();
    MpvLibrary(const MpvLibrary&) = delete;
    MpvLibrary& operator=(const MpvLibrary&) = delete;

    // True when the library was found and every function below was resolved.
    bool loaded() const { return loaded_; }
    const std::string& error() const { return error_; }

    decltype(&::mpv_create) create = nullptr;
    decltype(&::mpv_initialize) initialize = nullptr;
    decltype(&::mpv_terminate_destroy) terminateDestroy = nullptr;
    decltype(&::mpv_set_option_string) setOptionString = nullptr;
    decltype(&::mpv_set_property) setProperty = nullptr;
    decltype(&::mpv_set_property_async) setPropertyAsync = nullptr;
    decltype(&::mpv_get_property) getProperty = nullptr;
    decltype(&::mpv_get_property_async) getPropertyAsync = nullptr;
    decltype(&::mpv_observe_property) observeProperty = nullptr;
    decltype(&::mpv_command) command = nullptr;
    decltype(&::mpv_command_async) commandAsync = nullptr;
    decltype(&::mpv_wait_event) waitEvent = nullptr;
    decltype(&::mpv_set_wakeup_callback) setWakeupCallback = nullptr;
    decltype(&::mpv_request_log_messages) requestLogMessages = nullptr;
    decltype(&::mpv_error_string) errorString = nullptr;
    decltype(&::mpv_free) free = nullptr;
    decltype(&::mpv_free_node_contents) freeNodeContents = nullptr;
    decltype(&::mpv_render_context_create) renderContextCreate = nullptr;
    decltype(&::mpv_render_context_set_update_callback) renderContextSetUpdateCallback = nullptr;
    decltype(&::mpv_render_context_update) renderContextUpdate = nullptr;
    decltype(&::mpv_render_context_render) renderContextRender = nullptr;
    decltype(&::mpv_render_context_free) renderContextFree = nullptr;

private:
    template <typename Function>
    void resolve(Function& function, const char* symbol);

    void* handle_ = nullptr;
    bool loaded_ = false;
    std::string error_;
};

}  // namespace corvane
