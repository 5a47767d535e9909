#include "platform/text_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include "platform/gbk.h"

namespace {
// The process's umask, read without changing it (umask() would race with other threads).
mode_t CurrentUmask() {
    if (std::FILE* f = std::fopen("/proc/self/status", "r")) {
        char line[128];
        unsigned mask = 022;
        while (std::fgets(line, sizeof line, f))
            if (std::sscanf(line, "Umask: %o", &mask) == 1) break;
        std::fclose(f);
        return static_cast<mode_t>(mask);
    }
    return 022;
}
}  // namespace

TextFile::~TextFile() {
    if (temp_.empty())
        Close();
    else
        Discard();
}

bool TextFile::Open(const std::string& path, Mode mode) {
    if (temp_.empty())
        Close();
    else
        Discard();
    failed_ = false;
    if (mode == kReplace) {
        std::string temp = path + ".XXXXXX";
        const int fd = ::mkstemp(&temp[0]);
        if (fd < 0) return false;
        f_ = ::fdopen(fd, "wb");
        if (!f_) {
            ::close(fd);
            ::unlink(temp.c_str());
            return false;
        }
        ::fchmod(fd, 0666 & ~CurrentUmask());
        target_ = path;
        temp_ = temp;
        return true;
    }
    const char* m = mode == kRead ? "rb" : mode == kWrite ? "wb" : "ab";
    f_ = std::fopen(path.c_str(), m);
    return f_ != nullptr;
}

bool TextFile::Close() {
    if (!f_) return false;
    bool ok = !failed_ && std::fflush(f_) == 0 && !std::ferror(f_);
    ok = std::fclose(f_) == 0 && ok;
    f_ = nullptr;
    failed_ = false;
    if (!temp_.empty()) {
        if (ok) ok = ::rename(temp_.c_str(), target_.c_str()) == 0;
        if (!ok) ::unlink(temp_.c_str());
        temp_.clear();
        target_.clear();
    }
    return ok;
}

void TextFile::Discard() {
    if (f_) std::fclose(f_);
    f_ = nullptr;
    if (!temp_.empty()) ::unlink(temp_.c_str());
    temp_.clear();
    target_.clear();
    failed_ = false;
}

bool TextFile::Flush() {
    if (!f_) return false;
    if (std::fflush(f_) != 0) failed_ = true;
    return !failed_;
}

bool TextFile::ReadLine(std::string& line) {
    line.clear();
    if (!f_) return false;
    std::string raw;
    int c;
    bool any = false;
    while ((c = std::fgetc(f_)) != EOF) {
        any = true;
        if (c == '\n') break;
        raw.push_back(static_cast<char>(c));
    }
    if (!any) return false;
    if (!raw.empty() && raw.back() == '\r') raw.pop_back();
    line = GbkToUtf8(raw);
    return true;
}

bool TextFile::WriteString(const std::string& text) {
    if (!f_) return false;
    std::string out;
    out.reserve(text.size() + 16);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out.push_back('\r');
        out.push_back(text[i]);
    }
    return WriteRaw(Utf8ToGbk(out));
}

bool TextFile::WriteRaw(const std::string& bytes) { return WriteRaw(bytes.data(), bytes.size()); }

bool TextFile::WriteRaw(const void* bytes, size_t size) {
    if (!f_) return false;
    if (std::fwrite(bytes, 1, size, f_) != size) failed_ = true;
    return !failed_;
}

bool FileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

bool RemoveFile(const std::string& path) { return ::unlink(path.c_str()) == 0; }
