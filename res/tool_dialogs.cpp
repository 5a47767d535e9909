// Templates of the tool dialogs and pages that the main window creates at start-up.
// Each holds the controls the main window reaches; the dialogs add theirs as they grow.

#include "tool_dialogs.h"

#include "platform/ui.h"

namespace {

constexpr const char* kFont = "SimSun";
constexpr uint32_t kTool = kDlgSystemMenu | kDlgResizable;

const DialogTemplate kFrameMonitor = {
    IDD_FRAME_MONITOR, "报文监控", TemplateUnits::DialogUnits, 574, 322, kFont, 10,
    kTool | kDlgMinimizeBox | kDlgMaximizeBox, 0,
    {
        {IDC_MONITOR_LIST, ControlKind::ListReport, "List1", 5, 3, 421, 316, kSingleSel},
        {IDC_MONITOR_ANALYSIS_PANE, ControlKind::RichEdit, "", 426, 3, 135, 227, kMultiline | kVScroll},
        {IDC_MONITOR_AUTO_REFRESH, ControlKind::CheckBox, "自动刷新", 429, 309, 55, 10, kNone},
        {IDC_MONITOR_ELAPSED, ControlKind::Edit, "", 503, 305, 68, 14, kAutoHScroll},
    }};

const DialogTemplate kDeviceSearchList = {
    IDD_DEVICE_SEARCH_LIST, "搜索设备列表", TemplateUnits::DialogUnits, 646, 341, kFont, 10,
    kDlgSystemMenu | kDlgMinimizeBox, 0,
    {
        {IDC_SEARCH_LIST_COUNT_STATES, ControlKind::PushButton, "统计网络状态", 11, 18, 48, 14, kNone},
        {IDC_SEARCH_LIST_COUNT_DEPTHS, ControlKind::PushButton, "统计depth", 71, 18, 41, 14, kNone},
        {IDC_SEARCH_LIST_EXPORT, ControlKind::PushButton, "数据导出", 124, 18, 41, 14, kNone},
        {IDC_SEARCH_LIST_IMPORT, ControlKind::PushButton, "数据导入", 179, 18, 41, 14, kNone},
        {IDC_SEARCH_LIST_DELETE, ControlKind::PushButton, "删除", 230, 17, 31, 14, kNone},
        {IDC_SEARCH_LIST_CLEAR, ControlKind::PushButton, "清空", 278, 17, 31, 14, kNone},
        {-1, ControlKind::GroupBox, "", 7, 33, 514, 301, kNone},
        {IDC_SEARCH_DEVICE_LIST, ControlKind::ListReport, "", 13, 47, 501, 279, kNone},
        {IDC_SEARCH_LIST_PANE, ControlKind::RichEdit, "", 523, 0, 116, 334, kMultiline | kWantReturn | kVScroll},
    }};

const DialogTemplate kSmartHomePage = {
    IDD_SMART_HOME_MONITOR, "", TemplateUnits::DialogUnits, 420, 260, kFont, 9, kDlgChild, 0,
    {{-1, ControlKind::GroupBox, "智能家居监控", 2, 2, 416, 256, kNone}}};

const DialogTemplate kTestPanel = {
    IDD_TEST_PANEL, "", TemplateUnits::DialogUnits, 420, 260, kFont, 9, kDlgChild, 0,
    {
        {IDC_PANEL_FRAME_CONTROL_GROUP, ControlKind::GroupBox, "帧控制域", 6, 6, 294, 22, kNone},
        {IDC_PANEL_DIRECTION_LABEL, ControlKind::Static, "方向DIR:", 10, 14, 30, 10, kNone},
        {IDC_PANEL_DIRECTION_COMBO, ControlKind::ComboDropDown, "", 40, 12, 45, 80, kSorted | kVScroll},
        {IDC_PANEL_INITIATOR_LABEL, ControlKind::Static, "Prm:", 90, 14, 18, 10, kNone},
        {IDC_PANEL_INITIATOR_COMBO, ControlKind::ComboDropDown, "", 108, 12, 45, 80, kSorted | kVScroll},
        {IDC_PANEL_REPLY_STATUS_LABEL, ControlKind::Static, "Respound:", 158, 14, 32, 10, kNone},
        {IDC_PANEL_REPLY_STATUS_COMBO, ControlKind::ComboDropDown, "", 190, 12, 45, 80, kSorted | kVScroll},
        {IDC_PANEL_CHANNEL_TYPE_LABEL, ControlKind::Static, "信道类型:", 240, 14, 30, 10, kNone},
        {IDC_PANEL_CHANNEL_TYPE_COMBO, ControlKind::ComboDropDown, "", 270, 12, 28, 80, kSorted | kVScroll},
        {IDC_PANEL_RESULT_PANE, ControlKind::RichEdit, "", 280, 52, 134, 194, kMultiline | kReadOnly | kVScroll},
        {IDC_PANEL_AUTO_UPDATE, ControlKind::CheckBox, "自动更新", 8, 248, 50, 10, kNone},
        {IDC_PANEL_LOG_LIST, ControlKind::ListReport, "", 8, 52, 268, 194, kSingleSel},
    }};

const DialogTemplate kSendConsole = {
    IDD_SEND_CONSOLE, "", TemplateUnits::DialogUnits, 461, 315, "System", 10, kDlgSystemMenu | kDlgMinimizeBox, 0,
    {
        {IDC_CONSOLE_FRAME_LABEL, ControlKind::Static, "报文：", 13, 15, 25, 8, kNone},
        {IDC_CONSOLE_FRAME_TEXT, ControlKind::Edit, "", 42, 16, 317, 51, kMultiline | kVScroll},
        {IDC_CONSOLE_SEND, ControlKind::PushButton, "发送", 365, 18, 29, 10, kNone},
        {IDC_CONSOLE_CLEAR, ControlKind::PushButton, "清除报文", 402, 18, 39, 11, kNone},
        {IDC_CONSOLE_TEST_DATA_LABEL, ControlKind::Static, "测试数据：", 8, 73, 41, 8, kNone},
        {IDC_CONSOLE_PANE, ControlKind::RichEdit, "", 7, 83, 437, 102, kMultiline | kVScroll},
        {IDC_CONSOLE_LOG_LIST, ControlKind::ListReport, "", 7, 194, 440, 102, kSingleSel},
        {IDC_CONSOLE_AUTO_UPDATE, ControlKind::CheckBox, "自动更新", 15, 298, 48, 10, kNone},
    }};

const DialogTemplate kBroadcastReplyTest = {
    IDD_BROADCAST_REPLY_TEST, "广播应答测试", TemplateUnits::DialogUnits, 520, 300, kFont, 9, kTool, 0,
    {
        {IDC_BROADCAST_TEST_LIST, ControlKind::ListReport, "", 5, 5, 330, 270, kNone},
        {IDC_BROADCAST_TEST_PANE, ControlKind::RichEdit, "", 340, 5, 175, 270, kMultiline | kReadOnly | kVScroll},
    }};

const DialogTemplate kFrameDetail = {
    IDD_FRAME_DETAIL, "", TemplateUnits::DialogUnits, 212, 117, kFont, 9, kTool | kDlgMinimizeBox, 0,
    {{IDC_DETAIL_TEXT, ControlKind::Edit, "", 7, 7, 198, 103, kMultiline | kWantReturn | kVScroll}}};

const DialogTemplate kParseFrame = {
    IDD_PARSE_FRAME, "解析报文", TemplateUnits::DialogUnits, 473, 479, kFont, 9, kDlgSystemMenu, 0,
    {
        {IDC_PARSER_PHYSICAL_LAYER, ControlKind::RadioButton, "物理帧", 13, 17, 40, 10, kGroup},
        {IDC_PARSER_NETWORK_LAYER, ControlKind::RadioButton, "网络帧", 61, 17, 38, 10, kNone},
        {IDC_PARSER_APP_LAYER, ControlKind::RadioButton, "应用帧", 109, 17, 40, 10, kNone},
        {IDC_PARSER_MODULE_PROTOCOL, ControlKind::RadioButton, "79协议", 155, 17, 40, 10, kNone},
        {IDC_PARSER_INPUT1, ControlKind::Edit, "", 26, 45, 166, 130, kMultiline | kVScroll},
        {IDC_PARSER_BUTTON1, ControlKind::DefPushButton, "》》", 212, 92, 29, 22, kNone},
        {IDC_PARSER_INPUT2, ControlKind::Edit, "", 26, 194, 166, 127, kMultiline | kVScroll},
        {IDC_PARSER_BUTTON2, ControlKind::PushButton, "》》", 211, 246, 29, 22, kNone},
        {IDC_PARSER_INPUT3, ControlKind::Edit, "", 27, 332, 166, 122, kMultiline | kVScroll},
        {IDC_PARSER_BUTTON3, ControlKind::PushButton, "》》", 214, 371, 29, 22, kNone},
        {IDC_PARSER_RESULT_PANE, ControlKind::RichEdit, "", 263, 7, 203, 465, kMultiline | kVScroll},
    }};

const DialogTemplate kTimedSend = {
    IDD_TIMED_SEND, "定时发送", TemplateUnits::DialogUnits, 260, 110, kFont, 9, kDlgSystemMenu, 0,
    {
        {IDC_TIMED_INTERVAL, ControlKind::Edit, "", 60, 10, 60, 12, kNumber},
        {IDC_TIMED_COUNT, ControlKind::Edit, "", 180, 10, 60, 12, kNumber},
        {IDC_TIMED_FRAME_TEXT, ControlKind::Edit, "", 10, 30, 240, 40, kMultiline},
        {IDC_TIMED_START_STOP, ControlKind::PushButton, "开始", 100, 85, 60, 14, kNone},
    }};

const DialogTemplate kSerialSettings = {
    IDD_SERIAL_SETTINGS, "串口设置", TemplateUnits::DialogUnits, 170, 150, kFont, 9, kDlgSystemMenu, 0,
    {
        {-1, ControlKind::Static, "串口号", 12, 12, 36, 10, kNone},
        {IDC_SERIAL_PORT_COMBO, ControlKind::ComboDropList, "", 52, 10, 100, 120, kVScroll},
        {-1, ControlKind::Static, "波特率", 12, 30, 36, 10, kNone},
        {IDC_SERIAL_BAUD_COMBO, ControlKind::ComboDropList, "", 52, 28, 100, 120, kVScroll},
        {-1, ControlKind::Static, "校验位", 12, 48, 36, 10, kNone},
        {IDC_SERIAL_PARITY_COMBO, ControlKind::ComboDropList, "", 52, 46, 100, 80, kNone},
        {-1, ControlKind::Static, "数据位", 12, 66, 36, 10, kNone},
        {IDC_SERIAL_DATA_BITS_COMBO, ControlKind::ComboDropList, "", 52, 64, 100, 80, kNone},
        {-1, ControlKind::Static, "停止位", 12, 84, 36, 10, kNone},
        {IDC_SERIAL_STOP_BITS_COMBO, ControlKind::ComboDropList, "", 52, 82, 100, 80, kNone},
        {IDC_SERIAL_STATUS, ControlKind::Static, "", 12, 102, 146, 12, kSunken},
        {IDC_SERIAL_OPEN_CLOSE, ControlKind::DefPushButton, "打开串口", 20, 124, 56, 16, kNone},
        {kIdCancel, ControlKind::PushButton, "关闭", 94, 124, 56, 16, kNone},
    }};

const DialogTemplate kNetworkSettings = {
    IDD_NETWORK_SETTINGS, "网口设置", TemplateUnits::DialogUnits, 250, 130, kFont, 9, kDlgSystemMenu, 0,
    {
        {-1, ControlKind::Static, "适配器名称:", 10, 12, 50, 10, kNone},
        {IDC_NET_ADAPTER_COMBO, ControlKind::ComboDropList, "", 62, 10, 176, 100, kVScroll},
        {-1, ControlKind::Static, "本机IP:", 10, 32, 50, 10, kNone},
        {IDC_NET_LOCAL_IP, ControlKind::IpAddress, "", 62, 30, 100, 13, kNone},
        {-1, ControlKind::Static, "端口:", 168, 32, 22, 10, kNone},
        {IDC_NET_LOCAL_PORT, ControlKind::Edit, "", 192, 30, 46, 13, kAutoHScroll},
        {-1, ControlKind::Static, "对方IP:", 10, 50, 50, 10, kNone},
        {IDC_NET_REMOTE_IP, ControlKind::IpAddress, "", 62, 48, 100, 13, kNone},
        {-1, ControlKind::Static, "端口：", 168, 50, 22, 10, kNone},
        {IDC_NET_REMOTE_PORT, ControlKind::Edit, "", 192, 48, 46, 13, kAutoHScroll},
        {-1, ControlKind::GroupBox, " 协议类型", 10, 66, 228, 28, kNone},
        {IDC_NET_TCP_SERVER, ControlKind::RadioButton, "TCP Server", 20, 78, 60, 10, kGroup},
        {IDC_NET_TCP_CLIENT, ControlKind::RadioButton, "TCP Client", 92, 78, 60, 10, kNone},
        {IDC_NET_UDP, ControlKind::RadioButton, "UDP", 164, 78, 40, 10, kNone},
        {IDC_NET_INIT_ADAPTER, ControlKind::PushButton, "初始化", 20, 104, 56, 16, kNone},
        {IDC_NET_START_STOP, ControlKind::PushButton, "开始", 96, 104, 56, 16, kNone},
        {IDC_NET_CLOSE, ControlKind::PushButton, "关闭", 172, 104, 56, 16, kNone},
    }};

const DialogTemplate kMacPage = {
    IDD_MAC_FRAME_PAGE, "", TemplateUnits::DialogUnits, 400, 200, kFont, 9, kDlgChild, 0,
    {{IDC_RECEPTION_LIST, ControlKind::ListReport, "", 0, 0, 400, 200, kNone}}};
const DialogTemplate kNetPage = {
    IDD_NET_FRAME_PAGE, "", TemplateUnits::DialogUnits, 400, 200, kFont, 9, kDlgChild, 0,
    {{IDC_RECEPTION_LIST, ControlKind::ListReport, "", 0, 0, 400, 200, kNone}}};
const DialogTemplate kAppPage = {
    IDD_APP_FRAME_PAGE, "", TemplateUnits::DialogUnits, 400, 200, kFont, 9, kDlgChild, 0,
    {{IDC_RECEPTION_LIST, ControlKind::ListReport, "", 0, 0, 400, 200, kNone}}};

const DialogTemplate kWarning = {
    IDD_WARNING, "警告", TemplateUnits::DialogUnits, 160, 60, kFont, 9, kDlgSystemMenu, 0, {}};
const DialogTemplate kMeterManage = {
    IDD_METER_MANAGE, "电表管理", TemplateUnits::DialogUnits, 570, 285, kFont, 9, kDlgSystemMenu, 0, {}};
const DialogTemplate kChecksum = {
    IDD_CHECKSUM, "计算校验", TemplateUnits::DialogUnits, 200, 100, kFont, 9, kDlgSystemMenu, 0, {}};
const DialogTemplate kFrameType = {
    IDD_FRAME_TYPE, "", TemplateUnits::DialogUnits, 410, 450, kFont, 9, kDlgSystemMenu, 0, {}};
const DialogTemplate kLocalSettings = {
    IDD_LOCAL_SETTINGS, "本地设置", TemplateUnits::DialogUnits, 303, 169, kFont, 9, kDlgSystemMenu, 0, {}};
const DialogTemplate kContinuousSend = {
    IDD_CONTINUOUS_SEND, "连续发送", TemplateUnits::DialogUnits, 200, 100, kFont, 9, kDlgSystemMenu, 0, {}};
const DialogTemplate kAddDevice = {
    IDD_ADD_DEVICE, "添加设备", TemplateUnits::DialogUnits, 400, 260, kFont, 9, kDlgSystemMenu, 0, {}};

const DialogTemplate* const kAll[] = {
    &kFrameMonitor, &kDeviceSearchList, &kSmartHomePage, &kTestPanel, &kSendConsole, &kBroadcastReplyTest,
    &kFrameDetail,  &kParseFrame,       &kTimedSend,     &kSerialSettings, &kMacPage, &kNetPage,
    &kAppPage,      &kWarning,          &kMeterManage,   &kChecksum,  &kFrameType, &kLocalSettings,
    &kContinuousSend, &kAddDevice, &kNetworkSettings,
};

}  // namespace

const DialogTemplate* FindToolDialogTemplate(int id) {
    for (const DialogTemplate* t : kAll)
        if (t->id == id) return t;
    return nullptr;
}
