#pragma once
// A FIFO for a test of code that must refuse it, and a watchdog that frees a reader held in its
// open: once the bound has passed and the watchdog is still alive, it opens and closes the
// writing end again and again, so the reader sees an empty file. A fault makes the test fail
// instead of hang.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

namespace testsupport {

class FifoWatchdog {
public:
    FifoWatchdog(std::string path, std::chrono::seconds bound) : m_path(std::move(path)), m_bound(bound) {
        m_made = ::mkfifo(m_path.c_str(), 0600) == 0;
        m_thread = std::thread([this] { Run(); });
    }
    ~FifoWatchdog() {
        {
            std::lock_guard<std::mutex> lock(m_lock);
            m_done = true;
        }
        m_wake.notify_all();
        m_thread.join();
        ::unlink(m_path.c_str());
    }
    FifoWatchdog(const FifoWatchdog&) = delete;
    FifoWatchdog& operator=(const FifoWatchdog&) = delete;

    bool Made() const { return m_made; }
    // Whether a reader held in its open had to be freed.
    bool Freed() {
        std::lock_guard<std::mutex> lock(m_lock);
        return m_freed;
    }
    const std::string& Path() const { return m_path; }

private:
    void Run() {
        std::unique_lock<std::mutex> lock(m_lock);
        if (m_wake.wait_for(lock, m_bound, [this] { return m_done; })) return;
        while (!m_done) {
            const int fd = ::open(m_path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);  // fails while no reader
            if (fd >= 0) {
                m_freed = true;
                ::close(fd);
            }
            m_wake.wait_for(lock, std::chrono::milliseconds(50), [this] { return m_done; });
        }
    }

    std::string m_path;
    std::chrono::seconds m_bound;
    bool m_made = false;
    bool m_done = false;
    bool m_freed = false;
    std::mutex m_lock;
    std::condition_variable m_wake;
    std::thread m_thread;
};

}  // namespace testsupport
