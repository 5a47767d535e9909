#include "link/classifier.h"

#include <algorithm>
#include <vector>

namespace {

constexpr int kAnySub = -1;

struct RouteRow {
    std::vector<uint8_t> commands;
    int sub;
    FrameRoute route;
};

using Q = ReplyQueueId;
using L = LogList;
using T = ToolFrame;

// The first row that holds the command and matches the sub-code wins.
const std::vector<RouteRow>& Routes() {
    static const std::vector<RouteRow> rows = {
        {{0x19}, kAnySub, {false, Q::None, L::SearchLog, T::SearchReport, false}},
        {{0x17, 0x1A, 0x1B}, kAnySub, {false, Q::None, L::SearchLog, T::None, false}},
        {{0x15}, kAnySub, {false, Q::ReceiveData, L::DataReplyLog, T::None, false}},
        {{0x1F, 0x1E, 0x07}, kAnySub, {false, Q::RemotePassword, L::PasswordLog, T::None, false}},
        {{0x1D}, kAnySub, {false, Q::PasswordRequest, L::PasswordReplyLog, T::None, false}},
        {{0x14, 0x32, 0x16, 0x25, 0x27, 0x26, 0x28}, kAnySub, {false, Q::SendData, L::DataLog, T::None, false}},
        {{0xF1}, kAnySub, {false, Q::PointRead, L::FrameLog, T::None, false}},
        {{0xF5}, 1, {true, Q::None, L::None, T::BroadcastReply, false}},
        {{0xF2}, 3, {true, Q::Test, L::None, T::None, false}},
        {{0xF4}, 2, {true, Q::ResetInfo, L::FrameLog, T::None, false}},
        {{0xF4}, 3, {true, Q::ResetInfo, L::FrameLog, T::None, false}},
        {{0x52}, kAnySub, {true, Q::Version, L::None, T::None, false}},
        {{0x50, 0x51, 0x53, 0x5D, 0x08, 0xF2, 0xF4, 0xF5, 0x01, 0x02, 0x06, 0x09, 0x03, 0x04, 0x60, 0x0B, 0x0C,
          0x0D, 0xE0},
         kAnySub,
         {true, Q::None, L::None, T::None, false}},
        {{0xF3, 0x0E}, kAnySub, {false, Q::None, L::FrameLog, T::None, false}},
        {{0x40}, kAnySub, {false, Q::None, L::None, T::None, true}},
        {{0xF0}, kAnySub, {false, Q::CmdF0, L::FrameLog, T::None, false}},
        {{0xE2}, kAnySub, {false, Q::Config, L::FrameLog, T::None, false}},
        {{0x00}, kAnySub, {false, Q::None, L::None, T::None, false}},
    };
    return rows;
}

const FrameRoute kOtherCommands{false, Q::None, L::FrameLog, T::None, false};

}  // namespace

FrameRoute RouteOf(uint8_t command, uint8_t sub) {
    for (const RouteRow& row : Routes()) {
        if (row.sub != kAnySub && row.sub != sub) continue;
        if (std::find(row.commands.begin(), row.commands.end(), command) != row.commands.end()) return row.route;
    }
    return kOtherCommands;
}

void ReplyQueues::File(ReplyQueueId id, const ByteString& frame) {
    const auto entry = [&frame] { return ReplyEntry{frame, GetLocalTime()}; };
    switch (id) {
        case Q::None: break;
        case Q::SendData: sendData.Push(entry()); break;
        case Q::ReceiveData: receiveData.Push(entry()); break;
        case Q::RemotePassword: remotePassword.Push(entry()); break;
        case Q::PasswordRequest: passwordRequest.Push(entry()); break;
        case Q::PointRead: pointRead.Push(entry()); break;
        case Q::Test: test.Push(frame); break;
        case Q::ResetInfo: resetInfo.Push(entry()); break;
        case Q::CmdF0: cmdF0.Push(frame); break;
        case Q::Config: config.Push(frame); break;
        case Q::Version: version.Push(entry()); break;
    }
}

void ReplyQueues::ClearAll() {
    sendData.Clear();
    receiveData.Clear();
    remotePassword.Clear();
    passwordRequest.Clear();
    pointRead.Clear();
    test.Clear();
    resetInfo.Clear();
    cmdF0.Clear();
    config.Clear();
    version.Clear();
    spare.Clear();
    allFrames.Clear();
}
