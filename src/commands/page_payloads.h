#pragma once
// Payloads of the main window's command pages. Each command has its fields as the page gives
// them, a reader that gathers them from the page's controls (false when one is refused, its
// message shown) and a builder that turns them into the payload's bytes without a window.

#include <cstdint>
#include <string>

#include "commands/command_frame.h"
#include "link/byte_string.h"
#include "platform/ui.h"

// ---- Send data (0x14) ----
struct SendDataFields {
    uint8_t sourceMode = 0;
    uint8_t targetMode = 0;
    uint8_t passwordType = 0;
    uint8_t depth = 0;
    std::string target;  // edit IDC_SEND_DST_ADDR, typed most significant byte first
    ByteString data;     // edit IDC_USER_DATA: its 16-bit byte count and its bytes
};
// The four fields of the address-mode word; the depth may be refused.
bool GatherAddressModeFields(Dialog& page, SendDataFields& fields);
bool GatherSendDataFields(Dialog& page, SendDataFields& fields);
void PackAddressModeWord(const SendDataFields& fields, ByteString& payload);
void AppendTargetAndData(const SendDataFields& fields, ByteString& payload);
void BuildSendDataPayload(const SendDataFields& fields, ByteString& payload);

// ---- Execution-state report (0x10) ----
struct ExecStateFields {
    uint8_t sourceMode = 0;
    uint8_t targetMode = 0;
    std::string address;  // edit IDC_DST_ADDR, when the target mode carries one
    std::string first;    // edit IDC_EXEC_STATE_DATA1, hexadecimal
    std::string second;   // edit IDC_EXEC_STATE_DATA2, hexadecimal
};
bool GatherExecStateFields(Dialog& page, ExecStateFields& fields);
void AppendExecStateAddress(const ExecStateFields& fields, ByteString& payload);
void BuildExecStatePayload(const ExecStateFields& fields, ByteString& payload);

// ---- Start search (0x17) ----
struct SearchFields {
    uint8_t sourceMode = 0;
    uint8_t targetMode = 0;
    uint8_t scope = 0;
    uint8_t multicast = 0;
    std::string radius;     // edit IDC_SEARCH_DEPTH, decimal digits read as BCD
    std::string group;      // edit IDC_MULTICAST_ADDR, when the multicast flag is 1
    std::string attribute;  // edit IDC_USER_DATA, hexadecimal
};
bool GatherSearchFields(Dialog& page, SearchFields& fields);
void BuildSearchPayload(const SearchFields& fields, ByteString& payload);

// ---- Device report (0x19): the count typed as decimal digits, then the devices' bytes ----
void BuildDeviceReportPayload(const std::string& count, const std::string& devices, ByteString& payload);
// The device limit of "添加上报设备": the same edit IDC_DEVICE_COUNT read as hexadecimal (12 gives 18).
uint8_t ReadDeviceLimit(Dialog& page);

// ---- Start and delete connection (0x11, 0x13) ----
struct ConnectionFields {
    uint8_t sourceMode = 0;
    uint8_t targetMode = 0;
    uint8_t protocol = 0;
    std::string address;  // edit IDC_DST_ADDR, when the target mode carries one
};
bool GatherConnectionFields(Dialog& page, ConnectionFields& fields);
void PackConnectionWord(const ConnectionFields& fields, ByteString& payload);
void BuildConnectionPayload(const ConnectionFields& fields, ByteString& payload);
void PackDeleteConnectionWord(const ConnectionFields& fields, ByteString& payload);
void BuildDeleteConnectionPayload(const ConnectionFields& fields, ByteString& payload);

// ---- User network password (0x07, also 0x0A) ----
struct UserPasswordFields {
    ByteString password;  // edit IDC_NEW_PSK, 1 to 64 bytes
};
bool GatherUserPasswordFields(Dialog& page, UserPasswordFields& fields);
void BuildUserPasswordPayload(const UserPasswordFields& fields, ByteString& payload);

// ---- Remote user password setting (0x1C, also 0x21) ----
struct RemotePasswordFields {
    // The word's fields are fixed.
    uint8_t first = 3;
    uint8_t second = 3;
    uint8_t third = 0;
    uint8_t fourth = 0;
    uint8_t fifth = 0;
    std::string group;    // edit IDC_PASSWORD_MULTICAST, when the fourth field is 1
    std::string address;  // edit IDC_PASSWORD_DST_ADDR
    ByteString key;       // edit IDC_OLD_PSK, 8 to 64 bytes
    ByteString password;  // edit IDC_NEW_PSK, 8 to 64 bytes
};
bool GatherRemotePasswordFields(Dialog& page, RemotePasswordFields& fields);
void PackRemotePasswordWord(const RemotePasswordFields& fields, ByteString& payload);
void BuildRemotePasswordPayload(const RemotePasswordFields& fields, ByteString& payload);

// ---- Password request (0x1D; 0x22 on the backbone-password page) ----
struct PasswordRequestFields {
    uint8_t sourceMode = 0;
    uint8_t targetMode = 0;
    uint8_t decryptResult = 0;
    std::string relayDepth;  // edit IDC_RELAY_DEPTH, hexadecimal: its first byte
    std::string address;     // edit IDC_PASSWORD_DST_ADDR, when the target mode carries one
    ByteString password;     // edit IDC_OLD_PSK, 8 to 64 bytes
};
bool GatherPasswordRequestFields(Dialog& page, PasswordRequestFields& fields);
void BuildPasswordRequestPayload(const PasswordRequestFields& fields, ByteString& payload);

// ---- Network parameters (0x0E) ----
struct NetParamsFields {
    std::string levelLimit;  // edit IDC_PASS_THROUGH_LEVEL_LIMIT, decimal
    // The codes when the combo's text matches no entry.
    uint8_t baud = 10;
    uint8_t parity = 0;
    uint8_t stopBits = 0;
    uint8_t level = 2;
    uint8_t band = 1;
};
bool GatherNetParamsFields(Dialog& page, NetParamsFields& fields);
void BuildNetParamsPayload(const NetParamsFields& fields, ByteString& payload);

// ---- Link state report (0x12) ----
struct LinkStateFields {
    uint8_t sourceMode = 0;
    uint8_t targetMode = 0;
    std::string address;  // edit IDC_DST_ADDR, always six bytes
};
bool GatherLinkStateFields(Dialog& page, LinkStateFields& fields);
void BuildLinkStatePayload(const LinkStateFields& fields, ByteString& payload);

// ---- Broadcast (0x16) ----
struct BroadcastFields {
    uint8_t sourceMode = 0;
    uint8_t targetMode = 0;
    uint8_t priority = 0;
    uint8_t radius = 0;  // edit IDC_RADIUS, decimal
    uint8_t passwordType = 0;
    uint8_t multicast = 0;
    std::string group;  // edit IDC_MULTICAST_ADDR, when the multicast flag is 1
    ByteString data;    // edit IDC_USER_DATA: its 16-bit byte count and its bytes
};
bool GatherBroadcastFields(Dialog& page, BroadcastFields& fields);
void PackBroadcastWord(const BroadcastFields& fields, ByteString& payload);
void BuildBroadcastPayload(const BroadcastFields& fields, ByteString& payload);

// ---- Request and reply of the search attributes (0x1A, 0x1B) ----
struct AttributeFields {
    uint8_t sourceMode = 0;
    uint8_t targetMode = 0;
    uint8_t multicast = 0;
    uint8_t participation = 0;  // the reply only
    std::string address;        // edit IDC_DST_ADDR, always six bytes
    std::string taskId;         // edit IDC_TASK_ID, hexadecimal
    std::string group;          // edit IDC_MULTICAST_ADDR, the request only, when the flag is 1
    std::string attribute;      // edit IDC_USER_DATA, hexadecimal
};
bool GatherRequestAttributeFields(Dialog& page, AttributeFields& fields);
void BuildRequestAttributesPayload(const AttributeFields& fields, ByteString& payload);
bool GatherReplyAttributeFields(Dialog& page, AttributeFields& fields);
void BuildReplyAttributesPayload(const AttributeFields& fields, ByteString& payload);

// ---- Replies to a remote password setting (0x1E master, 0x1F slave) ----
struct PasswordReplyFields {
    uint8_t sourceMode = 0;
    uint8_t targetMode = 0;
    uint8_t priority = 0;
    uint8_t multicast = 0;
    std::string relayDepth;  // edit IDC_RELAY_DEPTH, hexadecimal: the slave's only
    std::string group;       // edit IDC_PASSWORD_MULTICAST, when the flag is 1 (the master's only)
    std::string address;     // edit IDC_PASSWORD_DST_ADDR
    ByteString consent;      // the change consent's code; none when its combo matches no entry
};
bool GatherPasswordReplyFields(Dialog& page, PasswordReplyFields& fields);
void BuildPasswordReplyPayload(const PasswordReplyFields& fields, ByteString& payload);
bool GatherSlaveReplyFields(Dialog& page, PasswordReplyFields& fields);
void BuildSlavePasswordReplyPayload(const PasswordReplyFields& fields, ByteString& payload);

// The payload of a page: its fields gathered, then built.
template <class Fields>
PagePayload FromPage(bool (*gather)(Dialog&, Fields&), void (*build)(const Fields&, ByteString&)) {
    return [gather, build](Dialog& page, ByteString& payload) {
        Fields fields;
        if (!gather(page, fields)) return false;
        build(fields, payload);
        return true;
    };
}
