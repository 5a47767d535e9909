#include "link/serial_comm.h"

#include <utility>

CSerialComm::CSerialComm(ReceiveSink sink) : m_sink(std::move(sink)) {}

CSerialComm::~CSerialComm() {
    // Stop the reader while OnReceive and the sink still exist.
    CSerialPort::Close();
}

int CSerialComm::Open() {
    return CSerialPort::Open(m_settings.portNumber, m_settings.baudRate, m_settings.dataBits, m_settings.parity,
                             m_settings.stopBits);
}

int CSerialComm::Send(const unsigned char* bytes, size_t count) {
    const int n = Write(bytes, count);
    return n == SERIAL_WRONG_STATE && !IsOpen() ? 0 : n;
}

int CSerialComm::OnReceive(const unsigned char* bytes, size_t count) {
    if (m_sink && count > 0) m_sink(bytes, count);
    return 0;
}
