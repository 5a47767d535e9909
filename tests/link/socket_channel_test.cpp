// The network channels over loopback without a window: datagram sizes, faults of binding and
// connecting, stream reads that end inside a frame, a peer that closes; the adapter helpers and
// the network manager's command lines (a stand-in program records its arguments). The window's
// tests add the connect that times out.

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "link/conversions.h"
#include "link/network_adapters.h"
#include "link/network_link.h"
#include "test_frames.h"

using testing_frames::Hex;
using testing_frames::MakeFrame;

namespace {

constexpr uint32_t kLoopback = 0x7F000001;

// A loopback socket of the test's own, closed with the object.
struct Peer {
    explicit Peer(int type) : fd(::socket(AF_INET, type | SOCK_CLOEXEC, 0)) {}
    ~Peer() { ::close(fd); }
    // The port bound (port 0: any free one); 0 when the bind failed.
    uint16_t Bind(uint16_t port = 0) {
        sockaddr_in a{AF_INET, htons(port), {htonl(kLoopback)}, {}};
        socklen_t n = sizeof a;
        if (::bind(fd, reinterpret_cast<sockaddr*>(&a), n) != 0) return 0;
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &n);
        return ntohs(a.sin_port);
    }
    int fd;
};

struct Listener : NetworkListener {
    void OnNetworkMessage(const std::string& text) override { messages.push_back(text); }
    bool OnNetworkSocket(int socket) override {
        watched = socket;
        return true;
    }
    void OnNetworkClosed(const std::string& why) override { closed = why; }
    void RequestNetworkRead(uint32_t delayMs) override { asked.push_back(delayMs); }
    void OnForeignDatagrams(uint64_t count) override { foreign.push_back(count); }
    std::vector<std::string> messages;
    int watched = -1;
    std::string closed;
    std::vector<uint32_t> asked;
    std::vector<uint64_t> foreign;
};

std::string HexOf(const ByteString& bytes) {
    std::string text;
    BytesToHexText(text, bytes);
    return text;
}

// A UDP channel on loopback that takes datagrams from one port and notes each block it hands on.
struct UdpTaker {
    explicit UdpTaker(uint16_t from) {
        channel.SetLocal({kLoopback, 0});
        channel.SetPeer({kLoopback, from});
        opened = channel.Open() == SOCKET_OK;
        channel.SetReceiveHandler([this](const unsigned char* bytes, size_t count) {
            blocks.push_back(HexOf(ByteString(bytes, count)));
        });
        ::getsockname(channel.Fd(), reinterpret_cast<sockaddr*>(&to), &length);
    }
    void SendFrom(const Peer& peer, const ByteString& bytes) {
        ::sendto(peer.fd, bytes.data(), bytes.size(), 0, reinterpret_cast<sockaddr*>(&to), length);
    }

    UdpChannel channel;
    bool opened = false;
    std::vector<std::string> blocks;
    sockaddr_in to{};
    socklen_t length = sizeof to;
};

TEST(SocketChannel, EachDatagramUpToTheBufferIsOneBlockAndLongerOnesAreDropped) {
    struct Case {
        size_t buffer, size;
        int result;
        std::string fault;
    } const cases[] = {{kSocketReadSize, 65507, 65507, ""},  // the largest IPv4 datagram
                       {16, 16, 16, ""},
                       {16, 17, SOCKET_TRUNCATED, "数据报长17字节，超过16字节，已丢弃"},
                       {16, 0, 0, ""}};
    Peer peer(SOCK_DGRAM);
    const uint16_t from = peer.Bind();
    for (const Case& c : cases) {
        UdpChannel channel(c.buffer);
        channel.SetLocal({kLoopback, 0});
        channel.SetPeer({kLoopback, from});
        ASSERT_EQ(channel.Open(), SOCKET_OK);
        std::vector<size_t> blocks;
        channel.SetReceiveHandler([&](const unsigned char*, size_t count) { blocks.push_back(count); });
        sockaddr_in to{};
        socklen_t length = sizeof to;
        ::getsockname(channel.Fd(), reinterpret_cast<sockaddr*>(&to), &length);
        const std::string bytes(c.size, 'x');
        ::sendto(peer.fd, bytes.data(), bytes.size(), 0, reinterpret_cast<sockaddr*>(&to), length);
        pollfd p{channel.Fd(), POLLIN, 0};
        ASSERT_EQ(::poll(&p, 1, 2000), 1);
        EXPECT_EQ(channel.Receive(), c.result) << c.size;
        EXPECT_EQ(blocks, c.result > 0 ? std::vector<size_t>{c.size} : std::vector<size_t>{}) << c.size;
        EXPECT_EQ(channel.LastErrorText(), c.fault);
    }
}

TEST(SocketChannel, OneReceiveTakesEveryDatagramTheSocketHolds) {
    Peer peer(SOCK_DGRAM);
    const uint16_t from = peer.Bind();
    UdpTaker taker(from);
    ASSERT_TRUE(taker.opened);
    UdpChannel& channel = taker.channel;
    const std::vector<std::string>& blocks = taker.blocks;
    std::vector<std::string> sent;
    for (int i = 0; i < 200; ++i) {
        const ByteString bytes = MakeFrame(0x80, 0x15, ByteString{static_cast<unsigned char>(i)});
        taker.SendFrom(peer, bytes);
        sent.push_back(HexOf(bytes));
    }
    pollfd p{channel.Fd(), POLLIN, 0};
    ASSERT_EQ(::poll(&p, 1, 2000), 1);
    EXPECT_EQ(channel.Receive(), static_cast<int>(200 * MakeFrame(0x80, 0x15, "00").size()));
    EXPECT_EQ(blocks, sent);  // loopback delivers each datagram before its send returns
}

TEST(SocketChannel, AFloodFromAnotherAddressNeverHoldsOneReceiveToItsEnd) {
    Peer module(SOCK_DGRAM);
    const uint16_t from = module.Bind();
    Peer other(SOCK_DGRAM);
    other.Bind();
    UdpTaker taker(from);
    ASSERT_TRUE(taker.opened);
    UdpChannel& channel = taker.channel;
    const std::vector<std::string>& blocks = taker.blocks;
    constexpr uint64_t kFlood = 3 * UdpChannel::kForeignPerReceive;
    const ByteString foreign = Hex("790100801501");
    for (uint64_t i = 0; i < kFlood; ++i)
        taker.SendFrom(other, foreign);
    const ByteString frame = MakeFrame(0x80, 0x15, "02");
    taker.SendFrom(module, frame);
    // Each receive drops a bounded share of the flood and returns.
    std::vector<uint64_t> dropped;
    for (int reads = 0; reads < 1000 && (blocks.empty() || channel.ForeignCount() < kFlood); ++reads) {
        pollfd p{channel.Fd(), POLLIN, 0};
        if (::poll(&p, 1, 5000) != 1) break;
        const uint64_t before = channel.ForeignCount();
        ASSERT_GE(channel.Receive(), 0);
        dropped.push_back(channel.ForeignCount() - before);
    }
    EXPECT_EQ(blocks, std::vector<std::string>{HexOf(frame)});
    EXPECT_EQ(channel.ForeignCount(), kFlood);
    for (const uint64_t n : dropped) EXPECT_LE(n, static_cast<uint64_t>(UdpChannel::kForeignPerReceive));
}

TEST(SocketChannel, FailedOpeningsSayWhyAndLeaveNothingOpen) {
    Peer taken(SOCK_STREAM);  // bound, not listening: connects are refused
    const uint16_t takenPort = taken.Bind();
    Peer udpTaken(SOCK_DGRAM);
    const uint16_t udpPort = udpTaken.Bind();
    struct Case {
        std::function<void(NetworkLink&)> open;
        std::string message;
    } const cases[] = {
        {[&](NetworkLink& n) { n.ToggleUdpSocket({kLoopback, udpPort}); },
         "绑定失败！\r\n地址已被占用：127.0.0.1:" + std::to_string(udpPort)},
        {[&](NetworkLink& n) { n.ToggleTcpClientSocket({kLoopback, takenPort}); },
         "绑定失败！\r\n连接被拒绝：127.0.0.1:" + std::to_string(takenPort)},
        {[&](NetworkLink& n) { n.OpenListeningSocket({kLoopback, takenPort}); },
         "绑定失败！\r\n地址已被占用：127.0.0.1:" + std::to_string(takenPort)},
    };
    for (const Case& c : cases) {
        NetworkLink net(nullptr);
        Listener l;
        net.SetListener(&l);
        c.open(net);
        EXPECT_EQ(l.messages, std::vector<std::string>{c.message});
        EXPECT_FALSE(net.IsSocketOpen());
        EXPECT_EQ(l.watched, -1);
    }
    // A listening socket that opens is not kept: its port is free at once.
    NetworkLink net(nullptr);
    const uint16_t port = Peer(SOCK_STREAM).Bind();
    EXPECT_TRUE(net.OpenListeningSocket({kLoopback, port}));
    EXPECT_FALSE(net.IsSocketOpen());
    EXPECT_EQ(Peer(SOCK_STREAM).Bind(port), port);
}

TEST(SocketChannel, AStreamsReadsGoOnInOrderAndItsEndFollowsWhatWasRead) {
    const std::string a = HexOf(MakeFrame(0x80, 0x14, "0304"));
    const std::string b = HexOf(MakeFrame(0x80, 0x15, "05"));
    enum Then { kNothing, kPeerCloses, kStop };
    struct Case {
        std::vector<std::string> pieces;
        Then then;
        std::vector<std::string> handed;  // "S" bytes of a read, "E" the stream's end
        std::string unread;               // sent last and not read before then
    } const cases[] = {
        // A read may end inside a frame: the receive path gathers the pieces.
        {{a + b.substr(0, 8), b.substr(8)}, kNothing, {"S " + a + b.substr(0, 8), "S " + b.substr(8)}, ""},
        {{"790500"}, kPeerCloses, {"S 790500", "E"}, ""},  // what was read goes through before the end
        {{a + b.substr(0, 8)}, kStop, {"S " + a + b.substr(0, 8), "E"}, ""},
        {{a}, kStop, {"S " + a, "S " + b + "7905", "E"}, b + "7905"},  // a stop reads what the socket holds
    };
    for (const Case& c : cases) {
        Peer server(SOCK_STREAM);
        const uint16_t port = server.Bind();
        ::listen(server.fd, 1);
        std::vector<std::string> handed;
        NetworkLink net([&](NetworkRead kind, const unsigned char* bytes, size_t count) {
            EXPECT_NE(kind, NetworkRead::Datagram);
            handed.push_back(kind == NetworkRead::StreamEnd ? "E" : "S " + HexOf(ByteString(bytes, count)));
        });
        Listener l;
        net.SetListener(&l);
        net.ToggleTcpClientSocket({kLoopback, port});
        const int conn = ::accept(server.fd, nullptr, nullptr);
        const int fd = l.watched;
        auto readNow = [&] {
            pollfd p{fd, POLLIN, 0};
            EXPECT_EQ(::poll(&p, 1, 2000), 1);
            net.OnNetworkRead(static_cast<uintptr_t>(fd), kNetworkReadEvent);
        };
        for (const std::string& piece : c.pieces) {
            const ByteString bytes = Hex(piece);
            ::send(conn, bytes.data(), bytes.size(), 0);
            readNow();
        }
        if (!c.unread.empty()) {
            const ByteString bytes = Hex(c.unread);
            ::send(conn, bytes.data(), bytes.size(), 0);
            pollfd p{fd, POLLIN, 0};
            EXPECT_EQ(::poll(&p, 1, 2000), 1);
        }
        if (c.then == kStop) {
            net.CloseSocket();
            EXPECT_FALSE(net.IsSocketOpen());
            EXPECT_EQ(l.watched, -1);
        }
        ::close(conn);
        if (c.then == kPeerCloses) {
            readNow();
            EXPECT_EQ(l.closed, "对方已关闭连接：127.0.0.1:" + std::to_string(port));
            EXPECT_FALSE(net.IsSocketOpen());
            EXPECT_EQ(l.watched, -1);
        }
        EXPECT_EQ(handed, c.handed) << c.pieces[0];
    }
}

TEST(SocketChannel, UdpTakesOnlyThePeersDatagramsAndCountsTheOthers) {
    Peer module(SOCK_DGRAM);
    const uint16_t modulePort = module.Bind();
    Peer other(SOCK_DGRAM);
    other.Bind();
    std::vector<std::string> blocks;
    NetworkLink net([&](NetworkRead kind, const unsigned char* bytes, size_t count) {
        EXPECT_EQ(kind, NetworkRead::Datagram);
        blocks.push_back(HexOf(ByteString(bytes, count)));
    });
    Listener l;
    net.SetListener(&l);
    net.SetPeer({kLoopback, modulePort});
    net.ToggleUdpSocket({kLoopback, 0});
    ASSERT_TRUE(net.IsSocketOpen());
    sockaddr_in to{};
    socklen_t length = sizeof to;
    ::getsockname(l.watched, reinterpret_cast<sockaddr*>(&to), &length);
    struct Step {
        const Peer& from;
        const char* bytes;
        std::vector<std::string> blocks;
        std::vector<uint64_t> reported;
    } const steps[] = {
        {other, "790100801501", {}, {1}},
        {module, "790100801502", {"790100801502"}, {1}},
        {other, "790100801503", {"790100801502"}, {1}},  // within the report interval: later
    };
    for (const Step& step : steps) {
        const ByteString bytes = Hex(step.bytes);
        ::sendto(step.from.fd, bytes.data(), bytes.size(), 0, reinterpret_cast<sockaddr*>(&to), length);
        pollfd p{l.watched, POLLIN, 0};
        ASSERT_EQ(::poll(&p, 1, 2000), 1);
        net.OnNetworkRead(static_cast<uintptr_t>(l.watched), kNetworkReadEvent);
        EXPECT_EQ(blocks, step.blocks) << step.bytes;
        EXPECT_EQ(l.foreign, step.reported) << step.bytes;
    }
    ASSERT_FALSE(l.asked.empty());
    ::usleep(kForeignReportMs * 1000);
    net.OnNetworkRead(static_cast<uintptr_t>(l.watched), kNetworkQuietEvent);
    EXPECT_EQ(l.foreign, (std::vector<uint64_t>{1, 2}));
}

TEST(NetworkAdapters, AddressesPortsMasksAndGateways) {
    uint32_t ip = 0;
    uint16_t port = 0;
    for (const auto& c : std::vector<std::pair<std::string, int64_t>>{
             {"192.168.001.008", 0xC0A80108}, {"0.0.0.0", 0}, {"300.0.0.1", -1}, {"1.2.3", -1}, {"1.2.3.4.5", -1},
             {"1.2..4", -1}, {"1.2.3.4 ", -1}, {"1.2.3.1000", -1}})
        EXPECT_EQ(ParseIpv4(c.first, ip) ? int64_t{ip} : -1, c.second) << c.first;
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
    // Answers with a connection name; fails with two lines of output once "fail" exists.
    std::ofstream(program) << "#!/bin/sh\necho \"$*\" >> " << log << "\n[ -e " << dir.string()
                           << "/fail ] && { echo first; echo 'Error: not allowed'; exit 4; }\necho '有线 连接 1'\n";
    std::filesystem::permissions(program, std::filesystem::perms::owner_all);
    NmcliAdapterConfigurator nm(program);
    ASSERT_TRUE(nm.FindAdapterConfig("eth0")) << nm.LastErrorText();
    ASSERT_TRUE(nm.SetAdapterStaticAddress("192.168.1.8", "255.255.255.0", "192.168.1.1")) << nm.LastErrorText();
    EXPECT_FALSE(nm.SetAdapterStaticAddress("192.168.1.8", "255.0.255.0", ""));
    EXPECT_EQ(nm.LastErrorText(), "子网掩码无效：255.0.255.0");
    std::ifstream in(log);
    std::vector<std::string> calls;
    for (std::string line; std::getline(in, line);) calls.push_back(line);
    EXPECT_EQ(calls, (std::vector<std::string>{
                         "--escape no -g GENERAL.CONNECTION device show eth0",
                         "connection modify id 有线 连接 1 ipv4.method manual ipv4.addresses 192.168.1.8/24 "
                         "ipv4.gateway 192.168.1.1",
                         "-w 10 connection up id 有线 连接 1"}));
    std::ofstream(dir / "fail").put('\n');
    EXPECT_FALSE(nm.FindAdapterConfig("eth0"));
    EXPECT_EQ(nm.LastErrorText(), "Error: not allowed");
    NmcliAdapterConfigurator missing((dir / "absent").string());
    EXPECT_FALSE(missing.FindAdapterConfig("eth0"));
    EXPECT_EQ(missing.LastErrorText(), "找不到命令" + (dir / "absent").string() + "：设置网卡需要NetworkManager");
    std::filesystem::remove_all(dir);
}

}  // namespace
