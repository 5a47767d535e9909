// Image files: two 2 MiB images compared block by block (equal apart from the MAC address, so
// every block is read), and a 384 KiB image made into a Sec-high upgrade file. Targets: under
// 50 ms and under 20 ms. The comparison's peak memory growth shows it never holds an image whole.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

#include "commands/image_compare.h"
#include "commands/upgrade_image.h"

namespace {

// The process's peak resident size in KiB.
long PeakResidentKiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
    return 0;
}

class Folder {
public:
    Folder() {
        char d[] = "/tmp/kvt_bench_image_XXXXXX";
        path = ::mkdtemp(d) ? d : "/tmp";
    }
    ~Folder() { std::filesystem::remove_all(path); }
    std::string path;
};

// Writes an image of n bytes a block at a time; mac, when given, replaces the bytes at 0xF0000.
void WriteImage(const std::string& path, size_t n, const char* mac = nullptr) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    std::string block(kCompareBlockSize, '\0');
    for (size_t at = 0; at < n; at += block.size()) {
        for (size_t i = 0; i < block.size(); ++i) block[i] = static_cast<char>(((at + i) * 13) & 0xFF);
        if (mac && at == kMacBlockOffset) block.replace(0, kMacLength, mac, kMacLength);
        out.write(block.data(), static_cast<std::streamsize>(std::min(block.size(), n - at)));
    }
}

void BM_CompareTwo2MiBImages(benchmark::State& state) {
    // Taken at the first run, before any image is read.
    static const long peakBefore = PeakResidentKiB();
    Folder folder;
    const std::string master = folder.path + "/master.bin";
    const std::string device = folder.path + "/device.bin";
    WriteImage(master, 2 << 20);
    WriteImage(device, 2 << 20, "\x12\x34\x56\x78\x9A\xBC");
    for (auto _ : state) {
        const ImageComparison c = CompareImageFiles(master, device);
        if (c.verdict != ImageComparison::kEqual || !c.macRead) state.SkipWithError("images not equal");
        benchmark::DoNotOptimize(c);
    }
    state.counters["peak_growth_KiB"] = static_cast<double>(PeakResidentKiB() - peakBefore);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * 2 * (2 << 20));
}
BENCHMARK(BM_CompareTwo2MiBImages)->Unit(benchmark::kMillisecond);

void BM_PrepareSecHigh384KiBImage(benchmark::State& state) {
    Folder folder;
    const std::string image = folder.path + "/APP_0102030405.bin";
    WriteImage(image, kSecHighImageLimit);
    for (auto _ : state) {
        const UpgradeOutcome o = PrepareUpgradeFile(UpgradeForm::kSecHigh, image, "0102030405");
        if (!o.refusal.empty()) state.SkipWithError(o.refusal.c_str());
        benchmark::DoNotOptimize(o);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kSecHighImageLimit);
}
BENCHMARK(BM_PrepareSecHigh384KiBImage)->Unit(benchmark::kMillisecond);

}  // namespace
