// Feeds one stream of receive-data frames into several pseudo-terminals at once, so programs
// reading them (the tester, a plain serial terminal) see the same bytes at the same time. Each
// pty is a simulated module: it answers the version request that opening the tester's port sends.
//
// Usage: pty_feeder DIR COUNT FRAMES_PER_SECOND SECONDS
//   writes DIR/pty0 .. DIR/pty<COUNT-1> (slave paths), waits for DIR/go, writes DIR/start (the
//   steady clock in nanoseconds when the stream began), streams every 2 ms what is due, writes
//   DIR/sent (frames sent) and waits for DIR/stop before closing the ptys.
// Frame n is 79 03 00 80 15 followed by n in three bytes (big-endian) and the check bytes.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <sys/stat.h>

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

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: %s DIR COUNT FRAMES_PER_SECOND SECONDS\n", argv[0]);
        return 2;
    }
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
    while (!Exists(dir + "/go")) std::this_thread::sleep_for(std::chrono::milliseconds(20));

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
    std::vector<std::thread> writers;
    for (auto& m : modules) {
        kvtsim::SimModule* module = m.get();
        writers.emplace_back([&, module] {
            uint64_t n = 0;
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
                    module->Send(stream.substr(written, end - written));
                    written = end;
                }
            }
        });
    }
    for (std::thread& t : writers) t.join();
    WriteFile(dir + "/sent", std::to_string(total));
    while (!Exists(dir + "/stop")) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    for (auto& m : modules) m->Stop();
    return 0;
}
