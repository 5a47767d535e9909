// Feeds one stream of receive-data frames into several pseudo-terminals at once, so programs
// reading them (the tester, a plain serial terminal) see the same bytes at the same time. Each
// pty is a simulated module: it answers the version request that opening the tester's port sends.
// With "net" it also feeds the same stream to a loopback TCP client and, one frame a datagram, to
// a loopback UDP socket, as a module on the network would.
//
// Usage: pty_feeder DIR COUNT FRAMES_PER_SECOND SECONDS [net]
//   writes DIR/pty0 .. DIR/pty<COUNT-1> (slave paths) and, with net, DIR/tcp_port (a loopback
//   port listening for one client) and DIR/udp_port (the loopback port datagrams come from),
//   waits for DIR/go (and then reads DIR/udp_target, the port datagrams go to), writes DIR/start
//   (the steady clock in nanoseconds when the stream began), streams every 2 ms what is due,
//   writes DIR/sent (frames sent) and waits for DIR/stop before closing everything.
// Frame n is 79 03 00 80 15 followed by n in three bytes (big-endian) and the check bytes.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include "sim/sim_module.h"

namespace {

using Clock = std::chrono::steady_clock;

bool Exists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

void WriteFile(const std::string& path, const std::string& text) {
    const std::string temp = path + ".part";
    {
        std::ofstream f(temp, std::ios::trunc);
        f << text << "\n";
    }
    std::rename(temp.c_str(), path.c_str());
}

kvtsim::Bytes SeqFrame(uint32_t seq) {
    return kvtsim::BuildFrame(0x80, 0x15, kvtsim::Bytes{static_cast<unsigned char>(seq >> 16),
                                                        static_cast<unsigned char>(seq >> 8),
                                                        static_cast<unsigned char>(seq)});
}

// A loopback socket bound to a free port; the port, 0 when that failed.
uint16_t BindLoopback(int fd) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof a;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&a), length) != 0) return 0;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &length);
    return ntohs(a.sin_port);
}

void SendAll(int fd, const unsigned char* bytes, size_t count) {
    for (size_t off = 0; off < count;) {
        const ssize_t w = ::send(fd, bytes + off, count - off, MSG_NOSIGNAL);
        if (w <= 0) return;
        off += static_cast<size_t>(w);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5 && !(argc == 6 && std::string(argv[5]) == "net")) {
        std::fprintf(stderr, "usage: %s DIR COUNT FRAMES_PER_SECOND SECONDS [net]\n", argv[0]);
        return 2;
    }
    const bool net = argc == 6;
    const std::string dir = argv[1];
    const int count = std::atoi(argv[2]);
    const double rate = std::atof(argv[3]);
    const double seconds = std::atof(argv[4]);
    if (count < 1 || rate <= 0 || seconds <= 0) return 2;

    std::vector<std::unique_ptr<kvtsim::SimModule>> modules;
    for (int i = 0; i < count; ++i) {
        modules.push_back(std::make_unique<kvtsim::SimModule>());
        if (!modules.back()->Start()) {
            std::fprintf(stderr, "pty_feeder: no pseudo-terminal\n");
            return 1;
        }
        WriteFile(dir + "/pty" + std::to_string(i), modules.back()->SlavePath());
    }
    int tcpServer = -1, udp = -1;
    if (net) {
        tcpServer = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        udp = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        const uint16_t tcpPort = BindLoopback(tcpServer);
        const uint16_t udpPort = BindLoopback(udp);
        if (tcpPort == 0 || udpPort == 0 || ::listen(tcpServer, 1) != 0) {
            std::fprintf(stderr, "pty_feeder: no loopback socket\n");
            return 1;
        }
        WriteFile(dir + "/tcp_port", std::to_string(tcpPort));
        WriteFile(dir + "/udp_port", std::to_string(udpPort));
    }
    while (!Exists(dir + "/go")) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    int tcp = -1;
    sockaddr_in udpTarget{};
    if (net) {
        // The window connected before it said it was ready.
        tcp = ::accept4(tcpServer, nullptr, nullptr, SOCK_CLOEXEC);
        std::ifstream f(dir + "/udp_target");
        int port = 0;
        if (tcp < 0 || !(f >> port)) {
            std::fprintf(stderr, "pty_feeder: no network reader\n");
            return 1;
        }
        udpTarget.sin_family = AF_INET;
        udpTarget.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        udpTarget.sin_port = htons(static_cast<uint16_t>(port));
    }

    // The whole stream is made first, so every reader gets the same bytes on the same schedule.
    const uint64_t total = static_cast<uint64_t>(rate * seconds);
    kvtsim::Bytes stream;
    std::vector<size_t> frameEnd;
    frameEnd.reserve(total);
    for (uint64_t n = 0; n < total; ++n) {
        stream += SeqFrame(static_cast<uint32_t>(n));
        frameEnd.push_back(stream.size());
    }
    const Clock::time_point start = Clock::now();
    WriteFile(dir + "/start",
              std::to_string(std::chrono::duration_cast<std::chrono::nanoseconds>(start.time_since_epoch()).count()));
    // Each writer sends the frames due every 2 ms through its own send.
    using Sink = std::function<void(size_t from, size_t to, uint64_t firstFrame, uint64_t endFrame)>;
    std::vector<Sink> sinks;
    for (auto& m : modules) {
        kvtsim::SimModule* module = m.get();
        sinks.push_back([&, module](size_t from, size_t to, uint64_t, uint64_t) {
            module->Send(stream.substr(from, to - from));
        });
    }
    if (net) {
        sinks.push_back([&](size_t from, size_t to, uint64_t, uint64_t) { SendAll(tcp, stream.data() + from, to - from); });
        sinks.push_back([&](size_t, size_t, uint64_t first, uint64_t end) {
            for (uint64_t k = first; k < end; ++k) {
                const size_t begin = k == 0 ? 0 : frameEnd[k - 1];
                ::sendto(udp, stream.data() + begin, frameEnd[k] - begin, 0, reinterpret_cast<sockaddr*>(&udpTarget),
                         sizeof udpTarget);
            }
        });
    }
    std::vector<std::thread> writers;
    for (const Sink& sink : sinks) {
        writers.emplace_back([&, sink] {
            uint64_t n = 0, done = 0;
            size_t written = 0;
            auto next = start;
            while (n < total) {
                next += std::chrono::milliseconds(2);
                std::this_thread::sleep_until(next);
                const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
                n = std::min<uint64_t>(total, static_cast<uint64_t>(elapsed * rate));
                if (n == 0) continue;
                const size_t end = frameEnd[n - 1];
                if (end > written) {
                    sink(written, end, done, n);
                    written = end;
                    done = n;
                }
            }
        });
    }
    for (std::thread& t : writers) t.join();
    WriteFile(dir + "/sent", std::to_string(total));
    while (!Exists(dir + "/stop")) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    for (auto& m : modules) m->Stop();
    for (int fd : {tcp, tcpServer, udp})
        if (fd >= 0) ::close(fd);
    return 0;
}
