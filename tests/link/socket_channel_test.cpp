// The network channels over loopback: frames both ways through the module link, faults of
// binding and connecting, a peer that closes, datagram sizes; the adapter helpers and the
// network manager's command line (a stand-in program records its arguments). No window.

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "link/module_link.h"
#include "link/network_adapters.h"
#include "test_frames.h"

using testing_frames::MakeFrame;

namespace {

constexpr uint32_t kLoopback = 0x7F000001;

// A loopback socket of the test's own, closed with the object.
struct Peer {
    explicit Peer(int type) : fd(::socket(AF_INET, type | SOCK_CLOEXEC, 0)) {}
    ~Peer() {
        if (fd >= 0) ::close(fd);
    }
    // The port bound on loopback (port 0: any free one); 0 when the bind failed.
    uint16_t Bind(uint16_t port = 0) {
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(port);
        a.sin_addr.s_addr = htonl(kLoopback);
        socklen_t n = sizeof a;
        if (::bind(fd, reinterpret_cast<sockaddr*>(&a), n) != 0) return 0;
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &n);
        return ntohs(a.sin_port);
    }
    int fd;
};

class Listener : public NetworkListener {
public:
    void OnNetworkMessage(const std::string& text) override { messages.push_back(text); }
    bool OnNetworkSocket(int socket) override {
        watched = socket;
        return true;
    }
    void OnNetworkClosed(const std::string& why) override { closed = why; }
    std::vector<std::string> messages;
    int watched = -1;
    std::string closed;
};

struct NullLinkListener : LinkListener {
    void OnLogFrame(LogList, const std::string&) override {}
    void OnVersionText(const std::string&) override {}
    void OnHangUp() override {}
    void OnToolFrame(ToolFrame, const ByteString&) override {}
    void OnFrameRecorded(char, const ByteString&, const SystemTime&, uint32_t) override {}
    void OnThreadStartFailed(const std::string&) override {}
};

// Does what the window's socket notifier does: a read message each time the socket has data.
bool PumpUntil(NetworkLink& net, const Listener& l, const std::function<bool()>& done) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!done() && std::chrono::steady_clock::now() < end) {
        pollfd p{l.watched, POLLIN, 0};
        if (l.watched >= 0 && ::poll(&p, 1, 10) > 0) net.OnNetworkRead(static_cast<uintptr_t>(l.watched), 1);
    }
    return done();
}

size_t Count(ModuleLink& link, char kind) {
    size_t n = 0;
    for (const MonitorRecord& r : link.History().Snapshot()) n += r.kind == static_cast<unsigned char>(kind);
    return n;
}

TEST(SocketChannel, FramesTravelBothWaysIntoQueuesAndHistory) {
    const ByteString request = MakeFrame(0x00, 0x14, "0102");
    const ByteString reply = MakeFrame(0x80, 0x14, "0304");
    for (const int type : {SOCK_DGRAM, SOCK_STREAM}) {
        SCOPED_TRACE(type);
        NullLinkListener quiet;
        ModuleLink link(quiet);
        Listener l;
        NetworkLink& net = link.Network();
        net.SetListener(&l);
        ASSERT_EQ(link.StartMonitorThread(), 1);
        Peer peer(type);
        const uint16_t port = peer.Bind();
        net.SetPeer({kLoopback, port});
        if (type == SOCK_STREAM) {
            ::listen(peer.fd, 1);
            net.SetSendMode(NET_TCP_CLIENT);
            net.ToggleTcpClientSocket({kLoopback, port});
        } else {
            net.SetSendMode(NET_UDP);
            net.ToggleUdpSocket({kLoopback, 0});
        }
        ASSERT_TRUE(net.IsSocketOpen()) << (l.messages.empty() ? "" : l.messages[0]);
        link.SetChannelMode(CHANNEL_NETWORK);
        link.SendFrame(request);

        // The peer answers where the request came from, as the module would.
        const int conn = type == SOCK_STREAM ? ::accept(peer.fd, nullptr, nullptr) : peer.fd;
        unsigned char got[64];
        sockaddr_in from{};
        socklen_t fromLength = sizeof from;
        const ssize_t n = ::recvfrom(conn, got, sizeof got, 0, reinterpret_cast<sockaddr*>(&from), &fromLength);
        EXPECT_EQ(ByteString(got, static_cast<size_t>(n > 0 ? n : 0)), request);
        ::sendto(conn, reply.data(), reply.size(), 0, type == SOCK_STREAM ? nullptr : reinterpret_cast<sockaddr*>(&from),
                 type == SOCK_STREAM ? 0 : fromLength);
        EXPECT_TRUE(PumpUntil(net, l, [&] { return Count(link, '1') == 1; }));
        const std::vector<ReplyEntry> filed = link.Queues().sendData.Snapshot();
        ASSERT_EQ(filed.size(), 1u);
        EXPECT_EQ(filed[0].frame, reply);
        EXPECT_EQ(Count(link, '0'), 1u);
        if (type == SOCK_STREAM) ::close(conn);
    }
}

TEST(SocketChannel, LargestDatagramIsOneBlockOfFrames) {
    NullLinkListener quiet;
    ModuleLink link(quiet);
    Listener l;
    link.Network().SetListener(&l);
    link.Network().ToggleUdpSocket({kLoopback, 0});
    ASSERT_TRUE(link.Network().IsSocketOpen());
    sockaddr_in to{};
    socklen_t length = sizeof to;
    ::getsockname(l.watched, reinterpret_cast<sockaddr*>(&to), &length);
    // Frames cut at any smaller read would be lost from the middle of the block.
    const ByteString frame = MakeFrame(0x80, 0x14, "0304");
    ByteString datagram;
    while (datagram.size() + frame.size() <= 65507) datagram += frame;
    Peer peer(SOCK_DGRAM);
    ASSERT_EQ(::sendto(peer.fd, datagram.data(), datagram.size(), 0, reinterpret_cast<sockaddr*>(&to), length),
              static_cast<ssize_t>(datagram.size()));
    const size_t frames = datagram.size() / frame.size();
    EXPECT_TRUE(PumpUntil(link.Network(), l, [&] { return link.Queues().sendData.Size() == frames; }));
}

TEST(SocketChannel, DatagramsLongerThanTheBufferAreDroppedAndSaidSo) {
    struct Case {
        size_t size;
        int result;
        std::string fault;
    };
    const Case cases[] = {{16, 16, ""}, {17, SOCKET_TRUNCATED, "数据报长17字节，超过16字节，已丢弃"}, {0, 0, ""}};
    UdpChannel channel(16);
    channel.SetLocal({kLoopback, 0});
    ASSERT_EQ(channel.Open(), SOCKET_OK);
    size_t delivered = 0;
    channel.SetReceiveHandler([&](const unsigned char*, size_t count) { delivered += count; });
    sockaddr_in to{};
    socklen_t length = sizeof to;
    ::getsockname(channel.Fd(), reinterpret_cast<sockaddr*>(&to), &length);
    Peer peer(SOCK_DGRAM);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size);
        delivered = 0;
        const std::string bytes(c.size, 'x');
        ::sendto(peer.fd, bytes.data(), bytes.size(), 0, reinterpret_cast<sockaddr*>(&to), length);
        pollfd p{channel.Fd(), POLLIN, 0};
        ASSERT_EQ(::poll(&p, 1, 2000), 1);
        EXPECT_EQ(channel.Receive(), c.result);
        EXPECT_EQ(delivered, c.result > 0 ? c.size : 0u);
        if (c.result < 0) {
            EXPECT_EQ(channel.LastErrorText(), c.fault);
        }
    }
}

TEST(SocketChannel, FailedOpeningsSayWhyAndLeaveNothingOpen) {
    Peer taken(SOCK_STREAM);  // bound, not listening: connects are refused
    const uint16_t takenPort = taken.Bind();
    Peer udpTaken(SOCK_DGRAM);
    const uint16_t udpPort = udpTaken.Bind();
    Peer silent(SOCK_STREAM);  // a full backlog: SYNs go unanswered
    const uint16_t silentPort = silent.Bind();
    ::listen(silent.fd, 0);
    Peer filler(SOCK_STREAM);
    sockaddr_in s{AF_INET, htons(silentPort), {htonl(kLoopback)}, {}};
    ASSERT_EQ(::connect(filler.fd, reinterpret_cast<sockaddr*>(&s), sizeof s), 0);
    const std::string at = "127.0.0.1:";
    struct Case {
        std::function<void(NetworkLink&)> open;
        std::string message;
    } const cases[] = {
        {[&](NetworkLink& n) { n.ToggleUdpSocket({kLoopback, udpPort}); },
         "绑定失败！\r\n地址已被占用：" + at + std::to_string(udpPort)},
        {[&](NetworkLink& n) { n.ToggleTcpClientSocket({kLoopback, takenPort}); },
         "绑定失败！\r\n连接被拒绝：" + at + std::to_string(takenPort)},
        {[&](NetworkLink& n) { n.ToggleTcpClientSocket({kLoopback, silentPort}); },
         "绑定失败！\r\n连接超时：" + at + std::to_string(silentPort) + "在200毫秒内无应答"},
        {[&](NetworkLink& n) { n.OpenListeningSocket({kLoopback, takenPort}); },
         "绑定失败！\r\n地址已被占用：" + at + std::to_string(takenPort)},
    };
    for (const Case& c : cases) {
        NetworkLink net(nullptr);
        Listener l;
        net.SetListener(&l);
        net.SetConnectTimeout(200);
        c.open(net);
        EXPECT_EQ(l.messages, std::vector<std::string>{c.message});
        EXPECT_FALSE(net.IsSocketOpen());
        EXPECT_EQ(l.watched, -1);
    }
}

TEST(SocketChannel, ListeningLetsTheSocketGoAndAPeerThatClosesEndsTheStream) {
    NetworkLink net(nullptr);
    Listener l;
    net.SetListener(&l);
    Peer peer(SOCK_STREAM);
    const uint16_t port = peer.Bind();
    ::close(peer.fd);  // the port is free again
    peer.fd = -1;
    EXPECT_TRUE(net.OpenListeningSocket({kLoopback, port}));
    EXPECT_FALSE(net.IsSocketOpen());
    Peer again(SOCK_STREAM);
    EXPECT_EQ(again.Bind(port), port) << "a listener that is not kept holds no port";

    Peer server(SOCK_STREAM);
    const uint16_t serverPort = server.Bind();
    ::listen(server.fd, 1);
    net.ToggleTcpClientSocket({kLoopback, serverPort});
    ASSERT_TRUE(net.IsSocketOpen());
    ::close(::accept(server.fd, nullptr, nullptr));
    EXPECT_TRUE(PumpUntil(net, l, [&] { return !l.closed.empty(); }));
    EXPECT_EQ(l.closed, "对方已关闭连接：127.0.0.1:" + std::to_string(serverPort));
    EXPECT_FALSE(net.IsSocketOpen());
    EXPECT_EQ(l.watched, -1);
}

TEST(NetworkAdapters, PortsMasksAndGateways) {
    uint16_t port = 0;
    for (const auto& c : std::vector<std::pair<std::string, int>>{
             {"8081", 8081}, {"65535", 65535}, {"00080", 80}, {"65536", -1}, {"", -1}, {"80a", -1}, {"-1", -1}})
        EXPECT_EQ(ParsePortText(c.first, port) ? port : -1, c.second) << c.first;
    for (const auto& c : std::vector<std::pair<std::string, int>>{
             {"255.255.255.0", 24}, {"255.255.254.0", 23}, {"0.0.0.0", 0}, {"255.0.255.0", -1}, {"255.255", -1}})
        EXPECT_EQ(MaskPrefixLength(c.first), c.second) << c.first;
    const std::string table =
        "Iface\tDestination\tGateway \tFlags\tRefCnt\tUse\tMetric\tMask\t\tMTU\tWindow\tIRTT\n"
        "eth1\t000200C0\t00000000\t0001\t0\t0\t0\t00FFFFFF\t0\t0\t0\n"
        "eth1\t00000000\t0102A8C0\t0003\t0\t0\t0\t00000000\t0\t0\t0\n"
        "eth2\t00000000\t00000000\t0001\t0\t0\t0\t00000000\t0\t0\t0\n";
    EXPECT_EQ(GatewayFromRouteTable(table, "eth1"), "192.168.2.1");
    EXPECT_EQ(GatewayFromRouteTable(table, "eth2"), "");  // a default route without a gateway
    EXPECT_EQ(GatewayFromRouteTable(table, "eth3"), "");
    EXPECT_LE(ListNetworkAdapters().size(), kMaxAdapters);
}

TEST(NetworkAdapters, NetworkManagerCommandLines) {
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / ("kvt_nm_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string program = (dir / "nm-stand-in").string();
    const std::string log = (dir / "calls").string();
    // Answers the device query with a connection name, fails when told to.
    std::ofstream(program) << "#!/bin/sh\necho \"$*\" >> " << log << "\n"
                           << "[ -e " << dir.string() << "/fail ] && { echo first; echo 'Error: not allowed'; exit 4; }\n"
                           << "echo '有线 连接 1'\n";
    std::filesystem::permissions(program, std::filesystem::perms::owner_all);
    NmcliAdapterConfigurator nm(program);
    ASSERT_TRUE(nm.FindAdapterConfig("eth0")) << nm.LastErrorText();
    ASSERT_TRUE(nm.SetAdapterStaticAddress("192.168.1.8", "255.255.255.0", "192.168.1.1")) << nm.LastErrorText();
    std::ifstream in(log);
    std::vector<std::string> calls;
    for (std::string line; std::getline(in, line);) calls.push_back(line);
    EXPECT_EQ(calls, (std::vector<std::string>{
                         "--escape no -g GENERAL.CONNECTION device show eth0",
                         "connection modify id 有线 连接 1 ipv4.method manual ipv4.addresses 192.168.1.8/24 ipv4.gateway "
                         "192.168.1.1",
                         "-w 10 connection up id 有线 连接 1"}));
    EXPECT_FALSE(nm.SetAdapterStaticAddress("192.168.1.8", "255.0.255.0", ""));
    EXPECT_EQ(nm.LastErrorText(), "子网掩码无效：255.0.255.0");
    std::ofstream(dir / "fail").put('\n');
    EXPECT_FALSE(nm.FindAdapterConfig("eth0"));
    EXPECT_EQ(nm.LastErrorText(), "Error: not allowed");
    NmcliAdapterConfigurator missing((dir / "absent").string());
    EXPECT_FALSE(missing.FindAdapterConfig("eth0"));
    EXPECT_EQ(missing.LastErrorText(), "找不到命令" + (dir / "absent").string() + "：设置网卡需要NetworkManager");
    std::filesystem::remove_all(dir);
}

}  // namespace
