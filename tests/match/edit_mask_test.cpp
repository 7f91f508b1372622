#include "match/edit_mask.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

TEST(EditMask, SlotsShowThroughTheirMasks) {
    const struct {
        const char* text;
        const char* mask;
        const char* shown;
    } cases[] = {
        {"20.30", "99.99", "20.30"},      {"20.30.00", "99.99", "20.30"},   {"", "99.99", "  .  "},
        {"2026/2027", "9999/9999", "2026/2027"}, {"", "9999/9999", "    /    "},
        {"25-23", "99-99", "25-23"},      {"8-6", "99-99", " 8- 6"},        {"", "99-99", "  -  "},
        {"125-3", "99-99", "12- 3"},
        // Blanks around the numbers, as a score is often stored, separate nothing.
        {" 8-6", "99-99", " 8- 6"},       {" 8- 6", "99-99", " 8- 6"},      {"8 - 6 ", "99-99", " 8- 6"},
        {" 20.30", "99.99", "20.30"},
    };
    for (const auto& c : cases) EXPECT_EQ(maskedText(c.text, c.mask), c.shown) << c.text << " " << c.mask;
}

}  // namespace
}  // namespace corvane
