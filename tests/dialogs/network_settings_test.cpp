// The network settings dialog over the main window: its defaults and checks, the channel it
// opens to a loopback peer (frames both ways through the read message, the peer closing, a
// connect that waits while the window runs), and adapter set-up through a recording fake.

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

#include "link/receive_gatherer.h"
#include "support/sender_checks.h"
#include "test_frames.h"

namespace {

constexpr uint32_t kLoopback = 0x7F000001;

struct RecordingConfigurator : NetworkAdapterConfigurator {
    std::vector<AdapterInfo> ListAdapters() override { return adapters; }
    bool FindAdapterConfig(const std::string& name) override {
        calls.push_back("find " + name);
        return findOk;
    }
    bool SetAdapterStaticAddress(const std::string& address, const std::string& mask,
                                 const std::string& gateway) override {
        calls.push_back("set " + address + " " + mask + " " + gateway);
        return setOk;
    }
    std::string LastErrorText() const override { return setOk ? "" : "拒绝"; }
    std::vector<AdapterInfo> adapters{{"eth-a", "eth0", "10.1.2.3", "255.255.255.0", "10.1.2.1"},
                                      {"eth-b", "eth1", "10.9.9.9", "255.255.0.0", ""}};
    std::vector<std::string> calls;
    bool findOk = true, setOk = true;
};

// A loopback socket of the test's own, bound to a free port; a stream socket listens unless
// it is to refuse connects.
struct Peer {
    explicit Peer(int type, bool listening = true) : fd(::socket(AF_INET, type | SOCK_CLOEXEC, 0)) {
        sockaddr_in a{AF_INET, 0, {htonl(kLoopback)}, {}};
        socklen_t n = sizeof a;
        ::bind(fd, reinterpret_cast<sockaddr*>(&a), n);
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &n);
        port = std::to_string(ntohs(a.sin_port));
        if (type == SOCK_STREAM && listening) ::listen(fd, 0);
    }
    ~Peer() { ::close(fd); }
    int fd;
    std::string port;
};

class NetworkSettingsTest : public testsupport::MainWindowWithModule {
protected:
    NetworkSettingsTest() : MainWindowWithModule(12) {}
    void SetUp() override {
        MainWindowWithModule::SetUp();
        auto fake = std::make_unique<RecordingConfigurator>();
        nm = fake.get();
        dlg->SetAdapterConfigurator(std::move(fake));
    }
    // Opens the dialog, runs act in it and closes it if act has not.
    void InDialog(const std::function<void(CNetworkSettingsDlg&)>& act) {
        boxes.clear();
        dlg->PostTask([this, act] {
            act(dlg->NetworkSettingsDialog());
            dlg->NetworkSettingsDialog().EndDialog(kIdCancel);
        });
        dlg->OnNetworkSettings();
    }
    void Start(int radio, const std::string& remotePort, const std::string& remoteIp = "127.0.0.1",
               const std::string& localPort = "0") {
        InDialog([&](CNetworkSettingsDlg& d) {
            Button(d.GetDlgItem(radio)).Click();
            d.SetDlgItemText(IDC_NET_LOCAL_IP, "127.0.0.1");
            d.SetDlgItemText(IDC_NET_LOCAL_PORT, localPort);
            d.SetDlgItemText(IDC_NET_REMOTE_IP, remoteIp);
            d.SetDlgItemText(IDC_NET_REMOTE_PORT, remotePort);
            Button(d.GetDlgItem(IDC_NET_START_STOP)).Click();
        });
    }
    std::string Status() { return dlg->GetDlgItemText(IDC_PORT_STATUS); }
    // The socket address the window's network channel is bound to.
    sockaddr_in LocalAddress() {
        sockaddr_in a{};
        socklen_t n = sizeof a;
        ::getsockname(dlg->Link().Network().SocketFd(), reinterpret_cast<sockaddr*>(&a), &n);
        return a;
    }
    void Stop() {
        InDialog([](CNetworkSettingsDlg& d) { Button(d.GetDlgItem(IDC_NET_START_STOP)).Click(); });
    }
    std::vector<std::string> Boxes() {
        std::vector<std::string> texts;
        for (const MessageBoxRequest& b : boxes) texts.push_back(b.text);
        return texts;
    }
    RecordingConfigurator* nm = nullptr;
};

TEST_F(NetworkSettingsTest, EveryOpeningShowsTheDefaultsAndTheFieldsOfTheProtocol) {
    struct Case {
        int radio;
        bool local, remote;
    } const cases[] = {{IDC_NET_TCP_SERVER, true, false}, {IDC_NET_TCP_CLIENT, false, true}, {IDC_NET_UDP, true, true}};
    for (int opening = 0; opening < 2; ++opening) {
        InDialog([&](CNetworkSettingsDlg& d) {
            const int fields[] = {IDC_NET_LOCAL_IP, IDC_NET_LOCAL_PORT, IDC_NET_REMOTE_IP, IDC_NET_REMOTE_PORT};
            const char* const defaults[] = {"10.1.2.3", "8081", "192.168.1.8", "2222"};
            for (int i = 0; i < 4; ++i) EXPECT_EQ(d.GetDlgItemText(fields[i]), defaults[i]);
            EXPECT_EQ(d.GetDlgItemText(IDC_NET_START_STOP), "开始");
            EXPECT_EQ(d.m_protocol, NET_TCP_CLIENT);
            EXPECT_EQ(Button(d.GetDlgItem(IDC_NET_TCP_CLIENT)).GetCheck(), 1);
            for (const Case& c : cases) {
                Button(d.GetDlgItem(c.radio)).Click();
                for (int i = 0; i < 4; ++i) EXPECT_EQ(d.GetDlgItem(fields[i]).IsEnabled(), i < 2 ? c.local : c.remote);
            }
            ComboBox(d.GetDlgItem(IDC_NET_ADAPTER_COMBO)).SelectAsUser(1);
            EXPECT_EQ(d.GetDlgItemText(IDC_NET_LOCAL_IP), "10.9.9.9");
            EXPECT_EQ(d.GetDlgItemText(IDC_NET_REMOTE_IP), "10.9.9.9");
            d.SetDlgItemText(IDC_NET_LOCAL_PORT, "1");
            d.SetDlgItemText(IDC_NET_REMOTE_PORT, "2");
        });
    }
    nm->adapters.clear();
    InDialog([](CNetworkSettingsDlg& d) { EXPECT_EQ(ComboBox(d.GetDlgItem(IDC_NET_ADAPTER_COMBO)).GetCount(), 0); });
    EXPECT_EQ(Boxes(), std::vector<std::string>{"错误，找不到网卡！请确认网卡已启用"});
}

TEST_F(NetworkSettingsTest, MalformedAddressesAreRefusedAndTcpServerLeavesTheChannelClosed) {
    struct Case {
        int radio;
        std::string remotePort, remoteIp, localPort, box;
    } const cases[] = {
        {IDC_NET_TCP_CLIENT, "65536", "127.0.0.1", "0", "对方端口无效！端口是0到65535的数字"},
        {IDC_NET_TCP_CLIENT, "2222", "127.0..1", "0", "对方IP地址无效！"},
        {IDC_NET_TCP_CLIENT, "2222", "300.0.0.1", "0", "对方IP地址无效！"},
        {IDC_NET_UDP, "2222", "127.0.0.1", "80a", "本机端口无效！端口是0到65535的数字"},
        {IDC_NET_TCP_SERVER, "", "", "", "本机端口无效！端口是0到65535的数字"},
        {IDC_NET_TCP_SERVER, "", "", "0", ""},
    };
    for (const Case& c : cases) {
        Start(c.radio, c.remotePort, c.remoteIp, c.localPort);
        EXPECT_EQ(Boxes(), c.box.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.box});
        EXPECT_FALSE(dlg->Link().Network().IsSocketOpen());
    }
    EXPECT_EQ(Status(), "网口已关闭");
    EXPECT_EQ(dlg->Link().GetChannelMode(), CHANNEL_NONE);
}

TEST_F(NetworkSettingsTest, FramesTravelBothWaysUntilAStreamPeerCloses) {
    const ByteString request = testing_frames::MakeFrame(0x00, 0x14, "0102");
    const ByteString reply = testing_frames::MakeFrame(0x80, 0x14, "0304");
    for (const int type : {SOCK_DGRAM, SOCK_STREAM}) {
        Peer peer(type);
        Start(type == SOCK_STREAM ? IDC_NET_TCP_CLIENT : IDC_NET_UDP, peer.port);
        ASSERT_TRUE(dlg->Link().Network().IsSocketOpen()) << (boxes.empty() ? "" : boxes[0].text);
        EXPECT_EQ(Status(), "网口已打开");
        EXPECT_EQ(dlg->Link().GetChannelMode(), CHANNEL_NETWORK);
        const int module = type == SOCK_STREAM ? ::accept(peer.fd, nullptr, nullptr) : peer.fd;
        dlg->SendFrame(request);
        unsigned char got[64];
        sockaddr_in from{};
        socklen_t length = sizeof from;
        const ssize_t n = ::recvfrom(module, got, sizeof got, 0, reinterpret_cast<sockaddr*>(&from), &length);
        EXPECT_EQ(ByteString(got, static_cast<size_t>(std::max<ssize_t>(n, 0))), request);
        // The peer answers where the request came from, as the module would.
        const bool stream = type == SOCK_STREAM;
        ::sendto(module, reply.data(), reply.size(), 0, stream ? nullptr : reinterpret_cast<sockaddr*>(&from),
                 stream ? 0 : length);
        EXPECT_TRUE(WaitFor([&] { return HistoryCount('1') == 1; }));
        EXPECT_EQ(dlg->Link().Queues().sendData.Snapshot().at(0).frame, reply);
        dlg->Link().History().Clear();
        dlg->Link().Queues().sendData.Clear();
        if (type == SOCK_DGRAM) {
            InDialog([](CNetworkSettingsDlg& d) { Button(d.GetDlgItem(IDC_NET_START_STOP)).Click(); });  // "停止"
            EXPECT_EQ(Status(), "网口已关闭");
            continue;
        }
        ::close(module);
        EXPECT_TRUE(WaitFor([&] { return Status() == "网口已关闭"; }));
        EXPECT_EQ(dlg->Link().GetChannelMode(), CHANNEL_NONE);
        EXPECT_EQ(Boxes(), std::vector<std::string>{"对方已关闭连接：127.0.0.1:" + peer.port});
    }
}

TEST_F(NetworkSettingsTest, ASilentConnectTimesOutWhileTheWindowRuns) {
    Peer silent(SOCK_STREAM);  // listen(0) with one connection waiting: further SYNs go unanswered
    sockaddr_in a{AF_INET, htons(static_cast<uint16_t>(std::stoi(silent.port))), {htonl(kLoopback)}, {}};
    const int waiting = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    ASSERT_EQ(::connect(waiting, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
    dlg->Link().Network().SetConnectTimeout(600);
    bool ranWhileConnecting = false;
    dlg->PostTaskAfter(50, [&] { ranWhileConnecting = dlg->Link().Network().IsConnecting(); });
    Start(IDC_NET_TCP_CLIENT, silent.port);
    EXPECT_TRUE(ranWhileConnecting);
    EXPECT_EQ(Boxes(),
              std::vector<std::string>{"绑定失败！\r\n连接超时：127.0.0.1:" + silent.port + "在600毫秒内无应答"});
    EXPECT_EQ(Status(), "网口已关闭");
    ::close(waiting);
}

TEST_F(NetworkSettingsTest, AdapterSetUpThroughTheConfigurator) {
    struct Case {
        bool findOk, setOk;
        std::vector<std::string> calls;
        std::string box, localIp;
    } const cases[] = {
        {false, true, {"find eth1"}, "初始化失败或已完成", "10.9.9.9"},
        {true, false, {"find eth1", "set 192.168.1.8 255.255.0.0 "}, "初始化失败或已完成\r\n拒绝", "10.9.9.9"},
        {true, true, {"find eth1", "set 192.168.1.8 255.255.0.0 "}, "初始化完成，点击开始进行绑定", "192.168.1.8"},
    };
    for (const Case& c : cases) {
        nm->findOk = c.findOk;
        nm->setOk = c.setOk;
        nm->calls.clear();
        InDialog([&](CNetworkSettingsDlg& d) {
            ComboBox(d.GetDlgItem(IDC_NET_ADAPTER_COMBO)).SelectAsUser(1);
            Button(d.GetDlgItem(IDC_NET_INIT_ADAPTER)).Click();
            EXPECT_EQ(d.GetDlgItemText(IDC_NET_LOCAL_IP), c.localIp);
            // The timer that closes the notice presses Enter, which this dialog leaves alone:
            // the focused button is not pressed again.
            EXPECT_EQ(d.IsTimerRunning(TIMER_NET_INIT_NOTICE), c.setOk && c.findOk);
            d.GetDlgItem(IDC_NET_INIT_ADAPTER).SetFocus();
            EXPECT_TRUE(WaitPumping([&] { return !d.IsTimerRunning(TIMER_NET_INIT_NOTICE); }, 3000));
        });
        EXPECT_EQ(nm->calls, c.calls);
        EXPECT_EQ(Boxes(), std::vector<std::string>{c.box});
    }
}

// Receive-data frames whose bytes hold no second start byte, numbered from 0.
ByteString NumberedFrames(int count) {
    ByteString all;
    for (int k = 0, made = 0; made < count; ++k) {
        const ByteString f = testing_frames::MakeFrame(
            0x80, 0x15, ByteString{static_cast<unsigned char>(k >> 8), static_cast<unsigned char>(k)});
        if (f.find(0x79, 1) != ByteString::npos) continue;
        all += f;
        ++made;
    }
    return all;
}

TEST_F(NetworkSettingsTest, AClosedNetworkChannelHandsSendingBackToTheOpenSerialPort) {
    OpenPort();
    ASSERT_EQ(NextFrame(), "79 00 00 40 02 42 42 ");  // the version request of the opening
    testsupport::Enter(*dlg, testsupport::HostSendDataPage());
    const std::string sendData = std::string(testsupport::kHostSendDataFrame) + " ";
    enum How { kUdpStop, kTcpRefused, kTcpPeerCloses };
    for (const How how : {kUdpStop, kTcpRefused, kTcpPeerCloses}) {
        Peer peer(how == kUdpStop ? SOCK_DGRAM : SOCK_STREAM, how != kTcpRefused);
        Start(how == kUdpStop ? IDC_NET_UDP : IDC_NET_TCP_CLIENT, peer.port);
        if (how == kTcpRefused) {
            EXPECT_EQ(Boxes(), std::vector<std::string>{"绑定失败！\r\n连接被拒绝：127.0.0.1:" + peer.port});
        } else {
            ASSERT_EQ(dlg->Link().GetChannelMode(), CHANNEL_NETWORK) << how;
            if (how == kUdpStop) {
                Stop();
            } else {
                ::close(::accept(peer.fd, nullptr, nullptr));
                EXPECT_TRUE(WaitFor([&] { return !dlg->Link().Network().IsSocketOpen(); })) << how;
            }
        }
        EXPECT_EQ(Status(), "网口已关闭，改用串口COM12") << how;
        EXPECT_EQ(dlg->Link().GetChannelMode(), CHANNEL_SERIAL) << how;
        EXPECT_TRUE(dlg->Link().IsPortOpen()) << how;
        Click(IDC_SEND_DATA);
        EXPECT_EQ(NextFrame(), sendData) << how;
    }
    // With no serial port open no channel is left.
    dlg->Link().CloseSerialChannel();
    Peer peer(SOCK_DGRAM);
    Start(IDC_NET_UDP, peer.port);
    Stop();
    EXPECT_EQ(Status(), "网口已关闭");
    EXPECT_EQ(dlg->Link().GetChannelMode(), CHANNEL_NONE);
}

TEST_F(NetworkSettingsTest, UdpRecordsOnlyTheRemotesDatagramsAndCountsTheOthers) {
    Peer module(SOCK_DGRAM);
    Peer other(SOCK_DGRAM);
    Start(IDC_NET_UDP, module.port);
    ASSERT_TRUE(dlg->Link().Network().IsSocketOpen());
    sockaddr_in to = LocalAddress();
    const ByteString injected = testing_frames::MakeFrame(0x80, 0x14, "0909");
    const ByteString reply = testing_frames::MakeFrame(0x80, 0x14, "0304");
    ::sendto(other.fd, injected.data(), injected.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
    EXPECT_TRUE(WaitFor([&] { return Status() == "网口已打开，已丢弃其他地址的数据报1个"; })) << Status();
    ::sendto(module.fd, reply.data(), reply.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
    ASSERT_TRUE(WaitFor([&] { return HistoryCount('1') == 1; }));
    EXPECT_EQ(History().back().frame, reply);
    EXPECT_EQ(dlg->Link().Queues().sendData.Size(), 1u);
}

TEST_F(NetworkSettingsTest, TcpFramesAfterAStrayStartAreRecordedWhileTheStreamRuns) {
    Peer peer(SOCK_STREAM);
    Start(IDC_NET_TCP_CLIENT, peer.port);
    ASSERT_TRUE(dlg->Link().Network().IsSocketOpen());
    const int module = ::accept(peer.fd, nullptr, nullptr);
    constexpr int kFrames = 400;
    const ByteString frames = NumberedFrames(kFrames);
    const size_t frameSize = frames.size() / kFrames;
    std::atomic<bool> sending{true};
    // A start whose frame would run 65,542 bytes, then a frame every 2 ms.
    std::thread sender([&] {
        const ByteString stray = testing_frames::Hex("79FFFF8015");
        ::send(module, stray.data(), stray.size(), MSG_NOSIGNAL);
        for (size_t off = 0; off < frames.size(); off += frameSize) {
            ::send(module, frames.data() + off, frameSize, MSG_NOSIGNAL);
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        sending = false;
    });
    const bool early = WaitFor([&] { return HistoryCount('1') > 0 || !sending; }) && sending;
    sender.join();
    EXPECT_TRUE(early) << "nothing was recorded while the stream ran";
    EXPECT_TRUE(WaitFor([&] { return HistoryCount('1') == kFrames; })) << HistoryCount('1');
    ::close(module);
}

// Writes frame a byte every 10 ms, each time waiting until the window has read the byte, and
// returns the longest the line may have looked quiet to the window inside the frame: from one
// byte's write until the next byte was seen read. A loaded machine can stretch it past the quiet
// time, and the gather then rightly takes a pause.
std::chrono::milliseconds Trickle(const ByteString& frame, const std::function<void(unsigned char)>& write,
                                  const std::function<size_t()>& unread) {
    using Clock = std::chrono::steady_clock;
    Clock::duration longest{0};
    Clock::time_point previous;
    auto next = Clock::now();
    for (size_t i = 0; i < frame.size(); ++i) {
        std::this_thread::sleep_until(next);
        const Clock::time_point written = Clock::now();
        next = written + std::chrono::milliseconds(10);
        write(frame[i]);
        const Clock::time_point giveUp = written + std::chrono::seconds(10);
        while (unread() > 0 && Clock::now() < giveUp) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        if (i > 0) longest = std::max(longest, Clock::now() - previous);
        previous = written;
    }
    return std::chrono::duration_cast<std::chrono::milliseconds>(longest);
}

TEST_F(NetworkSettingsTest, FramesTrickledOneByteEveryTenMillisecondsAreAllRecorded) {
    // A leg trickles frames of its own until this many came without a pause the gather could
    // see, or it has sent the most it may.
    constexpr int kMinJudged = 3;
    constexpr int kMostFrames = 20;
    const ByteString frames = NumberedFrames(2 * kMostFrames);
    const size_t frameSize = frames.size() / (2 * kMostFrames);
    // Between its read and the time it stamps on the bytes the reader may stall unseen; a frame
    // whose bytes all came this much inside the quiet time is one the gather never cuts.
    constexpr auto kUnseen = std::chrono::milliseconds(20);
    const auto judgeable = [&](std::chrono::milliseconds pause) {
        return pause < ReceiveGatherer::kQuietTime - kUnseen;
    };
    for (const bool tcp : {false, true}) {
        const size_t first = tcp ? kMostFrames : 0;
        Peer peer(SOCK_STREAM);
        int module = -1;
        if (tcp) {
            Start(IDC_NET_TCP_CLIENT, peer.port);
            ASSERT_TRUE(dlg->Link().Network().IsSocketOpen());
            module = ::accept(peer.fd, nullptr, nullptr);
        } else {
            OpenPort();
        }
        const int window = dlg->Link().Network().SocketFd();
        const auto write = [&](unsigned char byte) {
            if (tcp)
                ::send(module, &byte, 1, MSG_NOSIGNAL);
            else
                sim.Send(kvtsim::Bytes(1, byte));
        };
        const auto unread = [&]() -> size_t {
            if (!tcp) return sim.Unread();
            int count = 0;
            return ::ioctl(window, FIONREAD, &count) == 0 ? static_cast<size_t>(count) : 0;
        };
        std::vector<std::chrono::milliseconds> pauses;
        std::atomic<bool> sending{true};
        std::thread sender([&] {
            for (int k = 0, judged = 0; k < kMostFrames && judged < kMinJudged; ++k) {
                pauses.push_back(Trickle(frames.substr((first + k) * frameSize, frameSize), write, unread));
                judged += judgeable(pauses.back()) ? 1 : 0;
            }
            sending = false;
        });
        // The window reads each byte as it comes.
        EXPECT_TRUE(WaitFor([&] { return !sending; }, 60000));
        sender.join();
        // Every frame that came without a pause the gather could see is recorded whole.
        const auto recorded = [&](const ByteString& frame) {
            const std::vector<MonitorRecord> history = History();
            return std::any_of(history.begin(), history.end(),
                               [&](const MonitorRecord& r) { return r.kind == '1' && r.frame == frame; });
        };
        int judged = 0;
        for (size_t k = 0; k < pauses.size(); ++k) {
            if (!judgeable(pauses[k])) continue;
            ++judged;
            const ByteString frame = frames.substr((first + k) * frameSize, frameSize);
            EXPECT_TRUE(WaitFor([&] { return recorded(frame); }))
                << (tcp ? "tcp" : "serial") << " frame " << k << " paused " << pauses[k].count() << " ms";
        }
        // A leg that judged too few frames proves nothing.
        EXPECT_GE(judged, kMinJudged) << (tcp ? "tcp" : "serial") << " of " << pauses.size() << " frames";
        if (tcp) {
            Stop();
            ::close(module);
        }
    }
}

TEST_F(NetworkSettingsTest, AStopPassesOnEveryFrameReadAndTheCutTail) {
    Peer peer(SOCK_STREAM);
    Start(IDC_NET_TCP_CLIENT, peer.port);
    ASSERT_TRUE(dlg->Link().Network().IsSocketOpen());
    const int module = ::accept(peer.fd, nullptr, nullptr);
    constexpr int kFrames = 468;
    const ByteString tail = testing_frames::Hex("790500801501");
    const ByteString stream = testing_frames::Hex("79FFFF8015") + NumberedFrames(kFrames) + tail;
    ASSERT_EQ(::send(module, stream.data(), stream.size(), MSG_NOSIGNAL), static_cast<ssize_t>(stream.size()));
    Stop();
    EXPECT_EQ(Status(), "网口已关闭");
    EXPECT_TRUE(WaitFor([&] { return HistoryCount('1') == kFrames; })) << HistoryCount('1');
    ListView passThrough = ListOf(IDC_PASS_THROUGH_LIST);
    EXPECT_TRUE(WaitFor([&] { return passThrough.GetItemCount() == 1; }));
    EXPECT_EQ(passThrough.GetItemText(0, 2), testsupport::Spaced(tail));
    ::close(module);
}

// The serial settings dialog asks the port, not the gather thread that the network channel runs
// too: with only the network open it offers to open the port, leaves the window's status, and
// opens the port.
TEST_F(NetworkSettingsTest, TheSerialPortOpensAfterTheNetworkChannel) {
    Peer module(SOCK_DGRAM);
    Start(IDC_NET_UDP, module.port);
    ASSERT_EQ(Status(), "网口已打开");
    // The last port used is gone: the list offers only the ports there are.
    dlg->SerialSettingsRecord().comPort = 98;
    std::string shown;
    std::vector<std::string> listed;
    dlg->PostTask([&] {
        CSerialSettingsDlg& s = dlg->SerialSettingsDialog();
        shown = s.GetDlgItemText(IDC_SERIAL_OPEN_CLOSE) + "|" + s.GetDlgItemText(IDC_SERIAL_STATUS) + "|" + Status();
        const ComboBox ports(s.GetDlgItem(IDC_SERIAL_PORT_COMBO));
        for (int i = 0; i < ports.GetCount(); ++i) listed.push_back(ports.GetLBText(i));
        Button(s.GetDlgItem(kIdCancel)).Click();
    });
    dlg->OnSerialSettings();
    EXPECT_EQ(shown, "打开串口|串口未打开|网口已打开");
    EXPECT_EQ(std::count(listed.begin(), listed.end(), "COM98"), 0);
    EXPECT_EQ(std::count(listed.begin(), listed.end(), "COM12"), 1);
    EXPECT_EQ(Status(), "网口已打开");
    // A port that cannot be opened leaves the network channel open.
    OpenPort();
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"打开串口失败"});
    EXPECT_TRUE(dlg->Link().IsPortOpen());
    EXPECT_EQ(dlg->Link().GetChannelMode(), CHANNEL_NETWORK);
    dlg->SerialSettingsRecord().comPort = 12;
    OpenPort();
    EXPECT_TRUE(dlg->Link().IsSerialOpen());
    EXPECT_EQ(Status(), "COM12,115200, 8,无校验, 1");
    EXPECT_EQ(NextFrame(), "79 00 00 40 02 42 42 ");  // the opening's version request, on the port
}

// Whichever opened last, closing the serial port or its hang-up leaves sending and receiving
// with the socket.
TEST_F(NetworkSettingsTest, ClosingTheSerialPortHandsSendingBackToTheOpenNetworkChannel) {
    testsupport::Enter(*dlg, testsupport::HostSendDataPage());
    const ByteString sendData = testing_frames::Hex(testsupport::kHostSendDataFrame);
    const ByteString reply = testing_frames::MakeFrame(0x80, 0x14, "0304");
    const struct {
        bool networkFirst, hangUp;
    } ends[] = {{false, false}, {true, false}, {false, true}};  // last: the line hangs up
    for (const auto& end : ends) {
        const bool networkFirst = end.networkFirst;
        SCOPED_TRACE(end.hangUp ? "hang-up" : "closed");
        Peer module(SOCK_DGRAM);
        if (!networkFirst) OpenPort();
        Start(IDC_NET_UDP, module.port);
        if (networkFirst) OpenPort();
        ASSERT_TRUE(dlg->Link().IsSerialOpen()) << networkFirst;
        const std::string version = Text(IDC_VERSION_TEXT);
        EXPECT_NE(version, "版本号:");
        if (end.hangUp) {
            sim.HangUp();
            ASSERT_TRUE(WaitFor([&] { return !Boxes().empty(); }));
            EXPECT_EQ(Boxes()[0].rfind("串口 COM12", 0), 0u) << Boxes()[0];
        } else {
            OpenPort();  // "关闭串口"
        }
        EXPECT_FALSE(dlg->Link().IsSerialOpen());
        EXPECT_EQ(dlg->Link().GetChannelMode(), CHANNEL_NETWORK) << networkFirst;
        EXPECT_TRUE(dlg->Link().IsPortOpen()) << networkFirst;
        EXPECT_EQ(Status(), "网口已打开") << networkFirst;
        EXPECT_EQ(Text(IDC_VERSION_TEXT), version);
        const size_t sentBefore = HistoryCount('0');
        Click(IDC_SEND_DATA);
        unsigned char got[64];
        pollfd ready{module.fd, POLLIN, 0};
        const ssize_t n = ::poll(&ready, 1, 10000) == 1 ? ::recv(module.fd, got, sizeof got, 0) : -1;
        EXPECT_EQ(ByteString(got, static_cast<size_t>(std::max<ssize_t>(n, 0))), sendData) << networkFirst;
        EXPECT_EQ(HistoryCount('0'), sentBefore + 1) << networkFirst;
        sockaddr_in to = LocalAddress();
        const size_t receivedBefore = HistoryCount('1');
        ::sendto(module.fd, reply.data(), reply.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
        ASSERT_TRUE(WaitFor([&] { return HistoryCount('1') == receivedBefore + 1; })) << networkFirst;
        EXPECT_EQ(History().back().frame, reply);
        Stop();
    }
}

}  // namespace
