#pragma once
// TCP/IP mode: the module's own network port, DNS resolution, and TCP or UDP connections given
// by their socket pair (source IP and port, destination IP and port). The command dispatcher
// routes none of these codes.
//
// A field that does not fit gives the incomplete-frame text and the explanation goes on, so
// several such texts may follow one another. The analyzers return the position after the last
// field read (5 when none was read), never -1.

#include <cstdint>
#include <string>

#include "link/byte_string.h"

int AnalyzeEnableTcpipMode(const ByteString& frame, std::string& text);   // 0x30
int AnalyzeReadLocalNetPort(const ByteString& frame, std::string& text);  // 0x31
int AnalyzeSetLocalNetPort(const ByteString& frame, std::string& text);   // 0x32
int AnalyzeDnsResolve(const ByteString& frame, std::string& text);        // 0x33
int AnalyzeDnsResolveReport(const ByteString& frame, std::string& text);  // 0x34
int AnalyzeTcpStateReport(const ByteString& frame, std::string& text);    // 0x35
void AnalyzeTcpStateQuery(const ByteString& frame, std::string& text);    // 0x36
int AnalyzeTcpConnect(const ByteString& frame, std::string& text);        // 0x37
int AnalyzeTcpDisconnect(const ByteString& frame, std::string& text);     // 0x38
int AnalyzeTcpSendData(const ByteString& frame, std::string& text);       // 0x39
int AnalyzeTcpReceiveData(const ByteString& frame, std::string& text);    // 0x3A

// Length byte and name at position. The position moves past the length byte once that is
// printed, and past the name when it fits. The new position, or -1 after the incomplete-frame
// text.
int PrintDomainName(const ByteString& frame, std::string& text, int& position);
// Count byte, then per socket its heading, socket-pair lines and status. The position after the
// list, or -1 after the incomplete-frame text in place of the first status that does not fit.
int PrintSocketList(const ByteString& frame, std::string& text, int position);
void PrintSocketStatus(uint8_t code, std::string& text);
void PrintTcpConnectionType(uint8_t code, std::string& text);
