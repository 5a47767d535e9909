#pragma once
// A serial line on a termios device: raw mode, an exclusive lock and exclusive mode, a reader
// thread on poll() that hands every block of received bytes to OnReceive, and writes serialised
// by a mutex. Only a hang-up, a read error or a vanished device closes the line: a read that
// finds nothing (another program took the bytes) does not.
//
// Port numbers stay "COM%d" for the user. ResolvePortPath gives the device of a number:
//   - the environment variable KVT_COM<n> (for example KVT_COM5=/dev/pts/3) wins;
//   - otherwise COM1-COM9 are /dev/ttyS0-/dev/ttyS8 (on-board ports),
//     COM10-COM49 are /dev/ttyUSB0-/dev/ttyUSB39 (USB adapters),
//     COM50-COM99 are /dev/ttyACM0-/dev/ttyACM49 (USB modems and boards).

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <termios.h>

// Results of the port routines.
enum SerialError : int {
    SERIAL_OK = 0,
    SERIAL_CANNOT_OPEN = 8010,      // missing, no permission, or held by another program
    SERIAL_WRONG_STATE = 8012,      // open on an open port; read, write or close on a closed one
    SERIAL_TIMEOUTS_FAILED = 9001,  // the device takes no line settings (not a terminal)
    SERIAL_SETTINGS_FAILED = 9003,  // baud rate, data bits or parity refused
    SERIAL_THREAD_FAILED = 1004,    // the reader thread could not be started
};

enum PortState : uint32_t {
    PORT_OPEN = 128,
    PORT_CLOSED = 129,
};

// What went wrong last, in words the window can show (LastErrorText).
enum class SerialFault {
    None,
    NoDevice,          // no device behind the port number, or the path does not exist
    PermissionDenied,  // the user is not in the dialout group
    Busy,              // another program (or another port object) holds the device
    OpenFailed,        // any other failure of open()
    NotSerial,         // the path is not a terminal
    BadSettings,       // the line settings were refused
    ThreadFailed,      // the reader thread did not start
    NotOpen,           // the routine needs an open port
    AlreadyOpen,       // Open on an open port
    WriteFailed,       // a write error or the write time-out
    HungUp,            // the device went away (unplugged) or the line hung up
};

// Longest block handed to OnReceive.
constexpr size_t kSerialReadBufferSize = 2000;

// Raw mode with the given line settings on top of tio (VMIN 0, VTIME 0, no flow control).
// parity: 0 none, 1 odd, 2 even. The last character of stopBits decides: '1' one stop bit,
// '5' or '2' two (Linux has no one and a half); any other text keeps tio's setting.
// False when the baud rate, data bits or parity cannot be set.
bool MakeLineSettings(termios& tio, uint32_t baud, uint32_t dataBits, uint32_t parity, const std::string& stopBits);

class CSerialPort {
public:
    CSerialPort();
    virtual ~CSerialPort();

    CSerialPort(const CSerialPort&) = delete;
    CSerialPort& operator=(const CSerialPort&) = delete;

    // Resolves the port number, stores the settings and opens the port. parity: 0 none, 1 odd,
    // 2 even. stopBits: "1", "1.5" or "2" (one and a half stop bits are sent as two).
    int Open(int portNumber, uint32_t baud, uint32_t dataBits, uint32_t parity, const std::string& stopBits);
    // Stops the reader (waits for it), drops DTR and RTS and releases the device.
    // Also releases a port whose line hung up. Must not be called from OnReceive or from the
    // hang-up handler.
    int Close();
    // Writes the bytes; returns the number written, or 8012 when the port is not open. A write
    // still unfinished after its time-out (kWriteMsPerByte a byte plus kWriteExtraMs) returns
    // the number that went out.
    int Write(const unsigned char* bytes, size_t count);
    static constexpr uint32_t kWriteMsPerByte = 50;
    static constexpr uint32_t kWriteExtraMs = 2000;
    // Another write time-out (tests shorten it).
    void SetWriteTimeout(uint32_t msPerByte, uint32_t extraMs) {
        m_writeMsPerByte = msPerByte;
        m_writeExtraMs = extraMs;
    }
    // Writes waiting now for a full line to take more of their bytes.
    uint32_t WritesWaiting() const { return m_writesWaiting.load(); }
    // One read of what is queued; returns the number of bytes read, or 8012 when not open.
    int Read(unsigned char* buffer, size_t count);

    // Called on the reader thread with every block received (at most 2000 bytes). A class that
    // overrides it calls Close in its own destructor, so the reader stops before it goes away.
    virtual int OnReceive(const unsigned char* bytes, size_t count);

    bool IsOpen() const { return m_state.load() == PORT_OPEN; }
    uint32_t State() const { return m_state.load(); }
    // True once the line hung up while open, until the next Open.
    bool HasHungUp() const { return m_hungUp.load(); }
    // Called on the reader thread when the line hangs up; the port then reads as closed.
    // Post to the window from here; do not close or delete the port in it. Set before Open.
    void SetHangUpHandler(std::function<void()> handler);

    const std::string& DevicePath() const { return m_devicePath; }

    SerialFault LastFault() const;
    // The message for the last fault ("" when there is none).
    std::string LastErrorText() const;

    // The device path of port n ("" when n has none).
    static std::string ResolvePortPath(int portNumber);
    // True when the port's device can be opened and locked now (it is released again at once).
    static bool ProbePort(int portNumber);
    // The port as the user knows it, its device after it: "COM3 (/dev/ttyUSB0)".
    static std::string PortLabel(int portNumber, const std::string& devicePath);
    // The message for a fault on a port (named by its label).
    static std::string FaultText(SerialFault fault, const std::string& port, int sysError);

protected:
    int OpenPort();
    int ClosePort();
    int WriteBlock(const unsigned char* bytes, size_t count);
    // Raw mode with the stored baud rate, data bits, parity and stop bits; false when refused.
    bool ApplyCommState();

private:
    void ReceiveThreadProc();
    void SetFault(SerialFault fault, int sysError);
    void ReleaseDevice();

    int m_portNumber = 0;
    std::string m_devicePath;
    std::string m_stopBits = "1";
    uint32_t m_baudRate = 9600;
    uint32_t m_dataBits = 8;
    uint32_t m_parity = 0;

    std::vector<unsigned char> m_readBuffer;
    bool m_buffersMade = false;

    int m_fd = -1;                  // changed only under m_writeLock, while no reader runs
    int m_stopPipe[2] = {-1, -1};  // a byte on it ends the reader
    std::thread m_receiveThread;
    std::atomic<uint32_t> m_state{PORT_CLOSED};
    std::atomic<bool> m_hungUp{false};
    std::atomic<uint32_t> m_writeMsPerByte{kWriteMsPerByte};
    std::atomic<uint32_t> m_writeExtraMs{kWriteExtraMs};
    std::atomic<uint32_t> m_writesWaiting{0};

    std::mutex m_writeLock;
    mutable std::mutex m_faultLock;
    SerialFault m_fault = SerialFault::None;
    int m_faultErrno = 0;
    std::function<void()> m_hangUpHandler;
};
