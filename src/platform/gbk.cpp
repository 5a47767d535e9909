#include "platform/gbk.h"

#include <iconv.h>

#include <cerrno>

namespace {

// iconv descriptors are not thread-safe; each conversion opens its own.
std::string Convert(const char* to, const char* from, const std::string& in) {
    std::string out;
    if (in.empty()) return out;
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return in;
    out.reserve(in.size() * 2);
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    char buf[1024];
    while (srcLeft > 0) {
        char* dst = buf;
        size_t dstLeft = sizeof buf;
        const size_t rc = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        out.append(buf, static_cast<size_t>(dst - buf));
        if (rc == static_cast<size_t>(-1)) {
            if (errno == E2BIG) continue;
            // Invalid or incomplete sequence: replace one byte and go on.
            out.push_back('?');
            if (from[0] == 'U') {
                // Skip the whole UTF-8 character.
                ++src;
                --srcLeft;
                while (srcLeft > 0 && (static_cast<unsigned char>(*src) & 0xC0) == 0x80) {
                    ++src;
                    --srcLeft;
                }
            } else {
                ++src;
                --srcLeft;
            }
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    iconv_close(cd);
    return out;
}

bool IsAscii(const std::string& text) {
    for (unsigned char c : text)
        if (c >= 0x80) return false;
    return true;
}

}  // namespace

// ASCII is the same in both: no conversion.
std::string Utf8ToGbk(const std::string& utf8) { return IsAscii(utf8) ? utf8 : Convert("GBK", "UTF-8", utf8); }

std::string GbkToUtf8(const std::string& gbk) { return IsAscii(gbk) ? gbk : Convert("UTF-8", "GBK", gbk); }

size_t GbkLength(const std::string& utf8) { return IsAscii(utf8) ? utf8.size() : Utf8ToGbk(utf8).size(); }
