#pragma once

#include <filesystem>
#include <memory>
#include <string_view>

namespace corvane {

// A font file's glyph advances, to measure a caption's lines as the drawing filter will lay them.
class CaptionFont {
public:
    explicit CaptionFont(const std::filesystem::path& file);  // an unreadable file measures nothing
    ~CaptionFont();
    CaptionFont(const CaptionFont&) = delete;
    CaptionFont& operator=(const CaptionFont&) = delete;

    bool readable() const;
    // The line's width in pixels at a font size (pixels of the em): advances and kerning.
    double width(std::string_view line, int size) const;

private:
    struct Face;
    std::unique_ptr<Face> face_;
};

}  // namespace corvane
