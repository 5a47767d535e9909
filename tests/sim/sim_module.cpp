#include "sim/sim_module.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <stdexcept>
#include <tuple>
#include <utility>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace kvtsim {

namespace {

constexpr unsigned char kStart = 0x79;
constexpr size_t kHeader = 5;    // start, two length bytes, control, command
constexpr size_t kOverhead = 7;  // header plus the two check bytes

// Sum and XOR of the bytes, as the frame's two check bytes.
void Checks(const unsigned char* bytes, size_t count, unsigned char& sum, unsigned char& x) {
    sum = 0;
    x = 0;
    for (size_t i = 0; i < count; ++i) {
        sum = static_cast<unsigned char>(sum + bytes[i]);
        x = static_cast<unsigned char>(x ^ bytes[i]);
    }
}

void CloseFd(int& fd) {
    if (fd >= 0) {
        ::close(fd);
        fd = -1;
    }
}

}  // namespace

Bytes FromHex(const std::string& text) {
    std::string digits;
    for (char c : text) digits += c == ' ' ? "" : std::string(1, c);
    if (digits.size() % 2 != 0 || digits.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
        throw std::invalid_argument("not hex: " + text);
    Bytes out;
    for (size_t i = 0; i < digits.size(); i += 2)
        out.push_back(static_cast<unsigned char>(std::stoi(digits.substr(i, 2), nullptr, 16)));
    return out;
}

Bytes BuildFrame(uint8_t control, uint8_t command, const Bytes& data) {
    Bytes f{kStart, static_cast<unsigned char>(data.size() & 0xFF), static_cast<unsigned char>(data.size() >> 8),
            control, command};
    f += data;
    unsigned char sum, x;
    Checks(f.data() + 1, f.size() - 1, sum, x);
    return f + Bytes{sum, x};
}

Bytes VersionReply(const Bytes& data) { return BuildFrame(kAnswerControl, 0x02, data); }

Bytes SearchReport(const Bytes& data) { return BuildFrame(kReportControl, 0x19, data); }

Bytes MeterAnswer(const Bytes& address, const Bytes& dataId, const Bytes& value) {
    Bytes f;
    f.push_back(0x68);
    f += address;
    f.push_back(0x68);
    f.push_back(0x91);
    f.push_back(static_cast<unsigned char>(dataId.size() + value.size()));
    for (unsigned char b : dataId) f.push_back(static_cast<unsigned char>(b + 0x33));
    for (unsigned char b : value) f.push_back(static_cast<unsigned char>(b + 0x33));
    unsigned char sum = 0;
    for (unsigned char b : f) sum = static_cast<unsigned char>(sum + b);
    f.push_back(sum);
    f.push_back(0x16);
    return f;
}

SimModule::SimModule() { m_script[0x02] = {VersionReply(), std::chrono::milliseconds(0)}; }

SimModule::~SimModule() { Stop(); }

bool SimModule::Start() {
    if (m_thread.joinable()) return true;
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_master < 0) return false;
    char name[128];
    if (::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0 || ::ptsname_r(m_master, name, sizeof name) != 0) {
        CloseFd(m_master);
        return false;
    }
    m_slavePath = name;
    m_slave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios tio{};
    if (m_slave < 0 || ::tcgetattr(m_slave, &tio) != 0 || ::pipe2(m_wake, O_CLOEXEC | O_NONBLOCK) != 0) {
        CloseFd(m_slave);
        CloseFd(m_master);
        return false;
    }
    ::cfmakeraw(&tio);
    ::tcsetattr(m_slave, TCSANOW, &tio);
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_stopping = false;
    }
    m_thread = std::thread(&SimModule::Run, this);
    return true;
}

void SimModule::Stop() {
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_stopping = true;
    }
    m_changed.notify_all();
    WakeThread();
    if (m_thread.joinable()) m_thread.join();
    std::lock_guard<std::mutex> lock(m_writeLock);
    CloseFd(m_master);
    CloseFd(m_slave);
    CloseFd(m_wake[0]);
    CloseFd(m_wake[1]);
}

void SimModule::HangUp() { Stop(); }

std::string SimModule::SlavePath() const { return m_slavePath; }

void SimModule::SetAnswer(uint8_t command, const Bytes& answer, std::chrono::milliseconds delay) {
    std::lock_guard<std::mutex> lock(m_lock);
    m_script[command] = {answer, delay};
}

void SimModule::SetAnswerFor(uint8_t command, size_t offset, const Bytes& match, const Bytes& answer,
                             std::chrono::milliseconds delay) {
    std::lock_guard<std::mutex> lock(m_lock);
    m_deviceScript.push_back({command, offset, match, answer, delay});
}

bool SimModule::Send(const Bytes& bytes) { return WriteBurst(bytes.data(), bytes.size()); }

bool SimModule::SendPaced(const Bytes& bytes, size_t chunk, std::chrono::milliseconds interval) {
    auto next = std::chrono::steady_clock::now();
    for (size_t done = 0; done < bytes.size(); done += chunk) {
        std::this_thread::sleep_until(next);
        next += interval;
        if (!WriteBurst(bytes.data() + done, std::min(chunk, bytes.size() - done))) return false;
    }
    return true;
}

std::vector<Bytes> SimModule::ReceivedFrames() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_frames;
}

Bytes SimModule::ReceivedBytes() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_bytes;
}

bool SimModule::WaitForFrames(size_t count, std::chrono::milliseconds timeout) const {
    std::unique_lock<std::mutex> lock(m_lock);
    return m_changed.wait_for(lock, timeout, [&] { return m_frames.size() >= count; });
}

void SimModule::ClearReceived() {
    std::lock_guard<std::mutex> lock(m_lock);
    m_frames.clear();
    m_bytes.clear();
}

void SimModule::WakeThread() {
    if (m_wake[1] >= 0) {
        const unsigned char b = 1;
        ssize_t ignored = ::write(m_wake[1], &b, 1);
        (void)ignored;
    }
}

bool SimModule::WaitUnlessStopped(std::chrono::milliseconds time) {
    std::unique_lock<std::mutex> lock(m_lock);
    return !m_changed.wait_for(lock, time, [&] { return m_stopping; });
}

bool SimModule::WriteBurst(const unsigned char* bytes, size_t count) {
    std::lock_guard<std::mutex> lock(m_writeLock);
    if (m_master < 0) return false;
    size_t done = 0;
    while (done < count) {
        const ssize_t n = ::write(m_master, bytes + done, count - done);
        if (n > 0) {
            done += static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno != EAGAIN) return false;
        // The slave's input is full: wait for room, but not past a stop.
        {
            std::lock_guard<std::mutex> state(m_lock);
            if (m_stopping) return false;
        }
        pollfd pfd{m_master, POLLOUT, 0};
        ::poll(&pfd, 1, 20);
    }
    return true;
}

void SimModule::Run() {
    pollfd fds[2] = {{m_master, POLLIN, 0}, {m_wake[0], POLLIN, 0}};
    unsigned char buf[4096];
    for (;;) {
        fds[0].revents = 0;
        fds[1].revents = 0;
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR) continue;
            return;
        }
        if (fds[1].revents != 0) {
            unsigned char drain[16];
            while (::read(m_wake[0], drain, sizeof drain) > 0) {
            }
            std::lock_guard<std::mutex> lock(m_lock);
            if (m_stopping) return;
        }
        if (fds[0].revents & POLLIN) {
            const ssize_t n = ::read(m_master, buf, sizeof buf);
            if (n > 0) {
                HandleInput(buf, static_cast<size_t>(n));
            } else if (n == 0 || (errno != EAGAIN && errno != EINTR)) {
                return;
            }
        } else if (fds[0].revents & (POLLHUP | POLLERR | POLLNVAL)) {
            return;
        }
    }
}

void SimModule::SetByteTap(std::function<void(const Bytes&)> tap) {
    std::lock_guard<std::mutex> lock(m_lock);
    m_tap = std::move(tap);
}

void SimModule::HandleInput(const unsigned char* bytes, size_t count) {
    std::function<void(const Bytes&)> tap;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_bytes.append(bytes, count);
        tap = m_tap;
    }
    m_changed.notify_all();
    if (tap) tap(Bytes(bytes, count));

    m_parse.append(bytes, count);
    for (;;) {
        const size_t start = m_parse.find(kStart);
        if (start == Bytes::npos) {
            m_parse.clear();
            return;
        }
        m_parse.erase(0, start);
        if (m_parse.size() < 3) return;
        const size_t length = m_parse[1] | static_cast<size_t>(m_parse[2]) << 8;
        if (m_parse.size() < length + kOverhead) return;  // wait for the rest
        unsigned char sum, x;
        Checks(m_parse.data() + 1, length + kHeader - 1, sum, x);
        if (sum != m_parse[length + kHeader] || x != m_parse[length + kHeader + 1]) {
            m_parse.erase(0, 1);
            continue;
        }
        const Bytes frame = m_parse.substr(0, length + kOverhead);
        m_parse.erase(0, length + kOverhead);
        // The script in force when the frame is recorded decides its answer.
        Bytes answer;
        std::chrono::milliseconds delay(0);
        {
            std::lock_guard<std::mutex> lock(m_lock);
            m_frames.push_back(frame);
            const auto it = m_script.find(frame[4]);
            if (it != m_script.end()) std::tie(answer, delay) = it->second;
            for (const DeviceAnswer& d : m_deviceScript) {
                if (d.command != frame[4] || frame.size() < kHeader + d.offset + d.match.size() ||
                    frame.compare(kHeader + d.offset, d.match.size(), d.match) != 0)
                    continue;
                answer = d.answer;
                delay = d.delay;
                break;
            }
        }
        m_changed.notify_all();
        if (delay.count() > 0 && !WaitUnlessStopped(delay)) return;
        if (!answer.empty()) WriteBurst(answer.data(), answer.size());
    }
}

}  // namespace kvtsim
