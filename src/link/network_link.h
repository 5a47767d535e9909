#pragma once
// The network side of the link: the socket open now (a UDP socket or a TCP client stream), the
// peer that datagrams go to, the send mode, and the listening choice. Reads happen on the
// window's read message, on its user-interface thread, and hand what they read on to be
// gathered and split elsewhere; sends on any thread.

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "link/byte_string.h"
#include "link/socket_channel.h"

enum NetProtocol : uint32_t { NET_TCP_SERVER = 0, NET_TCP_CLIENT = 1, NET_UDP = 2 };

// The events in the read message's lParam: the socket has data; a wait asked for with
// RequestNetworkRead is up (the count of dropped datagrams to show).
constexpr intptr_t kNetworkReadEvent = 1;
constexpr intptr_t kNetworkQuietEvent = 2;

// What the network side tells the window.
class NetworkListener {
public:
    virtual ~NetworkListener() = default;
    // A plain message box; from the thread that met the fault.
    virtual void OnNetworkMessage(const std::string& text) = 0;
    // Starts watching the socket for data (the read message follows when it has some); -1 stops
    // the watch, before the socket closes. False when the watch could not be set up.
    virtual bool OnNetworkSocket(int fd) = 0;
    // The stream ended (its peer closed it, or reading failed) and the socket is closed; why says
    // which, for the user.
    virtual void OnNetworkClosed(const std::string& why) = 0;
    // Asks for a read message with kNetworkQuietEvent after the delay.
    virtual void RequestNetworkRead(uint32_t delayMs) = 0;
    // Datagrams from senders other than the peer were dropped: count since the socket opened.
    // At most once every kForeignReportMs.
    virtual void OnForeignDatagrams(uint64_t count) = 0;
};

// The shortest time between two reports of dropped datagrams.
constexpr uint32_t kForeignReportMs = 250;

// What a read hands on: one datagram (a block of its own), bytes of a stream (a read may end
// inside a frame: they are gathered by the receive path), or the stream's end (what it left
// goes on at once).
enum class NetworkRead { Datagram, Stream, StreamEnd };

class NetworkLink {
public:
    // count is 0 for StreamEnd.
    using BlockSink = std::function<void(NetworkRead kind, const unsigned char* bytes, size_t count)>;

    explicit NetworkLink(BlockSink sink);
    ~NetworkLink();
    NetworkLink(const NetworkLink&) = delete;
    NetworkLink& operator=(const NetworkLink&) = delete;

    void SetListener(NetworkListener* listener) { m_listener = listener; }
    // What a TCP connect runs while it waits (the window pumps its messages there).
    void SetWait(TcpClientChannel::Wait wait) { m_wait = std::move(wait); }
    void SetConnectTimeout(uint32_t ms) { m_connectTimeoutMs = ms; }

    // With no socket open: opens a UDP socket bound to local. With one open: closes it.
    void ToggleUdpSocket(const SocketAddress& local);
    // With no socket open: connects a stream to remote. With one open: closes it.
    void ToggleTcpClientSocket(const SocketAddress& remote);
    // Binds a stream socket to local and listens on it, then lets it go: no socket stays open.
    // False (the fault shown) when that failed.
    bool OpenListeningSocket(const SocketAddress& local);
    // Closes the socket open now; "关闭网络失败！" when closing fails. What the socket holds is
    // read first, and a stream's end follows it: nothing read is dropped.
    void CloseSocket();
    // The window is going: a write that waits for room on the socket gives up at once, and so
    // does every later one; the socket stays open.
    void InterruptWrites();

    bool IsSocketOpen() const { return m_socketOpen.load() != 0; }
    // True while a TCP connect waits.
    bool IsConnecting() const { return m_connecting; }
    // The socket open now, -1 for none.
    int SocketFd() const;
    void SetPeer(const SocketAddress& peer);
    SocketAddress Peer() const;
    // The protocol the socket is opened with; writes go by the channel open now.
    void SetSendMode(NetProtocol mode) { m_netSendMode = mode; }

    // The socket channel open now (null for none): the link's channel while it sends on the
    // network. A failed write says so: a datagram's in a message, a stream's on stderr.
    std::shared_ptr<SocketChannel> CurrentChannel() const { return Current(); }
    // The read message: for the read event of the socket open now, reads what it holds (every
    // datagram from the peer, each passed on as it is, or up to kSocketReadSize bytes of the
    // stream) and passes it on. A stream whose peer closed ends after what was read.
    void OnNetworkRead(uintptr_t socket, intptr_t event);

private:
    std::shared_ptr<SocketChannel> Current() const;
    // Keeps a channel that has just opened and has the listener watch it.
    void Keep(std::shared_ptr<SocketChannel> channel);
    void Tell(const std::string& text);
    using Clock = std::chrono::steady_clock;

    // Tells the listener the count of dropped datagrams when it changed, at most once every
    // kForeignReportMs.
    void ReportForeign(const SocketChannel& channel);
    // Reads what the socket holds now, so that a close drops nothing.
    void Drain(SocketChannel& channel);
    // Asks for the quiet event at the time unless one is on its way by then.
    void AskQuietAt(Clock::time_point at);
    // Tells the sink that the stream of channel ended.
    void EndStream(const SocketChannel& channel);
    // Drops the channel without a word (the stream ended); false when it was not the current one.
    bool Drop(const std::shared_ptr<SocketChannel>& channel);

    BlockSink m_sink;
    NetworkListener* m_listener = nullptr;
    TcpClientChannel::Wait m_wait;
    uint32_t m_connectTimeoutMs = 5000;
    bool m_connecting = false;

    bool m_quietAsked = false;  // a quiet event is on its way, due at m_quietAt
    Clock::time_point m_quietAt;
    // The count of dropped datagrams last reported, and when.
    uint64_t m_foreignShown = 0;
    Clock::time_point m_foreignShownAt;

    mutable std::mutex m_lock;  // the channel and the peer
    std::shared_ptr<SocketChannel> m_channel;
    SocketAddress m_peerAddr;
    std::atomic<uint32_t> m_socketOpen{0};
    std::atomic<uint32_t> m_netSendMode{NET_UDP};
};
