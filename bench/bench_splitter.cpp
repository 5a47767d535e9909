// Stream splitter throughput, in frames per second, against the line's worst case: at 115200
// baud about 1,650 of the smallest (7-byte) frames a second.

#include <benchmark/benchmark.h>

#include "link/frame_splitter.h"

namespace {

constexpr double kLineFramesPerSecond = 1650.0;

ByteString Frame(unsigned char control, unsigned char command, const ByteString& data) {
    ByteString f;
    f.push_back(0x79);
    f.push_back(static_cast<unsigned char>(data.size() & 0xFF));
    f.push_back(static_cast<unsigned char>(data.size() >> 8));
    f.push_back(control);
    f.push_back(command);
    f += data;
    unsigned char sum = 0;
    unsigned char x = 0;
    for (size_t i = 1; i < f.size(); ++i) {
        sum = static_cast<unsigned char>(sum + f[i]);
        x ^= f[i];
    }
    f.push_back(sum);
    f.push_back(x);
    return f;
}

// count frames stuck together; every 16th followed by a few bytes of noise when noisy.
ByteString Stream(size_t count, size_t dataBytes, bool noisy) {
    ByteString block;
    for (size_t i = 0; i < count; ++i) {
        block += Frame(0x80, static_cast<unsigned char>(0x14 + (i & 3)), ByteString(dataBytes, static_cast<unsigned char>(i)));
        if (noisy && i % 16 == 15) block += ByteString{0xFE, 0x79, 0x00, 0x68};
    }
    return block;
}

// bounded: the block was taken at the gather's bound, so the frame its end cuts off is found
// first and only the bytes before it are split.
void Run(benchmark::State& state, const ByteString& block, bool bounded = false) {
    size_t frames = 0;
    SplitSettings settings;
    SplitHandlers handlers;
    handlers.classify = [&](const ByteString& bytes, int mode) {
        if (mode == kCheckedFrame) ++frames;
        benchmark::DoNotOptimize(bytes.data());
    };
    for (auto _ : state) {
        if (bounded)
            SplitReceivedStream(block.substr(0, IncompleteFrameStart(block)), settings, handlers);
        else
            SplitReceivedStream(block, settings, handlers);
    }
    state.counters["frames"] = benchmark::Counter(static_cast<double>(frames), benchmark::Counter::kIsRate);
    state.counters["x_line"] =
        benchmark::Counter(static_cast<double>(frames) / kLineFramesPerSecond, benchmark::Counter::kIsRate);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * block.size()));
}

// Smallest frames; arg: frames per block (165 is one 100 ms burst at the worst-case rate).
void BM_SplitSmallestFrames(benchmark::State& state) {
    Run(state, Stream(static_cast<size_t>(state.range(0)), 0, false));
}
BENCHMARK(BM_SplitSmallestFrames)->Arg(1)->Arg(165)->Arg(16500);

void BM_SplitWithNoise(benchmark::State& state) { Run(state, Stream(165, 0, true)); }
BENCHMARK(BM_SplitWithNoise);

// A block taken at the 100 ms bound of a line that never pauses: 165 smallest frames and the
// first 4 bytes of the next.
void BM_SplitBoundBlock(benchmark::State& state) {
    ByteString block = Stream(166, 0, false);
    block.resize(block.size() - 3);
    Run(state, block, true);
}
BENCHMARK(BM_SplitBoundBlock);

// Frames with data; arg: data bytes per frame.
void BM_SplitDataFrames(benchmark::State& state) {
    Run(state, Stream(165, static_cast<size_t>(state.range(0)), false));
}
BENCHMARK(BM_SplitDataFrames)->Arg(16)->Arg(200);

// The worst case: a 64 KiB block of 0x79 bytes, where every byte is a start claiming a frame of
// 31,097 bytes.
const ByteString kAllStarts(64 * 1024, 0x79);

void BM_SplitAllStarts(benchmark::State& state) { Run(state, kAllStarts); }
BENCHMARK(BM_SplitAllStarts)->Unit(benchmark::kMillisecond);

void BM_IncompleteStartAllStarts(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(IncompleteFrameStart(kAllStarts));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kAllStarts.size()));
}
BENCHMARK(BM_IncompleteStartAllStarts)->Unit(benchmark::kMillisecond);

}  // namespace
