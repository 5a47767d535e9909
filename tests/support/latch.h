#pragma once
// A gate that threads wait at until the test opens it; the test can wait until one has come to
// it. Shared by pointer with the threads it holds: one may still be leaving it after the test.

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <mutex>

namespace testsupport {

class Latch {
public:
    // Notes the arrival, then waits until the gate opens.
    void Pass() {
        std::unique_lock<std::mutex> lock(m_lock);
        ++m_arrivals;
        m_changed.notify_all();
        m_changed.wait(lock, [this] { return m_open; });
    }
    // Lets every waiting thread go, and every later one at once.
    void Open() {
        {
            std::lock_guard<std::mutex> lock(m_lock);
            m_open = true;
        }
        m_changed.notify_all();
    }
    // True once a thread has come to the gate; false when none came within the bound.
    bool WaitForArrival(std::chrono::milliseconds bound) {
        std::unique_lock<std::mutex> lock(m_lock);
        return m_changed.wait_for(lock, bound, [this] { return m_arrivals > 0; });
    }

private:
    std::mutex m_lock;
    std::condition_variable m_changed;
    bool m_open = false;
    size_t m_arrivals = 0;
};

}  // namespace testsupport
