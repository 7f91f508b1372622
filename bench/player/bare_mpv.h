#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>

#include "app/player/frame_buffer.h"
#include "app/player/mpv_library.h"
#include "support/frame_stamp.h"

namespace corvane::bench {

// The least a program can do to show an exact seek with libmpv's software renderer: one thread
// that waits for mpv's frame notice, renders and reads the picture. The yardstick of the player.
class BareMpv {
public:
    explicit BareMpv(const MpvLibrary& library, int width, int height);
    ~BareMpv();
    BareMpv(const BareMpv&) = delete;
    BareMpv& operator=(const BareMpv&) = delete;

    // Milliseconds from the call to the first drawn frame showing the stamp; nothing on time-out.
    std::optional<double> open(const std::filesystem::path& film, testing::FrameStamp first);
    std::optional<double> seek(int second);
    void setPaused(bool paused);
    // Renders every picture mpv offers for the time given, as a player's loop would while
    // playing; the number rendered.
    int renderFor(std::chrono::milliseconds time);

private:
    static void onUpdate(void* context);
    std::optional<double> waitForStamp(testing::FrameStamp expected, std::chrono::steady_clock::time_point start);
    // Waits a while for mpv's notice, then renders if a new picture is due; true if it did.
    bool renderNext();
    std::optional<testing::FrameStamp> shownStamp() const;
    void drainEvents();

    const MpvLibrary& library_;
    mpv_handle* handle_ = nullptr;
    mpv_render_context* render_ = nullptr;
    FrameBuffer frame_;
    std::mutex mutex_;
    std::condition_variable updated_;
    bool pending_ = false;
};

}  // namespace corvane::bench
