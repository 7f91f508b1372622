#pragma once

#include <optional>
#include <string>

#include "core/platform.h"

namespace corvane {

// Writes a date and/or time by a locale pattern (see LocaleFormats). The year always has four
// digits, whatever the pattern asks; text in single quotes is copied as text ("''" is a quote).
std::string formatByPattern(const std::string& pattern, const LocalDateTime& when);

// Date and time as the user's locale writes them: short date, a blank, long time; the time is
// left out at exactly midnight. The log's time stamp and every date-and-time text use it.
std::string formatLocaleDateTime(const LocaleFormats& formats, const LocalDateTime& when);

// Reads a date written in the locale's short-date order (day, month and year in the pattern's
// order, any non-digit separators). Two-digit years fall in 1950..2049.
std::optional<LocalDateTime> parseLocaleDate(const LocaleFormats& formats, const std::string& text);

// Days since 30 December 1899 (the fraction is the time of day) as a date and time.
std::optional<LocalDateTime> dateTimeFromDays(double days);

}  // namespace corvane
