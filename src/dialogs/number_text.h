#pragma once
// Whole numbers typed in the send timing fields.

#include <cstdint>
#include <string>

// A decimal number from 1 to max, blanks around it allowed; false for anything else (empty,
// 0, a sign, other characters, too large).
inline bool ReadPositiveNumber(const std::string& text, uint32_t max, uint32_t& value) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return false;
    const size_t last = text.find_last_not_of(" \t");
    uint64_t n = 0;
    for (size_t i = first; i <= last; ++i) {
        const char c = text[i];
        if (c < '0' || c > '9') return false;
        n = n * 10 + static_cast<uint64_t>(c - '0');
        if (n > max) return false;
    }
    if (n == 0) return false;
    value = static_cast<uint32_t>(n);
    return true;
}

// What a refused interval or count says.
constexpr const char* kBadIntervalText = "时间间隔须为大于0的整数";
constexpr const char* kBadCountText = "发送次数须为大于0的整数";
