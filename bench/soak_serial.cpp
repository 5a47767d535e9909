// Soak run: the simulated module sends the smallest frames at the line's worst-case rate
// (about 1,650 a second at 115200 baud) through a pseudo-terminal; the serial port and the
// receive pipeline (gather loop and splitter) take them in, and every frame is counted, checked
// in order and timed against the moment it was due on the line.
//
// Usage: soak_serial [seconds=60] [burst_ms=2]
// burst_ms is how often the module writes what is due: below the gather loop's quiet time
// (about 52 ms) the line never goes quiet and only the gather's bound hands blocks on.
// Exit status 0 when every frame arrived, once and in order.

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>

#include "link/receive_pipeline.h"
#include "link/serial_comm.h"
#include "sim/sim_module.h"

namespace {

constexpr double kFramesPerSecond = 1650.0;
constexpr int kPort = 98;

// The 7-byte frame that carries sequence number seq in its control and command bytes.
ByteString SeqFrame(uint16_t seq) {
    return kvtsim::BuildFrame(static_cast<uint8_t>(seq >> 8), static_cast<uint8_t>(seq & 0xFF), kvtsim::Bytes());
}

// Sequence numbers whose frame holds no second start byte, so that no frame can be read
// out of two neighbours and the count stays exact.
uint16_t NextSeq(uint16_t seq) {
    for (;;) {
        ++seq;
        const ByteString f = SeqFrame(seq);
        if (f.find(0x79, 1) == ByteString::npos) return seq;
    }
}

struct Counts {
    std::mutex lock;
    uint16_t expected = 0;  // next sequence number due
    uint64_t received = 0;
    uint64_t outOfOrder = 0;
    uint64_t rawChunks = 0;
    uint64_t blocks = 0;
    double firstLatency = -1;  // seconds from the first frame on the line to its arrival
    double worstLatency = 0;   // the same for the latest frame
};

}  // namespace

int main(int argc, char** argv) {
    const double seconds = argc > 1 ? std::atof(argv[1]) : 60.0;
    const int burstMs = argc > 2 ? std::atoi(argv[2]) : 2;
    if (seconds <= 0 || burstMs <= 0) {
        std::fprintf(stderr, "usage: %s [seconds=60] [burst_ms=2]\n", argv[0]);
        return 2;
    }

    kvtsim::SimModule sim;
    if (!sim.Start()) {
        std::fprintf(stderr, "cannot open a pseudo-terminal\n");
        return 1;
    }
    const std::string var = "KVT_COM" + std::to_string(kPort);
    ::setenv(var.c_str(), sim.SlavePath().c_str(), 1);

    Counts counts;
    counts.expected = NextSeq(0);
    // Frames are due from here on; the gather thread reads it, so it is set before that starts.
    const auto start = std::chrono::steady_clock::now();
    SplitHandlers handlers;
    handlers.classify = [&](const ByteString& bytes, int mode) {
        std::lock_guard<std::mutex> l(counts.lock);
        if (mode != kCheckedFrame) {
            ++counts.rawChunks;
            return;
        }
        // Frame k (from 0) was due on the line at k / rate seconds.
        const double late = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() -
                            static_cast<double>(counts.received) / kFramesPerSecond;
        if (counts.firstLatency < 0) counts.firstLatency = late;
        if (late > counts.worstLatency) counts.worstLatency = late;
        ++counts.received;
        if (bytes != SeqFrame(counts.expected)) ++counts.outOfOrder;
        const uint16_t got = static_cast<uint16_t>(bytes[3] << 8 | bytes[4]);
        counts.expected = NextSeq(got);
    };
    ReceivePipeline pipeline(nullptr, handlers, [&] {
        std::lock_guard<std::mutex> l(counts.lock);
        ++counts.blocks;
    });
    std::thread gather([&] { pipeline.Run(); });

    CSerialComm comm([&](const unsigned char* bytes, size_t n) { pipeline.Append(bytes, n); });
    comm.SetSettings(SerialSettings{kPort, 115200, 8, 0, "1"});
    if (comm.Open() != SERIAL_OK) {
        std::fprintf(stderr, "open failed: %s\n", comm.LastErrorText().c_str());
        pipeline.Stop(false);
        gather.join();
        return 1;
    }

    // Send what is due every burst_ms, one write per burst.
    const auto end = start + std::chrono::duration<double>(seconds);
    uint64_t sent = 0;
    uint16_t seq = 0;
    auto next = start;
    while (next < end) {
        next += std::chrono::milliseconds(burstMs);
        std::this_thread::sleep_until(next);
        const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        const uint64_t due = static_cast<uint64_t>(elapsed * kFramesPerSecond);
        kvtsim::Bytes burst;
        for (; sent < due; ++sent) {
            seq = NextSeq(seq);
            burst += SeqFrame(seq);
        }
        if (!burst.empty() && !sim.Send(burst)) {
            std::fprintf(stderr, "the module could not write\n");
            break;
        }
    }

    // Let the last block through: wait until all are counted, or nothing new came for 2 s.
    uint64_t seen = 0;
    auto lastProgress = std::chrono::steady_clock::now();
    for (;;) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        std::lock_guard<std::mutex> l(counts.lock);
        if (counts.received >= sent) break;
        const auto now = std::chrono::steady_clock::now();
        if (counts.received != seen) {
            seen = counts.received;
            lastProgress = now;
        } else if (now - lastProgress > std::chrono::seconds(2)) {
            break;
        }
    }
    const double took = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    comm.Close();
    pipeline.Stop(true);
    gather.join();

    std::lock_guard<std::mutex> l(counts.lock);
    const uint64_t lost = sent > counts.received ? sent - counts.received : 0;
    const uint64_t extra = counts.received > sent ? counts.received - sent : 0;
    std::printf("seconds        %.1f\n", took);
    std::printf("frames sent    %llu (%.0f a second, %d ms bursts)\n", static_cast<unsigned long long>(sent),
                static_cast<double>(sent) / seconds, burstMs);
    std::printf("frames counted %llu\n", static_cast<unsigned long long>(counts.received));
    std::printf("lost           %llu\n", static_cast<unsigned long long>(lost));
    std::printf("extra          %llu\n", static_cast<unsigned long long>(extra));
    std::printf("out of order   %llu\n", static_cast<unsigned long long>(counts.outOfOrder));
    std::printf("raw chunks     %llu\n", static_cast<unsigned long long>(counts.rawChunks));
    std::printf("blocks         %llu\n", static_cast<unsigned long long>(counts.blocks));
    std::printf("first frame    %.0f ms after it was due\n", counts.firstLatency * 1000);
    std::printf("latest frame   %.0f ms after it was due\n", counts.worstLatency * 1000);
    const bool clean = lost == 0 && extra == 0 && counts.outOfOrder == 0 && counts.rawChunks == 0;
    std::printf("%s\n", clean ? "OK: no frame lost" : "FAILED");
    return clean ? 0 : 1;
}
