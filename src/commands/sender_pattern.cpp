// The one shape of every command sender of the main window: header fields from the four
// header combos, payload from the page, encoding, sending and one row in the page's log.

#include "app/main_tester_dlg.h"
#include "link/conversions.h"

int CMainTesterDlg::ReadDirectionCombo(uint8_t& direction) {
    return ReadDirectionText(m_directionCombo.GetSelectedText(), direction);
}

int CMainTesterDlg::ReadInitiatorCombo(uint8_t& initiator) {
    return ReadInitiatorText(m_initiatorCombo.GetSelectedText(), initiator);
}

int CMainTesterDlg::ReadReplyStatusCombo(uint8_t& replyStatus) {
    return ReadReplyStatusText(m_replyStatusCombo.GetSelectedText(), replyStatus);
}

int CMainTesterDlg::ReadChannelTypeCombo(uint8_t& channelType) {
    return ReadChannelTypeText(m_channelTypeCombo.GetSelectedText(), channelType);
}

int CMainTesterDlg::FillControlFields(ModuleFrame& frame) {
    ReadDirectionCombo(frame.direction);
    ReadInitiatorCombo(frame.initiator);
    ReadReplyStatusCombo(frame.replyStatus);
    ReadChannelTypeCombo(frame.channelType);
    frame.reserved = 0;
    return 1;
}

void CMainTesterDlg::EncodeFrame(ByteString& out, const ModuleFrame& frame) { ::EncodeFrame(out, frame); }

bool CMainTesterDlg::SendModuleCommand(uint8_t command, const PayloadBuilder& build, RowWriter writeRow) {
    ModuleFrame frame;
    frame.start = kFrameStart;
    frame.command = command;
    frame.payload.clear();
    FillControlFields(frame);
    if (build && !build(frame.payload)) return false;
    frame.length = static_cast<uint16_t>(frame.payload.size());
    ByteString bytes;
    EncodeFrame(bytes, frame);
    std::string hex;
    BytesToHexText(hex, bytes, 0);
    SendFrame(bytes);
    (this->*writeRow)(hex);
    return true;
}
