#include "ui/package_text.h"

#include "core/cp1252.h"

namespace corvane {

QString fromCp1252(std::string_view bytes) { return QString::fromStdString(cp1252ToUtf8(bytes)); }

}  // namespace corvane
