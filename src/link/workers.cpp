#include "link/workers.h"

#include <utility>

int WorkerSet::Start(Worker& worker, std::function<void()> procedure, const std::string& errorText) {
    if (worker.m_thread && !worker.m_thread->IsFinished()) {
        if (worker.IsRunning()) return 1;
        Stop(worker);
    }
    worker.m_run = 1;
    worker.m_thread = m_launcher ? m_launcher(std::move(procedure)) : WorkerThread::Start(std::move(procedure));
    if (!worker.m_thread) {
        // A thread that never started is not running.
        worker.m_run = 0;
        if (m_startFailure) m_startFailure(errorText);
        return 0;
    }
    return 1;
}

void WorkerSet::Stop(Worker& worker) {
    worker.m_run = 0;
    if (!worker.m_thread) return;
    const std::shared_ptr<WorkerThread> thread = worker.m_thread;
    if (m_wait) m_wait([&thread] { return thread->IsFinished(); });
    thread->Join();
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
