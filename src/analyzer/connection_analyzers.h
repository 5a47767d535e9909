#pragma once
// Connection management frames: start connection (0x11), the link state report (0x12) and
// delete connection (0x13), with the printers of their fields. The frame analyzer's table has
// no row for these commands; nothing but their callers here reaches them.

#include <cstdint>
#include <string>

#include "link/byte_string.h"

// The device modes of a mode word.
struct ConnectionModes {
    uint8_t sourceMode;
    uint8_t targetMode;
};

// Each result is -1 after the incomplete-frame text that stopped the explanation.
// 0 otherwise.
int AnalyzeStartConnection(const ByteString& frame, std::string& text);
// The cursor after the last field read.
int AnalyzeLinkStateReport(const ByteString& frame, std::string& text);
// 5 otherwise.
int AnalyzeDeleteConnection(const ByteString& frame, std::string& text);

// The fields of a request from its mode word on: device modes (and, for start, the connection
// type), then the peer from data byte 2. The result is the cursor after the peer.
int PrintStartConnectionFields(uint16_t word, std::string& text, const ByteString& frame);
int PrintDeleteConnectionFields(uint16_t word, std::string& text, const ByteString& frame);

void UnpackConnectionStateWord(ConnectionModes& modes, uint16_t word);

// Label, name of the code and CRLF; a connection type without a name prints the label alone.
void PrintConnectionType(uint8_t code, std::string& text);
void PrintConnectionState(uint8_t code, std::string& text);
void PrintIpFlag(uint8_t code, std::string& text);
void PrintTransferMode(uint8_t code, std::string& text);
void PrintPhase(uint8_t code, std::string& text);
