#pragma once

#include <QString>

#include <string_view>

namespace corvane {

// Package text (Windows-1252 bytes) as the windows show it.
QString fromCp1252(std::string_view bytes);

}  // namespace corvane
