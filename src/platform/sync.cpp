#include "platform/sync.h"

#include <sched.h>

#include <algorithm>
#include <atomic>
#include <chrono>

void AutoResetEvent::Set() {
    {
        std::lock_guard<std::mutex> lock(m_);
        signalled_ = true;
    }
    cv_.notify_all();
}

void AutoResetEvent::Reset() {
    std::lock_guard<std::mutex> lock(m_);
    signalled_ = false;
}

bool AutoResetEvent::Wait(uint32_t timeoutMs) {
    std::unique_lock<std::mutex> lock(m_);
    if (timeoutMs == kWaitInfinite) {
        cv_.wait(lock, [this] { return signalled_; });
    } else if (!cv_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] { return signalled_; })) {
        return false;
    }
    signalled_ = false;
    return true;
}

int WaitForAnyEvent(const std::vector<AutoResetEvent*>& events, uint32_t timeoutMs) {
    // Polls in short slices: the events keep independent locks.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        for (size_t i = 0; i < events.size(); ++i) {
            std::lock_guard<std::mutex> lock(events[i]->m_);
            if (events[i]->signalled_) {
                events[i]->signalled_ = false;
                return static_cast<int>(i);
            }
        }
        if (timeoutMs != kWaitInfinite && std::chrono::steady_clock::now() >= deadline) return kWaitTimeout;
        if (!events.empty()) {
            std::unique_lock<std::mutex> lock(events[0]->m_);
            events[0]->cv_.wait_for(lock, std::chrono::milliseconds(1), [&] { return events[0]->signalled_; });
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
}

void SleepMs(uint32_t ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

unsigned AllowedCpuCount() {
    cpu_set_t set;
    CPU_ZERO(&set);
    if (sched_getaffinity(0, sizeof(set), &set) == 0) return static_cast<unsigned>(std::max(1, CPU_COUNT(&set)));
    return std::max(1u, std::thread::hardware_concurrency());
}

namespace {
std::atomic<void (*)()> g_workerEndHook{nullptr};
}  // namespace

void SetWorkerEndHook(void (*hook)()) { g_workerEndHook = hook; }

std::shared_ptr<WorkerThread> WorkerThread::Start(std::function<void()> procedure) {
    std::shared_ptr<WorkerThread> t(new WorkerThread());
    t->state_ = std::make_shared<State>();
    std::shared_ptr<State> state = t->state_;
    try {
        t->thread_ = std::thread([state, procedure = std::move(procedure)] {
            procedure();
            {
                std::lock_guard<std::mutex> lock(state->m);
                state->finished = true;
            }
            state->cv.notify_all();
            // A stop routine may wait for this end in the window's event loop.
            if (void (*hook)() = g_workerEndHook.load()) hook();
        });
    } catch (const std::system_error&) {
        return nullptr;
    }
    t->id_ = t->thread_.get_id();
    return t;
}

WorkerThread::~WorkerThread() {
    if (thread_.joinable()) {
        if (thread_.get_id() == std::this_thread::get_id() || !state_->finished)
            thread_.detach();
        else
            thread_.join();
    }
}

bool WorkerThread::Join(uint32_t timeoutMs) {
    {
        std::unique_lock<std::mutex> lock(state_->m);
        if (timeoutMs == kWaitInfinite)
            state_->cv.wait(lock, [this] { return state_->finished.load(); });
        else if (!state_->cv.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                      [this] { return state_->finished.load(); }))
            return false;
    }
    if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id()) thread_.join();
    return true;
}
