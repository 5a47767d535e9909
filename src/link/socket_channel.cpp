#include "link/socket_channel.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <system_error>
#include <thread>
#include <unistd.h>

namespace {

// How long a stream write waits for room before it gives up.
constexpr int kSendWaitMs = 3000;
// The receive buffer asked for a UDP socket: a second of datagrams at ten times the serial
// line's worst case (16,500 of the smallest frames a second), each charged about 1 KB by the
// kernel however short it is. The kernel grants at most its own limit (net.core.rmem_max).
constexpr int kUdpReceiveBuffer = 16500 * 1024;

uint64_t AddressKey(uint32_t ip, uint16_t port) { return static_cast<uint64_t>(ip) << 16 | port; }

sockaddr_in ToSockaddr(const SocketAddress& address) {
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_port = htons(address.port);
    sa.sin_addr.s_addr = htonl(address.ip);
    return sa;
}

// Why a bind or connect failed, for the user.
std::string ErrnoText(int error, const SocketAddress& address) {
    const std::string where = SocketAddressText(address);
    switch (error) {
        case EADDRINUSE: return "地址已被占用：" + where;
        case EADDRNOTAVAIL: return "本机没有这个地址：" + where;
        case EACCES: return "没有权限使用这个端口：" + where;
        case ECONNREFUSED: return "连接被拒绝：" + where;
        case ENETUNREACH: return "网络不可达：" + where;
        case EHOSTUNREACH: return "主机不可达：" + where;
        case ETIMEDOUT: return "连接超时：" + where;
        default: return std::string(std::strerror(error)) + "：" + where;
    }
}

bool WouldBlock(int error) { return error == EAGAIN || error == EWOULDBLOCK || error == EINTR; }

}  // namespace

bool ParseIpv4(const std::string& text, uint32_t& ip) {
    uint32_t value = 0;
    int parts = 0;
    size_t i = 0;
    while (parts < 4) {
        size_t digits = 0;
        uint32_t part = 0;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9' && digits < 3) {
            part = part * 10 + static_cast<uint32_t>(text[i++] - '0');
            ++digits;
        }
        if (digits == 0 || part > 255) return false;
        value = value << 8 | part;
        if (++parts < 4 && (i >= text.size() || text[i++] != '.')) return false;
    }
    if (i != text.size()) return false;
    ip = value;
    return true;
}

std::string Ipv4Text(uint32_t ip) {
    char text[16];
    std::snprintf(text, sizeof text, "%u.%u.%u.%u", ip >> 24, (ip >> 16) & 0xFF, (ip >> 8) & 0xFF, ip & 0xFF);
    return text;
}

std::string SocketAddressText(const SocketAddress& address) {
    return Ipv4Text(address.ip) + ":" + std::to_string(address.port);
}

bool ParsePortText(const std::string& text, uint16_t& port) {
    if (text.empty() || text.size() > 5) return false;
    uint32_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + static_cast<uint32_t>(c - '0');
    }
    if (value > 65535) return false;
    port = static_cast<uint16_t>(value);
    return true;
}

// ---- SocketChannel ----

SocketChannel::~SocketChannel() {
    Close();
    if (m_wake.load() >= 0) ::close(m_wake.load());
}

void SocketChannel::Interrupt() {
    const int wake = m_wake.load();
    const uint64_t one = 1;
    if (wake >= 0 && ::write(wake, &one, sizeof one) < 0) {
        // Already raised: the counter is far from full.
    }
}

int SocketChannel::Close() {
    // A writer waiting for room lets go of the lock at once.
    Interrupt();
    std::lock_guard<std::mutex> lock(m_lock);
    const int fd = m_fd.exchange(-1);
    if (fd < 0) return SOCKET_NOT_OPEN;
    if (::close(fd) != 0 && errno != EINTR) {
        SetFault(std::strerror(errno));
        return SOCKET_CLOSE_FAILED;
    }
    return SOCKET_OK;
}

int SocketChannel::Send(const unsigned char* bytes, size_t count) {
    const int n = Write(bytes, count);
    if (n >= 0) return n;
    if (m_writeFault) m_writeFault(n == SOCKET_NOT_OPEN ? std::string() : LastErrorText());
    // A stream's failed write does not say how much of it went out.
    return IsStream() ? -1 : 0;
}

std::string SocketChannel::LastErrorText() const {
    std::lock_guard<std::mutex> lock(m_faultLock);
    return m_fault;
}

void SocketChannel::SetFault(const std::string& text) {
    std::lock_guard<std::mutex> lock(m_faultLock);
    m_fault = text;
}

int SocketChannel::CreateSocket(int type) {
    if (IsOpen()) {
        SetFault("已经打开");
        return SOCKET_ALREADY_OPEN;
    }
    SetFault("");
    m_hungUp = false;
    if (m_wake.load() < 0) {
        const int wake = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
        if (wake < 0) {
            SetFault(std::strerror(errno));
            return SOCKET_CREATE_FAILED;
        }
        m_wake = wake;
    }
    const int fd = ::socket(AF_INET, type | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        SetFault(std::strerror(errno));
        return SOCKET_CREATE_FAILED;
    }
    return fd;
}

void SocketChannel::Adopt(int fd) {
    std::lock_guard<std::mutex> lock(m_lock);
    // A close or an interrupt of an earlier socket stops none of this one's writes.
    uint64_t raised = 0;
    if (::read(m_wake.load(), &raised, sizeof raised) < 0) {
        // Not raised.
    }
    m_fd = fd;
}

bool SocketChannel::WaitForRoom(int fd, int timeoutMs, bool& stopped) {
    pollfd fds[2] = {{fd, POLLOUT, 0}, {m_wake.load(), POLLIN, 0}};
    int ready = 0;
    do {
        ready = ::poll(fds, 2, timeoutMs);
    } while (ready < 0 && errno == EINTR);
    stopped = ready > 0 && (fds[1].revents & POLLIN) != 0;
    return ready > 0 && !stopped;
}

unsigned char* SocketChannel::Buffer() {
    if (m_buffer.size() != m_readSize) m_buffer.assign(m_readSize, 0);
    return m_buffer.data();
}

void SocketChannel::ReportPeerClosed(const std::string& text) {
    m_hungUp = true;
    SetFault(text);
    if (m_hangUp) m_hangUp();
}

void SocketChannel::Deliver(const unsigned char* bytes, size_t count) {
    if (count > 0 && m_receive) m_receive(bytes, count);
}

// ---- UdpChannel ----

int UdpChannel::Open() {
    const int fd = CreateSocket(SOCK_DGRAM);
    if (fd < 0) return fd;
    // Best effort: a smaller buffer only means more loss when the reader falls behind.
    ::setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &kUdpReceiveBuffer, sizeof kUdpReceiveBuffer);
    const sockaddr_in local = ToSockaddr(m_local);
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) {
        SetFault(ErrnoText(errno, m_local));
        ::close(fd);
        return SOCKET_BIND_FAILED;
    }
    Adopt(fd);
    return SOCKET_OK;
}

void UdpChannel::SetPeer(const SocketAddress& peer) {
    std::lock_guard<std::mutex> lock(m_lock);
    m_peer = peer;
    m_peerKey = AddressKey(peer.ip, peer.port);
}

int UdpChannel::Write(const unsigned char* bytes, size_t count) {
    std::lock_guard<std::mutex> lock(m_lock);
    const int fd = m_fd.load();
    if (fd < 0) return SOCKET_NOT_OPEN;
    const sockaddr_in peer = ToSockaddr(m_peer);
    for (;;) {
        const ssize_t n = ::sendto(fd, bytes, count, 0, reinterpret_cast<const sockaddr*>(&peer), sizeof peer);
        if (n >= 0) return static_cast<int>(n);
        if (errno == EINTR) continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK) {
            bool stopped = false;
            if (WaitForRoom(fd, kSendWaitMs, stopped)) continue;
            if (stopped) return SOCKET_NOT_OPEN;
        }
        SetFault(ErrnoText(errno, m_peer));
        return SOCKET_SEND_FAILED;
    }
}

int UdpChannel::Receive() {
    const int fd = m_fd.load();
    if (fd < 0) return SOCKET_NOT_OPEN;
    unsigned char* data = Buffer();
    int total = 0;
    int dropped = 0;
    for (int taken = 0; taken < kDatagramsPerReceive && dropped < kForeignPerReceive;) {
        sockaddr_in from{};
        socklen_t length = sizeof from;
        // MSG_TRUNC gives the datagram's real length, so a cut one is seen and dropped.
        const ssize_t n = ::recvfrom(fd, data, m_readSize, MSG_DONTWAIT | MSG_TRUNC,
                                     reinterpret_cast<sockaddr*>(&from), &length);
        if (n < 0) {
            if (WouldBlock(errno)) return total;
            SetFault(std::strerror(errno));
            return SOCKET_RECEIVE_FAILED;
        }
        if (from.sin_family != AF_INET ||
            AddressKey(ntohl(from.sin_addr.s_addr), ntohs(from.sin_port)) != m_peerKey.load()) {
            ++m_foreign;
            ++dropped;
            continue;
        }
        if (static_cast<size_t>(n) > m_readSize) {
            SetFault("数据报长" + std::to_string(n) + "字节，超过" + std::to_string(m_readSize) +
                     "字节，已丢弃");
            return SOCKET_TRUNCATED;
        }
        Deliver(data, static_cast<size_t>(n));
        total += static_cast<int>(n);
        ++taken;
    }
    return total;
}

// ---- TcpClientChannel ----

int TcpClientChannel::Open() {
    const int fd = CreateSocket(SOCK_STREAM);
    if (fd < 0) return fd;
    const int one = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    const sockaddr_in remote = ToSockaddr(m_remote);
    int result = SOCKET_OK;
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&remote), sizeof remote) != 0) {
        if (errno == EINPROGRESS || errno == EINTR) {
            result = FinishConnect(fd);
        } else {
            result = errno == ECONNREFUSED ? SOCKET_CONNECT_REFUSED : SOCKET_CONNECT_FAILED;
            SetFault(ErrnoText(errno, m_remote));
        }
    }
    if (result != SOCKET_OK) {
        ::close(fd);
        return result;
    }
    Adopt(fd);
    return SOCKET_OK;
}

int TcpClientChannel::FinishConnect(int fd) {
    const int timeoutMs = static_cast<int>(m_connectTimeoutMs);
    int ready = 0;
    int pollError = 0;
    auto watch = [fd, timeoutMs, &ready, &pollError] {
        pollfd p{fd, POLLOUT, 0};
        do {
            ready = ::poll(&p, 1, timeoutMs);
        } while (ready < 0 && errno == EINTR);
        if (ready < 0) pollError = errno;
    };
    std::thread watcher;
    std::atomic<bool> done{false};
    if (m_wait) {
        // The watch runs on a thread of its own while the caller's wait keeps its thread alive.
        try {
            watcher = std::thread([&] {
                watch();
                done = true;
            });
        } catch (const std::system_error&) {
        }
    }
    if (watcher.joinable()) {
        m_wait([&done] { return done.load(); });
        watcher.join();
    } else {
        watch();
    }
    if (ready == 0) {
        SetFault("连接超时：" + SocketAddressText(m_remote) + "在" + std::to_string(m_connectTimeoutMs) +
                 "毫秒内无应答");
        return SOCKET_CONNECT_TIMED_OUT;
    }
    int error = pollError;
    if (error == 0) {
        socklen_t length = sizeof error;
        if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0) error = errno;
    }
    if (error == 0) return SOCKET_OK;
    SetFault(ErrnoText(error, m_remote));
    return error == ECONNREFUSED ? SOCKET_CONNECT_REFUSED : SOCKET_CONNECT_FAILED;
}

int TcpClientChannel::Write(const unsigned char* bytes, size_t count) {
    std::lock_guard<std::mutex> lock(m_lock);
    const int fd = m_fd.load();
    if (fd < 0) return SOCKET_NOT_OPEN;
    size_t sent = 0;
    while (sent < count) {
        // No SIGPIPE when the peer has gone: the failure is returned instead.
        const ssize_t n = ::send(fd, bytes + sent, count - sent, MSG_NOSIGNAL);
        if (n >= 0) {
            sent += static_cast<size_t>(n);
            continue;
        }
        if (errno == EINTR) continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK) {
            bool stopped = false;
            if (WaitForRoom(fd, kSendWaitMs, stopped)) continue;
            if (stopped) return SOCKET_NOT_OPEN;
            SetFault("发送超时：" + SocketAddressText(m_remote));
            return SOCKET_SEND_FAILED;
        }
        SetFault(ErrnoText(errno, m_remote));
        return SOCKET_SEND_FAILED;
    }
    return static_cast<int>(sent);
}

int TcpClientChannel::Receive() {
    const int fd = m_fd.load();
    if (fd < 0) return SOCKET_NOT_OPEN;
    unsigned char* data = Buffer();
    const ssize_t n = ::recv(fd, data, m_readSize, MSG_DONTWAIT);
    if (n < 0) {
        if (WouldBlock(errno)) return 0;
        SetFault(ErrnoText(errno, m_remote));
        return SOCKET_RECEIVE_FAILED;
    }
    if (n == 0) {
        ReportPeerClosed("对方已关闭连接：" + SocketAddressText(m_remote));
        return SOCKET_PEER_CLOSED;
    }
    Deliver(data, static_cast<size_t>(n));
    return static_cast<int>(n);
}

// ---- Listening ----

int OpenListeningSocket(const SocketAddress& local, std::string& why) {
    why.clear();
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        why = std::strerror(errno);
        return SOCKET_CREATE_FAILED;
    }
    const sockaddr_in sa = ToSockaddr(local);
    int result = SOCKET_OK;
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&sa), sizeof sa) != 0) {
        why = ErrnoText(errno, local);
        result = SOCKET_BIND_FAILED;
    } else if (::listen(fd, 50) != 0) {
        why = ErrnoText(errno, local);
        result = SOCKET_LISTEN_FAILED;
    }
    // Nothing accepts on it: the socket is not kept.
    ::close(fd);
    return result;
}
