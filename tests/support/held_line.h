#pragma once
// A device that stops reading: the simulated module holds at the next chunk it reads, for as long
// as the hold lives, so the line fills and a write waits there for room.

#include <chrono>
#include <cstdint>
#include <memory>
#include <vector>

#include "link/serial_port.h"
#include "sim/sim_module.h"
#include "support/latch.h"

namespace testsupport {

class ModuleReadingHold {
public:
    explicit ModuleReadingHold(kvtsim::SimModule& sim) : m_sim(sim) {
        // The gate outlives the hold: the module's thread may still be leaving the tap.
        m_sim.SetByteTap([gate = m_gate](const kvtsim::Bytes&) { gate->Pass(); });
    }
    ~ModuleReadingHold() {
        m_sim.SetByteTap(nullptr);
        m_gate->Open();
    }
    ModuleReadingHold(const ModuleReadingHold&) = delete;
    ModuleReadingHold& operator=(const ModuleReadingHold&) = delete;

    // True once the module holds at a chunk it read; false when it read none within the bound.
    bool WaitUntilHeld(std::chrono::milliseconds bound) { return m_gate->WaitForArrival(bound); }

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
    kvtsim::SimModule& m_sim;
    std::shared_ptr<Latch> m_gate = std::make_shared<Latch>();
};

}  // namespace testsupport
