#pragma once
// The fields of a module frame's control byte: their codes, the analyzer's texts and the header
// combos' texts.

#include "link/code_text.h"

inline constexpr CodeText kDirectionNames[] = {{0, "主机发出帧"}, {1, "从机发出帧"}};
inline constexpr CodeText kInitiatorNames[] = {{0, "命令回应"}, {1, "主动发起"}};
inline constexpr CodeText kReplyStatusNames[] = {{0, "正常应答"}, {1, "异常应答"}};
inline constexpr CodeText kChannelTypeNames[] = {
    {0, "TRM5281PLC", "5281PLC"}, {1, "Bluetooth"}, {2, "WIFI", "WiFi"}, {3, "TRM5207plc", "5207PLC"}};
