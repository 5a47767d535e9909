#include "link/network_link.h"

#include <algorithm>
#include <cstdio>
#include <utility>

namespace {

constexpr char kCreateFailed[] = "创建套接字失败！";
constexpr char kBindFailed[] = "绑定失败！";
constexpr char kWatchFailed[] = "注册网络读取事件失败！";
constexpr char kCloseFailed[] = "关闭网络失败！";
constexpr char kSendFailed[] = "发送数据失败！";
constexpr char kReceiveFailed[] = "接收数据失败！";

// Reads a close drains at most: a peer that never stops sending cannot hold the close.
constexpr int kDrainReads = 16;

// The text, and the reason on a line of its own when there is one.
std::string WithReason(const char* text, const std::string& why) {
    return why.empty() ? std::string(text) : std::string(text) + "\r\n" + why;
}

}  // namespace

NetworkLink::NetworkLink(BlockSink sink) : m_sink(std::move(sink)) {}

NetworkLink::~NetworkLink() {
    // The window is going: the socket closes without a word to it.
    std::shared_ptr<SocketChannel> channel;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        channel.swap(m_channel);
    }
    if (channel) channel->Close();
}

std::shared_ptr<SocketChannel> NetworkLink::Current() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_channel;
}

int NetworkLink::SocketFd() const {
    const std::shared_ptr<SocketChannel> channel = Current();
    return channel ? channel->Fd() : -1;
}

void NetworkLink::SetPeer(const SocketAddress& peer) {
    std::lock_guard<std::mutex> lock(m_lock);
    m_peerAddr = peer;
    if (m_channel) m_channel->SetPeer(peer);
}

SocketAddress NetworkLink::Peer() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_peerAddr;
}

void NetworkLink::Tell(const std::string& text) {
    if (m_listener) m_listener->OnNetworkMessage(text);
}

void NetworkLink::Keep(std::shared_ptr<SocketChannel> channel) {
    const int fd = channel->Fd();
    const bool stream = channel->IsStream();
    m_foreignShown = 0;
    // A stream has no frame bounds: its reads are gathered as the serial port's bytes are.
    const NetworkRead kind = stream ? NetworkRead::Stream : NetworkRead::Datagram;
    channel->SetReceiveHandler([this, kind](const unsigned char* bytes, size_t count) {
        if (m_sink && count > 0) m_sink(kind, bytes, count);
    });
    channel->SetWriteFaultHandler([this, stream](const std::string& why) {
        if (stream) {
            std::fputs("Transmission data defeat!\n", stderr);
        } else {
            Tell(WithReason(kSendFailed, why));
        }
    });
    if (!m_listener || !m_listener->OnNetworkSocket(fd)) {
        channel->Close();
        Tell(kWatchFailed);
        return;
    }
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_channel = std::move(channel);
    }
    m_socketOpen = 1;
}

void NetworkLink::ToggleUdpSocket(const SocketAddress& local) {
    if (m_connecting) return;
    if (IsSocketOpen()) {
        CloseSocket();
        return;
    }
    auto channel = std::make_shared<UdpChannel>();
    channel->SetLocal(local);
    channel->SetPeer(Peer());
    const int result = channel->Open();
    if (result != SOCKET_OK) {
        Tell(result == SOCKET_BIND_FAILED ? WithReason(kBindFailed, channel->LastErrorText())
                                          : WithReason(kCreateFailed, channel->LastErrorText()));
        return;
    }
    Keep(std::move(channel));
}

void NetworkLink::ToggleTcpClientSocket(const SocketAddress& remote) {
    if (m_connecting) return;
    if (IsSocketOpen()) {
        CloseSocket();
        return;
    }
    auto channel = std::make_shared<TcpClientChannel>();
    channel->SetRemote(remote);
    channel->SetConnectTimeout(m_connectTimeoutMs);
    channel->SetWait(m_wait);
    m_connecting = true;
    const int result = channel->Open();
    m_connecting = false;
    if (result != SOCKET_OK) {
        // A connect that fails says so as a failed bind does, with the reason below.
        Tell(result == SOCKET_CREATE_FAILED ? WithReason(kCreateFailed, channel->LastErrorText())
                                            : WithReason(kBindFailed, channel->LastErrorText()));
        return;
    }
    Keep(std::move(channel));
}

bool NetworkLink::OpenListeningSocket(const SocketAddress& local) {
    std::string why;
    const int result = ::OpenListeningSocket(local, why);
    if (result == SOCKET_OK) return true;
    Tell(WithReason(result == SOCKET_CREATE_FAILED ? kCreateFailed : kBindFailed, why));
    return false;
}

void NetworkLink::CloseSocket() {
    const std::shared_ptr<SocketChannel> current = Current();
    if (current) Drain(*current);
    std::shared_ptr<SocketChannel> channel;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        channel.swap(m_channel);
    }
    m_socketOpen = 0;
    if (!channel) return;
    EndStream(*channel);
    // The watch ends before the descriptor goes.
    if (m_listener) m_listener->OnNetworkSocket(-1);
    if (channel->Close() != SOCKET_OK) Tell(WithReason(kCloseFailed, channel->LastErrorText()));
}

void NetworkLink::InterruptWrites() {
    if (const std::shared_ptr<SocketChannel> channel = Current()) channel->Interrupt();
}

void NetworkLink::Drain(SocketChannel& channel) {
    for (int i = 0; i < kDrainReads && channel.Receive() > 0; ++i) {
    }
}

void NetworkLink::EndStream(const SocketChannel& channel) {
    if (m_sink && channel.IsStream()) m_sink(NetworkRead::StreamEnd, nullptr, 0);
}

void NetworkLink::ReportForeign(const SocketChannel& channel) {
    if (!m_listener) return;
    const uint64_t count = channel.ForeignCount();
    if (count == m_foreignShown) return;
    const Clock::time_point due = m_foreignShownAt + std::chrono::milliseconds(kForeignReportMs);
    const Clock::time_point now = Clock::now();
    if (now < due) {
        AskQuietAt(due);
        return;
    }
    m_foreignShown = count;
    m_foreignShownAt = now;
    m_listener->OnForeignDatagrams(count);
}

bool NetworkLink::Drop(const std::shared_ptr<SocketChannel>& channel) {
    {
        std::lock_guard<std::mutex> lock(m_lock);
        if (m_channel != channel) return false;
        m_channel.reset();
    }
    m_socketOpen = 0;
    EndStream(*channel);
    if (m_listener) m_listener->OnNetworkSocket(-1);
    channel->Close();
    return true;
}

void NetworkLink::AskQuietAt(Clock::time_point at) {
    if (!m_listener || (m_quietAsked && m_quietAt <= at)) return;
    m_quietAsked = true;
    m_quietAt = at;
    const auto delay = std::chrono::ceil<std::chrono::milliseconds>(at - Clock::now()).count();
    m_listener->RequestNetworkRead(static_cast<uint32_t>(std::max<int64_t>(delay, 1)));
}

void NetworkLink::OnNetworkRead(uintptr_t socket, intptr_t event) {
    const intptr_t kind = event & 0xFFFF;
    if (kind == kNetworkQuietEvent) {
        m_quietAsked = false;
    } else if (kind != kNetworkReadEvent) {
        return;
    }
    const std::shared_ptr<SocketChannel> channel = Current();
    // A message of a socket closed since it was posted finds nothing to read.
    if (!channel || static_cast<uintptr_t>(channel->Fd()) != socket) return;
    const int result = channel->Receive();
    if (result >= 0) {
        ReportForeign(*channel);
        return;
    }
    if (result == SOCKET_PEER_CLOSED || (channel->IsStream() && result == SOCKET_RECEIVE_FAILED)) {
        // The stream is over: the channel ends, and what was read goes through first.
        const std::string why = result == SOCKET_PEER_CLOSED ? channel->LastErrorText()
                                                             : WithReason(kReceiveFailed, channel->LastErrorText());
        if (Drop(channel) && m_listener) m_listener->OnNetworkClosed(why);
        return;
    }
    Tell(WithReason(kReceiveFailed, channel->LastErrorText()));
}
