// What reading the reset information adds to the module's reply time. The batch runner reads
// the reset information of kAddresses devices behind the simulated module over a pseudo-terminal,
// as the read button does (its queue, flag, judgement and the row's time); each device answers
// kAnswerDelay after its request is read. Each iteration is one address, timed from the send to
// the moment its row is posted. Counters, per address, median and worst:
//   added_ms     the posted time minus the answer delay and the gather's quiet time;
//   filed_ms     the same up to the moment the answer is filed in the reset-information queue;
//   after_ms     the posted time beyond the run's fixed wait (the judgement and the hand-over);
//   row_ms       the reply time the row shows, whole milliseconds.
// The run sleeps its fixed wait (the interval, whole seconds) before it looks at its queue, so
// the row is posted after that wait however soon the answer came.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

#include "batch_turns.h"
#include "commands/batch_runner.h"
#include "commands/reset_info.h"
#include "link/conversions.h"
#include "link/module_command.h"
#include "link/module_link.h"
#include "link/receive_gatherer.h"
#include "link/sub_commands.h"
#include "sim/sim_module.h"

namespace {

constexpr int kPort = 97;
constexpr int kAddresses = 20;
constexpr std::chrono::milliseconds kAnswerDelay{20};
// The shortest interval the page accepts that lets an answer in: one second.
constexpr uint32_t kWaitMs = 1000;

using bench::BatchTurn;
using bench::Ms;

void BM_ResetInfoReplyOverhead(benchmark::State& state) {
    kvtsim::SimModule sim;
    if (!sim.Start()) {
        state.SkipWithError("no pseudo-terminal");
        return;
    }
    const uint32_t counts[4] = {1, 2, 3, 4};
    bench::BatchTurns reads(CMD_RESET_INFO);
    for (int i = 1; i <= kAddresses; ++i) {
        const ResetInfoTarget target{"0000000000" + std::string(1, "0123456789"[i / 10]) + "0123456789"[i % 10], ""};
        ByteString wire;
        HexTextToBytes(target.mac, wire, 0);
        kvtsim::AnswerResetInfoFor(sim, wire, false,
                                   kvtsim::ResetInfoAnswer(RESET_INFO_READ_REMOTE, wire, 1, counts), kAnswerDelay);
        reads.wires.push_back(target.mac);
        reads.frames.push_back(
            kvtsim::BuildFrame(0x40, CMD_RESET_INFO, BuildResetInfoPayload(RESET_INFO_READ_REMOTE, 0, target)));
    }
    ModuleLink link(reads);
    if (!bench::OpenOnSim(link, sim, kPort)) {
        state.SkipWithError("cannot open the port");
        return;
    }

    QueueReplySource replies(link.Queues().resetInfo, link.Queues().pointReadArrived);
    BatchRunner runner(link, reads, replies, "no thread");
    BatchSettings settings;
    settings.waitMs = kWaitMs;
    settings.writesTime = true;
    reads.judge = [](const std::string& mac, const ByteString& reply) { return JudgeResetInfoReply(reply, mac); };
    if (runner.Start(reads.wires, settings, reads) == 0) {
        state.SkipWithError("no run thread");
        return;
    }

    const double quietMs = Ms(ReceiveGatherer::kQuietTime).count();
    const double delayMs = Ms(kAnswerDelay).count();
    std::vector<double> added, filed, after, row;
    for (auto _ : state) {
        BatchTurn read;
        if (!reads.NextAnswered(read)) {
            state.SkipWithError("no answer");
            break;
        }
        const double postedMs = Ms(read.posted - read.sent).count();
        state.SetIterationTime(postedMs / 1000.0);
        added.push_back(postedMs - delayMs - quietMs);
        filed.push_back(Ms(read.filed - read.sent).count() - delayMs - quietMs);
        after.push_back(postedMs - kWaitMs);
        row.push_back(std::strtod(read.time.c_str(), nullptr));
    }
    runner.Stop();
    link.Shutdown();

    if (added.empty()) return;
    state.counters["delay_ms"] = delayMs;
    state.counters["quiet_ms"] = quietMs;
    state.counters["wait_ms"] = kWaitMs;
    bench::ReportSeries(state, "added", added);
    bench::ReportSeries(state, "filed", filed);
    bench::ReportSeries(state, "after", after);
    bench::ReportSeries(state, "row", row);
}
BENCHMARK(BM_ResetInfoReplyOverhead)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(kAddresses);

}  // namespace

BENCHMARK_MAIN();
