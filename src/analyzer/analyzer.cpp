#include "analyzer/analyzer.h"

#include <array>
#include <iterator>

#include "analyzer/control_field.h"
#include "analyzer/data_analyzers.h"
#include "analyzer/field_printers.h"
#include "analyzer/local_analyzers.h"
#include "analyzer/remote_command_analyzers.h"
#include "analyzer/remote_password_analyzers.h"
#include "analyzer/search_analyzers.h"
#include "link/module_command.h"

namespace {

using CommandAnalyzer = void (*)(const ByteString& frame, std::string& text, AnalyzerSink& sink);

constexpr int kAnySubCommand = -1;

// A command's analyzer, for one sub-command (the first data byte) or for any.
struct AnalyzerRow {
    uint8_t command;
    int subCommand;
    CommandAnalyzer analyze;
};

// An analyzer that neither needs the sink nor returns anything the dispatcher keeps.
template <auto analyzer>
void WithoutSink(const ByteString& frame, std::string& text, AnalyzerSink& /*sink*/) {
    analyzer(frame, text);
}

template <auto analyzer>
void WithSink(const ByteString& frame, std::string& text, AnalyzerSink& sink) {
    analyzer(frame, text, sink);
}

void AnalyzeTitledSlaveRequest(const ByteString& frame, std::string& text, AnalyzerSink& /*sink*/) {
    text += "从机远程设置网络口令请求上报帧";
    text += kCrLf;
    AnalyzeRemoteSetPasswordSlaveRequest(frame, text);
}

// The first row that holds the command and matches the sub-command wins.
constexpr AnalyzerRow kAnalyzers[] = {
    {CMD_MODULE_RESTART, kAnySubCommand, WithoutSink<AnalyzeModuleRestart>},
    {CMD_READ_VERSION, kAnySubCommand, WithSink<AnalyzeReadVersion>},
    {CMD_READ_MAC_ADDRESS, kAnySubCommand, WithoutSink<AnalyzeReadMacAddress>},
    {CMD_READ_LOCAL_PASSWORD, kAnySubCommand, WithoutSink<AnalyzeReadLocalPassword>},
    {CMD_SET_LOCAL_PASSWORD, kAnySubCommand, WithoutSink<AnalyzeSetLocalPassword>},
    {CMD_READ_COMM_ADDRESS, kAnySubCommand, WithoutSink<AnalyzeReadCommAddress>},
    {CMD_SET_COMM_ADDRESS, kAnySubCommand, WithoutSink<AnalyzeSetCommAddress>},
    {CMD_READ_NETWORK_PARAMS, kAnySubCommand, WithoutSink<AnalyzeReadNetworkParams>},
    {CMD_SET_NETWORK_PARAMS, kAnySubCommand, WithoutSink<AnalyzeSetNetworkParams>},
    {CMD_SEND_DATA, kAnySubCommand, WithoutSink<AnalyzeSendData>},
    {CMD_RECEIVE_DATA, kAnySubCommand, WithoutSink<AnalyzeReceiveData>},
    {CMD_START_SEARCH, kAnySubCommand, WithoutSink<AnalyzeStartSearch>},
    {CMD_STOP_SEARCH, kAnySubCommand, WithoutSink<AnalyzeStopSearch>},
    {CMD_SEARCH_REPORT, kAnySubCommand, WithoutSink<AnalyzeSearchReport>},
    {CMD_REQUEST_SEARCH_ATTRIBUTE, kAnySubCommand, WithoutSink<AnalyzeRequestSearchAttribute>},
    {CMD_REPLY_SEARCH_ATTRIBUTE, kAnySubCommand, WithoutSink<AnalyzeReplySearchAttribute>},
    {CMD_REMOTE_SET_PASSWORD, kAnySubCommand, WithoutSink<AnalyzeRemoteSetPassword>},
    {CMD_REMOTE_SET_PASSWORD_SLAVE_REQUEST, kAnySubCommand, AnalyzeTitledSlaveRequest},
    {CMD_REMOTE_SET_PASSWORD_REPLY, kAnySubCommand, WithoutSink<AnalyzeRemoteSetPasswordReply>},
    {CMD_REMOTE_SET_PASSWORD_REPLY_REPORT, kAnySubCommand, WithoutSink<AnalyzeRemoteSetPasswordReplyReport>},
    {CMD_REMOTE_RESTART, kAnySubCommand, WithoutSink<AnalyzeRemoteRestart>},
    {CMD_REMOTE_READ_VERSION, kAnySubCommand, WithSink<AnalyzeRemoteReadVersion>},
    {CMD_REMOTE_READ_MAC_ADDRESS, kAnySubCommand, WithoutSink<AnalyzeRemoteReadMacAddress>},
    {CMD_REMOTE_READ_NETWORK_PARAMS, kAnySubCommand, WithoutSink<AnalyzeRemoteReadNetworkParams>},
    {CMD_ACTIVE_REPORT, kAnySubCommand, WithoutSink<AnalyzeActiveReport>},
};
constexpr size_t kAnalyzerCount = std::size(kAnalyzers);
static_assert(kAnalyzerCount < 0xFF, "row numbers are kept in bytes");

// Per command, the rows that hold it in table order: the first row's number plus one (0: none),
// and from each row the next one of the same command.
struct AnalyzerIndex {
    std::array<uint8_t, 256> first{};
    std::array<uint8_t, kAnalyzerCount> next{};
};

AnalyzerIndex BuildIndex() {
    AnalyzerIndex index;
    std::array<uint8_t, 256> last{};
    for (size_t i = 0; i < kAnalyzerCount; ++i) {
        const uint8_t command = kAnalyzers[i].command;
        const auto number = static_cast<uint8_t>(i + 1);
        if (last[command] == 0)
            index.first[command] = number;
        else
            index.next[last[command] - 1] = number;
        last[command] = number;
    }
    return index;
}

CommandAnalyzer FindAnalyzer(uint8_t command, uint8_t subCommand) {
    static const AnalyzerIndex index = BuildIndex();
    for (uint8_t n = index.first[command]; n != 0; n = index.next[n - 1]) {
        const AnalyzerRow& row = kAnalyzers[n - 1];
        if (row.subCommand == kAnySubCommand || row.subCommand == subCommand) return row.analyze;
    }
    return nullptr;
}

}  // namespace

void AnalyzeFrame(const ByteString& frame, std::string& text, AnalyzerSink& sink) {
    PrintControlField(frame, text);
    DispatchCommandAnalyzer(frame, text, sink);
}

void AnalyzeUnknownCommand(const ByteString& frame, std::string& text) {
    if (GetDirectionBit(frame) == 0) {
        text += "无效的命令字";
        return;
    }
    text += "指令无效\n";
    PrintStatusLine(ReceivedFrame(frame).SubCommand(), text);
}

void DispatchCommandAnalyzer(const ByteString& frame, std::string& text, AnalyzerSink& sink) {
    const ReceivedFrame received(frame);
    if (CommandAnalyzer analyze = FindAnalyzer(received.Command(), received.SubCommand()))
        analyze(frame, text, sink);
    else
        AnalyzeUnknownCommand(frame, text);
}

// Meter frames get no explanation, by design.
void AnalyzeMeterFrame(const ByteString& /*frame*/, std::string& /*text*/) {}

int AnalyzeStubAccept(const ByteString& /*frame*/, uint32_t, uint32_t, uint32_t) { return 1; }

int AnalyzeStubReject(const ByteString& /*frame*/, std::string& /*text*/) { return 0; }
