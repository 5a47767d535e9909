#pragma once
// Payloads of the TCP/IP page: the module's local network port, DNS resolution and one TCP or
// UDP connection given by its socket pair. Readers gather the fields from the page (false when
// one is refused, its message shown); builders put them in the payload's order.

#include "link/byte_string.h"
#include "platform/ui.h"

struct TcpipFields {
    ByteString netport;  // IP, mask, gateway, first and second DNS: 4 bytes each, last octet first
    ByteString domain;   // length byte and name
    ByteString reportIp; // the report's resolved address: the page's IP control
    ByteString pair;     // source IP and port, destination IP and port (12 bytes)
    ByteString state;    // connection state; none when its combo matches no entry
    ByteString type;     // UDP or TCP; none when its combo matches no entry
    ByteString data;     // user data: its 16-bit byte count and its bytes
};

bool GatherNetportFields(Dialog& page, TcpipFields& fields);
void BuildLocalNetportPayload(const TcpipFields& fields, ByteString& payload);  // 0x32

bool GatherDnsFields(Dialog& page, TcpipFields& fields);
void BuildDnsPayload(const TcpipFields& fields, ByteString& payload);  // 0x33
bool GatherDnsReportFields(Dialog& page, TcpipFields& fields);
void BuildDnsReportPayload(const TcpipFields& fields, ByteString& payload);  // 0x34

bool GatherSocketPairFields(Dialog& page, TcpipFields& fields);
void BuildSocketPairPayload(const TcpipFields& fields, ByteString& payload);  // 0x36, 0x38
bool GatherTcpStateFields(Dialog& page, TcpipFields& fields);
void BuildTcpStatePayload(const TcpipFields& fields, ByteString& payload);  // 0x35
bool GatherTcpConnectFields(Dialog& page, TcpipFields& fields);
void BuildTcpConnectPayload(const TcpipFields& fields, ByteString& payload);  // 0x37
bool GatherTcpDataFields(Dialog& page, TcpipFields& fields);
void BuildTcpDataPayload(const TcpipFields& fields, ByteString& payload);  // 0x39, 0x3A
