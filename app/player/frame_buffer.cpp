#include "app/player/frame_buffer.h"

#include <cstdlib>
#include <cstring>

namespace corvane {

namespace {
constexpr std::size_t kAlignment = 64;
}

void FrameBuffer::AlignedFree::operator()(std::uint8_t* memory) const { std::free(memory); }

bool FrameBuffer::resize(QSize devicePixels) {
    if (devicePixels == image_.size() && !image_.isNull()) return false;
    image_ = QImage();
    pixels_.reset();
    stride_ = 0;
    if (devicePixels.width() <= 0 || devicePixels.height() <= 0) return true;
    const std::size_t rowBytes = static_cast<std::size_t>(devicePixels.width()) * 4;
    stride_ = (rowBytes + kAlignment - 1) / kAlignment * kAlignment;
    const std::size_t bytes = stride_ * static_cast<std::size_t>(devicePixels.height());
    pixels_.reset(static_cast<std::uint8_t*>(std::aligned_alloc(kAlignment, bytes)));
    if (!pixels_) {
        stride_ = 0;
        return true;
    }
    image_ = QImage(pixels_.get(), devicePixels.width(), devicePixels.height(), static_cast<qsizetype>(stride_),
                    QImage::Format_RGB32);
    clear();
    return true;
}

void FrameBuffer::clear() {
    if (pixels_) std::memset(pixels_.get(), 0, stride_ * static_cast<std::size_t>(image_.height()));
}

}  // namespace corvane
