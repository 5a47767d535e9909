#pragma once
// A loopback datagram socket standing for the module behind a link's network channel: every
// frame the link sends goes out whole and is dropped unread. No thread reads the channel.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "link/module_link.h"

namespace testsupport {

class UdpSink : private NetworkListener {
public:
    explicit UdpSink(ModuleLink& link) : m_link(link), m_fd(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0)) {
        sockaddr_in a{AF_INET, 0, {htonl(INADDR_LOOPBACK)}, {}};
        socklen_t length = sizeof a;
        ::bind(m_fd, reinterpret_cast<sockaddr*>(&a), length);
        ::getsockname(m_fd, reinterpret_cast<sockaddr*>(&a), &length);
        NetworkLink& network = link.Network();
        network.SetListener(this);
        network.SetPeer({INADDR_LOOPBACK, ntohs(a.sin_port)});
        network.ToggleUdpSocket({INADDR_LOOPBACK, 0});
        link.SetChannelMode(CHANNEL_NETWORK);
    }
    ~UdpSink() override {
        m_link.SetChannelMode(CHANNEL_NONE);
        m_link.Network().CloseSocket();
        m_link.Network().SetListener(nullptr);
        ::close(m_fd);
    }
    UdpSink(const UdpSink&) = delete;
    UdpSink& operator=(const UdpSink&) = delete;
    bool IsOpen() const { return m_link.Network().IsSocketOpen(); }

private:
    void OnNetworkMessage(const std::string&) override {}
    bool OnNetworkSocket(int) override { return true; }
    void OnNetworkClosed(const std::string&) override {}
    void RequestNetworkRead(uint32_t) override {}
    void OnForeignDatagrams(uint64_t) override {}

    ModuleLink& m_link;
    int m_fd;
};

}  // namespace testsupport
