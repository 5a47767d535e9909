// The tools of the meter-reading page.

#include "commands/meter_page_tools.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "link/conversions.h"

namespace {

std::string WithoutBlanks(std::string text) {
    text.erase(std::remove(text.begin(), text.end(), ' '), text.end());
    return text;
}

// An odd count of digits gets a '0' before the last one: ABC becomes AB0C.
void CompleteBeforeLast(std::string& digits) {
    if (digits.size() % 2 != 0) digits.insert(digits.size() - 1, 1, '0');
}

std::string Joined(const std::string& hex, const char* between, const char* front) {
    std::string text;
    for (size_t i = 0; i + 1 < hex.size(); i += 2) {
        text += i == 0 ? front : between;
        text.append(hex, i, 2);
    }
    return text;
}

}  // namespace

bool RawSendDigits(const std::string& typed, std::string& digits) {
    std::string text = WithoutBlanks(typed);
    if (!std::all_of(text.begin(), text.end(),
                     [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; }))
        return false;
    CompleteBeforeLast(text);
    digits = text;
    return true;
}

uint8_t CommandByteFromText(const std::string& text) {
    return static_cast<uint8_t>(std::strtoul(WithoutBlanks(text).c_str(), nullptr, 16) & 0xFF);
}

ByteString FrameDataFromText(const std::string& text) {
    std::string digits = WithoutBlanks(text);
    CompleteBeforeLast(digits);
    ByteString bytes;
    HexTextToBytes(digits, bytes, 0);
    return bytes;
}

std::string FrameTextLines(const ByteString& frame) {
    std::string hex;
    BytesToHexText(hex, frame);
    return hex + "\r\n" + Joined(hex, " ", "") + "\r\n" + Joined(hex, ", 0x", "0x");
}
