#pragma once

#include <QImage>
#include <QSize>

#include <cstddef>
#include <cstdint>
#include <memory>

namespace corvane {

// The picture the player draws into: 64-byte aligned rows (what the software renderer wants for
// its fast paths), seen by Qt as an RGB32 image without copying.
class FrameBuffer {
public:
    // True when the size changed; the content is then black.
    bool resize(QSize devicePixels);
    void clear();

    bool empty() const { return image_.isNull(); }
    QSize size() const { return image_.size(); }
    void* pixels() { return pixels_.get(); }
    std::size_t stride() const { return stride_; }
    const QImage& image() const { return image_; }

private:
    struct AlignedFree {
        void operator()(std::uint8_t* memory) const;
    };

    std::unique_ptr<std::uint8_t, AlignedFree> pixels_;
    std::size_t stride_ = 0;
    QImage image_;
};

}  // namespace corvane
