#pragma once
// Locks, events, sleeping and worker threads.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

// A recursive lock, held by one thread at a time.
class CriticalSection {
public:
    void Lock() { m_.lock(); }
    void Unlock() { m_.unlock(); }

private:
    std::recursive_mutex m_;
};

// Holds a CriticalSection for the life of the guard.
class LockGuard {
public:
    explicit LockGuard(CriticalSection& cs) : cs_(cs) { cs_.Lock(); }
    ~LockGuard() { cs_.Unlock(); }
    LockGuard(const LockGuard&) = delete;
    LockGuard& operator=(const LockGuard&) = delete;

private:
    CriticalSection& cs_;
};

constexpr uint32_t kWaitInfinite = 0xFFFFFFFFu;
constexpr int kWaitTimeout = -1;

// An event that lets one waiter through per Set, then resets itself.
class AutoResetEvent {
public:
    void Set();
    void Reset();
    // True when signalled within the time (the signal is consumed), false on time-out.
    bool Wait(uint32_t timeoutMs);

private:
    friend int WaitForAnyEvent(const std::vector<AutoResetEvent*>& events, uint32_t timeoutMs);
    std::mutex m_;
    std::condition_variable cv_;
    bool signalled_ = false;
};

// Waits until one of the events is signalled; returns its index (that event is reset), or
// kWaitTimeout. When several are signalled the lowest index wins.
int WaitForAnyEvent(const std::vector<AutoResetEvent*>& events, uint32_t timeoutMs);

void SleepMs(uint32_t ms);

// The CPUs the calling thread may run on (its affinity, not the machine's count); at least 1.
unsigned AllowedCpuCount();

// Called on every worker thread as its procedure ends (the application has it wake the waits of
// the user-interface thread); nullptr for none.
void SetWorkerEndHook(void (*hook)());

// A worker thread running one procedure. The object may be dropped while the thread runs;
// the thread then finishes on its own.
class WorkerThread {
public:
    // Starts the procedure on a new thread; nullptr when the thread could not be created.
    static std::shared_ptr<WorkerThread> Start(std::function<void()> procedure);

    ~WorkerThread();
    bool IsFinished() const { return state_->finished.load(); }
    // Waits for the end of the procedure; false on time-out.
    bool Join(uint32_t timeoutMs = kWaitInfinite);

private:
    struct State {
        std::atomic<bool> finished{false};
        std::mutex m;
        std::condition_variable cv;
    };
    WorkerThread() = default;
    std::shared_ptr<State> state_;
    std::thread thread_;
    std::thread::id id_;
};
