#include "platform/text_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

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

// A file its owner may not write: kept from replacing and deleting, whoever runs the program.
bool ReadOnlyFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
           ((st.st_mode & S_IWUSR) == 0 || ::access(path.c_str(), W_OK) != 0);
}

// A temporary name beside path, short enough for any file name the folder takes.
std::string TemporaryBeside(const std::string& path) {
    const size_t slash = path.rfind('/');
    return (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + ".~XXXXXX";
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
        if (ReadOnlyFile(path)) return false;
        std::string temp = TemporaryBeside(path);
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
    if (mode == kRead) {
        // Not blocking: opening a FIFO would wait for a writer.
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
        if (fd < 0) return false;
        struct stat st {};
        if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || !(f_ = ::fdopen(fd, "rb"))) {
            ::close(fd);
            return false;
        }
        return true;
    }
    f_ = std::fopen(path.c_str(), mode == kWrite ? "wb" : "ab");
    return f_ != nullptr;
}

bool TextFile::Close() {
    if (!f_) return false;
    bool ok = !failed_ && std::fflush(f_) == 0 && !std::ferror(f_);
    ok = std::fclose(f_) == 0 && ok;
    f_ = nullptr;
    failed_ = false;
    inPos_ = inEnd_ = 0;
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
    inPos_ = inEnd_ = 0;
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

bool TextFile::FillInput() {
    constexpr size_t kInputBytes = 1 << 16;
    if (!in_) in_.reset(new char[kInputBytes]);
    inPos_ = 0;
    inEnd_ = std::fread(in_.get(), 1, kInputBytes, f_);
    return inEnd_ > 0;
}

bool TextFile::ReadLine(std::string& line) {
    line.clear();
    tooLong_ = false;
    if (!f_) return false;
    bool any = false;
    for (;;) {
        if (inPos_ == inEnd_ && !FillInput()) break;
        any = true;
        const char* const p = in_.get() + inPos_;
        const size_t n = inEnd_ - inPos_;
        const char* const lineEnd = static_cast<const char*>(std::memchr(p, '\n', n));
        const size_t take = lineEnd ? static_cast<size_t>(lineEnd - p) : n;
        inPos_ += lineEnd ? take + 1 : take;
        // One byte over the bound: the CR of a line of kMaxLineBytes still fits.
        if (!tooLong_ && line.size() + take > kMaxLineBytes + 1) {
            tooLong_ = true;
            std::string().swap(line);
        }
        if (!tooLong_) line.append(p, take);
        if (lineEnd) break;
    }
    if (!any) return false;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() > kMaxLineBytes) {
        tooLong_ = true;
        std::string().swap(line);
    }
    line = GbkToUtf8(line);
    return true;
}

size_t TextFile::SkipRemainingLines() {
    if (!f_) return 0;
    size_t lines = 0;
    bool open = false;  // bytes taken since the last line end
    while (inPos_ < inEnd_ || FillInput()) {
        const char* p = in_.get() + inPos_;
        const char* const end = in_.get() + inEnd_;
        while (const void* found = std::memchr(p, '\n', static_cast<size_t>(end - p))) {
            ++lines;
            p = static_cast<const char*>(found) + 1;
        }
        open = p != end;
        inPos_ = inEnd_;
    }
    return lines + (open ? 1 : 0);
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

bool RemoveFile(const std::string& path) { return !ReadOnlyFile(path) && ::unlink(path.c_str()) == 0; }
