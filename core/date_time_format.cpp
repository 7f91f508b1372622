#include "core/date_time_format.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <vector>

namespace corvane {

namespace {

std::string digits(int value, int width) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%0*d", width, value);
    return buffer;
}

std::size_t runLength(const std::string& text, std::size_t start) {
    std::size_t end = start;
    while (end < text.size() && text[end] == text[start]) ++end;
    return end - start;
}

// Copies the quoted text that starts at `quote` ("''" is one quote, inside or outside quotes) and
// returns where the pattern goes on.
std::size_t copyQuoted(const std::string& pattern, std::size_t quote, std::string& out) {
    if (quote + 1 < pattern.size() && pattern[quote + 1] == '\'') {
        out += '\'';
        return quote + 2;
    }
    std::size_t i = quote + 1;
    while (i < pattern.size()) {
        if (pattern[i] != '\'') {
            out += pattern[i++];
        } else if (i + 1 < pattern.size() && pattern[i + 1] == '\'') {
            out += '\'';
            i += 2;
        } else {
            return i + 1;
        }
    }
    return i;
}

bool isLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int daysInMonth(int year, int month) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeapYear(year) ? 29 : days[month - 1];
}

// Days from 1 January of year 0 of the proleptic Gregorian calendar (Howard Hinnant's algorithm).
long daysFromCivil(int year, int month, int day) {
    year -= month <= 2;
    const long era = (year >= 0 ? year : year - 399) / 400;
    const long yearOfEra = year - era * 400;
    const long dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

void civilFromDays(long days, int& year, int& month, int& day) {
    days += 719468;
    const long era = (days >= 0 ? days : days - 146096) / 146097;
    const long dayOfEra = days - era * 146097;
    const long yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const long monthPart = (5 * dayOfYear + 2) / 153;
    day = static_cast<int>(dayOfYear - (153 * monthPart + 2) / 5 + 1);
    month = static_cast<int>(monthPart < 10 ? monthPart + 3 : monthPart - 9);
    year = static_cast<int>(yearOfEra + era * 400 + (month <= 2));
}

}  // namespace

std::string formatByPattern(const std::string& pattern, const LocalDateTime& when) {
    const bool twelveHour = pattern.find("AP") != std::string::npos ||
                            pattern.find("ap") != std::string::npos;
    std::string out;
    for (std::size_t i = 0; i < pattern.size();) {
        const char c = pattern[i];
        if (c == '\'') {
            i = copyQuoted(pattern, i, out);
            continue;
        }
        const std::size_t run = runLength(pattern, i);
        const auto twelve = [&] { return when.hour % 12 == 0 ? 12 : when.hour % 12; };
        switch (c) {
            case 'd': out += run >= 2 ? digits(when.day, 2) : std::to_string(when.day); break;
            case 'M': out += run >= 2 ? digits(when.month, 2) : std::to_string(when.month); break;
            case 'y': out += digits(when.year, 4); break;  // a two-digit year reads wrong in a log kept for years
            case 'H': out += run >= 2 ? digits(when.hour, 2) : std::to_string(when.hour); break;
            case 'h': {
                const int hour = twelveHour ? twelve() : when.hour;
                out += run >= 2 ? digits(hour, 2) : std::to_string(hour);
                break;
            }
            case 'm': out += run >= 2 ? digits(when.minute, 2) : std::to_string(when.minute); break;
            case 's': out += run >= 2 ? digits(when.second, 2) : std::to_string(when.second); break;
            case 'A':
            case 'a':
                if (i + 1 < pattern.size() && std::tolower(pattern[i + 1]) == 'p') {
                    const bool upper = c == 'A';
                    out += when.hour < 12 ? (upper ? "AM" : "am") : (upper ? "PM" : "pm");
                    i += 2;
                    continue;
                }
                out += std::string(run, c);
                break;
            default: out += std::string(run, c); break;
        }
        i += run;
    }
    return out;
}

std::string formatLocaleDateTime(const LocaleFormats& formats, const LocalDateTime& when) {
    std::string text = formatByPattern(formats.shortDate, when);
    if (!when.isMidnight()) text += " " + formatByPattern(formats.longTime, when);
    return text;
}

std::optional<LocalDateTime> parseLocaleDate(const LocaleFormats& formats, const std::string& text) {
    std::string order;
    for (const char c : formats.shortDate)
        if ((c == 'd' || c == 'M' || c == 'y') && order.find(c) == std::string::npos) order += c;
    if (order.size() != 3) order = "dMy";

    std::vector<std::string> numbers;
    std::string current;
    std::size_t i = text.find_first_not_of(' ');
    for (; i < text.size() && numbers.size() < 3; ++i) {
        const char c = text[i];
        if (std::isdigit(static_cast<unsigned char>(c))) {
            current += c;
        } else {
            if (current.empty()) return std::nullopt;
            numbers.push_back(current);
            current.clear();
        }
    }
    if (!current.empty()) numbers.push_back(current);
    if (numbers.size() != 3) return std::nullopt;
    // What follows the year may only be a time, after a blank; a stray word means it is no date.
    if (i < text.size() && text[i - 1] != ' ') return std::nullopt;
    LocalDateTime date;
    for (std::size_t i = 0; i < 3; ++i) {
        if (numbers[i].size() > 4) return std::nullopt;
        const int value = std::stoi(numbers[i]);
        switch (order[i]) {
            case 'd': date.day = value; break;
            case 'M': date.month = value; break;
            default:
                date.year = numbers[i].size() <= 2 ? (value < 50 ? 2000 + value : 1900 + value) : value;
        }
    }
    if (date.month < 1 || date.month > 12 || date.day < 1 ||
        date.day > daysInMonth(date.year, date.month))
        return std::nullopt;
    return date;
}

std::optional<LocalDateTime> dateTimeFromDays(double days) {
    if (!std::isfinite(days) || std::fabs(days) > 3.0e6) return std::nullopt;
    const double whole = std::floor(days);
    long seconds = std::lround((days - whole) * 86400.0);
    long dayNumber = static_cast<long>(whole) + daysFromCivil(1899, 12, 30);
    if (seconds >= 86400) {
        seconds -= 86400;
        ++dayNumber;
    }
    LocalDateTime when;
    civilFromDays(dayNumber, when.year, when.month, when.day);
    when.hour = static_cast<int>(seconds / 3600);
    when.minute = static_cast<int>(seconds / 60 % 60);
    when.second = static_cast<int>(seconds % 60);
    return when;
}

}  // namespace corvane
