#pragma once
// The fields of the module test panel's own combo boxes: their codes and texts, one table per
// field (see link/code_text.h). The header, multicast and LWIP combos use the frame's tables.

#include "link/code_text.h"

// Continuous send test.
inline constexpr CodeText kModulationNames[] = {
    {1, "1:MM_BPSK"}, {2, "2:MM_QPSK"}, {3, "3:MM_8QAM"}, {4, "4:MM_16QAM"}};
inline constexpr CodeText kFecRateNames[] = {{0, "FEC_RATE_1_2"}, {1, "FEC_RATE_16_21"}, {2, "FEC_RATE_16_18"}};
inline constexpr CodeText kPbBlockNames[] = {{0, "0:136pb块"}, {1, "1:520pb块"}};
inline constexpr CodeText kCopiesNames[] = {{1, "1"}, {2, "2"}, {4, "4"}, {5, "5"}, {7, "7"}, {11, "11"}};

// Broadcast reply test: the key the request is encrypted with.
inline constexpr CodeText kKeyModeNames[] = {{0, "初始密钥加密"}, {1, "用户密钥加密"}};

// Pairing device search: which nodes answer.
inline constexpr CodeText kPairingScopeNames[] = {
    {0, "0x00 所有配对节点"}, {1, "0x01 所有未配过节点"}, {2, "0x02: 所有配过，但不属于本PANID"}};
