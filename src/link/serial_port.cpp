#include "link/serial_port.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <system_error>

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

bool BaudToSpeed(uint32_t baud, speed_t& speed) {
    struct Entry {
        uint32_t baud;
        speed_t speed;
    };
    static const Entry kSpeeds[] = {
        {50, B50},           {75, B75},           {110, B110},         {134, B134},
        {150, B150},         {200, B200},         {300, B300},         {600, B600},
        {1200, B1200},       {1800, B1800},       {2400, B2400},       {4800, B4800},
        {9600, B9600},       {19200, B19200},     {38400, B38400},     {57600, B57600},
        {115200, B115200},   {230400, B230400},   {460800, B460800},   {500000, B500000},
        {576000, B576000},   {921600, B921600},   {1000000, B1000000}, {1152000, B1152000},
        {1500000, B1500000}, {2000000, B2000000}, {2500000, B2500000}, {3000000, B3000000},
        {3500000, B3500000}, {4000000, B4000000},
    };
    for (const Entry& e : kSpeeds) {
        if (e.baud == baud) {
            speed = e.speed;
            return true;
        }
    }
    return false;
}

SerialFault OpenFault(int err) {
    switch (err) {
    case EACCES:
    case EPERM:
        return SerialFault::PermissionDenied;
    case ENOENT:
    case ENODEV:
    case ENXIO:
    case ENOTDIR:
    case EIO:  // a ttyS node without a port behind it
        return SerialFault::NoDevice;
    case EBUSY:
        return SerialFault::Busy;
    default:
        return SerialFault::OpenFailed;
    }
}

void CloseFd(int& fd) {
    if (fd >= 0) {
        ::close(fd);
        fd = -1;
    }
}

}  // namespace

CSerialPort::CSerialPort() = default;

CSerialPort::~CSerialPort() {
    // A derived class closes in its own destructor, before its OnReceive goes away.
    Close();
}

std::string CSerialPort::ResolvePortPath(int portNumber) {
    if (portNumber < 1) return std::string();
    const std::string name = "KVT_COM" + std::to_string(portNumber);
    if (const char* env = std::getenv(name.c_str())) {
        if (*env) return env;
    }
    if (portNumber <= 9) return "/dev/ttyS" + std::to_string(portNumber - 1);
    if (portNumber <= 49) return "/dev/ttyUSB" + std::to_string(portNumber - 10);
    if (portNumber <= 99) return "/dev/ttyACM" + std::to_string(portNumber - 50);
    return std::string();
}

bool CSerialPort::ProbePort(int portNumber) {
    const std::string path = ResolvePortPath(portNumber);
    if (path.empty()) return false;
    int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    const bool ok = ::isatty(fd) && ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    CloseFd(fd);
    return ok;
}

std::string CSerialPort::PortLabel(int portNumber, const std::string& devicePath) {
    if (portNumber < 1) return devicePath.empty() ? std::string("(无)") : devicePath;
    const std::string name = "COM" + std::to_string(portNumber);
    return devicePath.empty() ? name : name + " (" + devicePath + ")";
}

std::string CSerialPort::FaultText(SerialFault fault, const std::string& port, int sysError) {
    const std::string reason = sysError != 0 ? std::string(std::strerror(sysError)) : std::string();
    switch (fault) {
    case SerialFault::None:
        return std::string();
    case SerialFault::NoDevice:
        return "串口设备不存在: " + port;
    case SerialFault::PermissionDenied:
        return "没有权限打开串口 " + port +
               ": 当前用户须属于 dialout 组(sudo usermod -aG dialout 用户名, 然后重新登录)";
    case SerialFault::Busy:
        return "串口 " + port + " 已被其它程序占用";
    case SerialFault::OpenFailed:
        return "打开串口 " + port + " 失败: " + reason;
    case SerialFault::NotSerial:
        return port + " 不是串口设备";
    case SerialFault::BadSettings:
        return "串口 " + port + " 不支持所选的波特率、数据位或校验位";
    case SerialFault::ThreadFailed:
        return "启动串口接收线程失败";
    case SerialFault::NotOpen:
        return "串口未打开";
    case SerialFault::AlreadyOpen:
        return "串口 " + port + " 已经打开";
    case SerialFault::WriteFailed:
        return reason.empty() ? "写串口 " + port + " 超时" : "写串口 " + port + " 失败: " + reason;
    case SerialFault::HungUp:
        return "串口 " + port + " 已断开(设备被拔出或线路挂断)";
    }
    return std::string();
}

void CSerialPort::SetFault(SerialFault fault, int sysError) {
    std::lock_guard<std::mutex> lock(m_faultLock);
    m_fault = fault;
    m_faultErrno = sysError;
}

SerialFault CSerialPort::LastFault() const {
    std::lock_guard<std::mutex> lock(m_faultLock);
    return m_fault;
}

std::string CSerialPort::LastErrorText() const {
    SerialFault fault;
    int err;
    {
        std::lock_guard<std::mutex> lock(m_faultLock);
        fault = m_fault;
        err = m_faultErrno;
    }
    return FaultText(fault, PortLabel(m_portNumber, m_devicePath), err);
}

void CSerialPort::SetHangUpHandler(std::function<void()> handler) {
    std::lock_guard<std::mutex> lock(m_faultLock);
    m_hangUpHandler = std::move(handler);
}

int CSerialPort::Open(int portNumber, uint32_t baud, uint32_t dataBits, uint32_t parity,
                      const std::string& stopBits) {
    if (m_state.load() == PORT_OPEN) {
        SetFault(SerialFault::AlreadyOpen, 0);
        return SERIAL_WRONG_STATE;
    }
    if (m_fd >= 0) ClosePort();  // the remains of a port whose line hung up
    m_portNumber = portNumber;
    m_devicePath = ResolvePortPath(portNumber);
    m_baudRate = baud;
    m_dataBits = dataBits;
    m_parity = parity;
    m_stopBits = stopBits;
    return OpenPort();
}

int CSerialPort::OpenPort() {
    if (m_state.load() == PORT_OPEN || m_fd >= 0) {
        SetFault(SerialFault::AlreadyOpen, 0);
        return SERIAL_WRONG_STATE;
    }
    m_hungUp.store(false);
    SetFault(SerialFault::None, 0);
    if (m_devicePath.empty()) {
        SetFault(SerialFault::NoDevice, 0);
        return SERIAL_CANNOT_OPEN;
    }

    // Non-blocking so that open() does not wait for carrier; reads are gated by poll() and
    // writes wait for room themselves.
    int fd = ::open(m_devicePath.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int err = errno;
        SetFault(OpenFault(err), err);
        return SERIAL_CANNOT_OPEN;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int err = errno;
        CloseFd(fd);
        SetFault(err == EWOULDBLOCK ? SerialFault::Busy : SerialFault::OpenFailed, err);
        return SERIAL_CANNOT_OPEN;
    }
    // No second open of the device either, even by a program that ignores the lock (the
    // superuser is let through by the kernel).
    ::ioctl(fd, TIOCEXCL);
    {
        std::lock_guard<std::mutex> lock(m_writeLock);
        m_fd = fd;
    }

    if (!m_buffersMade) {
        m_readBuffer.assign(kSerialReadBufferSize, 0);
        m_buffersMade = true;
    }

    // Reads return at once with what is queued.
    termios tio{};
    if (::tcgetattr(m_fd, &tio) != 0) {
        const int err = errno;
        ReleaseDevice();
        SetFault(err == ENOTTY || err == EINVAL ? SerialFault::NotSerial : SerialFault::OpenFailed, err);
        return SERIAL_TIMEOUTS_FAILED;
    }
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    if (::tcsetattr(m_fd, TCSANOW, &tio) != 0) {
        const int err = errno;
        ReleaseDevice();
        SetFault(SerialFault::OpenFailed, err);
        return SERIAL_TIMEOUTS_FAILED;
    }

    // Raise DTR and RTS; a pseudo-terminal has neither, which is no fault.
    int lines = TIOCM_DTR | TIOCM_RTS;
    ::ioctl(m_fd, TIOCMBIS, &lines);

    if (!ApplyCommState()) {
        ReleaseDevice();
        SetFault(SerialFault::BadSettings, 0);
        return SERIAL_SETTINGS_FAILED;
    }

    if (::pipe2(m_stopPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        const int err = errno;
        ReleaseDevice();
        SetFault(SerialFault::ThreadFailed, err);
        return SERIAL_THREAD_FAILED;
    }
    m_state.store(PORT_OPEN);
    try {
        m_receiveThread = std::thread(&CSerialPort::ReceiveThreadProc, this);
    } catch (const std::system_error& e) {
        m_state.store(PORT_CLOSED);
        ReleaseDevice();
        SetFault(SerialFault::ThreadFailed, e.code().value());
        return SERIAL_THREAD_FAILED;
    }
    return SERIAL_OK;
}

bool MakeLineSettings(termios& tio, uint32_t baud, uint32_t dataBits, uint32_t parity, const std::string& stopBits) {
    speed_t speed;
    if (!BaudToSpeed(baud, speed)) return false;
    tcflag_t size;
    switch (dataBits) {
    case 5: size = CS5; break;
    case 6: size = CS6; break;
    case 7: size = CS7; break;
    case 8: size = CS8; break;
    default: return false;
    }
    if (parity > 2) return false;

    ::cfmakeraw(&tio);
    tio.c_cflag |= CLOCAL | CREAD;
    tio.c_cflag &= ~static_cast<tcflag_t>(CRTSCTS | CSIZE | PARENB | PARODD);
    tio.c_cflag |= size;
    tio.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY | INPCK);
    if (parity == 1) {
        tio.c_cflag |= PARENB | PARODD;
        tio.c_iflag |= INPCK;
    } else if (parity == 2) {
        tio.c_cflag |= PARENB;
        tio.c_iflag |= INPCK;
    }

    const char last = stopBits.empty() ? '\0' : stopBits.back();
    if (last == '1') {
        tio.c_cflag &= ~static_cast<tcflag_t>(CSTOPB);
    } else if (last == '5' || last == '2') {
        tio.c_cflag |= CSTOPB;
    }

    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    return ::cfsetispeed(&tio, speed) == 0 && ::cfsetospeed(&tio, speed) == 0;
}

bool CSerialPort::ApplyCommState() {
    termios tio{};
    if (::tcgetattr(m_fd, &tio) != 0) return false;
    if (!MakeLineSettings(tio, m_baudRate, m_dataBits, m_parity, m_stopBits)) return false;
    return ::tcsetattr(m_fd, TCSANOW, &tio) == 0;
}

void CSerialPort::ReleaseDevice() {
    std::lock_guard<std::mutex> lock(m_writeLock);
    if (m_fd >= 0) {
        int lines = TIOCM_DTR | TIOCM_RTS;
        ::ioctl(m_fd, TIOCMBIC, &lines);
        ::ioctl(m_fd, TIOCNXCL);  // the flag stays with the device while others hold it open
        // Unread input is dropped; queued output still goes out (the device drains it on close).
        ::tcflush(m_fd, TCIFLUSH);
        CloseFd(m_fd);  // also releases the lock
    }
    CloseFd(m_stopPipe[0]);
    CloseFd(m_stopPipe[1]);
}

int CSerialPort::Close() { return ClosePort(); }

int CSerialPort::ClosePort() {
    if (m_fd < 0) {
        SetFault(SerialFault::NotOpen, 0);
        return SERIAL_WRONG_STATE;
    }
    if (m_receiveThread.joinable() && m_receiveThread.get_id() == std::this_thread::get_id()) {
        // The reader cannot wait for itself.
        return SERIAL_WRONG_STATE;
    }
    m_state.store(PORT_CLOSED);
    if (m_stopPipe[1] >= 0) {
        const unsigned char stop = 1;
        ssize_t ignored = ::write(m_stopPipe[1], &stop, 1);
        (void)ignored;
    }
    if (m_receiveThread.joinable()) m_receiveThread.join();
    ReleaseDevice();
    m_readBuffer.clear();
    m_readBuffer.shrink_to_fit();
    m_buffersMade = false;
    return SERIAL_OK;
}

int CSerialPort::Write(const unsigned char* bytes, size_t count) { return WriteBlock(bytes, count); }

int CSerialPort::WriteBlock(const unsigned char* bytes, size_t count) {
    std::lock_guard<std::mutex> lock(m_writeLock);
    if (m_state.load() != PORT_OPEN || m_fd < 0) {
        if (!m_hungUp.load()) SetFault(SerialFault::NotOpen, 0);
        return SERIAL_WRONG_STATE;
    }
    // Time-out of the whole write: 50 ms a byte plus 2 s unless set otherwise.
    const auto deadline = std::chrono::steady_clock::now() +
                          std::chrono::milliseconds(m_writeMsPerByte.load()) * static_cast<int64_t>(count) +
                          std::chrono::milliseconds(m_writeExtraMs.load());
    size_t written = 0;
    while (written < count) {
        const ssize_t n = ::write(m_fd, bytes + written, count - written);
        if (n > 0) {
            written += static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno != EAGAIN) {
            SetFault(SerialFault::WriteFailed, errno);
            break;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            SetFault(SerialFault::WriteFailed, 0);
            break;
        }
        // A close wakes the wait through the reader's stop pipe: the write ends with the port.
        pollfd fds[2] = {{m_fd, POLLOUT, 0}, {m_stopPipe[0], POLLIN, 0}};
        ++m_writesWaiting;
        const int r = ::poll(fds, 2, static_cast<int>(std::min<int64_t>(left.count(), INT_MAX)));
        --m_writesWaiting;
        if (r < 0 && errno != EINTR) {
            SetFault(SerialFault::WriteFailed, errno);
            break;
        }
        if (r > 0 && (fds[0].revents & (POLLERR | POLLHUP | POLLNVAL))) {
            SetFault(SerialFault::WriteFailed, EIO);
            break;
        }
        if (m_state.load() != PORT_OPEN) {
            SetFault(SerialFault::WriteFailed, 0);
            break;
        }
    }
    return static_cast<int>(std::min<size_t>(written, INT_MAX));
}

int CSerialPort::Read(unsigned char* buffer, size_t count) {
    std::lock_guard<std::mutex> lock(m_writeLock);
    if (m_state.load() != PORT_OPEN || m_fd < 0) {
        if (!m_hungUp.load()) SetFault(SerialFault::NotOpen, 0);
        return SERIAL_WRONG_STATE;
    }
    const ssize_t n = ::read(m_fd, buffer, std::min<size_t>(count, INT_MAX));
    return n > 0 ? static_cast<int>(n) : 0;
}

int CSerialPort::OnReceive(const unsigned char*, size_t) { return 0; }

void CSerialPort::ReceiveThreadProc() {
    pollfd fds[2] = {{m_fd, POLLIN, 0}, {m_stopPipe[0], POLLIN, 0}};
    bool lost = false;
    while (m_state.load() == PORT_OPEN) {
        fds[0].revents = 0;
        fds[1].revents = 0;
        const int r = ::poll(fds, 2, -1);
        if (r < 0) {
            if (errno == EINTR) continue;
            lost = true;
            break;
        }
        if (fds[1].revents != 0 || m_state.load() != PORT_OPEN) break;
        const short events = fds[0].revents;
        const bool hungUp = (events & (POLLHUP | POLLERR | POLLNVAL)) != 0;
        if (events & POLLIN) {
            const ssize_t n = ::read(m_fd, m_readBuffer.data(), m_readBuffer.size());
            if (n > 0) {
                OnReceive(m_readBuffer.data(), static_cast<size_t>(n));
                continue;
            }
            // Nothing to read without a hang-up: another reader of the device took the bytes.
            if (n == 0 && !hungUp) continue;
            if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
            // A read error (EIO, ENODEV, ...) or the end of a line that hung up: the device went away.
            lost = true;
            break;
        }
        if (hungUp) {
            lost = true;
            break;
        }
    }
    if (!lost) return;
    uint32_t open = PORT_OPEN;
    if (!m_state.compare_exchange_strong(open, PORT_CLOSED)) return;  // Close got there first
    m_hungUp.store(true);
    std::function<void()> handler;
    {
        std::lock_guard<std::mutex> lock(m_faultLock);
        m_fault = SerialFault::HungUp;
        m_faultErrno = 0;
        handler = m_hangUpHandler;
    }
    if (handler) handler();
}
