// Templates of the tool dialogs and pages that the main window creates at start-up.
// Each holds the controls the main window reaches; the dialogs add theirs as they grow.

#include "tool_dialogs.h"

namespace {

constexpr const char* kFont = "SimSun";
constexpr uint32_t kTool = kDlgSystemMenu | kDlgResizable;

const DialogTemplate kFrameMonitor = {
    132, "报文监控", TemplateUnits::DialogUnits, 574, 322, kFont, 10, kTool | kDlgMinimizeBox | kDlgMaximizeBox, 0,
    {
        {1006, ControlKind::ListReport, "List1", 5, 3, 421, 316, kSingleSel},
        {1007, ControlKind::RichEdit, "", 426, 3, 135, 227, kMultiline | kVScroll},
        {1009, ControlKind::CheckBox, "自动刷新", 429, 309, 55, 10, kNone},
        {1248, ControlKind::Edit, "", 503, 305, 68, 14, kAutoHScroll},
    }};

const DialogTemplate kDeviceSearchList = {
    198, "搜索设备列表", TemplateUnits::DialogUnits, 646, 341, kFont, 10, kDlgSystemMenu | kDlgMinimizeBox, 0,
    {
        {1018, ControlKind::PushButton, "统计网络状态", 11, 18, 48, 14, kNone},
        {1262, ControlKind::PushButton, "统计depth", 71, 18, 41, 14, kNone},
        {1260, ControlKind::PushButton, "数据导出", 124, 18, 41, 14, kNone},
        {1044, ControlKind::PushButton, "数据导入", 179, 18, 41, 14, kNone},
        {1250, ControlKind::PushButton, "删除", 230, 17, 31, 14, kNone},
        {1240, ControlKind::PushButton, "清空", 278, 17, 31, 14, kNone},
        {-1, ControlKind::GroupBox, "", 7, 33, 514, 301, kNone},
        {1006, ControlKind::ListReport, "", 13, 47, 501, 279, kNone},
        {1246, ControlKind::RichEdit, "", 523, 0, 116, 334, kMultiline | kWantReturn | kVScroll},
    }};

const DialogTemplate kSmartHomePage = {
    180, "", TemplateUnits::DialogUnits, 420, 260, kFont, 9, kDlgChild, 0,
    {{-1, ControlKind::GroupBox, "智能家居监控", 2, 2, 416, 256, kNone}}};

const DialogTemplate kTestPanel = {
    193, "", TemplateUnits::DialogUnits, 420, 260, kFont, 9, kDlgChild, 0,
    {
        {1923, ControlKind::GroupBox, "帧控制域", 6, 6, 294, 22, kNone},
        {1517, ControlKind::Static, "方向DIR:", 10, 14, 30, 10, kNone},
        {1924, ControlKind::ComboDropDown, "", 40, 12, 45, 80, kSorted | kVScroll},
        {1797, ControlKind::Static, "Prm:", 90, 14, 18, 10, kNone},
        {1925, ControlKind::ComboDropDown, "", 108, 12, 45, 80, kSorted | kVScroll},
        {1926, ControlKind::Static, "Respound:", 158, 14, 32, 10, kNone},
        {1927, ControlKind::ComboDropDown, "", 190, 12, 45, 80, kSorted | kVScroll},
        {1324, ControlKind::Static, "信道类型:", 240, 14, 30, 10, kNone},
        {1928, ControlKind::ComboDropDown, "", 270, 12, 28, 80, kSorted | kVScroll},
        {1007, ControlKind::RichEdit, "", 280, 52, 134, 194, kMultiline | kReadOnly | kVScroll},
        {1008, ControlKind::CheckBox, "自动更新", 8, 248, 50, 10, kNone},
        {1006, ControlKind::ListReport, "", 8, 52, 268, 194, kSingleSel},
    }};

const DialogTemplate kSendConsole = {
    220, "", TemplateUnits::DialogUnits, 461, 315, "System", 10, kDlgSystemMenu | kDlgMinimizeBox, 0,
    {
        {2034, ControlKind::Static, "报文：", 13, 15, 25, 8, kNone},
        {2036, ControlKind::Edit, "", 42, 16, 317, 51, kMultiline | kVScroll},
        {1833, ControlKind::PushButton, "发送", 365, 18, 29, 10, kNone},
        {1018, ControlKind::PushButton, "清除报文", 402, 18, 39, 11, kNone},
        {2035, ControlKind::Static, "测试数据：", 8, 73, 41, 8, kNone},
        {1007, ControlKind::RichEdit, "", 7, 83, 437, 102, kMultiline | kVScroll},
        {1006, ControlKind::ListReport, "", 7, 194, 440, 102, kSingleSel},
        {1008, ControlKind::CheckBox, "自动更新", 15, 298, 48, 10, kNone},
    }};

const DialogTemplate kBroadcastReplyTest = {
    219, "广播应答测试", TemplateUnits::DialogUnits, 520, 300, kFont, 9, kTool, 0,
    {
        {1006, ControlKind::ListReport, "", 5, 5, 330, 270, kNone},
        {1007, ControlKind::RichEdit, "", 340, 5, 175, 270, kMultiline | kReadOnly | kVScroll},
    }};

const DialogTemplate kFrameDetail = {
    191, "", TemplateUnits::DialogUnits, 212, 117, kFont, 9, kTool | kDlgMinimizeBox, 0,
    {{1010, ControlKind::Edit, "", 7, 7, 198, 103, kMultiline | kWantReturn | kVScroll}}};

const DialogTemplate kParseFrame = {
    187, "解析报文", TemplateUnits::DialogUnits, 473, 479, kFont, 9, kDlgSystemMenu, 0,
    {
        {1036, ControlKind::RadioButton, "物理帧", 13, 17, 40, 10, kGroup},
        {1020, ControlKind::RadioButton, "网络帧", 61, 17, 38, 10, kNone},
        {1026, ControlKind::RadioButton, "应用帧", 109, 17, 40, 10, kNone},
        {1019, ControlKind::RadioButton, "79协议", 155, 17, 40, 10, kNone},
        {1010, ControlKind::Edit, "", 26, 45, 166, 130, kMultiline | kVScroll},
        {1018, ControlKind::DefPushButton, "》》", 212, 92, 29, 22, kNone},
        {1011, ControlKind::Edit, "", 26, 194, 166, 127, kMultiline | kVScroll},
        {1021, ControlKind::PushButton, "》》", 211, 246, 29, 22, kNone},
        {1012, ControlKind::Edit, "", 27, 332, 166, 122, kMultiline | kVScroll},
        {1029, ControlKind::PushButton, "》》", 214, 371, 29, 22, kNone},
        {1007, ControlKind::RichEdit, "", 263, 7, 203, 465, kMultiline | kVScroll},
    }};

const DialogTemplate kTimedSend = {
    158, "定时发送", TemplateUnits::DialogUnits, 260, 110, kFont, 9, kDlgSystemMenu, 0,
    {
        {1010, ControlKind::Edit, "", 60, 10, 60, 12, kNumber},
        {1012, ControlKind::Edit, "", 180, 10, 60, 12, kNumber},
        {1011, ControlKind::Edit, "", 10, 30, 240, 40, kMultiline},
        {1018, ControlKind::PushButton, "开始", 100, 85, 60, 14, kNone},
    }};

const DialogTemplate kSerialSettings = {
    165, "串口设置", TemplateUnits::DialogUnits, 170, 150, kFont, 9, kDlgSystemMenu, 0,
    {
        {-1, ControlKind::Static, "串口号", 12, 12, 36, 10, kNone},
        {1076, ControlKind::ComboDropList, "", 52, 10, 100, 120, kVScroll},
        {-1, ControlKind::Static, "波特率", 12, 30, 36, 10, kNone},
        {1006, ControlKind::ComboDropList, "", 52, 28, 100, 120, kVScroll},
        {-1, ControlKind::Static, "校验位", 12, 48, 36, 10, kNone},
        {1007, ControlKind::ComboDropList, "", 52, 46, 100, 80, kNone},
        {-1, ControlKind::Static, "数据位", 12, 66, 36, 10, kNone},
        {1008, ControlKind::ComboDropList, "", 52, 64, 100, 80, kNone},
        {-1, ControlKind::Static, "停止位", 12, 84, 36, 10, kNone},
        {1009, ControlKind::ComboDropList, "", 52, 82, 100, 80, kNone},
        {1077, ControlKind::Static, "", 12, 102, 146, 12, kSunken},
        {1021, ControlKind::DefPushButton, "打开串口", 20, 124, 56, 16, kNone},
        {2, ControlKind::PushButton, "关闭", 94, 124, 56, 16, kNone},
    }};

const DialogTemplate kMacPage = {
    148, "", TemplateUnits::DialogUnits, 400, 200, kFont, 9, kDlgChild, 0,
    {{1006, ControlKind::ListReport, "", 0, 0, 400, 200, kNone}}};
const DialogTemplate kNetPage = {
    182, "", TemplateUnits::DialogUnits, 400, 200, kFont, 9, kDlgChild, 0,
    {{1006, ControlKind::ListReport, "", 0, 0, 400, 200, kNone}}};
const DialogTemplate kAppPage = {
    189, "", TemplateUnits::DialogUnits, 400, 200, kFont, 9, kDlgChild, 0,
    {{1006, ControlKind::ListReport, "", 0, 0, 400, 200, kNone}}};

const DialogTemplate kWarning = {194, "警告", TemplateUnits::DialogUnits, 160, 60, kFont, 9, kDlgSystemMenu, 0, {}};
const DialogTemplate kMeterManage = {103, "电表管理", TemplateUnits::DialogUnits, 570, 285, kFont, 9, kDlgSystemMenu, 0, {}};
const DialogTemplate kChecksum = {140, "计算校验", TemplateUnits::DialogUnits, 200, 100, kFont, 9, kDlgSystemMenu, 0, {}};
const DialogTemplate kFrameType = {207, "", TemplateUnits::DialogUnits, 410, 450, kFont, 9, kDlgSystemMenu, 0, {}};
const DialogTemplate kLocalSettings = {210, "本地设置", TemplateUnits::DialogUnits, 303, 169, kFont, 9, kDlgSystemMenu, 0, {}};
const DialogTemplate kContinuousSend = {214, "连续发送", TemplateUnits::DialogUnits, 200, 100, kFont, 9, kDlgSystemMenu, 0, {}};
const DialogTemplate kAddDevice = {217, "添加设备", TemplateUnits::DialogUnits, 400, 260, kFont, 9, kDlgSystemMenu, 0, {}};

const DialogTemplate* const kAll[] = {
    &kFrameMonitor, &kDeviceSearchList, &kSmartHomePage, &kTestPanel, &kSendConsole, &kBroadcastReplyTest,
    &kFrameDetail,  &kParseFrame,       &kTimedSend,     &kSerialSettings, &kMacPage, &kNetPage,
    &kAppPage,      &kWarning,          &kMeterManage,   &kChecksum,  &kFrameType, &kLocalSettings,
    &kContinuousSend, &kAddDevice,
};

}  // namespace

const DialogTemplate* FindToolDialogTemplate(int id) {
    for (const DialogTemplate* t : kAll)
        if (t->id == id) return t;
    return nullptr;
}
