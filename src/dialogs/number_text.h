#pragma once
// Whole numbers typed in decimal fields.

#include <cstdint>
#include <cstdlib>
#include <string>

// The leading whole number of a typed text in base 10: blanks, a sign, then digits, as atoi reads
// it ("500ms" and "500.5" are 500). False when the text holds none (number is 0 then). A number
// past 64 bits saturates, so it stays out of any field's range.
inline bool ReadLeadingNumber(const std::string& text, long long& number) {
    const char* begin = text.c_str();
    char* end = nullptr;
    number = std::strtoll(begin, &end, 10);
    return end != begin;
}

// The leading whole number, 0 when there is none.
inline long long LeadingWholeNumber(const std::string& text) {
    long long number = 0;
    ReadLeadingNumber(text, number);
    return number;
}

// The leading whole number when the text holds one from low to high; false for text that holds
// no number and for a number out of the range.
inline bool ReadWholeNumber(const std::string& text, long long low, long long high, long long& value) {
    long long number = 0;
    if (!ReadLeadingNumber(text, number) || number < low || number > high) return false;
    value = number;
    return true;
}

// The leading whole number when it is from 1 to max; false for 0, a negative number, text that
// is not a number and anything larger.
inline bool ReadPositiveNumber(const std::string& text, uint32_t max, uint32_t& value) {
    long long number = 0;
    if (!ReadWholeNumber(text, 1, max, number)) return false;
    value = static_cast<uint32_t>(number);
    return true;
}

// What a refused number says: the field's name and the range it must lie in.
inline std::string NumberRangeText(const char* field, long long low, long long high) {
    return std::string(field) + "须为" + std::to_string(low) + "到" + std::to_string(high) + "之间的整数";
}

// What a refused field that asks for its number says: "输入" and its name when the text holds no
// number, else the range.
inline std::string RefusedNumberText(const std::string& text, const char* field, long long low, long long high) {
    long long number = 0;
    return ReadLeadingNumber(text, number) ? NumberRangeText(field, low, high) : "输入" + std::string(field);
}
