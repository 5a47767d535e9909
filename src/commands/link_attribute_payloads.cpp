// Payloads of the link-state, broadcast, search-attribute and password-reply commands.

#include "commands/combo_mappers.h"
#include "commands/field_readers.h"
#include "commands/field_text.h"
#include "commands/page_payloads.h"
#include "dialogs/number_text.h"
#include "link/conversions.h"
#include "link/word_layouts.h"
#include "res/resource_ids.h"

namespace {

// These frames carry six address bytes whatever the target mode, as the module's frames do.
bool ReadSixByteAddress(Dialog& page, int editId, const char* message, std::string& address) {
    address = page.GetDlgItemText(editId);
    if (IsBlankField(address)) {
        ShowMessageBox(message);
        return false;
    }
    return true;
}

// The length byte counts the bytes that follow it.
void AppendAttributeBlock(const std::string& text, ByteString& payload) {
    AppendLengthAndBytes(HexFieldBytes(text), payload);
}

}  // namespace

// ---- Link state report (0x12) ----

bool GatherLinkStateFields(Dialog& page, LinkStateFields& fields) {
    GetDeviceMode2(page, fields.sourceMode);
    GetDeviceMode(page, fields.targetMode);
    return ReadSixByteAddress(page, IDC_DST_ADDR, "地址域不能为空", fields.address);
}

void BuildLinkStatePayload(const LinkStateFields& fields, ByteString& payload) {
    AppendWord16(payload, static_cast<uint16_t>(kSourceModeBits.Put(fields.sourceMode) |
                                                kTargetModeBits.Put(fields.targetMode)));
    AppendAddressText(fields.address, payload);
}

// ---- Broadcast (0x16) ----

bool GatherBroadcastFields(Dialog& page, BroadcastFields& fields) {
    GetDeviceMode2(page, fields.sourceMode);
    GetDeviceMode(page, fields.targetMode);
    GetPriority(page, fields.priority);
    fields.radius = static_cast<uint8_t>(LeadingWholeNumber(page.GetDlgItemText(IDC_RADIUS)));
    GetPasswordType(page, fields.passwordType);
    GetMulticastFlag(page, fields.multicast);
    if (fields.multicast == 1 && !ReadMulticastAddress(page, IDC_MULTICAST_ADDR, fields.group)) return false;
    return ReadDataEdit(page, IDC_USER_DATA, fields.data);
}

void PackBroadcastWord(const BroadcastFields& fields, ByteString& payload) {
    using namespace broadcast_param_word;
    AppendWord16(payload, static_cast<uint16_t>(kSourceMode.Put(fields.sourceMode) |
                                                kTargetMode.Put(fields.targetMode) | kPriority.Put(fields.priority) |
                                                kRadius.Put(fields.radius) | kPasswordMode.Put(fields.passwordType) |
                                                kMulticast.Put(fields.multicast)));
}

void BuildBroadcastPayload(const BroadcastFields& fields, ByteString& payload) {
    PackBroadcastWord(fields, payload);
    if (fields.multicast == 1) AppendMulticastText(fields.group, payload);
    payload += fields.data;
}

// ---- Search attributes (0x1A, 0x1B) ----

bool GatherRequestAttributeFields(Dialog& page, AttributeFields& fields) {
    GetDeviceMode2(page, fields.sourceMode);
    GetDeviceMode(page, fields.targetMode);
    GetMulticastFlag(page, fields.multicast);
    if (!ReadSixByteAddress(page, IDC_DST_ADDR, "地址域不能为空", fields.address)) return false;
    fields.taskId = page.GetDlgItemText(IDC_TASK_ID);
    if (fields.multicast == 1 && !ReadMulticastAddress(page, IDC_MULTICAST_ADDR, fields.group)) return false;
    fields.attribute = page.GetDlgItemText(IDC_USER_DATA);
    return true;
}

void BuildRequestAttributesPayload(const AttributeFields& fields, ByteString& payload) {
    using namespace attribute_request_word;
    AppendWord16(payload, static_cast<uint16_t>(kSourceMode.Put(fields.sourceMode) |
                                                kTargetMode.Put(fields.targetMode) | kMulticast.Put(fields.multicast)));
    AppendAddressText(fields.address, payload);
    // The task id is typed as decimal digits; an empty edit sends 0.
    ByteString task = HexFieldBytes(fields.taskId);
    BcdBytesToBinary(task, -1);
    payload.push_back(task.empty() ? 0 : task[0]);
    if (fields.multicast == 1) AppendMulticastText(fields.group, payload);
    AppendAttributeBlock(fields.attribute, payload);
}

bool GatherReplyAttributeFields(Dialog& page, AttributeFields& fields) {
    GetDeviceMode2(page, fields.sourceMode);
    GetDeviceMode(page, fields.targetMode);
    GetSearchParticipation(page, fields.participation);
    GetMulticastFlag(page, fields.multicast);
    if (!ReadSixByteAddress(page, IDC_DST_ADDR, "地址域不能为空", fields.address)) return false;
    fields.taskId = page.GetDlgItemText(IDC_TASK_ID);
    fields.attribute = page.GetDlgItemText(IDC_USER_DATA);
    return true;
}

void BuildReplyAttributesPayload(const AttributeFields& fields, ByteString& payload) {
    using namespace attribute_reply_word;
    AppendWord16(payload, static_cast<uint16_t>(kSourceMode.Put(fields.sourceMode) |
                                                kTargetMode.Put(fields.targetMode) |
                                                kReplyState.Put(fields.participation) |
                                                kMulticast.Put(fields.multicast)));
    AppendAddressText(fields.address, payload);
    payload += HexFieldBytes(fields.taskId);
    AppendAttributeBlock(fields.attribute, payload);
}

// ---- Replies to a remote password setting (0x1E, 0x1F) ----

bool GatherPasswordReplyFields(Dialog& page, PasswordReplyFields& fields) {
    GetDeviceMode2(page, fields.sourceMode);
    GetDeviceMode(page, fields.targetMode);
    GetPriority(page, fields.priority);
    GetMulticastFlag(page, fields.multicast);
    if (fields.multicast == 1 && !ReadMulticastAddress(page, IDC_PASSWORD_MULTICAST, fields.group)) return false;
    if (!ReadSixByteAddress(page, IDC_PASSWORD_DST_ADDR, "地址域不能为空", fields.address)) return false;
    GetChangeConsent(page, fields.consent);
    return true;
}

void BuildPasswordReplyPayload(const PasswordReplyFields& fields, ByteString& payload) {
    using namespace remote_password_word;
    AppendWord16(payload, static_cast<uint16_t>(kSourceMode.Put(fields.sourceMode) |
                                                kTargetMode.Put(fields.targetMode) | kPriority.Put(fields.priority) |
                                                kMulticast.Put(fields.multicast)));
    if (fields.multicast == 1) AppendMulticastText(fields.group, payload);
    AppendAddressText(fields.address, payload);
    payload += fields.consent;
}

bool GatherSlaveReplyFields(Dialog& page, PasswordReplyFields& fields) {
    GetDeviceMode2(page, fields.sourceMode);
    GetDeviceMode(page, fields.targetMode);
    fields.relayDepth = page.GetDlgItemText(IDC_RELAY_DEPTH);
    if (!ReadSixByteAddress(page, IDC_PASSWORD_DST_ADDR, "请输入地址", fields.address)) return false;
    GetChangeConsent(page, fields.consent);
    return true;
}

void BuildSlavePasswordReplyPayload(const PasswordReplyFields& fields, ByteString& payload) {
    const ByteString relay = HexFieldBytes(fields.relayDepth);
    // The target's mode goes first in this word.
    using namespace password_reply_word;
    AppendWord16(payload, static_cast<uint16_t>(kSourceMode.Put(fields.targetMode) |
                                                kTargetMode.Put(fields.sourceMode) |
                                                kDepth.Put(relay.empty() ? 0 : relay[0])));
    AppendAddressText(fields.address, payload);
    payload += fields.consent;
}
