#pragma once
// The communication object of the run: a serial port that hands every received byte on to
// the receive text that the gather thread drains.

#include <cstddef>
#include <functional>

#include "link/serial_port.h"

class CSerialComm : public CSerialPort {
public:
    // Receives every block the port reads, on the port's reader thread. The owner appends the
    // bytes to its receive text under its receive lock (ReceiveGatherer::Append does both).
    using ReceiveSink = std::function<void(const unsigned char* bytes, size_t count)>;

    explicit CSerialComm(ReceiveSink sink);
    ~CSerialComm() override;

    int OnReceive(const unsigned char* bytes, size_t count) override;

private:
    ReceiveSink m_sink;
};
