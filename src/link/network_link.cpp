#include "link/network_link.h"

#include <cstdio>
#include <utility>
#include <vector>

namespace {

constexpr char kCreateFailed[] = "创建套接字失败！";
constexpr char kBindFailed[] = "绑定失败！";
constexpr char kWatchFailed[] = "注册网络读取事件失败！";
constexpr char kCloseFailed[] = "关闭网络失败！";
constexpr char kSendFailed[] = "发送数据失败！";
constexpr char kReceiveFailed[] = "接收数据失败！";

// Where an unfinished 0x79 frame at the end of the bytes starts: the first start byte, outside
// the checked frames before it, whose frame runs past the end; count when there is none.
size_t UnfinishedFrameStart(const unsigned char* bytes, size_t count) {
    // Running sums and exclusive ors, so each candidate frame is checked at once.
    std::vector<uint8_t> sums(count + 1, 0);
    std::vector<uint8_t> xors(count + 1, 0);
    for (size_t k = 0; k < count; ++k) {
        sums[k + 1] = static_cast<uint8_t>(sums[k] + bytes[k]);
        xors[k + 1] = static_cast<uint8_t>(xors[k] ^ bytes[k]);
    }
    size_t i = 0;
    while (i < count) {
        if (bytes[i] != 0x79) {
            ++i;
            continue;
        }
        if (count - i < 3) return i;
        const size_t total = (bytes[i + 1] | (static_cast<size_t>(bytes[i + 2]) << 8)) + 7;
        if (total > count - i) return i;
        // The two check bytes cover every byte after the start byte and before them.
        const size_t sumAt = i + total - 2;
        const bool checked = static_cast<uint8_t>(sums[sumAt] - sums[i + 1]) == bytes[sumAt] &&
                             (xors[sumAt] ^ xors[i + 1]) == bytes[sumAt + 1];
        i += checked ? total : 1;
    }
    return count;
}

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
    if (auto udp = std::dynamic_pointer_cast<UdpChannel>(m_channel)) udp->SetPeer(peer);
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
    const bool stream = std::dynamic_pointer_cast<TcpClientChannel>(channel) != nullptr;
    m_carry.clear();
    channel->SetReceiveHandler([this, stream](const unsigned char* bytes, size_t count) {
        ByteString block;
        block.swap(m_carry);
        block.append(bytes, count);
        // A stream has no frame bounds: a read may end inside a frame, whose start then waits
        // for the rest.
        if (stream) {
            const size_t cut = UnfinishedFrameStart(block.data(), block.size());
            if (cut < block.size()) {
                m_carry = block.substr(cut);
                block.resize(cut);
                m_carrySince = std::chrono::steady_clock::now();
                AskQuiet(kStreamQuietMs);
            }
        }
        if (m_sink && !block.empty()) m_sink(block);
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
    std::shared_ptr<SocketChannel> channel;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        channel.swap(m_channel);
    }
    m_socketOpen = 0;
    m_carry.clear();
    if (!channel) return;
    // The watch ends before the descriptor goes.
    if (m_listener) m_listener->OnNetworkSocket(-1);
    if (channel->Close() != SOCKET_OK) Tell(WithReason(kCloseFailed, channel->LastErrorText()));
}

void NetworkLink::PassCarry() {
    ByteString block;
    block.swap(m_carry);
    if (m_sink && !block.empty()) m_sink(block);
}

bool NetworkLink::Drop(const std::shared_ptr<SocketChannel>& channel) {
    {
        std::lock_guard<std::mutex> lock(m_lock);
        if (m_channel != channel) return false;
        m_channel.reset();
    }
    m_socketOpen = 0;
    m_carry.clear();
    if (m_listener) m_listener->OnNetworkSocket(-1);
    channel->Close();
    return true;
}

int NetworkLink::NetworkSend(const unsigned char* bytes, size_t count) {
    const uint32_t mode = m_netSendMode.load();
    if (mode != NET_TCP_CLIENT && mode != NET_UDP) return 0;
    const std::shared_ptr<SocketChannel> channel = Current();
    const int result = channel ? channel->Write(bytes, count) : static_cast<int>(SOCKET_NOT_OPEN);
    if (result >= 0) return result;
    if (mode == NET_UDP) {
        Tell(WithReason(kSendFailed, channel ? channel->LastErrorText() : std::string()));
    } else {
        std::fputs("Transmission data defeat!\n", stderr);
    }
    return result;
}

void NetworkLink::AskQuiet(uint32_t delayMs) {
    if (m_quietAsked || !m_listener) return;
    m_quietAsked = true;
    m_listener->RequestNetworkRead(delayMs);
}

void NetworkLink::OnNetworkRead(uintptr_t socket, intptr_t event) {
    const intptr_t kind = event & 0xFFFF;
    if (kind == kNetworkQuietEvent) {
        m_quietAsked = false;
        // What is kept belongs to the socket open now: closing drops it.
        if (m_carry.empty()) return;
    } else if (kind != kNetworkReadEvent) {
        return;
    }
    const std::shared_ptr<SocketChannel> channel = Current();
    // A message of a socket closed since it was posted finds nothing to read.
    if (!channel || static_cast<uintptr_t>(channel->Fd()) != socket) return;
    // The rest of a kept frame may be waiting behind a busy window: it is read first.
    const int result = channel->Receive();
    if (result == 0 && kind == kNetworkQuietEvent && !m_carry.empty()) {
        const auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::steady_clock::now() - m_carrySince);
        if (waited.count() >= kStreamQuietMs) {
            PassCarry();
        } else {
            AskQuiet(kStreamQuietMs - static_cast<uint32_t>(waited.count()) + 1);
        }
    }
    if (result >= 0) return;
    // What was read before the stream ended goes through first.
    PassCarry();
    const bool stream = std::dynamic_pointer_cast<TcpClientChannel>(channel) != nullptr;
    if (result == SOCKET_PEER_CLOSED || (stream && result == SOCKET_RECEIVE_FAILED)) {
        // The stream is over: the channel ends.
        const std::string why = result == SOCKET_PEER_CLOSED ? channel->LastErrorText()
                                                             : WithReason(kReceiveFailed, channel->LastErrorText());
        if (Drop(channel) && m_listener) m_listener->OnNetworkClosed(why);
        return;
    }
    Tell(WithReason(kReceiveFailed, channel->LastErrorText()));
}
