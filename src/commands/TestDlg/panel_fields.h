#pragma once
// The fields of the module test panel's own combo boxes: their codes and texts, one table per
// field (see link/code_text.h). The header, multicast, LWIP, test-data and pairing rule combos
// use the frame's tables.

#include "link/code_text.h"

// Broadcast reply test: the key the request is encrypted with.
inline constexpr CodeText kKeyModeNames[] = {{0, "初始密钥加密"}, {1, "用户密钥加密"}};
