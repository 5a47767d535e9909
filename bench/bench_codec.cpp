// Cost of encoding and of explaining one frame.

#include <benchmark/benchmark.h>

#include "analyzer/analyzer.h"
#include "analyzer/broadcast_test_analyzers.h"
#include "analyzer/connection_analyzers.h"
#include "analyzer/control_field.h"
#include "analyzer/local_analyzers.h"
#include "analyzer/monitor_reset_analyzers.h"
#include "analyzer/pairing_analyzers.h"
#include "analyzer/remote_multicast_analyzers.h"
#include "analyzer/tcpip_analyzers.h"
#include "analyzer/test_tool_analyzers.h"
#include "link/conversions.h"
#include "link/module_frame.h"

namespace {

ByteString Frame(unsigned char control, unsigned char command, const ByteString& data) {
    ModuleFrame f;
    f.direction = control >> 7;
    f.replyStatus = (control >> 5) & 1;
    f.command = command;
    f.payload = data;
    f.length = static_cast<uint16_t>(data.size());
    ByteString out;
    EncodeFrame(out, f);
    return out;
}

void BM_EncodeFrame(benchmark::State& state) {
    ModuleFrame f;
    f.initiator = 1;
    f.command = 0x14;
    f.payload.assign(static_cast<size_t>(state.range(0)), 0x5A);
    f.length = static_cast<uint16_t>(f.payload.size());
    ByteString out;
    for (auto _ : state) {
        EncodeFrame(out, f);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_EncodeFrame)->Arg(0)->Arg(16)->Arg(256);

void BM_EncodeAndHexText(benchmark::State& state) {
    ModuleFrame f;
    f.command = 0x03;
    ByteString out;
    std::string hex;
    for (auto _ : state) {
        EncodeFrame(out, f);
        BytesToHexTextSpaced(hex, out, 0);
        benchmark::DoNotOptimize(hex.data());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_EncodeAndHexText);

// Times explain(text) on a cleared text, and reports how long the text it writes is.
template <typename Explain>
void TimeExplaining(benchmark::State& state, Explain explain) {
    std::string text;
    for (auto _ : state) {
        text.clear();
        explain(text);
        benchmark::DoNotOptimize(text.data());
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["text"] = static_cast<double>(text.size());
}

// A search report of n devices, each with its multicast address and a 4-byte attribute.
ByteString SearchReport(unsigned n) {
    ByteString data{static_cast<unsigned char>(n)};
    for (unsigned k = 0; k < n; ++k)
        data += ByteString{0x66, 0x55, 0x44, 0x33, 0x22, static_cast<unsigned char>(k), 0x13, 0x11, 0xCD, 0xAB,
                           4, 'a', 'b', 'c', 'd'};
    return data;
}

// The dispatched frames; the last two are long: a received frame carrying 255 data bytes and a
// search report of 18 devices, about as much text as the longest local settings below.
void BM_AnalyzeFrame(benchmark::State& state) {
    const ByteString source{0x66, 0x55, 0x44, 0x33, 0x22, 0x11};
    const ByteString frames[] = {
        Frame(0x80, 0x03, ByteString{1, 2, 3, 4, 5, 6}),
        Frame(0x80, 0x0D, ByteString{3, 0xA0, 0x21, 0, 0, 0, 0}),
        Frame(0xA0, 0x0B, ByteString{3}),
        Frame(0x40, 0x20, ByteString{}),
        Frame(0x80, 0x15, ByteString{0x11, 0x03, 0x00} + source + ByteString{255, 0} + ByteString(255, 0x5A)),
        Frame(0x80, 0x19, SearchReport(18)),
    };
    const ByteString& frame = frames[state.range(0)];
    AnalyzerSink sink;
    TimeExplaining(state, [&](std::string& text) {
        AnalyzeFrame(frame, text, sink);
    });
}
BENCHMARK(BM_AnalyzeFrame)->DenseRange(0, 5);

// The local settings that the dispatcher does not route, each after its control field: a group
// setting of three groups, a group reading of three and of 255 (zeros past the frame's end), a
// key of 64 and of 255 bytes, a local MAC answer, a local tone request.
void BM_AnalyzeLocalSettings(benchmark::State& state) {
    const ByteString groups{3, 0x34, 0x12, 0x78, 0x56, 0xBC, 0x9A};
    const struct {
        ByteString frame;
        void (*explain)(const ByteString&, std::string&);
    } cases[] = {
        {Frame(0x40, 0x25, groups), AnalyzeSetMulticastAddress},
        {Frame(0x80, 0x26, groups), AnalyzeReadMulticastAddress},
        {Frame(0x80, 0x26, ByteString{0xFF, 0x34, 0x12}), AnalyzeReadMulticastAddress},
        {Frame(0x80, 0x08, ByteString{64} + ByteString(64, 0x5A)), AnalyzeSetPassword},
        {Frame(0x80, 0x08, ByteString{255} + ByteString(255, 0x5A)), AnalyzeSetPassword},
        {Frame(0x80, 0x04, ByteString{1, 2, 3, 4, 5, 6}),
         [](const ByteString& f, std::string& t) { AnalyzeSetLocalMacAddress(f, t); }},
        {Frame(0x40, 0x20, ByteString{1, 0xFE}),
         [](const ByteString& f, std::string& t) { AnalyzeSetLocalTone(f, t); }},
    };
    const auto& c = cases[state.range(0)];
    TimeExplaining(state, [&](std::string& text) {
        PrintControlField(c.frame, text);
        c.explain(c.frame, text);
    });
}
BENCHMARK(BM_AnalyzeLocalSettings)->DenseRange(0, 6);

// A pairing frame's explanation as the frame analyzer's would be: its control field, then its
// sub-code's text. Local pairing answer, communication test request, searched devices, pairing
// search results.
void BM_AnalyzePairingFrame(benchmark::State& state) {
    const ByteString mac{0x66, 0x55, 0x44, 0x33, 0x22, 0x11};
    const ByteString macPan = mac + ByteString{0x34, 0x12};
    const ByteString frames[] = {
        Frame(0x80, 0x60, ByteString{0x00} + macPan),
        Frame(0x00, 0x60, ByteString{0x20} + mac + ByteString{4, 1, 2, 3, 4}),
        Frame(0x80, 0x60, ByteString{0xF1, 2} + macPan + macPan),
        Frame(0x80, 0x60, ByteString{0x12, 2} + macPan + ByteString{1, 0xAA} + macPan + ByteString{0}),
    };
    const ByteString& frame = frames[state.range(0)];
    TimeExplaining(state, [&](std::string& text) {
        PrintControlField(frame, text);
        DispatchPairingAnalyzer(frame, text);
    });
}
BENCHMARK(BM_AnalyzePairingFrame)->DenseRange(0, 3);

// The connection management frames after their control field: a start-connection request to a
// cloud server, a link state report from a device, a delete-connection request to a device.
void BM_AnalyzeConnectionFrame(benchmark::State& state) {
    const ByteString mac{0x66, 0x55, 0x44, 0x33, 0x22, 0x11};
    const ByteString sockets{1, 0, 0xA8, 0xC0, 0x90, 0x1F, 2, 0, 0, 10, 0xBB, 1};
    const struct {
        ByteString frame;
        int (*explain)(const ByteString&, std::string&);
    } cases[] = {
        {Frame(0x40, 0x11, ByteString{0x21, 0x02} + sockets), AnalyzeStartConnection},
        {Frame(0x80, 0x12, ByteString{0x43, 0x01} + mac + ByteString{2}), AnalyzeLinkStateReport},
        {Frame(0x40, 0x13, ByteString{0x43, 0x00} + mac), AnalyzeDeleteConnection},
    };
    const auto& c = cases[state.range(0)];
    TimeExplaining(state, [&](std::string& text) {
        PrintControlField(c.frame, text);
        c.explain(c.frame, text);
    });
}
BENCHMARK(BM_AnalyzeConnectionFrame)->DenseRange(0, 2);

// The test-tool, smart-monitor, reset-information, broadcast reply test and BLE configuration
// frames, each through its own explainer after its control field: a test data report, a
// module-address answer of four devices, a smart-monitor answer, a remote reset-information
// answer, a multicast broadcast answer, a BLE configuration request.
void BM_AnalyzeSubCommandFamilies(benchmark::State& state) {
    const ByteString mac{0x66, 0x55, 0x44, 0x33, 0x22, 0x11};
    AnalyzerSink sink;
    const struct {
        ByteString frame;
        void (*explain)(const ByteString&, std::string&, AnalyzerSink&);
    } cases[] = {
        {Frame(0x80, 0xF2, ByteString{3} + mac + ByteString{0x23, 0x01, 0x1A, 0xFF}),
         [](const ByteString& f, std::string& t, AnalyzerSink&) { DispatchTestToolAnalyzer(f, t); }},
        {Frame(0x80, 0xF2, ByteString{5, 0x11, 4} + mac + mac + mac + mac),
         [](const ByteString& f, std::string& t, AnalyzerSink&) { DispatchTestToolAnalyzer(f, t); }},
        {Frame(0x80, 0xF3, ByteString{1}),
         [](const ByteString& f, std::string& t, AnalyzerSink& s) { DispatchSmartMonitorAnalyzer(f, t, s); }},
        {Frame(0x80, 0xF4, ByteString{2} + mac + ByteString(20, 0x5A)),
         [](const ByteString& f, std::string& t, AnalyzerSink&) { DispatchResetInfoAnalyzer(f, t); }},
        {Frame(0x80, 0xF5, ByteString{1, 0x2B, 0x34, 0x12} + mac + ByteString{0x1A, 0xE8, 3, 5, 2, 0x2C, 1}),
         [](const ByteString& f, std::string& t, AnalyzerSink&) { DispatchBroadcastReplyTestAnalyzer(f, t); }},
        {Frame(0x40, 0xE1, mac + ByteString{7, 0xFF, 0xFF, 0xFF, 0xFF}),
         [](const ByteString& f, std::string& t, AnalyzerSink&) { AnalyzeConfigBleRequest(f, t); }},
        // A frequency-offset answer, a test data request, an abnormal gain answer, a local
        // reset-information answer, a multicast remote reset request, a multicast broadcast request.
        {Frame(0x80, 0xF2, ByteString{1} + mac + ByteString{0x80, 0x7F}),
         [](const ByteString& f, std::string& t, AnalyzerSink&) { DispatchTestToolAnalyzer(f, t); }},
        {Frame(0x40, 0xF2, ByteString{2} + mac + ByteString{0x23, 0x01, 0x1A, 0x80}),
         [](const ByteString& f, std::string& t, AnalyzerSink&) { DispatchTestToolAnalyzer(f, t); }},
        {Frame(0xA0, 0xF2, ByteString{4, 3}),
         [](const ByteString& f, std::string& t, AnalyzerSink&) { DispatchTestToolAnalyzer(f, t); }},
        {Frame(0x80, 0xF4, ByteString{0} + ByteString(20, 0xA5)),
         [](const ByteString& f, std::string& t, AnalyzerSink&) { DispatchResetInfoAnalyzer(f, t); }},
        {Frame(0x40, 0xF4, ByteString{2, 1, 0x34, 0x12} + mac),
         [](const ByteString& f, std::string& t, AnalyzerSink&) { DispatchResetInfoAnalyzer(f, t); }},
        {Frame(0x40, 0xF5, ByteString{0, 0x03, 0x34, 0x12, 0x1A, 0xE8, 3, 5, 0x2C, 1}),
         [](const ByteString& f, std::string& t, AnalyzerSink&) { DispatchBroadcastReplyTestAnalyzer(f, t); }},
    };
    const auto& c = cases[state.range(0)];
    TimeExplaining(state, [&](std::string& text) {
        PrintControlField(c.frame, text);
        c.explain(c.frame, text, sink);
    });
}
BENCHMARK(BM_AnalyzeSubCommandFamilies)->DenseRange(0, 11);

// The remote multicast-group setting, each frame through its own explainer after its control
// field: a multicast request of three groups, a reply, a request report of three groups, a
// reply report.
void BM_AnalyzeRemoteMulticastFrame(benchmark::State& state) {
    const ByteString mac{0x66, 0x55, 0x44, 0x33, 0x22, 0x11};
    const ByteString groups{3, 0x34, 0x12, 0x78, 0x56, 0xBC, 0x9A};
    const struct {
        ByteString frame;
        bool (*explain)(const ByteString&, std::string&);
    } cases[] = {
        {Frame(0x40, 0x25, ByteString{0x33, 0x01, 0xCD, 0xAB} + mac + groups), AnalyzeRemoteSetMulticastRequest},
        {Frame(0x40, 0x27, ByteString{0x33, 0x01, 0xCD, 0xAB} + mac + ByteString{1}), AnalyzeRemoteSetMulticastReply},
        {Frame(0x80, 0x26, ByteString{0x34, 0x15, 0xCD, 0xAB} + mac + ByteString{1} + groups),
         AnalyzeRemoteSetMulticastRequestReport},
        {Frame(0x80, 0x28, ByteString{0x34, 0x15, 0xCD, 0xAB} + mac + ByteString{1}),
         AnalyzeRemoteSetMulticastReplyReport},
    };
    const auto& c = cases[state.range(0)];
    TimeExplaining(state, [&](std::string& text) {
        PrintControlField(c.frame, text);
        c.explain(c.frame, text);
    });
}
BENCHMARK(BM_AnalyzeRemoteMulticastFrame)->DenseRange(0, 3);

// The TCP/IP mode frames after their control field, one of each code: enable, the local network
// port's reply, setting it, a DNS request, a DNS report, a connection state report, a state query
// answer of two sockets, connect, disconnect, sending 16 bytes, receiving 16 bytes.
void BM_AnalyzeTcpipFrames(benchmark::State& state) {
    const ByteString pair{0x08, 0x01, 0xA8, 0xC0, 0x91, 0x1F, 0x02, 0x00, 0x00, 0x0A, 0xF6, 0x01};
    const ByteString netport{8, 1, 168, 192, 0, 255, 255, 255, 1, 1, 168, 192, 8, 8, 8, 8, 4, 4, 8, 8};
    const ByteString name{13, 'w', 'w', 'w', '.', 'e', 'x', 'a', 'm', 'p', 'l', 'e', '.', 'c'};
    const ByteString data = ByteString{16, 0} + ByteString(16, 0x5A);
    using Explain = int (*)(const ByteString&, std::string&);
    const struct {
        ByteString frame;
        Explain explain;
    } cases[] = {
        {Frame(0x40, 0x30, ByteString{}), AnalyzeEnableTcpipMode},
        {Frame(0x80, 0x31, netport), AnalyzeReadLocalNetPort},
        {Frame(0x40, 0x32, netport), AnalyzeSetLocalNetPort},
        {Frame(0x40, 0x33, name), AnalyzeDnsResolve},
        {Frame(0x80, 0x34, name + ByteString{8, 1, 168, 192}), AnalyzeDnsResolveReport},
        {Frame(0x80, 0x35, pair + ByteString{4}), AnalyzeTcpStateReport},
        {Frame(0x80, 0x36, ByteString{2} + pair + ByteString{4} + pair + ByteString{1}),
         [](const ByteString& f, std::string& t) {
             AnalyzeTcpStateQuery(f, t);
             return 0;
         }},
        {Frame(0x40, 0x37, ByteString{1} + pair), AnalyzeTcpConnect},
        {Frame(0x40, 0x38, pair), AnalyzeTcpDisconnect},
        {Frame(0x40, 0x39, pair + data), AnalyzeTcpSendData},
        {Frame(0x80, 0x3A, pair + data), AnalyzeTcpReceiveData},
    };
    const auto& c = cases[state.range(0)];
    TimeExplaining(state, [&](std::string& text) {
        PrintControlField(c.frame, text);
        c.explain(c.frame, text);
    });
}
BENCHMARK(BM_AnalyzeTcpipFrames)->DenseRange(0, 10);

void BM_HexTextToBytes(benchmark::State& state) {
    const std::string text = "79 06 00 80 03 01 02 03 04 05 06 9B 85 ";
    ByteString out;
    for (auto _ : state) {
        HexTextToBytes(text, out, 0);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_HexTextToBytes);

}  // namespace
