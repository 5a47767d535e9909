// Templates of the tool dialogs that nothing in the program opens yet.

#include "tool_dialogs.h"

#include "platform/ui.h"

namespace {

using S = ControlStyle;
constexpr const char* kFont = "SimSun";

const DialogTemplate kRelayAddress = {
    IDD_RELAY_ADDRESS, "中继", TemplateUnits::DialogUnits, 230, 220, kFont, 9, kDlgSystemMenu, 0,
    {
        {-1, ControlKind::Static, "中继地址:", 10, 12, 40, 8, S::kNone},
        {IDC_RELAY_ADDRESS, ControlKind::Edit, "", 52, 10, 80, 12, S::kAutoHScroll},
        {IDC_RELAY_USE, ControlKind::CheckBox, "", 136, 11, 12, 10, S::kNone},
        {IDC_RELAY_ADD, ControlKind::PushButton, "添加", 160, 9, 50, 14, S::kNone},
        {-1, ControlKind::Static, "中继地址应从距离目的节点近的表地址开始排列", 10, 28, 210, 8, S::kNone},
        {IDC_RELAY_LIST, ControlKind::ListReport, "", 10, 40, 210, 120, S::kCheckBoxes},
        {IDC_RELAY_SELECT_ALL, ControlKind::CheckBox, "全选", 10, 166, 40, 10, S::kNone},
        {IDC_RELAY_DELETE, ControlKind::PushButton, "删除", 100, 164, 50, 14, S::kNone},
        {IDC_RELAY_CONFIRM, ControlKind::PushButton, "确定中继", 160, 164, 60, 14, S::kNone},
        {IDC_RELAY_INDEX_CHECK, ControlKind::CheckBox, "", 10, 192, 12, 10, S::kNone},
        {-1, ControlKind::Static, "索引：", 26, 193, 26, 8, S::kNone},
        {IDC_RELAY_INDEX, ControlKind::Edit, "", 54, 190, 60, 12, S::kAutoHScroll},
    }};

const DialogTemplate kFindMeter = {
    IDD_FIND_METER, "查找表地址", TemplateUnits::DialogUnits, 240, 170, kFont, 9, kDlgSystemMenu, 0,
    {
        {-1, ControlKind::Static, "短地址:", 10, 12, 30, 8, S::kNone},
        {IDC_FIND_METER_SHORT, ControlKind::Edit, "", 44, 10, 120, 12, S::kAutoHScroll},
        {IDC_FIND_METER_FIND, ControlKind::PushButton, " 查找", 176, 9, 50, 14, S::kNone},
        {-1, ControlKind::Static, "查找结果：", 10, 30, 44, 8, S::kNone},
        {IDC_FIND_METER_RESULT, ControlKind::RichEdit, "", 10, 42, 220, 120, S::kMultiline | S::kVScroll},
    }};

const DialogTemplate kAcqUnit = {
    IDD_ACQ_UNIT, "采集器地址", TemplateUnits::DialogUnits, 200, 90, kFont, 9, kDlgSystemMenu, 0,
    {
        {-1, ControlKind::Static, "采集器地址：", 10, 12, 50, 8, S::kNone},
        {IDC_ACQ_UNIT_ADDRESS, ControlKind::Edit, "", 64, 10, 80, 12, S::kAutoHScroll},
        {IDC_ACQ_UNIT_READ_VIA, ControlKind::CheckBox, "通过采集器抄读", 10, 30, 80, 10, S::kNone},
        {-1, ControlKind::Static, "485地址位置：", 10, 50, 54, 8, S::kNone},
        {IDC_ACQ_UNIT_POSITION, ControlKind::ComboDropList, "", 64, 48, 80, 50, S::kVScroll},
        {IDC_ACQ_UNIT_CONFIRM, ControlKind::PushButton, "确定", 140, 68, 50, 14, S::kNone},
    }};

// The log above; the channel, the power and the choice of request below.
const DialogTemplate kRadioConfig = {
    IDD_RADIO_CONFIG, "", TemplateUnits::DialogUnits, 260, 200, kFont, 9, kDlgSystemMenu, 0,
    {
        {IDC_RADIO_LOG, ControlKind::RichEdit, "", 10, 10, 240, 120, S::kMultiline | S::kReadOnly | S::kVScroll},
        {IDC_RADIO_READ, ControlKind::RadioButton, "读取本地配置", 10, 140, 70, 10, S::kGroup},
        {IDC_RADIO_SET_CHANNEL, ControlKind::RadioButton, "设置信道组号", 90, 140, 70, 10, S::kNone},
        {IDC_RADIO_SET_POWER, ControlKind::RadioButton, "设置发射功率", 170, 140, 70, 10, S::kNone},
        {-1, ControlKind::Static, "信道组号:", 10, 160, 40, 8, S::kNone},
        {IDC_RADIO_CHANNEL, ControlKind::Edit, "", 52, 158, 30, 12, S::kAutoHScroll},
        {-1, ControlKind::Static, "发射功率:", 96, 160, 40, 8, S::kNone},
        {IDC_RADIO_POWER, ControlKind::ComboDropList, "", 138, 158, 112, 60, S::kVScroll},
    }};

const DialogTemplate kSendFrame = {
    IDD_SEND_FRAME, "发送报文", TemplateUnits::DialogUnits, 260, 110, kFont, 9, kDlgSystemMenu, 0,
    {
        {-1, ControlKind::Static, "报文", 10, 12, 20, 8, S::kNone},
        {IDC_SEND_FRAME_TEXT, ControlKind::Edit, "", 34, 10, 216, 50, S::kMultiline | S::kVScroll},
        {-1, ControlKind::Static, "发送信道", 10, 70, 36, 8, S::kNone},
        {IDC_SEND_FRAME_CHANNEL, ControlKind::Edit, "", 50, 68, 30, 12, S::kAutoHScroll},
        {IDC_SEND_FRAME_SEND, ControlKind::PushButton, "发送", 140, 88, 50, 14, S::kNone},
        {IDC_SEND_FRAME_CANCEL, ControlKind::PushButton, "取消", 200, 88, 50, 14, S::kNone},
    }};

const DialogTemplate* const kAll[] = {&kRelayAddress, &kFindMeter, &kAcqUnit, &kRadioConfig, &kSendFrame};

}  // namespace

const DialogTemplate* FindDormantDialogTemplate(int id) {
    for (const DialogTemplate* t : kAll)
        if (t->id == id) return t;
    return nullptr;
}
