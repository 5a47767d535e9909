// What parameter configuration adds to the module's reply time. The batch runner configures
// kAddresses devices behind the simulated module over a pseudo-terminal, as the "配置参数" button
// does (its queue, flag, judgement and row); each device answers kAnswerDelay after its request
// is read. Each iteration is one address, timed from the send to the moment its row is posted.
// Counters, per address, median and worst:
//   filed_ms     from the send until the answer is filed in the configuration queue, less the
//                answer delay and the gather's quiet time;
//   after_ms     the posted time beyond the run's fixed wait (the judgement and the hand-over);
//   step_ms      from one send to the next, less the fixed wait: what the run adds to each
//                address's turn.
// The run sleeps its fixed wait before it looks at its queue, so the row is posted after that
// wait however soon the answer came.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

#include "batch_turns.h"
#include "commands/batch_runner.h"
#include "commands/config_params.h"
#include "link/conversions.h"
#include "link/module_command.h"
#include "link/module_link.h"
#include "link/receive_gatherer.h"
#include "sim/sim_module.h"

namespace {

constexpr int kPort = 98;
constexpr int kAddresses = 20;
constexpr std::chrono::milliseconds kAnswerDelay{20};
constexpr uint8_t kIndex = 3;
constexpr uint32_t kData = 1000;

using bench::BatchTurn;
using bench::Clock;
using bench::Ms;

void BM_ConfigParamsReplyOverhead(benchmark::State& state) {
    kvtsim::SimModule sim;
    if (!sim.Start()) {
        state.SkipWithError("no pseudo-terminal");
        return;
    }
    bench::BatchTurns turns(CMD_CONFIG_PARAMS_REPLY);
    for (int i = 1; i <= kAddresses; ++i) {
        const std::string wire = std::string(1, "0123456789"[i / 10]) + "0123456789"[i % 10] + "0000000000";
        ByteString payload;
        BuildConfigParamsPayload(wire, kIndex, kData, payload);
        sim.SetAnswerFor(CMD_CONFIG_PARAMS, 0, payload.substr(0, 6),
                         kvtsim::BuildFrame(0x80, CMD_CONFIG_PARAMS_REPLY, payload), kAnswerDelay);
        turns.wires.push_back(wire);
        turns.frames.push_back(kvtsim::BuildFrame(0x40, CMD_CONFIG_PARAMS, payload));
    }
    ModuleLink link(turns);
    if (!bench::OpenOnSim(link, sim, kPort)) {
        state.SkipWithError("cannot open the port");
        return;
    }

    QueueReplySource replies(link.Queues().config, link.Queues().configArrived);
    BatchRunner runner(link, turns, replies, "no thread");
    BatchSettings settings;
    settings.waitMs = kConfigWaitMs;
    turns.judge = [](const std::string& wire, const ByteString& reply) {
        return JudgeConfigReply(reply, wire, kIndex, kData);
    };
    if (runner.Start(turns.wires, settings, turns) == 0) {
        state.SkipWithError("no run thread");
        return;
    }

    const double quietMs = Ms(ReceiveGatherer::kQuietTime).count();
    const double delayMs = Ms(kAnswerDelay).count();
    std::vector<double> filed, after;
    for (auto _ : state) {
        BatchTurn turn;
        if (!turns.NextAnswered(turn)) {
            state.SkipWithError("no answer");
            break;
        }
        const double postedMs = Ms(turn.posted - turn.sent).count();
        state.SetIterationTime(postedMs / 1000.0);
        filed.push_back(Ms(turn.filed - turn.sent).count() - delayMs - quietMs);
        after.push_back(postedMs - kConfigWaitMs);
    }
    runner.Stop();
    link.Shutdown();

    const std::vector<Clock::time_point> sends = turns.Sends();
    std::vector<double> step;
    for (size_t i = 1; i < sends.size(); ++i) step.push_back(Ms(sends[i] - sends[i - 1]).count() - kConfigWaitMs);
    if (filed.empty() || step.empty()) return;
    state.counters["delay_ms"] = delayMs;
    state.counters["quiet_ms"] = quietMs;
    state.counters["wait_ms"] = kConfigWaitMs;
    bench::ReportSeries(state, "filed", filed);
    bench::ReportSeries(state, "after", after);
    bench::ReportSeries(state, "step", step);
}
BENCHMARK(BM_ConfigParamsReplyOverhead)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(kAddresses);

}  // namespace

BENCHMARK_MAIN();
