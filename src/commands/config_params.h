#pragma once
// Parameter configuration (0xE1) of the devices of the address list: one index and one 32-bit
// value written into each device, its answer (0xE2) judged. No window.

#include <cstdint>
#include <string>

#include "commands/batch_tests.h"
#include "link/byte_string.h"

// The answer of one device is awaited this long.
constexpr uint32_t kConfigWaitMs = 2000;

// The index and the value as the edits give them: the index cut to 8 bits, the value read as a
// 64-bit number keeping its low 32 bits ("-1" is FFFFFFFF); a text that is no number is 0.
uint8_t ConfigIndexValue(const std::string& text);
uint32_t ConfigDataValue(const std::string& text);

// The device's six address bytes (wire: 12 hexadecimal digits, least significant byte first),
// the index and the value, low byte first.
void BuildConfigParamsPayload(const std::string& wire, uint8_t index, uint32_t data, ByteString& payload);

// Success for an answer from the module, not abnormal, at least 16 bytes long, that repeats
// all six address bytes, the index and the value; failure otherwise.
TestStatus JudgeConfigReply(const ByteString& frame, const std::string& wire, uint8_t index, uint32_t data);
