#pragma once
// Whole numbers typed in the send timing fields.

#include <cstdint>
#include <cstdlib>
#include <string>

// The leading whole number of a typed text in base 10: blanks, a sign, then digits, as atoi reads
// it ("500ms" and "500.5" are 500); 0 when there is none. A number past 64 bits saturates.
inline long long LeadingWholeNumber(const std::string& text) { return std::strtoll(text.c_str(), nullptr, 10); }

// The leading whole number when it is from 1 to max; false for 0, a negative number, text that
// is not a number and anything larger.
inline bool ReadPositiveNumber(const std::string& text, uint32_t max, uint32_t& value) {
    const long long n = LeadingWholeNumber(text);
    if (n <= 0 || n > static_cast<long long>(max)) return false;
    value = static_cast<uint32_t>(n);
    return true;
}

// What a refused interval or count says.
constexpr const char* kBadIntervalText = "时间间隔须为大于0的整数";
constexpr const char* kBadCountText = "发送次数须为大于0的整数";
