// Parameter configuration: its payload and the judgement of its answer.

#include "commands/config_params.h"

#include "dialogs/number_text.h"
#include "link/conversions.h"
#include "link/received_frame.h"

uint8_t ConfigIndexValue(const std::string& text) { return static_cast<uint8_t>(LeadingWholeNumber(text)); }

uint32_t ConfigDataValue(const std::string& text) {
    return static_cast<uint32_t>(LeadingWholeNumber(text));
}

void BuildConfigParamsPayload(const std::string& wire, uint8_t index, uint32_t data, ByteString& payload) {
    ByteString address;
    HexTextToBytes(wire, address, 0);
    payload += address;
    payload.push_back(index);
    AppendWord16(payload, static_cast<uint16_t>(data));
    AppendWord16(payload, static_cast<uint16_t>(data >> 16));
}

TestStatus JudgeConfigReply(const ByteString& frame, const std::string& wire, uint8_t index, uint32_t data) {
    ByteString expected;
    BuildConfigParamsPayload(wire, index, data, expected);
    if (frame.size() < 16 || !ReceivedFrame(frame).IsNormalAnswer())
        return TestStatus::Failure;
    return frame.compare(5, expected.size(), expected) == 0 ? TestStatus::Success : TestStatus::Failure;
}
