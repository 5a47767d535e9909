// The network settings dialog over the main window: its defaults and checks, the channel it
// opens to a loopback peer (frames both ways through the read message, the peer closing, a
// connect that waits without stopping the window), and adapter set-up through a recording fake.

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>

#include "support/main_window_fixture.h"
#include "test_frames.h"

namespace {

constexpr uint32_t kLoopback = 0x7F000001;

class RecordingConfigurator : public NetworkAdapterConfigurator {
public:
    std::vector<AdapterInfo> ListAdapters() override { return adapters; }
    bool FindAdapterConfig(const std::string& name) override {
        calls.push_back("find " + name);
        return findOk;
    }
    bool SetAdapterStaticAddress(const std::string& address, const std::string& mask, const std::string& gateway) override {
        calls.push_back("set " + address + " " + mask + " " + gateway);
        return setOk;
    }
    std::string LastErrorText() const override { return setOk ? "" : "拒绝"; }

    std::vector<AdapterInfo> adapters{{"eth-a", "eth0", "10.1.2.3", "255.255.255.0", "10.1.2.1"},
                                      {"eth-b", "eth1", "10.9.9.9", "255.255.0.0", ""}};
    std::vector<std::string> calls;
    bool findOk = true;
    bool setOk = true;
};

// A loopback stream listener of the test's own.
struct Server {
    Server() {
        sockaddr_in a{AF_INET, 0, {htonl(kLoopback)}, {}};
        socklen_t n = sizeof a;
        ::bind(fd, reinterpret_cast<sockaddr*>(&a), n);
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &n);
        port = ntohs(a.sin_port);
    }
    ~Server() { ::close(fd); }
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    uint16_t port = 0;
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
        dlg->PostTask([this, act] {
            CNetworkSettingsDlg& d = dlg->NetworkSettingsDialog();
            act(d);
            d.EndDialog(kIdCancel);
        });
        dlg->OnNetworkSettings();
    }
    // Starts the protocol's radio with the given fields.
    void Start(int radio, const std::string& remoteIp, const std::string& remotePort,
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
    std::vector<std::string> BoxTexts() {
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
            EXPECT_EQ(d.GetDlgItemText(IDC_NET_LOCAL_IP), "10.1.2.3");
            EXPECT_EQ(d.GetDlgItemText(IDC_NET_LOCAL_PORT), "8081");
            EXPECT_EQ(d.GetDlgItemText(IDC_NET_REMOTE_IP), "192.168.1.8");
            EXPECT_EQ(d.GetDlgItemText(IDC_NET_REMOTE_PORT), "2222");
            EXPECT_EQ(d.GetDlgItemText(IDC_NET_START_STOP), "开始");
            EXPECT_EQ(d.m_protocol, NET_TCP_CLIENT);
            EXPECT_EQ(Button(d.GetDlgItem(IDC_NET_TCP_CLIENT)).GetCheck(), 1);
            for (const Case& c : cases) {
                Button(d.GetDlgItem(c.radio)).Click();
                EXPECT_EQ(d.GetDlgItem(IDC_NET_LOCAL_IP).IsEnabled(), c.local) << c.radio;
                EXPECT_EQ(d.GetDlgItem(IDC_NET_LOCAL_PORT).IsEnabled(), c.local) << c.radio;
                EXPECT_EQ(d.GetDlgItem(IDC_NET_REMOTE_IP).IsEnabled(), c.remote) << c.radio;
                EXPECT_EQ(d.GetDlgItem(IDC_NET_REMOTE_PORT).IsEnabled(), c.remote) << c.radio;
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
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"错误，找不到网卡！请确认网卡已启用"});
}

TEST_F(NetworkSettingsTest, MalformedAddressesAreRefusedAndTcpServerLeavesTheChannelClosed) {
    struct Case {
        int radio;
        std::string remoteIp, remotePort, localPort, box;
    } const cases[] = {
        {IDC_NET_TCP_CLIENT, "127.0.0.1", "65536", "0", "对方端口无效！端口是0到65535的数字"},
        {IDC_NET_TCP_CLIENT, "127.0..1", "2222", "0", "对方IP地址不完整！"},
        {IDC_NET_UDP, "127.0.0.1", "2222", "80a", "本机端口无效！端口是0到65535的数字"},
        {IDC_NET_TCP_SERVER, "", "", "", "本机端口无效！端口是0到65535的数字"},
    };
    for (const Case& c : cases) {
        boxes.clear();
        Start(c.radio, c.remoteIp, c.remotePort, c.localPort);
        EXPECT_EQ(BoxTexts(), std::vector<std::string>{c.box});
        EXPECT_FALSE(dlg->Link().Network().IsSocketOpen());
    }
    boxes.clear();
    Start(IDC_NET_TCP_SERVER, "", "", "0");
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(Status(), "网口已关闭");
    EXPECT_EQ(dlg->Link().GetChannelMode(), CHANNEL_NONE);
    EXPECT_FALSE(dlg->Link().Network().IsSocketOpen());
}

TEST_F(NetworkSettingsTest, TcpClientCarriesFramesUntilThePeerCloses) {
    Server server;
    ::listen(server.fd, 1);
    Start(IDC_NET_TCP_CLIENT, "127.0.0.1", std::to_string(server.port));
    ASSERT_TRUE(dlg->Link().Network().IsSocketOpen()) << (boxes.empty() ? "" : boxes[0].text);
    EXPECT_EQ(Status(), "网口已打开");
    EXPECT_EQ(dlg->Link().GetChannelMode(), CHANNEL_NETWORK);
    const int peer = ::accept(server.fd, nullptr, nullptr);
    const ByteString request = testing_frames::MakeFrame(0x00, 0x14, "0102");
    dlg->SendFrame(request);
    unsigned char got[64];
    EXPECT_EQ(ByteString(got, static_cast<size_t>(std::max<ssize_t>(0, ::recv(peer, got, sizeof got, 0)))), request);
    const ByteString reply = testing_frames::MakeFrame(0x80, 0x14, "0304");
    ::send(peer, reply.data(), reply.size(), 0);
    EXPECT_TRUE(WaitFor([&] { return HistoryCount('1') == 1; }));
    EXPECT_EQ(dlg->Link().Queues().sendData.Size(), 1u);
    InDialog([](CNetworkSettingsDlg& d) { EXPECT_EQ(d.GetDlgItemText(IDC_NET_START_STOP), "停止"); });

    ::close(peer);
    EXPECT_TRUE(WaitFor([&] { return Status() == "网口已关闭"; }));
    EXPECT_EQ(dlg->Link().GetChannelMode(), CHANNEL_NONE);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"对方已关闭连接：127.0.0.1:" + std::to_string(server.port)});
}

TEST_F(NetworkSettingsTest, ASilentConnectTimesOutWhileTheWindowRuns) {
    Server silent;  // its backlog is full, so further connects go unanswered
    ::listen(silent.fd, 0);
    const int filler = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{AF_INET, htons(silent.port), {htonl(kLoopback)}, {}};
    ASSERT_EQ(::connect(filler, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
    dlg->Link().Network().SetConnectTimeout(300);
    bool ranWhileConnecting = false;
    dlg->PostTaskAfter(50, [&] { ranWhileConnecting = dlg->Link().Network().IsConnecting(); });
    Start(IDC_NET_TCP_CLIENT, "127.0.0.1", std::to_string(silent.port));
    EXPECT_TRUE(ranWhileConnecting);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"绑定失败！\r\n连接超时：127.0.0.1:" + std::to_string(silent.port) +
                                                   "在300毫秒内无应答"});
    EXPECT_EQ(Status(), "网口已关闭");
    ::close(filler);
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
        boxes.clear();
        InDialog([&](CNetworkSettingsDlg& d) {
            ComboBox(d.GetDlgItem(IDC_NET_ADAPTER_COMBO)).SelectAsUser(1);
            Button(d.GetDlgItem(IDC_NET_INIT_ADAPTER)).Click();
            EXPECT_EQ(d.GetDlgItemText(IDC_NET_LOCAL_IP), c.localIp);
            // The timer that closes the notice presses Enter, which this dialog leaves alone: the
            // focused button is not pressed again.
            EXPECT_EQ(d.IsTimerRunning(TIMER_NET_INIT_NOTICE), c.setOk && c.findOk);
            d.GetDlgItem(IDC_NET_INIT_ADAPTER).SetFocus();
            EXPECT_TRUE(WaitPumping([&] { return !d.IsTimerRunning(TIMER_NET_INIT_NOTICE); }, 3000));
            EXPECT_TRUE(d.IsWindowVisible());
        });
        EXPECT_EQ(nm->calls, c.calls);
        EXPECT_EQ(BoxTexts(), std::vector<std::string>{c.box});
    }
}

}  // namespace
