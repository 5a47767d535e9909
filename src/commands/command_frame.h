#pragma once
// The one shape of every command of a page: control fields from the page's four header combos,
// the payload from the page's fields, encoded as a module frame.

#include <cstdint>
#include <functional>

#include "link/byte_string.h"
#include "link/module_frame.h"
#include "platform/ui.h"
#include "res/resource_ids.h"

// Builds a payload from the fields of a page; false refuses (its message has been shown).
using PagePayload = std::function<bool(Dialog& page, ByteString& payload)>;

// The ids of a page's header combos: direction, initiator, reply status, channel type.
struct HeaderComboIds {
    int direction;
    int initiator;
    int replyStatus;
    int channelType;
};
constexpr HeaderComboIds kMainHeaderCombos{IDC_DIRECTION_COMBO, IDC_INITIATOR_COMBO, IDC_REPLY_STATUS_COMBO,
                                           IDC_CHANNEL_TYPE_COMBO};
constexpr HeaderComboIds kTestPanelHeaderCombos{IDC_PANEL_DIRECTION_COMBO, IDC_PANEL_INITIATOR_COMBO,
                                                IDC_PANEL_REPLY_STATUS_COMBO, IDC_PANEL_CHANNEL_TYPE_COMBO};

// Each stores the code of the selected text; a text matching no entry leaves the field. 1.
int ReadDirectionCombo(ComboBox combo, uint8_t& direction);
int ReadInitiatorCombo(ComboBox combo, uint8_t& initiator);
int ReadReplyStatusCombo(ComboBox combo, uint8_t& replyStatus);
int ReadChannelTypeCombo(ComboBox combo, uint8_t& channelType);
// The control fields of the frame from the page's header combos; always 1.
int FillControlFields(Dialog& page, const HeaderComboIds& combos, ModuleFrame& frame);

// The encoded frame of the command: header fields first, then the payload (none without a
// builder). False when the builder refused, or the payload is too long for the frame's 16-bit
// length (its message shown).
bool BuildCommandFrame(Dialog& page, const HeaderComboIds& combos, uint8_t command, const PagePayload& payload,
                       ByteString& frame);
