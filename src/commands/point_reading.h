#pragma once
// Point reading: a remote device asked, through the module, for a number of data bytes, and its
// answer judged by them (they must count 00 01 02 ..). Automatic point reading asks every
// checked device of the address list in turn and marks its row; a BatchRunner runs it.

#include <cstdint>
#include <string>

#include "commands/batch_tests.h"
#include "link/byte_string.h"
#include "platform/ui.h"

// The fields of a request. Addresses are hexadecimal text in wire order (least significant byte
// first), as the frame carries them.
struct PointReadRequest {
    uint8_t multicast = 0;  // 1: the group address goes with the request
    uint8_t stopBits = 0;   // the stop-bits code
    std::string group;      // 4 digits
    std::string mac;        // 12 digits
    uint16_t length = 0;    // data bytes asked for
};

// Flag byte (bit 0 multicast, bit 1 stop bits), the group address when multicast, the device
// address and the length, little-endian.
ByteString BuildPointReadPayload(const PointReadRequest& request);

// Judges an answer for the device at mac (wire order, any case): Unchanged for a frame that is
// not a normal answer from the module (the row keeps its verdict). A failure answer (one data
// byte), another device's address, data that do not count from 00, or data shorter than the
// fields they announce, are failures. Nothing past the frame's data is read.
TestStatus JudgePointReadReply(const ByteString& frame, const std::string& mac);

// The checked rows' texts of a column of the address list, each padded and its byte pairs
// reversed (pairs 6: the device address, 2: the group address), joined without separators and
// upper-cased. Empty cells give nothing.
std::string GatherCheckedColumn(ListView list, int column, int pairs);

// The wait per device from the interval edit: its decimal number of seconds (leading blanks
// skipped, text that is no number 0), in milliseconds and at most what 32 bits of them hold.
// False for an empty text or a number below zero.
bool PointReadIntervalMs(const std::string& text, uint32_t& ms);

// "总次数：..成功次数：..失败次数：.." over every row's verdict.
std::string PointReadTotalsText(ListView list);

// The request of "远程点抄" from the page: the multicast and stop-bits combos, the group address
// edit when multicast, the device address edit and the data length; false (said) when one of
// the edits is empty.
bool RemotePointReadPayload(Dialog& page, ByteString& payload);
