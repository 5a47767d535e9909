#pragma once
// Frame builders for tests, written apart from the codec under test.

#include <cctype>
#include <initializer_list>
#include <stdexcept>
#include <string>

#include "link/byte_string.h"

namespace testing_frames {

// "79 06 00" -> bytes. Blanks are ignored; anything else must be a hex digit.
inline ByteString Hex(const std::string& text) {
    ByteString out;
    int hi = -1;
    for (char c : text) {
        if (c == ' ') continue;
        if (!std::isxdigit(static_cast<unsigned char>(c))) throw std::invalid_argument(text);
        const int v = std::isdigit(static_cast<unsigned char>(c)) ? c - '0' : (std::toupper(c) - 'A' + 10);
        if (hi < 0) {
            hi = v;
        } else {
            out.push_back(static_cast<unsigned char>(hi * 16 + v));
            hi = -1;
        }
    }
    if (hi >= 0) throw std::invalid_argument(text);
    return out;
}

// A whole 0x79 frame with the given control byte, command and data, length taken from data.
inline ByteString MakeFrame(unsigned char control, unsigned char command, const ByteString& data) {
    ByteString f;
    f.push_back(0x79);
    f.push_back(static_cast<unsigned char>(data.size() & 0xFF));
    f.push_back(static_cast<unsigned char>((data.size() >> 8) & 0xFF));
    f.push_back(control);
    f.push_back(command);
    f += data;
    unsigned sum = 0;
    unsigned x = 0;
    for (size_t i = 1; i < f.size(); ++i) {
        sum += f[i];
        x ^= f[i];
    }
    f.push_back(static_cast<unsigned char>(sum & 0xFF));
    f.push_back(static_cast<unsigned char>(x));
    return f;
}

inline ByteString MakeFrame(unsigned char control, unsigned char command, const std::string& hexData) {
    return MakeFrame(control, command, Hex(hexData));
}

}  // namespace testing_frames
