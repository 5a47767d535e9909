#pragma once
// The batch tests over the address list: the checked addresses in the wire form and the
// judgement of each reply. The runs themselves are BatchRunner's (commands/batch_runner.h).

#include <cstdint>
#include <string>

#include "link/byte_string.h"
#include "link/reset_statistics.h"
#include "platform/local_time.h"

// ---- Addresses ----

// An address typed most significant byte first turned into the wire order, or back: '0' put in
// front up to 12 digits, the first 12 digits used, the six byte pairs reversed, upper-cased.
// An empty text stays empty.
std::string SwapAddressOrder(std::string text);

// Most checked addresses the data test and parameter configuration take at once, and what
// they say beyond them.
constexpr size_t kMaxDataTestAddresses = 35;
constexpr const char* kTooManyAddressesText = "最大允许升级表数目为35";

// ---- Outcomes ----

enum class TestStatus { Unchanged, Success, Failure, VersionMismatch };
// "成功", "失败", "版本不一致"; "" for Unchanged.
const char* StatusText(TestStatus status);

// A data-test reply: an answer (direction bit set), not abnormal, with no data is a success;
// anything else, a frame too short for its header included, is a failure.
TestStatus JudgeDataReply(const ByteString& frame);

// A version reply for the device at wire (12 hexadecimal digits): a failure when it is not a
// normal answer or its data end before the address or the version; Unchanged when it comes from
// another device; else a success when the version (last data byte first, from data byte 12 on)
// reads exactly as expected, a mismatch when not. Addresses compare without regard to case.
TestStatus JudgeVersionReply(const ByteString& frame, const std::string& wire, const std::string& expected);

// "%02d 秒" of the whole seconds in ms.
std::string ElapsedSecondsText(uint64_t ms);
// "%02d ms" of the time from sent to arrived; never negative.
std::string ElapsedMsText(const SystemTime& sent, const SystemTime& arrived);
