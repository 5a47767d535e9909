#pragma once
// Remembers each thread a worker set starts while it lives, without holding it: a thread stays
// alive while its worker holds it, or the test keeps it.

#include <functional>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

#include "link/workers.h"
#include "platform/sync.h"

namespace testsupport {

class ThreadRecorder {
public:
    explicit ThreadRecorder(WorkerSet& workers) : m_workers(workers) {
        workers.SetLauncher([this](std::function<void()> procedure) {
            std::shared_ptr<WorkerThread> thread = WorkerThread::Start(std::move(procedure));
            std::lock_guard<std::mutex> lock(m_lock);
            m_started.push_back(thread);
            return thread;
        });
    }
    ~ThreadRecorder() { m_workers.SetLauncher(nullptr); }
    ThreadRecorder(const ThreadRecorder&) = delete;
    ThreadRecorder& operator=(const ThreadRecorder&) = delete;

    size_t Count() const {
        std::lock_guard<std::mutex> lock(m_lock);
        return m_started.size();
    }
    // The thread of start index while anyone holds it; nullptr once let go (or never started).
    std::shared_ptr<WorkerThread> Thread(size_t index) const {
        std::lock_guard<std::mutex> lock(m_lock);
        return index < m_started.size() ? m_started[index].lock() : nullptr;
    }
    std::shared_ptr<WorkerThread> Last() const {
        const size_t count = Count();
        return count == 0 ? nullptr : Thread(count - 1);
    }

private:
    WorkerSet& m_workers;
    mutable std::mutex m_lock;
    std::vector<std::weak_ptr<WorkerThread>> m_started;
};

}  // namespace testsupport
