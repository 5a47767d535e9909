#pragma once
// The serial channel: a serial port that hands every received byte on to its receive handler.

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

#include "link/channel.h"
#include "link/serial_port.h"

// The line settings the serial channel opens with.
struct SerialSettings {
    int portNumber = 0;
    uint32_t baudRate = 115200;
    uint32_t dataBits = 8;
    uint32_t parity = 0;  // 0 none, 1 odd, 2 even
    std::string stopBits = "1";
};

class CSerialComm : public CSerialPort, public Channel {
public:
    using ReceiveSink = Channel::ReceiveHandler;

    explicit CSerialComm(ReceiveSink sink = nullptr);
    ~CSerialComm() override;

    void SetSettings(const SerialSettings& settings) { m_settings = settings; }
    const SerialSettings& Settings() const { return m_settings; }

    // Opens the port with the settings held.
    int Open() override;
    using CSerialPort::Open;
    int Close() override { return CSerialPort::Close(); }
    int Write(const unsigned char* bytes, size_t count) override { return CSerialPort::Write(bytes, count); }
    // A closed port sends nothing.
    int Send(const unsigned char* bytes, size_t count) override;
    bool IsStream() const override { return true; }
    bool IsOpen() const override { return CSerialPort::IsOpen(); }
    bool HasHungUp() const override { return CSerialPort::HasHungUp(); }
    std::string LastErrorText() const override { return CSerialPort::LastErrorText(); }
    void SetReceiveHandler(ReceiveHandler handler) override { m_sink = std::move(handler); }
    void SetHangUpHandler(HangUpHandler handler) override { CSerialPort::SetHangUpHandler(std::move(handler)); }

    int OnReceive(const unsigned char* bytes, size_t count) override;

private:
    ReceiveSink m_sink;
    SerialSettings m_settings;
};
