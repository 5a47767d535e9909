#pragma once
// The control byte of a module frame (frame byte 3): its bits and their lines.

#include <cstdint>
#include <string>

#include "analyzer/text_pieces.h"
#include "link/byte_string.h"

struct DecodedControlField {
    uint8_t direction = 0;    // bit 7
    uint8_t startFlag = 0;    // bit 6
    uint8_t respFlag = 0;     // bit 5
    uint8_t channelType = 0;  // bits 4-3
};

DecodedControlField DecodeControlField(const ByteString& frame);

void PrintControlField(const ByteString& frame, std::string& text);
void PrintDirection(const DecodedControlField& cf, TextPieces& out);
void PrintStartFlag(const DecodedControlField& cf, TextPieces& out);
void PrintRespFlag(const DecodedControlField& cf, TextPieces& out);
void PrintChannelType(const DecodedControlField& cf, TextPieces& out);
int GetDirectionBit(const ByteString& frame);
int GetRespBit(const ByteString& frame);
