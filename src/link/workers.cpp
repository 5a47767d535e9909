#include "link/workers.h"

#include <utility>

int WorkerSet::Start(Worker& worker, std::function<void()> procedure, const std::string& errorText) {
    const std::shared_ptr<WorkerThread> current = worker.Thread();
    if (current && !current->IsFinished()) {
        if (worker.IsRunning()) return 1;
        Stop(worker);
    }
    if (m_closed) return 0;  // the stop above may have pumped the close
    worker.m_run = 1;
    std::shared_ptr<WorkerThread> thread =
        m_launcher ? m_launcher(std::move(procedure)) : WorkerThread::Start(std::move(procedure));
    const bool started = thread != nullptr;
    worker.SetThread(std::move(thread));
    if (!started) {
        // A thread that never started is not running.
        worker.m_run = 0;
        if (m_startFailure) m_startFailure(errorText);
        return 0;
    }
    return 1;
}

void WorkerSet::Stop(Worker& worker) {
    worker.m_run = 0;
    const std::shared_ptr<WorkerThread> thread = worker.Thread();
    if (!thread) return;
    if (m_wait) m_wait([&thread] { return thread->IsFinished(); });
    thread->Join();
    std::lock_guard<std::mutex> lock(worker.m_threadLock);
    if (worker.m_thread == thread) worker.m_thread.reset();
}

std::function<void()> WorkerSet::OneShot(Worker& worker, std::function<void()> job) {
    return [&worker, job = std::move(job)] {
        while (worker.IsRunning()) {
            SleepMs(1);
            job();
            worker.m_run = 0;
        }
    };
}
