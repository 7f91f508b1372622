#include "bench/player/bare_mpv.h"

#include <string>

namespace corvane::bench {

namespace {
constexpr auto kLimit = std::chrono::seconds(15);
}

BareMpv::BareMpv(const MpvLibrary& library, int width, int height)
    : library_(library) {
    frame_.resize(QSize(width, height));
    handle_ = library_.create();
    for (const auto& [name, value] : {std::pair{"vo", "libmpv"}, {"keep-open", "yes"}, {"pause", "yes"},
                                      {"hr-seek", "yes"}, {"hr-seek-demuxer-offset", "1"}, {"ao", "null"},
                                      {"hwdec", "no"}, {"terminal", "no"}, {"config", "no"}, {"osd-level", "0"}})
        library_.setOptionString(handle_, name, value);
    library_.initialize(handle_);
    char apiType[] = MPV_RENDER_API_TYPE_SW;
    mpv_render_param parameters[] = {{MPV_RENDER_PARAM_API_TYPE, apiType}, {MPV_RENDER_PARAM_INVALID, nullptr}};
    library_.renderContextCreate(&render_, handle_, parameters);
    library_.renderContextSetUpdateCallback(render_, &BareMpv::onUpdate, this);
}

BareMpv::~BareMpv() {
    if (render_) {
        library_.renderContextSetUpdateCallback(render_, nullptr, nullptr);
        library_.renderContextFree(render_);
    }
    if (handle_) library_.terminateDestroy(handle_);
}

void BareMpv::onUpdate(void* context) {
    auto* bare = static_cast<BareMpv*>(context);
    {
        const std::lock_guard lock(bare->mutex_);
        bare->pending_ = true;
    }
    bare->updated_.notify_one();
}

void BareMpv::drainEvents() {
    while (library_.waitEvent(handle_, 0)->event_id != MPV_EVENT_NONE) {
    }
}

std::optional<double> BareMpv::open(const std::filesystem::path& film, testing::FrameStamp first) {
    const auto start = std::chrono::steady_clock::now();
    const std::string path = film.string();
    // Asynchronous, as every call here: while the core tears down the previous film it waits for
    // the render side, which a blocked caller could not serve.
    const char* arguments[] = {"loadfile", path.c_str(), nullptr};
    library_.commandAsync(handle_, 0, arguments);
    return waitForStamp(first, start);
}

std::optional<double> BareMpv::seek(int second) {
    const auto start = std::chrono::steady_clock::now();
    const std::string target = std::to_string(second);
    const char* arguments[] = {"seek", target.c_str(), "absolute+exact", nullptr};
    library_.commandAsync(handle_, 0, arguments);
    return waitForStamp({second, 0}, start);
}

void BareMpv::setPaused(bool paused) {
    int flag = paused ? 1 : 0;
    library_.setPropertyAsync(handle_, 0, "pause", MPV_FORMAT_FLAG, &flag);
}

int BareMpv::renderFor(std::chrono::milliseconds time) {
    const auto start = std::chrono::steady_clock::now();
    int rendered = 0;
    while (std::chrono::steady_clock::now() - start < time)
        if (renderNext()) ++rendered;
    return rendered;
}

bool BareMpv::renderNext() {
    {
        std::unique_lock lock(mutex_);
        updated_.wait_for(lock, std::chrono::milliseconds(50), [this] { return pending_; });
        pending_ = false;
    }
    drainEvents();
    if (!(library_.renderContextUpdate(render_) & MPV_RENDER_UPDATE_FRAME)) return false;
    int size[2] = {frame_.size().width(), frame_.size().height()};
    std::size_t stride = frame_.stride();
    char format[] = "bgr0";
    int block = 0;
    mpv_render_param parameters[] = {
        {MPV_RENDER_PARAM_SW_SIZE, size},       {MPV_RENDER_PARAM_SW_FORMAT, format},
        {MPV_RENDER_PARAM_SW_STRIDE, &stride}, {MPV_RENDER_PARAM_SW_POINTER, frame_.pixels()},
        {MPV_RENDER_PARAM_BLOCK_FOR_TARGET_TIME, &block}, {MPV_RENDER_PARAM_INVALID, nullptr}};
    library_.renderContextRender(render_, parameters);
    return true;
}

std::optional<testing::FrameStamp> BareMpv::shownStamp() const {
    return testing::readFrameStamp(frame_.image().constBits(), frame_.size().width(), frame_.size().height(),
                                   static_cast<int>(frame_.stride()), testing::PixelFormat::Bgra);
}

std::optional<double> BareMpv::waitForStamp(testing::FrameStamp expected, std::chrono::steady_clock::time_point start) {
    while (std::chrono::steady_clock::now() - start < kLimit)
        if (renderNext() && shownStamp() == expected)
            return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    return std::nullopt;
}

}  // namespace corvane::bench
