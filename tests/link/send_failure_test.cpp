// Writes that fail or are cut short: a serial peer (a pseudo-terminal's master) that never reads,
// a closed port, an oversized datagram, a stream peer that never reads over loopback, and
// channels never opened. The frame is not recorded as sent and the listener hears how much of it
// went out.

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <mutex>
#include <string>
#include <vector>

#include "link/module_link.h"
#include "support/quiet_link_listener.h"
#include "test_frames.h"

using testing_frames::MakeFrame;

namespace {

constexpr uint32_t kLoopback = 0x7F000001;

struct Failure {
    int sent;
    size_t size;
};

class Listener : public testsupport::QuietLinkListener, public NetworkListener {
public:
    void OnSendFailed(int sent, size_t size) override {
        std::lock_guard<std::mutex> lock(m_lock);
        m_failures.push_back({sent, size});
    }
    void OnNetworkMessage(const std::string& text) override { messages.push_back(text); }
    bool OnNetworkSocket(int) override { return true; }
    void OnNetworkClosed(const std::string&) override {}
    void RequestNetworkRead(uint32_t) override {}
    void OnForeignDatagrams(uint64_t) override {}

    std::vector<Failure> Failures() {
        std::lock_guard<std::mutex> lock(m_lock);
        return m_failures;
    }
    std::vector<std::string> messages;

private:
    std::mutex m_lock;
    std::vector<Failure> m_failures;
};

// Sends frame until a send fails (at most limit sends); the number of sends that went through.
size_t SendUntilFailure(ModuleLink& link, Listener& listener, const ByteString& frame, size_t limit) {
    size_t whole = 0;
    while (whole < limit) {
        link.SendFrame(frame);
        if (!listener.Failures().empty()) break;
        ++whole;
    }
    return whole;
}

// Every record of the history is the frame, sent.
void ExpectRecordsOf(ModuleLink& link, const ByteString& frame, size_t count) {
    const std::vector<MonitorRecord> records = link.History().Snapshot();
    ASSERT_EQ(records.size(), count);
    for (const MonitorRecord& r : records) {
        EXPECT_EQ(r.kind, static_cast<uint32_t>('0'));
        EXPECT_EQ(r.frame, frame);
    }
}

TEST(SendFailure, ASerialPeerThatStopsReadingCutsAFrameThatIsNotRecorded) {
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    ASSERT_GE(master, 0);
    ASSERT_EQ(::grantpt(master), 0);
    ASSERT_EQ(::unlockpt(master), 0);
    ::setenv("KVT_COM31", ::ptsname(master), 1);
    Listener listener;
    ModuleLink link(listener);
    link.CreateSerialComm();
    CSerialComm& comm = *link.SerialComm();
    SerialSettings settings;
    settings.portNumber = 31;
    comm.SetSettings(settings);
    ASSERT_EQ(comm.Open(), 0) << comm.LastErrorText();
    comm.SetWriteTimeout(0, 20);
    link.SetChannelMode(CHANNEL_SERIAL);

    const ByteString frame = MakeFrame(0x40, 0x14, ByteString(200, 0x5A));
    ASSERT_EQ(frame.size(), 207u);
    const size_t whole = SendUntilFailure(link, listener, frame, 1000);
    ASSERT_EQ(listener.Failures().size(), 1u) << "the line never filled";
    const Failure cut = listener.Failures()[0];
    EXPECT_EQ(cut.size, 207u);
    EXPECT_GE(cut.sent, 0);
    EXPECT_LT(cut.sent, 207);
    ExpectRecordsOf(link, frame, whole);
    // What the peer finally reads is the whole frames and the cut one's first bytes.
    ::fcntl(master, F_SETFL, O_NONBLOCK);
    size_t read = 0;
    unsigned char buffer[4096];
    for (ssize_t n; (n = ::read(master, buffer, sizeof buffer)) > 0;) read += static_cast<size_t>(n);
    EXPECT_EQ(read, whole * 207 + static_cast<size_t>(cut.sent));

    // A closed port writes nothing: said, and not recorded either.
    comm.Close();
    link.SendFrame(frame);
    ASSERT_EQ(listener.Failures().size(), 2u);
    EXPECT_EQ(listener.Failures()[1].sent, 0);
    ExpectRecordsOf(link, frame, whole);
    link.Shutdown();
    ::close(master);
    ::unsetenv("KVT_COM31");
}

TEST(SendFailure, ANetworkWriteThatFailsIsToldAndNotRecorded) {
    struct Case {
        const char* name;
        NetProtocol protocol;
        size_t frameData;  // bytes of data in each frame
        size_t sends;      // at most before one fails
        int sent;          // what the listener hears
        const char* told;  // the message's first line, "" for none
    };
    const Case cases[] = {
        {"a datagram longer than UDP allows", NET_UDP, 70000, 1, 0, "发送数据失败！\r\n"},
        {"a stream whose peer never reads", NET_TCP_CLIENT, 60000, 40, -1, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Listener listener;
        ModuleLink link(listener);
        NetworkLink& network = link.Network();
        network.SetListener(&listener);
        const int peer = ::socket(AF_INET, (c.protocol == NET_UDP ? SOCK_DGRAM : SOCK_STREAM) | SOCK_CLOEXEC, 0);
        sockaddr_in a{AF_INET, 0, {htonl(kLoopback)}, {}};
        socklen_t n = sizeof a;
        ASSERT_EQ(::bind(peer, reinterpret_cast<sockaddr*>(&a), n), 0);
        ::getsockname(peer, reinterpret_cast<sockaddr*>(&a), &n);
        const SocketAddress peerAddress{kLoopback, ntohs(a.sin_port)};
        network.SetPeer(peerAddress);
        network.SetSendMode(c.protocol);
        int accepted = -1;
        if (c.protocol == NET_UDP) {
            network.ToggleUdpSocket(SocketAddress{kLoopback, 0});
        } else {
            const int small = 4096;  // the buffers fill after a few frames
            ::setsockopt(peer, SOL_SOCKET, SO_RCVBUF, &small, sizeof small);
            ASSERT_EQ(::listen(peer, 1), 0);
            network.ToggleTcpClientSocket(peerAddress);
            accepted = ::accept(peer, nullptr, nullptr);
            ASSERT_GE(accepted, 0);
        }
        ASSERT_TRUE(network.IsSocketOpen()) << (listener.messages.empty() ? "" : listener.messages.back());
        link.SetChannelMode(CHANNEL_NETWORK);
        if (c.protocol == NET_TCP_CLIENT) {
            const int small = 4096;
            ::setsockopt(network.SocketFd(), SOL_SOCKET, SO_SNDBUF, &small, sizeof small);
        }

        const ByteString frame = MakeFrame(0x40, 0x14, ByteString(c.frameData, 0x5A));
        const size_t whole = SendUntilFailure(link, listener, frame, c.sends);
        ASSERT_EQ(listener.Failures().size(), 1u) << "no send failed";
        EXPECT_EQ(listener.Failures()[0].sent, c.sent);
        EXPECT_EQ(listener.Failures()[0].size, frame.size());
        if (*c.told) {
            ASSERT_EQ(listener.messages.size(), 1u);
            EXPECT_EQ(listener.messages[0].substr(0, std::string(c.told).size()), c.told);
        } else {
            EXPECT_TRUE(listener.messages.empty());
        }
        ExpectRecordsOf(link, frame, whole);
        network.CloseSocket();
        if (accepted >= 0) ::close(accepted);
        ::close(peer);
    }
}

TEST(SendFailure, AChannelNotOpenSendsNothingAndSaysSoByItsKind) {
    CSerialComm serial;
    UdpChannel udp;
    TcpClientChannel tcp;
    std::vector<std::string> faults;
    for (SocketChannel* socket : {static_cast<SocketChannel*>(&udp), static_cast<SocketChannel*>(&tcp)})
        socket->SetWriteFaultHandler([&faults](const std::string& why) { faults.push_back("fault " + why); });
    const struct {
        const char* name;
        Channel& channel;
        bool stream;
        int sent;  // what Send says went out
        size_t faults;
    } cases[] = {
        {"serial port", serial, true, 0, 0},
        {"datagrams", udp, false, 0, 1},
        {"stream", tcp, true, -1, 1},
    };
    const ByteString frame = MakeFrame(0x40, 0x03, ByteString());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        faults.clear();
        EXPECT_EQ(c.channel.IsStream(), c.stream);
        EXPECT_EQ(c.channel.Send(frame.data(), frame.size()), c.sent);
        EXPECT_EQ(faults, std::vector<std::string>(c.faults, "fault "));  // no fault text: never opened
    }
}

}  // namespace
