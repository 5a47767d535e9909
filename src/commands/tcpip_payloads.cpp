// Payloads of the TCP/IP page.

#include "commands/tcpip_payloads.h"

#include "commands/combo_mappers.h"
#include "commands/field_readers.h"
#include "res/resource_ids.h"

namespace {

constexpr int kNetportControls[] = {IDC_NETPORT_IP, IDC_NETPORT_MASK, IDC_NETPORT_GATEWAY, IDC_NETPORT_DNS1,
                                    IDC_NETPORT_DNS2};

}  // namespace

bool GatherNetportFields(Dialog& page, TcpipFields& fields) {
    for (int id : kNetportControls)
        if (!ReadIpAddress(page, id, fields.netport)) return false;
    return true;
}

void BuildLocalNetportPayload(const TcpipFields& fields, ByteString& payload) { payload += fields.netport; }

bool GatherDnsFields(Dialog& page, TcpipFields& fields) { return ReadDomainName(page, IDC_DOMAIN_NAME, fields.domain); }

void BuildDnsPayload(const TcpipFields& fields, ByteString& payload) { payload += fields.domain; }

bool GatherDnsReportFields(Dialog& page, TcpipFields& fields) {
    return GatherDnsFields(page, fields) && ReadIpAddress(page, IDC_NETPORT_IP, fields.reportIp);
}

void BuildDnsReportPayload(const TcpipFields& fields, ByteString& payload) {
    payload += fields.domain;
    payload += fields.reportIp;
}

bool GatherSocketPairFields(Dialog& page, TcpipFields& fields) {
    return ReadIpAddress(page, IDC_TCP_SRC_IP, fields.pair) && ReadPortNumber(page, IDC_TCP_SRC_PORT, fields.pair) &&
           ReadIpAddress(page, IDC_TCP_DST_IP, fields.pair) && ReadPortNumber(page, IDC_TCP_DST_PORT, fields.pair);
}

void BuildSocketPairPayload(const TcpipFields& fields, ByteString& payload) { payload += fields.pair; }

bool GatherTcpStateFields(Dialog& page, TcpipFields& fields) {
    if (!GatherSocketPairFields(page, fields)) return false;
    GetTcpState(page, fields.state);
    return true;
}

void BuildTcpStatePayload(const TcpipFields& fields, ByteString& payload) {
    payload += fields.pair;
    payload += fields.state;
}

bool GatherTcpConnectFields(Dialog& page, TcpipFields& fields) {
    if (!GatherSocketPairFields(page, fields)) return false;
    GetTcpOrUdp(page, fields.type);
    return true;
}

void BuildTcpConnectPayload(const TcpipFields& fields, ByteString& payload) {
    payload += fields.type;
    payload += fields.pair;
}

bool GatherTcpDataFields(Dialog& page, TcpipFields& fields) {
    return GatherSocketPairFields(page, fields) && ReadDataEdit(page, IDC_TCP_USER_DATA, fields.data);
}

void BuildTcpDataPayload(const TcpipFields& fields, ByteString& payload) {
    payload += fields.pair;
    payload += fields.data;
}
