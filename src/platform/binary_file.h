#pragma once
// Binary files read by offset, without loading them whole. Writes go through TextFile's
// replacing mode, which writes bytes unchanged.

#include <cstddef>
#include <cstdint>
#include <string>

class BinaryReader {
public:
    BinaryReader() = default;
    ~BinaryReader() { Close(); }
    BinaryReader(const BinaryReader&) = delete;
    BinaryReader& operator=(const BinaryReader&) = delete;

    // Opens for reading only. False for a path that is empty, missing, unreadable or not a
    // regular file.
    bool Open(const std::string& path);
    bool IsOpen() const { return fd_ >= 0; }
    void Close();

    // The file's size in bytes; -1 when it is not open.
    int64_t Size() const;
    // Reads up to size bytes from offset into buffer. The count read is short only at the end
    // of the file or after a read error.
    size_t ReadAt(uint64_t offset, unsigned char* buffer, size_t size) const;

private:
    int fd_ = -1;
};
