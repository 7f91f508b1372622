#include "app/player/mpv_session.h"

#include <bit>
#include <cstring>

namespace corvane {

namespace {

std::vector<const char*> argumentPointers(const std::vector<std::string>& arguments) {
    std::vector<const char*> pointers;
    pointers.reserve(arguments.size() + 1);
    for (const std::string& argument : arguments) pointers.push_back(argument.c_str());
    pointers.push_back(nullptr);
    return pointers;
}

}  // namespace

MpvSession::MpvSession(const MpvLibrary& library) : library_(library) {
    if (!library_.loaded()) {
        error_ = library_.error();
        return;
    }
    handle_ = library_.create();
    if (!handle_) error_ = "mpv_create failed";
}

MpvSession::~MpvSession() {
    if (render_) {
        library_.renderContextSetUpdateCallback(render_, nullptr, nullptr);
        library_.renderContextFree(render_);
    }
    if (handle_) {
        library_.setWakeupCallback(handle_, nullptr, nullptr);
        library_.terminateDestroy(handle_);
    }
}

bool MpvSession::setOption(const char* name, const std::string& value) {
    return handle_ && library_.setOptionString(handle_, name, value.c_str()) >= 0;
}

bool MpvSession::start(Callback wakeup, Callback renderUpdate, void* context) {
    if (!handle_) return false;
    const int initialised = library_.initialize(handle_);
    if (initialised < 0) {
        error_ = std::string("mpv_initialize: ") + library_.errorString(initialised);
        return false;
    }
    char apiType[] = MPV_RENDER_API_TYPE_SW;
    mpv_render_param parameters[] = {{MPV_RENDER_PARAM_API_TYPE, apiType}, {MPV_RENDER_PARAM_INVALID, nullptr}};
    const int created = library_.renderContextCreate(&render_, handle_, parameters);
    if (created < 0) {
        render_ = nullptr;
        error_ = std::string("mpv_render_context_create: ") + library_.errorString(created);
        return false;
    }
    library_.setWakeupCallback(handle_, wakeup, context);
    library_.renderContextSetUpdateCallback(render_, renderUpdate, context);
    return true;
}

bool MpvSession::commandAsync(std::uint64_t reply, const std::vector<std::string>& arguments) {
    if (!handle_) return false;
    std::vector<const char*> pointers = argumentPointers(arguments);
    return library_.commandAsync(handle_, reply, pointers.data()) >= 0;
}

bool MpvSession::setFlagAsync(std::uint64_t reply, const char* name, bool value) {
    int flag = value ? 1 : 0;
    return handle_ && library_.setPropertyAsync(handle_, reply, name, MPV_FORMAT_FLAG, &flag) >= 0;
}

bool MpvSession::setDoubleAsync(std::uint64_t reply, const char* name, double value) {
    return handle_ && library_.setPropertyAsync(handle_, reply, name, MPV_FORMAT_DOUBLE, &value) >= 0;
}

bool MpvSession::setStringAsync(std::uint64_t reply, const char* name, const std::string& value) {
    const char* text = value.c_str();
    return handle_ && library_.setPropertyAsync(handle_, reply, name, MPV_FORMAT_STRING, &text) >= 0;
}

bool MpvSession::requestAsync(std::uint64_t reply, const char* name, mpv_format format) {
    return handle_ && library_.getPropertyAsync(handle_, reply, name, format) >= 0;
}

bool MpvSession::observe(std::uint64_t reply, const char* name, mpv_format format) {
    return handle_ && library_.observeProperty(handle_, reply, name, format) >= 0;
}

const mpv_event& MpvSession::nextEvent() {
    static const mpv_event none{MPV_EVENT_NONE, 0, 0, nullptr};
    if (!handle_) return none;
    return *library_.waitEvent(handle_, 0);
}

std::uint64_t MpvSession::renderUpdate() { return render_ ? library_.renderContextUpdate(render_) : 0; }

bool MpvSession::renderInto(void* pixels, int width, int height, std::size_t stride) {
    if (!render_ || width <= 0 || height <= 0) return false;
    int size[2] = {width, height};
    // QImage::Format_RGB32 in memory order.
    char format[] = "bgr0";
    if constexpr (std::endian::native == std::endian::big) std::strcpy(format, "0rgb");
    int block = 0;
    mpv_render_param parameters[] = {
        {MPV_RENDER_PARAM_SW_SIZE, size},
        {MPV_RENDER_PARAM_SW_FORMAT, format},
        {MPV_RENDER_PARAM_SW_STRIDE, &stride},
        {MPV_RENDER_PARAM_SW_POINTER, pixels},
        {MPV_RENDER_PARAM_BLOCK_FOR_TARGET_TIME, &block},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    return library_.renderContextRender(render_, parameters) >= 0;
}

}  // namespace corvane
