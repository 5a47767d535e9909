#pragma once
// The network channels: a UDP socket and a TCP client connection, siblings of the serial
// channel. Nothing here reads by itself: the owner watches Fd() for data and calls Receive(),
// which hands what the socket holds to the receive handler.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "link/channel.h"

// An IPv4 address and port, in host byte order.
struct SocketAddress {
    uint32_t ip = 0;
    uint16_t port = 0;
};

// "a.b.c.d", each of 1-3 digits and at most 255, to an address; false for anything else.
bool ParseIpv4(const std::string& text, uint32_t& ip);
std::string Ipv4Text(uint32_t ip);
// "a.b.c.d:port".
std::string SocketAddressText(const SocketAddress& address);
// Decimal digits only, at most 65535; false for an empty or other text.
bool ParsePortText(const std::string& text, uint16_t& port);

// Results of the socket routines: 0 or a negative code (Write returns a count or a code).
enum SocketResult : int {
    SOCKET_OK = 0,
    SOCKET_CREATE_FAILED = -1,
    SOCKET_BIND_FAILED = -2,
    SOCKET_LISTEN_FAILED = -3,
    SOCKET_CONNECT_REFUSED = -4,
    SOCKET_CONNECT_TIMED_OUT = -5,
    SOCKET_CONNECT_FAILED = -6,
    SOCKET_CLOSE_FAILED = -7,
    SOCKET_NOT_OPEN = -8,
    SOCKET_ALREADY_OPEN = -9,
    SOCKET_SEND_FAILED = -10,
    SOCKET_RECEIVE_FAILED = -11,
    SOCKET_PEER_CLOSED = -12,  // the stream's peer closed it
    SOCKET_TRUNCATED = -13,    // a datagram longer than the read buffer was dropped
};

// The read buffer: the longest datagram, or what one read of a stream takes at most.
constexpr size_t kSocketReadSize = 65535;

class SocketChannel : public Channel {
public:
    ~SocketChannel() override;
    SocketChannel(const SocketChannel&) = delete;
    SocketChannel& operator=(const SocketChannel&) = delete;

    // Wakes a write that waits for room first: a close never waits for the peer.
    int Close() override;
    // A write that waits for room, now or later, gives up at once; the socket stays open until
    // Close. For a window that is going.
    void Interrupt();
    bool IsOpen() const override { return m_fd.load() >= 0; }
    bool HasHungUp() const override { return m_hungUp.load(); }
    std::string LastErrorText() const override;
    void SetReceiveHandler(ReceiveHandler handler) override { m_receive = std::move(handler); }
    void SetHangUpHandler(HangUpHandler handler) override { m_hangUp = std::move(handler); }
    // A failed write is told to the write fault handler; a datagram goes whole or not at all.
    int Send(const unsigned char* bytes, size_t count) override;

    // Called on the sending thread when a Send fails, with the fault in words ("" when the
    // channel was not open).
    using WriteFaultHandler = std::function<void(const std::string& why)>;
    // Set before the channel is handed to senders.
    void SetWriteFaultHandler(WriteFaultHandler handler) { m_writeFault = std::move(handler); }
    // Where writes go, and the one sender whose datagrams are taken; any thread. A stream has
    // its remote end from the connect and ignores it.
    virtual void SetPeer(const SocketAddress& /*peer*/) {}
    // Datagrams dropped since the channel was made because another sender sent them.
    virtual uint64_t ForeignCount() const { return 0; }

    // The socket to watch for data; -1 while closed.
    int Fd() const { return m_fd.load(); }
    // Reads what the socket holds now without waiting and hands it to the receive handler.
    // The byte count (0 when nothing was there), or SOCKET_RECEIVE_FAILED, SOCKET_TRUNCATED, or
    // SOCKET_PEER_CLOSED (the hang-up handler has been called; the socket stays until Close).
    virtual int Receive() = 0;

protected:
    explicit SocketChannel(size_t readSize) : m_readSize(readSize) {}
    // A new socket (non-blocking, close-on-exec), or a SocketResult with the fault kept.
    int CreateSocket(int type);
    // Waits up to timeoutMs for room to write on fd; false on time-out, a fault, or Interrupt
    // (stopped is then true). Called with m_lock held.
    bool WaitForRoom(int fd, int timeoutMs, bool& stopped);
    // Keeps the open socket: the channel is open from now on.
    void Adopt(int fd);
    void SetFault(const std::string& text);
    void ReportPeerClosed(const std::string& text);
    // The read buffer, m_readSize bytes.
    unsigned char* Buffer();
    void Deliver(const unsigned char* bytes, size_t count);

    std::mutex m_lock;  // the socket's descriptor for writers and Close
    std::atomic<int> m_fd{-1};
    const size_t m_readSize;

private:
    std::atomic<bool> m_hungUp{false};
    std::atomic<int> m_wake{-1};  // raised by Close and Interrupt; made with the first socket
    mutable std::mutex m_faultLock;
    std::string m_fault;
    ReceiveHandler m_receive;
    HangUpHandler m_hangUp;
    WriteFaultHandler m_writeFault;
    std::vector<unsigned char> m_buffer;
};

// Datagrams on a bound local address; each write is one datagram to the peer, and only the
// peer's datagrams are taken.
class UdpChannel : public SocketChannel {
public:
    // Datagrams of other senders one Receive drops at most before it returns: a flood of them
    // does not hold the reader's thread.
    static constexpr int kForeignPerReceive = 64;
    // Datagrams of the peer one Receive takes at most: everything the socket holds at the line's
    // rates, while a flood still lets the reader's thread go between reads.
    static constexpr int kDatagramsPerReceive = 1024;

    explicit UdpChannel(size_t readSize = kSocketReadSize) : SocketChannel(readSize) {}
    void SetLocal(const SocketAddress& local) { m_local = local; }
    void SetPeer(const SocketAddress& peer) override;
    int Open() override;
    int Write(const unsigned char* bytes, size_t count) override;
    bool IsStream() const override { return false; }
    // Takes every datagram the socket holds (up to a bound per call), each handed on as one
    // block; datagrams from other senders are dropped and counted. The bytes taken, 0 when only
    // other senders' were there.
    int Receive() override;
    uint64_t ForeignCount() const override { return m_foreign.load(); }

private:
    SocketAddress m_local;
    SocketAddress m_peer;
    std::atomic<uint64_t> m_peerKey{0};  // the peer for the reader: address << 16 | port
    std::atomic<uint64_t> m_foreign{0};
};

// A stream connected to the remote address. The connect waits at most the time-out; while it
// waits the caller's wait runs (the window pumps its messages there).
class TcpClientChannel : public SocketChannel {
public:
    // Returns once finished() is true.
    using Wait = std::function<void(const std::function<bool()>& finished)>;

    explicit TcpClientChannel(size_t readSize = kSocketReadSize) : SocketChannel(readSize) {}
    void SetRemote(const SocketAddress& remote) { m_remote = remote; }
    void SetConnectTimeout(uint32_t ms) { m_connectTimeoutMs = ms; }
    void SetWait(Wait wait) { m_wait = std::move(wait); }
    int Open() override;
    // Sends every byte, waiting at most a few seconds for room.
    int Write(const unsigned char* bytes, size_t count) override;
    bool IsStream() const override { return true; }
    int Receive() override;

private:
    // Waits for the connect begun on fd; SOCKET_OK or the failure.
    int FinishConnect(int fd);

    SocketAddress m_remote;
    uint32_t m_connectTimeoutMs = 5000;
    Wait m_wait;
};

// Binds a stream socket to the local address and listens on it with a backlog of 50, then
// closes it again. SOCKET_OK, or the failure with why in words.
int OpenListeningSocket(const SocketAddress& local, std::string& why);
