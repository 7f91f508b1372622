#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/player/mpv_library.h"

namespace corvane {

// One mpv core with its software render context: created, started and torn down in the right
// order. The callbacks run on mpv's threads; they must only post work elsewhere. Every request is
// asynchronous: the core may be waiting for the render side, so a caller that blocks on the core
// from the thread that renders would stall both.
class MpvSession {
public:
    using Callback = void (*)(void* context);

    explicit MpvSession(const MpvLibrary& library);
    ~MpvSession();
    MpvSession(const MpvSession&) = delete;
    MpvSession& operator=(const MpvSession&) = delete;

    // Options are set before start.
    bool setOption(const char* name, const std::string& value);
    // Initialises the core and the render context and installs both callbacks.
    bool start(Callback wakeup, Callback renderUpdate, void* context);
    bool running() const { return render_ != nullptr; }
    const std::string& error() const { return error_; }

    bool commandAsync(std::uint64_t reply, const std::vector<std::string>& arguments);
    bool setFlagAsync(std::uint64_t reply, const char* name, bool value);
    bool setDoubleAsync(std::uint64_t reply, const char* name, double value);
    bool setStringAsync(std::uint64_t reply, const char* name, const std::string& value);
    bool requestAsync(std::uint64_t reply, const char* name, mpv_format format);
    bool observe(std::uint64_t reply, const char* name, mpv_format format);

    // The next pending event without waiting; MPV_EVENT_NONE when there is none.
    const mpv_event& nextEvent();

    // MPV_RENDER_UPDATE_FRAME when a new frame wants drawing.
    std::uint64_t renderUpdate();
    // Draws the current frame into a "bgr0" surface (QImage::Format_RGB32 on little-endian
    // machines) without waiting for the frame's display time.
    bool renderInto(void* pixels, int width, int height, std::size_t stride);

    const MpvLibrary& library() const { return library_; }

private:
    const MpvLibrary& library_;
    mpv_handle* handle_ = nullptr;
    mpv_render_context* render_ = nullptr;
    std::string error_;
};

}  // namespace corvane
