#pragma once
// Text files in GBK, as the tool's files are. Lines read end at LF or CRLF; lines written end in CRLF.

#include <cstdio>
#include <string>

class TextFile {
public:
    enum Mode { kRead, kWrite, kAppend };

    TextFile() = default;
    ~TextFile() { Close(); }
    TextFile(const TextFile&) = delete;
    TextFile& operator=(const TextFile&) = delete;

    bool Open(const std::string& path, Mode mode);
    bool IsOpen() const { return f_ != nullptr; }
    // False when the file was not open or a write or the close failed.
    bool Close();
    bool Flush();

    // Next line as UTF-8 without its line end; false at the end of the file.
    bool ReadLine(std::string& line);
    // Writes UTF-8 text as GBK; every "\n" not preceded by "\r" is written as "\r\n".
    // Writes are not buffered: false when the bytes did not reach the file.
    bool WriteString(const std::string& text);
    // Writes bytes unchanged.
    bool WriteRaw(const std::string& bytes);

private:
    std::FILE* f_ = nullptr;
    bool failed_ = false;  // a write failed since the file was opened
};

bool FileExists(const std::string& path);
bool RemoveFile(const std::string& path);
