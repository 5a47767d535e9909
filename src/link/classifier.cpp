#include "link/classifier.h"

#include <algorithm>
#include <vector>

#include "link/module_command.h"

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
        {{CMD_SEARCH_REPORT}, kAnySub, {false, Q::None, L::SearchLog, T::SearchReport, false}},
        {{CMD_START_SEARCH, CMD_REQUEST_SEARCH_ATTRIBUTE, CMD_REPLY_SEARCH_ATTRIBUTE},
         kAnySub,
         {false, Q::None, L::SearchLog, T::None, false}},
        {{CMD_RECEIVE_DATA}, kAnySub, {false, Q::ReceiveData, L::DataReplyLog, T::None, false}},
        {{CMD_REMOTE_SET_PASSWORD_REPLY_REPORT, CMD_REMOTE_SET_PASSWORD_REPLY, CMD_SET_LOCAL_PASSWORD},
         kAnySub,
         {false, Q::RemotePassword, L::PasswordLog, T::None, false}},
        {{CMD_REMOTE_SET_PASSWORD_SLAVE_REQUEST},
         kAnySub,
         {false, Q::PasswordRequest, L::PasswordReplyLog, T::None, false}},
        {{CMD_SEND_DATA, CMD_SET_LOCAL_NETPORT, CMD_BROADCAST, CMD_REMOTE_SET_MULTICAST_REQUEST,
          CMD_REMOTE_SET_MULTICAST_REPLY, CMD_REMOTE_SET_MULTICAST_REQUEST_REPORT,
          CMD_REMOTE_SET_MULTICAST_REPLY_REPORT},
         kAnySub,
         {false, Q::SendData, L::DataLog, T::None, false}},
        {{CMD_POINT_READ}, kAnySub, {false, Q::PointRead, L::FrameLog, T::None, false}},
        {{CMD_BROADCAST_REPLY_TEST}, 1, {true, Q::None, L::None, T::BroadcastReply, false}},
        {{CMD_TEST_TOOL}, 3, {true, Q::Test, L::None, T::None, false}},
        {{CMD_RESET_INFO}, 2, {true, Q::ResetInfo, L::FrameLog, T::None, false}},
        {{CMD_RESET_INFO}, 3, {true, Q::ResetInfo, L::FrameLog, T::None, false}},
        {{CMD_REMOTE_READ_VERSION}, kAnySub, {true, Q::Version, L::None, T::None, false}},
        {{CMD_REMOTE_RESTART, CMD_REMOTE_SET_LWIP, CMD_REMOTE_READ_MAC_ADDRESS, CMD_REMOTE_READ_NETWORK_PARAMS,
          CMD_CODE_08, CMD_TEST_TOOL, CMD_RESET_INFO, CMD_BROADCAST_REPLY_TEST, CMD_MODULE_RESTART,
          CMD_READ_VERSION, CMD_READ_LOCAL_PASSWORD, CMD_CODE_09, CMD_READ_MAC_ADDRESS, CMD_CODE_04, CMD_PAIRING,
          CMD_READ_COMM_ADDRESS, CMD_SET_COMM_ADDRESS, CMD_READ_NETWORK_PARAMS, CMD_ACTIVE_REPORT},
         kAnySub,
         {true, Q::None, L::None, T::None, false}},
        {{CMD_CODE_F3, CMD_SET_NETWORK_PARAMS}, kAnySub, {false, Q::None, L::FrameLog, T::None, false}},
        {{CMD_NETPORT_TEST}, kAnySub, {false, Q::None, L::None, T::None, true}},
        {{CMD_CODE_F0}, kAnySub, {false, Q::CmdF0, L::FrameLog, T::None, false}},
        {{CMD_CONFIG_PARAMS_REPLY}, kAnySub, {false, Q::Config, L::FrameLog, T::None, false}},
        {{CMD_PASS_THROUGH_DATA}, kAnySub, {false, Q::None, L::None, T::None, false}},
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
    ReplyQueue<ReplyEntry>* queue = nullptr;
    switch (id) {
        case Q::None: return;
        case Q::SendData: queue = &sendData; break;
        case Q::ReceiveData: queue = &receiveData; break;
        case Q::RemotePassword: queue = &remotePassword; break;
        case Q::PasswordRequest: queue = &passwordRequest; break;
        case Q::PointRead: queue = &pointRead; break;
        case Q::Test: queue = &test; break;
        case Q::ResetInfo: queue = &resetInfo; break;
        case Q::CmdF0: queue = &cmdF0; break;
        case Q::Config: queue = &config; break;
        case Q::Version: queue = &version; break;
    }
    if (queue) queue->Push(ReplyEntry{frame, GetLocalTime()});
}

void ReplyQueues::ClearAll() {
    for (ReplyQueue<ReplyEntry>* queue : {&sendData, &receiveData, &remotePassword, &passwordRequest, &pointRead, &test,
                                          &resetInfo, &cmdF0, &config, &version, &allFrames,
                                          &debuggerClock})
        queue->Clear();
}
