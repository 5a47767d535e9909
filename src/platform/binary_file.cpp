#include "platform/binary_file.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

bool BinaryReader::Open(const std::string& path) {
    Close();
    if (path.empty()) return false;
    // Without blocking: a FIFO or a device is refused, not waited on.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return false;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    return true;
}

void BinaryReader::Close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

int64_t BinaryReader::Size() const {
    struct stat st {};
    if (fd_ < 0 || ::fstat(fd_, &st) != 0) return -1;
    return static_cast<int64_t>(st.st_size);
}

size_t BinaryReader::ReadAt(uint64_t offset, unsigned char* buffer, size_t size) const {
    if (fd_ < 0) return 0;
    size_t done = 0;
    while (done < size) {
        const ssize_t n = ::pread(fd_, buffer + done, size - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += static_cast<size_t>(n);
    }
    return done;
}
