#pragma once
// Text files in GBK, as the tool's files are. Lines read end at LF or CRLF; lines written end in CRLF.

#include <cstdio>
#include <memory>
#include <string>

class TextFile {
public:
    // kReplace writes to a temporary file beside the target; Close() renames it over the target
    // only when every write, the flush and the close succeeded. A replacing file that is not
    // closed (an early return) leaves the target as it was. A read-only target is refused.
    enum Mode { kRead, kWrite, kAppend, kReplace };

    TextFile() = default;
    ~TextFile();
    TextFile(const TextFile&) = delete;
    TextFile& operator=(const TextFile&) = delete;

    // kRead opens regular files only, without waiting: a folder, a FIFO or a device is refused.
    bool Open(const std::string& path, Mode mode);
    bool IsOpen() const { return f_ != nullptr; }
    // False when the file was not open, or a write, the flush or the close failed (a full disk
    // may show here, not earlier).
    bool Close();
    bool Flush();

    // Lines longer than this (in the file's bytes, line end excluded) are passed over, not held.
    static constexpr size_t kMaxLineBytes = 1 << 20;

    // Next line as UTF-8 without its line end; false at the end of the file. A line longer than
    // kMaxLineBytes is read to its end and dropped: line is empty and LineTooLong() true.
    bool ReadLine(std::string& line);
    bool LineTooLong() const { return tooLong_; }
    // Reads to the end of the file; the lines passed (a last one without a line end included).
    size_t SkipRemainingLines();
    // Writes UTF-8 text as GBK; every "\n" not preceded by "\r" is written as "\r\n".
    bool WriteString(const std::string& text);
    // Writes bytes unchanged.
    bool WriteRaw(const std::string& bytes);
    bool WriteRaw(const void* bytes, size_t size);

private:
    void Discard();
    // Reads the next piece of the file into in_; false at its end.
    bool FillInput();

    std::FILE* f_ = nullptr;
    bool failed_ = false;
    bool tooLong_ = false;
    std::unique_ptr<char[]> in_;  // kRead: bytes read ahead, in_[inPos_, inEnd_) not yet taken
    size_t inPos_ = 0;
    size_t inEnd_ = 0;
    std::string target_;  // kReplace: the file to replace on Close
    std::string temp_;    // kReplace: the file written
};

bool FileExists(const std::string& path);
// False for a read-only file, which is kept.
bool RemoveFile(const std::string& path);
