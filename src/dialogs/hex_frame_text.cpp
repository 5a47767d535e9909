#include "dialogs/hex_frame_text.h"

#include <algorithm>
#include <cctype>

#include "link/conversions.h"
#include "platform/ui.h"

bool ParseHexFrameText(const std::string& text, ByteString& bytes) {
    std::string digits;
    for (char c : text)
        if (c != ' ') digits += c;
    const bool hex = std::all_of(digits.begin(), digits.end(), [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); });
    if (digits.size() % 2 != 0 || !hex) {
        ShowMessageBox("非有效16进制报文!");
        return false;
    }
    bytes.clear();
    HexTextToBytes(digits, bytes, 0);
    return true;
}
