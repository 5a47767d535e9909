#pragma once
// Where a received frame goes: its route is data, a table from command byte (and sub-code,
// the first data byte, where it matters) to log list, reply queue and tool.

#include <cstdint>

#include "link/byte_string.h"
#include "link/reply_queue.h"

// The window's frame log lists.
enum class LogList : uint8_t {
    None,
    FrameLog,          // the main frame log
    SearchLog,
    DataLog,
    DataReplyLog,
    PasswordLog,
    PasswordReplyLog,
    PassThrough,       // raw chunks of received bytes
    MeterRead,         // the meter-reading rounds' requests and results; no frame is routed here
};

// Receivers of whole frames beside the logs.
enum class ToolFrame : uint8_t {
    None,
    SearchReport,    // the device search list
    BroadcastReply,  // the broadcast reply test
    TestPanelLog,    // the module test panel's log
};

enum class ReplyQueueId : uint8_t {
    None,
    SendData,
    ReceiveData,
    RemotePassword,
    PasswordRequest,
    PointRead,
    Test,
    ResetInfo,
    CmdF0,
    Config,
    Version,
};

// What happens to a checked frame, in this order: a row in the test panel's log, the reply
// queue (its flag raised after the push), the log row, the tool, the working file's record.
struct FrameRoute {
    bool testPanelRow = false;
    ReplyQueueId queue = ReplyQueueId::None;
    LogList log = LogList::None;
    ToolFrame tool = ToolFrame::None;
    bool numberedRecord = false;
};

// The route of a frame with this command byte and sub-code.
FrameRoute RouteOf(uint8_t command, uint8_t sub);

// Every reply queue with its arrived flag; every entry is a frame with the local time it was
// filed at. The reset-information queue raises the point-reading flag; the command-0xF0 and
// all-frames queues raise none.
struct ReplyQueues {
    ArrivedFlag sendDataArrived{0};
    ArrivedFlag receiveDataArrived{0};
    ArrivedFlag remotePasswordArrived{0};
    ArrivedFlag passwordRequestArrived{0};
    ArrivedFlag pointReadArrived{0};
    ArrivedFlag versionArrived{0};
    ArrivedFlag configArrived{0};
    ArrivedFlag testArrived{0};

    ReplyQueue<ReplyEntry> sendData{&sendDataArrived};
    ReplyQueue<ReplyEntry> receiveData{&receiveDataArrived};
    ReplyQueue<ReplyEntry> remotePassword{&remotePasswordArrived};
    ReplyQueue<ReplyEntry> passwordRequest{&passwordRequestArrived};
    ReplyQueue<ReplyEntry> pointRead{&pointReadArrived};
    ReplyQueue<ReplyEntry> test{&testArrived};
    ReplyQueue<ReplyEntry> resetInfo{&pointReadArrived};
    ReplyQueue<ReplyEntry> cmdF0;
    ReplyQueue<ReplyEntry> config{&configArrived};
    ReplyQueue<ReplyEntry> version{&versionArrived};
    ReplyQueue<ReplyEntry> allFrames;
    ReplyQueue<ReplyEntry> debuggerClock;  // raw blocks that start with the debugger's mark

    // Files the frame, stamped with the local time, into the queue of the id.
    void File(ReplyQueueId id, const ByteString& frame);
    // Keeps the frame, stamped with the local time, in the queue of all classified frames.
    void Keep(const ByteString& frame) { allFrames.Push(ReplyEntry{frame, GetLocalTime()}); }
    // Empties every queue; the flags stay as they are.
    void ClearAll();
};
