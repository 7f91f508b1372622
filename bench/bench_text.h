#pragma once

#include <string>

namespace corvane::bench {

// A number below 100 as two digits, as scout files write shirt numbers and clock fields.
inline std::string twoDigits(int value) {
    return std::string(1, static_cast<char>('0' + value / 10 % 10)) + static_cast<char>('0' + value % 10);
}

}  // namespace corvane::bench
