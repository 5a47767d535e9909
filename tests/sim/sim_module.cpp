#include "sim/sim_module.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <deque>
#include <utility>

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace kvtsim {

namespace {

constexpr size_t kHeader = 5;  // start, two length bytes, control, command; two check bytes follow

void CloseFd(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
}

}  // namespace

Bytes VersionReply() { return BuildFrame(0x80, 0x02, FromHex("56 51 07 52 01 02 03")); }

Bytes SearchReport(const Bytes& data) { return BuildFrame(0xC0, 0x19, data); }

Bytes ResetInfoAnswer(uint8_t subCode, const Bytes& wireAddress, uint32_t word, const uint32_t (&counts)[4],
                      uint8_t control) {
    Bytes data = Bytes{subCode} + wireAddress;
    auto put = [&data](uint32_t v) {
        for (int i = 0; i < 4; ++i) data.push_back(static_cast<unsigned char>(v >> (8 * i)));
    };
    put(word);
    for (uint32_t c : counts) put(c);
    return BuildFrame(control, 0xF4, data);
}

void AnswerResetInfoFor(SimModule& module, const Bytes& wireAddress, bool multicast, const Bytes& answer,
                        std::chrono::milliseconds delay) {
    // Sub-code, address mode, the group address when multicast, the device address.
    module.SetAnswerFor(0xF4, multicast ? 4 : 2, wireAddress, answer, delay);
}

Bytes PairingAnswer(uint8_t subCode, bool abnormal) {
    if (abnormal) return BuildFrame(0xA0, 0x60, Bytes{subCode, 0x02});
    Bytes data{subCode};
    switch (subCode) {
        case 0x00: data += FromHex("66 55 44 33 22 11 34 12"); break;
        case 0x05: case 0x10: data += FromHex("34 12"); break;
        case 0x31: case 0x34: case 0xF2: data += FromHex("11 22 33 44 55 66 78 56"); break;
        default: break;
    }
    return BuildFrame(0x80, 0x60, data);
}

void AnswerPairingRequests(SimModule& module, bool abnormal) {
    for (uint8_t sub : {0x00, 0x01, 0x02, 0x03, 0x05, 0x06, 0x10, 0x20, 0x22, 0x30, 0x31, 0x34, 0x40, 0xF0, 0xF2})
        module.SetAnswerFor(0x60, 0, Bytes{sub}, PairingAnswer(sub, abnormal));
}

SimModule::SimModule() { SetAnswer(0x02, VersionReply()); }

bool SimModule::Start() {
    if (m_thread.joinable()) return true;
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    char name[128];
    termios tio{};
    if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0 ||
        ::ptsname_r(m_master, name, sizeof name) != 0 || (m_slave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC)) < 0 ||
        ::tcgetattr(m_slave, &tio) != 0 || ::pipe2(m_wake, O_CLOEXEC | O_NONBLOCK) != 0) {
        CloseFd(m_slave);
        CloseFd(m_master);
        return false;
    }
    m_slavePath = name;
    ::cfmakeraw(&tio);
    ::tcsetattr(m_slave, TCSANOW, &tio);
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
    m_stopping = false;
    m_thread = std::thread(&SimModule::Run, this);
    return true;
}

void SimModule::Stop() {
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_stopping = true;
    }
    m_changed.notify_all();
    const ssize_t woken = m_wake[1] >= 0 ? ::write(m_wake[1], "x", 1) : 0;  // wakes Run()
    (void)woken;
    if (m_thread.joinable()) m_thread.join();
    std::lock_guard<std::mutex> lock(m_writeLock);
    for (int* fd : {&m_master, &m_slave, &m_wake[0], &m_wake[1]}) CloseFd(*fd);
}

void SimModule::SetAnswer(uint8_t command, const Bytes& answer, std::chrono::milliseconds delay) {
    std::lock_guard<std::mutex> lock(m_lock);
    const auto range = m_script.equal_range(command);
    for (auto it = range.first; it != range.second;) it = it->second.match.empty() ? m_script.erase(it) : ++it;
    m_script.insert({command, Answer{{}, 0, answer, delay}});
}

void SimModule::SetAnswerFor(uint8_t command, size_t offset, const Bytes& match, const Bytes& answer,
                             std::chrono::milliseconds delay) {
    std::lock_guard<std::mutex> lock(m_lock);
    m_script.insert({command, Answer{match, offset, answer, delay}});
}

void SimModule::SetByteTap(std::function<void(const Bytes&)> tap) {
    std::lock_guard<std::mutex> lock(m_lock);
    m_tap = std::move(tap);
}

bool SimModule::SendPaced(const Bytes& bytes, size_t chunk, std::chrono::milliseconds interval) {
    auto next = std::chrono::steady_clock::now();
    for (size_t done = 0; done < bytes.size(); done += chunk) {
        std::this_thread::sleep_until(next);
        next += interval;
        if (!WriteBurst(bytes.data() + done, std::min(chunk, bytes.size() - done))) return false;
    }
    return true;
}

bool SimModule::SendPaced(const Bytes& bytes, size_t chunk, std::chrono::milliseconds interval,
                          std::chrono::milliseconds& longestPause) {
    using Clock = std::chrono::steady_clock;
    std::deque<std::pair<Clock::time_point, size_t>> unread;  // writes not read in full: when, end
    Clock::duration longest{0};
    Clock::time_point last;
    auto next = Clock::now();
    for (size_t done = 0; done < bytes.size(); done += chunk) {
        std::this_thread::sleep_until(next);
        next += interval;
        const size_t count = std::min(chunk, bytes.size() - done);
        if (!WriteBurst(bytes.data() + done, count)) return false;
        const Clock::time_point now = Clock::now();
        if (done > 0) longest = std::max(longest, now - last);
        last = now;
        unread.emplace_back(now, done + count);
        // The program reads whatever is there: bytes still unread are as old as its last read.
        const size_t read = done + count - std::min(Unread(), done + count);
        while (!unread.empty() && unread.front().second <= read) unread.pop_front();
        if (!unread.empty()) longest = std::max(longest, now - unread.front().first);
    }
    // The last bytes: until the program has read them (or a second has passed).
    if (!unread.empty()) {
        WaitUntilRead(std::chrono::seconds(1));
        longest = std::max(longest, Clock::now() - unread.front().first);
    }
    longestPause = std::chrono::duration_cast<std::chrono::milliseconds>(longest);
    return true;
}

size_t SimModule::Unread() {
    std::lock_guard<std::mutex> lock(m_writeLock);
    if (m_slave < 0) return 0;
    // Polling the slave first moves what the master wrote into its input queue.
    pollfd pfd{m_slave, POLLIN, 0};
    if (::poll(&pfd, 1, 0) <= 0 || !(pfd.revents & POLLIN)) return 0;
    int count = 0;
    return ::ioctl(m_slave, FIONREAD, &count) == 0 && count > 0 ? static_cast<size_t>(count) : 1;
}

bool SimModule::WaitUntilRead(std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (Unread() > 0) {
        if (std::chrono::steady_clock::now() >= end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
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

bool SimModule::WriteBurst(const unsigned char* bytes, size_t count) {
    std::lock_guard<std::mutex> lock(m_writeLock);
    if (m_master < 0) return false;
    for (size_t done = 0; done < count;) {
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
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR) continue;
            return;
        }
        if (fds[1].revents != 0) return;  // woken by Stop()
        if (fds[0].revents & POLLIN) {
            const ssize_t n = ::read(m_master, buf, sizeof buf);
            if (n > 0)
                HandleInput(buf, static_cast<size_t>(n));
            else if (n == 0 || (errno != EAGAIN && errno != EINTR))
                return;
        } else if (fds[0].revents & (POLLHUP | POLLERR | POLLNVAL)) {
            return;
        }
    }
}

void SimModule::SetDebuggerAnswer(const Bytes& answer) {
    std::lock_guard<std::mutex> lock(m_lock);
    m_debuggerAnswer = answer;
}

void SimModule::HandleInput(const unsigned char* bytes, size_t count) {
    std::function<void(const Bytes&)> tap;
    Bytes debuggerAnswer;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_bytes.append(bytes, count);
        tap = m_tap;
        if (count > 0 && bytes[0] == 0xA5) debuggerAnswer = m_debuggerAnswer;
    }
    m_changed.notify_all();
    if (tap) tap(Bytes(bytes, count));
    if (!debuggerAnswer.empty()) WriteBurst(debuggerAnswer.data(), debuggerAnswer.size());

    m_parse.append(bytes, count);
    for (;;) {
        m_parse.erase(0, std::min(m_parse.find(0x79), m_parse.size()));
        if (m_parse.size() < 3) return;
        const size_t size = kHeader + (m_parse[1] | size_t{m_parse[2]} << 8) + 2;
        if (m_parse.size() < size) return;  // wait for the rest
        unsigned char sum = 0, x = 0;
        for (size_t i = 1; i < size - 2; ++i) {
            sum = static_cast<unsigned char>(sum + m_parse[i]);
            x ^= m_parse[i];
        }
        if (sum != m_parse[size - 2] || x != m_parse[size - 1]) {
            m_parse.erase(0, 1);
            continue;
        }
        const Bytes frame = m_parse.substr(0, size);
        m_parse.erase(0, size);
        // The script in force when the frame is recorded decides its answer: the first device
        // answer that matches, else the command's.
        Answer answer;
        {
            std::lock_guard<std::mutex> lock(m_lock);
            m_frames.push_back(frame);
            const Answer* chosen = nullptr;
            const auto range = m_script.equal_range(frame[4]);
            for (auto it = range.first; it != range.second; ++it) {
                const Answer& a = it->second;
                const bool matches = frame.size() >= kHeader + a.offset + a.match.size() &&
                                     frame.compare(kHeader + a.offset, a.match.size(), a.match) == 0;
                if (matches && (!chosen || (chosen->match.empty() && !a.match.empty()))) chosen = &a;
            }
            if (chosen) answer = *chosen;
        }
        m_changed.notify_all();
        if (answer.delay.count() > 0) {
            std::unique_lock<std::mutex> lock(m_lock);
            if (m_changed.wait_for(lock, answer.delay, [&] { return m_stopping; })) return;
        }
        if (!answer.bytes.empty()) WriteBurst(answer.bytes.data(), answer.bytes.size());
    }
}

}  // namespace kvtsim
