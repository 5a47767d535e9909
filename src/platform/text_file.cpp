#include "platform/text_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include "platform/gbk.h"

bool TextFile::Open(const std::string& path, Mode mode) {
    Close();
    const char* m = mode == kRead ? "rb" : mode == kWrite ? "wb" : "ab";
    f_ = std::fopen(path.c_str(), m);
    failed_ = false;
    // Each write goes to the file at once, so its failure is seen by its caller.
    if (f_ && mode != kRead) std::setvbuf(f_, nullptr, _IONBF, 0);
    return f_ != nullptr;
}

bool TextFile::Close() {
    if (!f_) return false;
    const bool closed = std::fclose(f_) == 0;
    f_ = nullptr;
    return closed && !failed_;
}

bool TextFile::Flush() {
    return f_ && std::fflush(f_) == 0 && !failed_;
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

bool TextFile::WriteRaw(const std::string& bytes) {
    if (!f_) return false;
    if (std::fwrite(bytes.data(), 1, bytes.size(), f_) == bytes.size()) return true;
    failed_ = true;
    return false;
}

bool FileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

bool RemoveFile(const std::string& path) { return ::unlink(path.c_str()) == 0; }
