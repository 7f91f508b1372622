#include "ui/package_text.h"

#include <gtest/gtest.h>

#include <string>

namespace corvane {
namespace {

TEST(PackageText, ShowsWindows1252BytesAsTheirCharacters) {
    struct Case {
        std::string bytes;
        QString shown;
    };
    const Case cases[] = {
        {"Rossi 12", QStringLiteral("Rossi 12")},
        {"", QString()},
        {"\x80", QString(QChar(0x20AC))},              // the euro sign opens the block the code page redefines
        {"\x9F", QString(QChar(0x0178))},              // and Y with diaeresis closes it
        {"\x81", QString(QChar(0x0081))},              // a hole of the code page keeps its control code
        {"\x8D\x8F\x90\x9D", QString(QChar(0x008D)) + QChar(0x008F) + QChar(0x0090) + QChar(0x009D)},
        {"Citt\xE0", QStringLiteral("Citt") + QChar(0x00E0)},  // above 0xA0 the bytes are Latin-1
        {std::string("a\0b", 3), QStringLiteral("a") + QChar(0) + QStringLiteral("b")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes);
        EXPECT_EQ(fromCp1252(c.bytes), c.shown);
    }
}

}  // namespace
}  // namespace corvane
