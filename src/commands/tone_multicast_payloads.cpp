// Payloads of the local tone and of the remote multicast-group setting.

#include "commands/tone_multicast_payloads.h"

#include <algorithm>
#include <cctype>

#include "commands/combo_mappers.h"
#include "commands/field_readers.h"
#include "commands/field_text.h"
#include "dialogs/number_text.h"
#include "link/conversions.h"
#include "link/word_layouts.h"
#include "platform/text_format.h"
#include "res/resource_ids.h"

namespace {

constexpr int kGroupEdits[] = {IDC_MULTICAST_GROUP1, IDC_MULTICAST_GROUP2, IDC_MULTICAST_GROUP3};

// One to four hexadecimal digits, blanks aside.
bool IsGroupText(const std::string& text) {
    const std::string digits = StripHexSeparators(text);
    return digits.size() <= 4 &&
           std::all_of(digits.begin(), digits.end(), [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); });
}

// Word, multicast address and destination address: the head of the request and the reply.
bool GatherHead(Dialog& page, MulticastFields& fields) {
    GetDeviceMode2(page, fields.sourceMode);
    GetDeviceMode(page, fields.targetMode);
    GetMulticastFlag(page, fields.multicast);
    if (fields.multicast == 1 && !ReadMulticastAddress(page, IDC_TASK_ID, fields.group)) return false;
    fields.address = page.GetDlgItemText(IDC_DST_ADDR);
    if (IsBlankField(fields.address)) {
        ShowMessageBox("地址域不能为空");
        return false;
    }
    return true;
}

void BuildHead(const MulticastFields& fields, ByteString& payload) {
    using namespace multicast_request_word;
    AppendWord16(payload, static_cast<uint16_t>(kSourceMode.Put(fields.sourceMode) |
                                                kTargetMode.Put(fields.targetMode) | kMulticast.Put(fields.multicast)));
    if (fields.multicast == 1) AppendMulticastText(fields.group, payload);
    AppendAddressText(fields.address, payload);
}

}  // namespace

bool GatherToneFields(Dialog& page, ToneFields& fields) {
    if (!GetBand(page, fields.band)) return false;
    fields.gain = static_cast<uint8_t>(LeadingWholeNumber(page.GetDlgItemText(IDC_TGAIN)));
    return true;
}

void BuildLocalTonePayload(const ToneFields& fields, ByteString& payload) {
    payload.push_back(fields.band);
    payload.push_back(fields.gain);
}

bool GatherMulticastRequestFields(Dialog& page, MulticastFields& fields) {
    if (!GatherHead(page, fields)) return false;
    const std::string countText = page.GetDlgItemText(IDC_MULTICAST_COUNT);
    fields.count = HexFieldBytes(countText);
    BcdBytesToBinary(fields.count, -1);
    const long long count = LeadingWholeNumber(countText);  // a text that is no number counts no group
    if (count < 0 || count > 3) {
        ShowMessageBox("组地址个数为0-3");
        return false;
    }
    for (int n = 0; n < count; ++n) {
        const std::string text = page.GetDlgItemText(kGroupEdits[n]);
        if (IsBlankField(text)) {
            ShowMessageBox(StrFormat("组地址%d不能为空", n + 1));
            return false;
        }
        if (!IsGroupText(text)) {
            ShowMessageBox(StrFormat("组地址%d格式错误", n + 1));
            return false;
        }
        fields.groups.push_back(text);
    }
    return true;
}

void BuildMulticastRequestPayload(const MulticastFields& fields, ByteString& payload) {
    BuildHead(fields, payload);
    payload += fields.count;
    for (const std::string& group : fields.groups) AppendMulticastText(group, payload);
}

bool GatherMulticastReplyFields(Dialog& page, MulticastFields& fields) {
    if (!GatherHead(page, fields)) return false;
    GetSearchParticipation(page, fields.participation);
    return true;
}

void BuildMulticastReplyPayload(const MulticastFields& fields, ByteString& payload) {
    BuildHead(fields, payload);
    payload.push_back(fields.participation);
}
