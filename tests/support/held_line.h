#pragma once
// A device that stops reading: the simulated module holds at the next chunk it reads, for as long
// as the hold lives, so the line fills and a write waits there for room.

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "link/serial_port.h"
#include "sim/sim_module.h"

namespace testsupport {

class ModuleReadingHold {
public:
    explicit ModuleReadingHold(kvtsim::SimModule& sim) : m_sim(sim) {
        // The gate outlives the hold: the module's thread may still be leaving the tap.
        m_sim.SetByteTap([gate = m_gate](const kvtsim::Bytes&) { gate->Wait(); });
    }
    ~ModuleReadingHold() {
        m_sim.SetByteTap(nullptr);
        m_gate->Open();
    }
    ModuleReadingHold(const ModuleReadingHold&) = delete;
    ModuleReadingHold& operator=(const ModuleReadingHold&) = delete;

    // Writes into the held line until it takes no more, without waiting for room; the port's
    // writes then wait up to waitMs. Whatever room the module's one chunk frees is left.
    static void Fill(CSerialPort& port, uint32_t waitMs) {
        port.SetWriteTimeout(0, 0);
        const std::vector<unsigned char> block(65536, 0);
        const int size = static_cast<int>(block.size());
        for (int i = 0; i < 1024 && port.Write(block.data(), block.size()) == size; ++i) {
        }
        port.SetWriteTimeout(0, waitMs);
    }

private:
    struct Gate {
        std::mutex lock;
        std::condition_variable changed;
        bool reading = false;
        void Wait() {
            std::unique_lock<std::mutex> guard(lock);
            changed.wait(guard, [this] { return reading; });
        }
        void Open() {
            {
                std::lock_guard<std::mutex> guard(lock);
                reading = true;
            }
            changed.notify_all();
        }
    };

    kvtsim::SimModule& m_sim;
    std::shared_ptr<Gate> m_gate = std::make_shared<Gate>();
};

}  // namespace testsupport
