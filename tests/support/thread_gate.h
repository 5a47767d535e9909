#pragma once
// Holds every thread a worker set starts, before its work, until the gate opens: a stop of it
// waits, pumping the window's messages, for as long as the test needs. Counts the starts. The
// gate opens on every way out, so no thread stays held.

#include <atomic>
#include <cstddef>
#include <functional>
#include <memory>
#include <utility>

#include "link/workers.h"
#include "platform/sync.h"
#include "support/latch.h"

namespace testsupport {

class ThreadGate {
public:
    explicit ThreadGate(WorkerSet& workers) : m_workers(workers) {
        workers.SetLauncher([state = m_state](std::function<void()> procedure) {
            ++state->starts;
            return WorkerThread::Start([state, procedure = std::move(procedure)] {
                state->gate.Pass();
                procedure();
            });
        });
    }
    ~ThreadGate() {
        Open();
        m_workers.SetLauncher(nullptr);
    }
    ThreadGate(const ThreadGate&) = delete;
    ThreadGate& operator=(const ThreadGate&) = delete;

    // Lets every held thread go, and every later one at once.
    void Open() { m_state->gate.Open(); }
    // The task that opens it, for a test to post.
    std::function<void()> Opener() const {
        return [state = m_state] { state->gate.Open(); };
    }
    size_t Starts() const { return m_state->starts.load(); }

private:
    // Shared with the threads: a thread may still leave the gate after the test has ended.
    struct State {
        Latch gate;
        std::atomic<size_t> starts{0};
    };
    WorkerSet& m_workers;
    std::shared_ptr<State> m_state = std::make_shared<State>();
};

}  // namespace testsupport
