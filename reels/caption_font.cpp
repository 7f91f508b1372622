#include "reels/caption_font.h"

#include <ft2build.h>
#include FT_FREETYPE_H

namespace corvane {

struct CaptionFont::Face {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    ~Face() {
        if (face) FT_Done_Face(face);
        if (library) FT_Done_FreeType(library);
    }
};

namespace {

// The next code point of UTF-8 text; a byte that starts none counts as itself.
char32_t nextCodePoint(std::string_view text, std::size_t& at) {
    const auto lead = static_cast<unsigned char>(text[at++]);
    const int more = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
    char32_t point = more == 0 ? lead : lead & (0x3F >> more);
    for (int i = 0; i < more && at < text.size(); ++i)
        point = (point << 6) | (static_cast<unsigned char>(text[at++]) & 0x3F);
    return point;
}

}  // namespace

CaptionFont::CaptionFont(const std::filesystem::path& file) : face_(std::make_unique<Face>()) {
    if (FT_Init_FreeType(&face_->library) != 0) {
        face_->library = nullptr;
        return;
    }
    if (FT_New_Face(face_->library, file.c_str(), 0, &face_->face) != 0) face_->face = nullptr;
}

CaptionFont::~CaptionFont() = default;

bool CaptionFont::readable() const { return face_->face != nullptr; }

double CaptionFont::width(std::string_view line, int size) const {
    FT_Face face = face_->face;
    if (!face || size <= 0 || FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(size)) != 0) return 0;
    double width = 0;
    FT_UInt previous = 0;
    for (std::size_t at = 0; at < line.size();) {
        const FT_UInt glyph = FT_Get_Char_Index(face, nextCodePoint(line, at));
        if (previous && glyph && FT_HAS_KERNING(face)) {
            FT_Vector kerning{};
            if (FT_Get_Kerning(face, previous, glyph, FT_KERNING_DEFAULT, &kerning) == 0) width += kerning.x / 64.0;
        }
        if (FT_Load_Glyph(face, glyph, FT_LOAD_DEFAULT) == 0) width += face->glyph->advance.x / 64.0;
        previous = glyph;
    }
    return width;
}

}  // namespace corvane
