#pragma once
// The worker threads: one shape of start, stop and procedure for every long-running job.

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "platform/sync.h"

// One job's thread and its run flag: 1 while the thread is to run.
class Worker {
public:
    bool IsRunning() const { return m_run.load() != 0; }
    // Clears the run flag without waiting: the thread ends at its next look at the flag.
    void RequestStop() { m_run = 0; }
    // The thread of the last start (nullptr before the first, or once stopped).
    std::shared_ptr<WorkerThread> Thread() const {
        std::lock_guard<std::mutex> lock(m_threadLock);
        return m_thread;
    }

private:
    friend class WorkerSet;
    void SetThread(std::shared_ptr<WorkerThread> thread) {
        std::lock_guard<std::mutex> lock(m_threadLock);
        m_thread = std::move(thread);
    }

    std::atomic<uint32_t> m_run{0};
    mutable std::mutex m_threadLock;  // m_thread: a stop may look while another thread starts
    std::shared_ptr<WorkerThread> m_thread;
};

class WorkerSet {
public:
    // Waits until finished() is true. The window's wait pumps its messages on its own thread,
    // since a worker may be blocked on a message sent to it.
    using Wait = std::function<void(const std::function<bool()>& finished)>;
    // Shows the error text of a thread that did not start.
    using StartFailure = std::function<void(const std::string& text)>;
    // Starts a thread running the procedure; nullptr when it could not be started.
    using Launcher = std::function<std::shared_ptr<WorkerThread>(std::function<void()> procedure)>;

    void SetWait(Wait wait) { m_wait = std::move(wait); }
    void SetStartFailure(StartFailure report) { m_startFailure = std::move(report); }
    // Replaces WorkerThread::Start (nullptr restores it); tests use it to make a start fail.
    void SetLauncher(Launcher launcher) { m_launcher = std::move(launcher); }

    // Sets the run flag and starts the procedure. A running thread of the worker goes on (1);
    // one that is ending is waited for first. 0, with the flag cleared and the error text
    // reported, when the thread could not be started; 0, with nothing reported, once closed.
    int Start(Worker& worker, std::function<void()> procedure, const std::string& errorText);
    // The window is closing: no thread starts from now on. A start whose stop pumped the close
    // looks here before it changes anything.
    void Close() { m_closed = true; }
    bool IsClosed() const { return m_closed.load(); }
    // Clears the run flag and waits until the thread has ended.
    void Stop(Worker& worker);

    // A procedure that runs job once per start: sleep 1 ms, job, clear the flag.
    static std::function<void()> OneShot(Worker& worker, std::function<void()> job);

private:
    Wait m_wait;
    StartFailure m_startFailure;
    Launcher m_launcher;
    std::atomic<bool> m_closed{false};
};
