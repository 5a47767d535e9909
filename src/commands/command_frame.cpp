// The frame of a page's command.

#include "commands/command_frame.h"

#include "commands/field_text.h"

int ReadDirectionCombo(ComboBox combo, uint8_t& direction) {
    return ReadDirectionText(combo.GetSelectedText(), direction);
}

int ReadInitiatorCombo(ComboBox combo, uint8_t& initiator) {
    return ReadInitiatorText(combo.GetSelectedText(), initiator);
}

int ReadReplyStatusCombo(ComboBox combo, uint8_t& replyStatus) {
    return ReadReplyStatusText(combo.GetSelectedText(), replyStatus);
}

int ReadChannelTypeCombo(ComboBox combo, uint8_t& channelType) {
    return ReadChannelTypeText(combo.GetSelectedText(), channelType);
}

int FillControlFields(Dialog& page, const HeaderComboIds& combos, ModuleFrame& frame) {
    ReadDirectionCombo(ComboBox(page.GetDlgItem(combos.direction)), frame.direction);
    ReadInitiatorCombo(ComboBox(page.GetDlgItem(combos.initiator)), frame.initiator);
    ReadReplyStatusCombo(ComboBox(page.GetDlgItem(combos.replyStatus)), frame.replyStatus);
    ReadChannelTypeCombo(ComboBox(page.GetDlgItem(combos.channelType)), frame.channelType);
    frame.reserved = 0;
    return 1;
}

bool BuildCommandFrame(Dialog& page, const HeaderComboIds& combos, uint8_t command, const PagePayload& payload,
                       ByteString& out) {
    ModuleFrame frame;
    frame.start = kFrameStart;
    frame.command = command;
    frame.payload.clear();
    FillControlFields(page, combos, frame);
    if (payload && !payload(page, frame.payload)) return false;
    // The frame's length field has 16 bits.
    if (frame.payload.size() > kMaxLength16) {
        ShowMessageBox(kTooLongForLength16);
        return false;
    }
    frame.length = static_cast<uint16_t>(frame.payload.size());
    EncodeFrame(out, frame);
    return true;
}
