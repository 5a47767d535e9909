// Templates of the tool dialogs and pages that the main window creates at start-up.
// Each holds the controls the main window reaches; the dialogs add theirs as they grow.

#include "tool_dialogs.h"

#include "platform/ui.h"

namespace {

using S = ControlStyle;

constexpr const char* kFont = "SimSun";
constexpr uint32_t kTool = kDlgSystemMenu | kDlgResizable;

const DialogTemplate kFrameMonitor = {
    IDD_FRAME_MONITOR, "报文监控", TemplateUnits::DialogUnits, 574, 322, kFont, 10,
    kTool | kDlgMinimizeBox | kDlgMaximizeBox, 0,
    {
        {IDC_MONITOR_LIST, ControlKind::ListReport, "List1", 5, 3, 421, 316, S::kSingleSel | S::kShowSelAlways},
        {IDC_MONITOR_ANALYSIS_PANE, ControlKind::RichEdit, "", 426, 3, 135, 227, S::kMultiline | S::kVScroll},
        {IDC_MONITOR_AUTO_REFRESH, ControlKind::CheckBox, "自动刷新", 429, 309, 55, 10, S::kNone},
        {IDC_MONITOR_ELAPSED, ControlKind::Edit, "", 503, 305, 68, 14, S::kAutoHScroll},
    }};

const DialogTemplate kDeviceSearchList = {
    IDD_DEVICE_SEARCH_LIST, "搜索设备列表", TemplateUnits::DialogUnits, 646, 341, kFont, 10,
    kDlgSystemMenu | kDlgMinimizeBox, 0,
    {
        {IDC_SEARCH_LIST_COUNT_STATES, ControlKind::PushButton, "统计网络状态", 11, 18, 57, 14, S::kNone},
        {IDC_SEARCH_LIST_COUNT_DEPTHS, ControlKind::PushButton, "统计depth", 71, 18, 45, 14, S::kNone},
        {IDC_SEARCH_LIST_EXPORT, ControlKind::PushButton, "数据导出", 124, 18, 41, 14, S::kNone},
        {IDC_SEARCH_LIST_IMPORT, ControlKind::PushButton, "数据导入", 179, 18, 41, 14, S::kNone},
        {IDC_SEARCH_LIST_DELETE, ControlKind::PushButton, "删除", 230, 17, 31, 14, S::kNone},
        {IDC_SEARCH_LIST_CLEAR, ControlKind::PushButton, "清空", 278, 17, 31, 14, S::kNone},
        {-1, ControlKind::GroupBox, "", 7, 33, 514, 301, S::kNone},
        {IDC_SEARCH_DEVICE_LIST, ControlKind::ListReport, "", 13, 47, 501, 279, S::kNone},
        {IDC_SEARCH_LIST_PANE, ControlKind::RichEdit, "", 523, 0, 116, 334, S::kMultiline | S::kWantReturn | S::kVScroll},
    }};

const DialogTemplate kSmartHomePage = {
    IDD_SMART_HOME_MONITOR, "", TemplateUnits::DialogUnits, 402, 399, kFont, 9, kDlgChild, 0,
    {
        {IDC_SMART_HOME_EXPORT, ControlKind::PushButton, "导出列表", 28, 26, 50, 14, S::kNone},
        {IDC_SMART_HOME_CLEAR, ControlKind::PushButton, "清除报文", 90, 25, 50, 14, S::kNone},
        {IDC_SMART_HOME_LIST, ControlKind::ListReport, "List2", 20, 53, 360, 316, S::kSingleSel},
        {IDC_SMART_HOME_GROUP, ControlKind::GroupBox, "智能家居监控", 16, 77, 364, 318, S::kNone},
    }};

// The module test panel sits in the main window's page area, below the window's own row of
// buttons. Its size is that of the page area of a 1280 x 800 main window; its layout scales the
// rectangles with the panel. Rows: the frame header and the command buttons at y 42, the fields
// of a command at y 64, success counts at y 83, log and text pane from y 100.
constexpr ControlStyle kCombo = S::kSorted | S::kVScroll;
const DialogTemplate kTestPanel = {
    IDD_TEST_PANEL, "", TemplateUnits::DialogUnits, 686, 423, kFont, 9, kDlgChild, 0,
    {
        // Frame header.
        {IDC_PANEL_FRAME_CONTROL_GROUP, ControlKind::GroupBox, "帧控制域", 10, 33, 480, 28, S::kNone},
        {IDC_PANEL_DIRECTION_LABEL, ControlKind::Static, "方向DIR:", 16, 45, 44, 10, S::kNone},
        {IDC_PANEL_DIRECTION_COMBO, ControlKind::ComboDropDown, "", 62, 43, 62, 80, kCombo},
        {IDC_PANEL_INITIATOR_LABEL, ControlKind::Static, "Prm:", 132, 45, 40, 10, S::kNone},
        {IDC_PANEL_INITIATOR_COMBO, ControlKind::ComboDropDown, "", 185, 43, 62, 80, kCombo},
        {IDC_PANEL_REPLY_STATUS_LABEL, ControlKind::Static, "Respound:", 254, 45, 46, 10, S::kNone},
        {IDC_PANEL_REPLY_STATUS_COMBO, ControlKind::ComboDropDown, "", 302, 43, 62, 80, kCombo},
        {IDC_PANEL_CHANNEL_TYPE_LABEL, ControlKind::Static, "信道类型:", 370, 45, 46, 10, S::kNone},
        {IDC_PANEL_CHANNEL_TYPE_COMBO, ControlKind::ComboDropDown, "", 418, 43, 64, 80, kCombo},
        // Log, text pane and the auto-update box.
        {IDC_PANEL_LOG_LIST, ControlKind::ListReport, "", 12, 100, 446, 298, S::kSingleSel},
        {IDC_PANEL_RESULT_PANE, ControlKind::RichEdit, "", 463, 100, 206, 298, S::kMultiline | S::kReadOnly | S::kVScroll},
        {IDC_PANEL_AUTO_UPDATE, ControlKind::CheckBox, "自动更新", 16, 402, 62, 12, S::kNone},
        // Command buttons: one place for every page's first button.
        {IDC_PANEL_READ_NET_PARAMS, ControlKind::PushButton, "读取网络参数", 500, 42, 69, 16, S::kNone},
        {IDC_PANEL_MODULE_RESTART, ControlKind::PushButton, "模块重启", 500, 42, 103, 16, S::kNone},
        {IDC_PANEL_READ_VERSION, ControlKind::PushButton, "读取版本号", 500, 42, 103, 16, S::kNone},
        {IDC_PANEL_READ_MAC, ControlKind::PushButton, "读取MAC地址", 500, 42, 103, 16, S::kNone},
        {IDC_PANEL_READ_COMM_ADDRESS, ControlKind::PushButton, "读取通信地址", 500, 42, 103, 16, S::kNone},
        {IDC_PANEL_SET_COMM_ADDRESS, ControlKind::PushButton, "设置通信地址", 500, 42, 103, 16, S::kNone},
        {IDC_PANEL_READ_USER_PASSWORD, ControlKind::PushButton, "读取用户网络口令", 500, 42, 80, 16, S::kNone},
        {IDC_PANEL_SET_USER_PASSWORD, ControlKind::PushButton, "设置用户网络口令", 500, 42, 86, 16, S::kNone},
        {IDC_PANEL_REMOTE_RESTART, ControlKind::PushButton, "远程设备重启", 500, 42, 103, 16, S::kNone},
        {IDC_PANEL_REMOTE_SET_LWIP, ControlKind::PushButton, "远程设置LWIP", 500, 42, 103, 16, S::kNone},
        {IDC_PANEL_REMOTE_READ_VERSION, ControlKind::PushButton, "远程读取版本号", 500, 42, 103, 16, S::kNone},
        {IDC_PANEL_REMOTE_READ_MAC, ControlKind::PushButton, "远程读取MAC地址", 500, 42, 103, 16, S::kNone},
        {IDC_PANEL_REMOTE_READ_NET_PARAMS, ControlKind::PushButton, "远程读取网络参数", 500, 42, 110, 16, S::kNone},
        {IDC_PANEL_READ_GAIN, ControlKind::PushButton, "读取GAIN配置", 500, 42, 82, 16, S::kNone},
        {IDC_PANEL_READ_LOCAL_RESET, ControlKind::PushButton, "读取本地复位信息", 500, 42, 89, 16, S::kNone},
        {IDC_PANEL_CLEAR_LOCAL_RESET, ControlKind::PushButton, "清除本地复位信息", 500, 42, 89, 16, S::kNone},
        {IDC_PANEL_READ_REMOTE_RESET, ControlKind::PushButton, "读取远程复位信息", 500, 42, 89, 16, S::kNone},
        {IDC_PANEL_CLEAR_REMOTE_RESET, ControlKind::PushButton, "清除远程复位信息", 500, 42, 89, 16, S::kNone},
        {IDC_PANEL_NET_PORT_TEST, ControlKind::PushButton, "网口测试", 500, 42, 69, 16, S::kNone},
        {IDC_PANEL_THROUGHPUT_TEST, ControlKind::PushButton, "网络吞吐量测试请求", 500, 42, 103, 16, S::kNone},
        {IDC_PANEL_BROADCAST_REPLY_TEST, ControlKind::PushButton, "广播应答测试请求", 494, 42, 90, 16, S::kNone},
        {IDC_PANEL_READ_LOCAL_PAIRING, ControlKind::PushButton, "读取本地配对信息", 500, 42, 103, 16, S::kNone},
        {IDC_PANEL_SET_LOCAL_PAIRING, ControlKind::PushButton, "设置本地配对信息", 500, 42, 103, 16, S::kNone},
        {IDC_PANEL_SET_PAIRING_WAIT, ControlKind::PushButton, "设置待配对状态", 500, 42, 103, 16, S::kNone},
        {IDC_PANEL_START_AUTO_PAIRING, ControlKind::PushButton, "启动自动配对", 500, 42, 103, 16, S::kNone},
        {IDC_PANEL_PAIRING_SEARCH, ControlKind::PushButton, "发起配对搜索请求", 500, 42, 103, 16, S::kNone},
        {IDC_PANEL_COMM_TEST_REQUEST, ControlKind::PushButton, "发起通信测试请求", 500, 42, 103, 16, S::kNone},
        {IDC_PANEL_COMM_TEST_REPLY, ControlKind::PushButton, "发起通信测试应答", 500, 42, 103, 16, S::kNone},
        {IDC_PANEL_REMOTE_SET_PAIRING, ControlKind::PushButton, "远程设置配对信息请求", 500, 42, 103, 16, S::kNone},
        {IDC_PANEL_CLEAR_NETWORK_PAIRING, ControlKind::PushButton, "清除网络配对信息", 500, 42, 103, 16, S::kNone},
        {IDC_PANEL_PAIRING_DEVICE_SEARCH, ControlKind::PushButton, "发起设备搜索", 500, 42, 103, 16, S::kNone},
        {IDC_PANEL_REMOTE_READ_PAIRING_INT, ControlKind::PushButton, "远程读取配对信息请求(内部)", 500, 42, 125, 16,
         S::kNone},
        {IDC_PANEL_READ_AVAILABLE_NETWORKS, ControlKind::PushButton, "读取可用网络号", 500, 42, 103, 16, S::kNone},
        {IDC_PANEL_CLEAR_LOCAL_PAIRING, ControlKind::PushButton, "清除本地配对信息", 500, 42, 103, 16, S::kNone},
        {IDC_PANEL_REMOTE_READ_PAIRING, ControlKind::PushButton, "远程读取配对信息请求", 500, 42, 103, 16, S::kNone},
        // Second buttons beside the first, and a second row of them.
        {IDC_PANEL_READ_FREQ_OFFSET, ControlKind::PushButton, "读取频偏", 590, 42, 69, 16, S::kNone},
        {IDC_PANEL_CONTINUOUS_SEND, ControlKind::PushButton, "连续发送数据", 584, 42, 69, 16, S::kNone},
        {IDC_PANEL_STOP_NET_PORT_TEST, ControlKind::PushButton, "停止测试", 583, 42, 69, 16, S::kNone},
        {IDC_PANEL_BROADCAST_REPLY_INFO, ControlKind::PushButton, "广播应答测试信息", 590, 42, 90, 16, S::kNone},
        {IDC_PANEL_GET_TESTED_ADDRESS, ControlKind::PushButton, "获取被测模块地址", 494, 63, 90, 16, S::kNone},
        {IDC_PANEL_CLEAR_TESTED_ADDRESS, ControlKind::PushButton, "清除被测模块地址", 590, 63, 90, 16, S::kNone},
        {IDC_PANEL_STOP_CONTINUOUS_SEND, ControlKind::PushButton, "停止连续发送", 604, 63, 69, 16, S::kNone},
        // Fields of a command.
        {IDC_PANEL_DST_ADDR_LABEL, ControlKind::Static, "Dst Addr:", 16, 66, 44, 10, S::kNone},
        {IDC_PANEL_DST_ADDR, ControlKind::Edit, "", 62, 64, 69, 14, S::kAutoHScroll},
        {IDC_PANEL_ADDRESS_MODE_LABEL, ControlKind::Static, "地址模式：", 137, 66, 50, 10, S::kNone},
        {IDC_PANEL_ADDRESS_MODE_COMBO, ControlKind::ComboDropDown, "", 190, 64, 70, 80, kCombo},
        {IDC_PANEL_MULTICAST_ADDR_LABEL, ControlKind::Static, "组播地址：", 266, 66, 46, 10, S::kNone},
        {IDC_PANEL_MULTICAST_ADDR, ControlKind::Edit, "", 314, 64, 50, 14, S::kAutoHScroll},
        {IDC_PANEL_LWIP_MODE_LABEL, ControlKind::Static, "LWIP模式:", 377, 66, 46, 10, S::kNone},
        {IDC_PANEL_LWIP_MODE_COMBO, ControlKind::ComboDropDown, "", 425, 64, 62, 80, kCombo},
        {IDC_PANEL_MODULATION_LABEL, ControlKind::Static, "mm:", 137, 66, 20, 10, S::kNone},
        {IDC_PANEL_MODULATION_COMBO, ControlKind::ComboDropDown, "", 158, 64, 69, 80, kCombo},
        {IDC_PANEL_COPIES_LABEL, ControlKind::Static, "copy:", 232, 66, 24, 10, S::kNone},
        {IDC_PANEL_COPIES_COMBO, ControlKind::ComboDropDown, "", 257, 64, 36, 80, kCombo},
        {IDC_PANEL_FEC_LABEL, ControlKind::Static, "Fec:", 300, 66, 20, 10, S::kNone},
        {IDC_PANEL_FEC_COMBO, ControlKind::ComboDropDown, "", 322, 64, 82, 80, kCombo},
        {IDC_PANEL_PB_COUNT_LABEL, ControlKind::Static, "PB数目:", 410, 66, 34, 10, S::kNone},
        {IDC_PANEL_PB_COUNT, ControlKind::Edit, "", 446, 64, 38, 14, S::kAutoHScroll},
        {IDC_PANEL_PB_TYPE_LABEL, ControlKind::Static, "PBType:", 490, 66, 34, 10, S::kNone},
        {IDC_PANEL_PB_TYPE_COMBO, ControlKind::ComboDropDown, "", 526, 64, 70, 80, kCombo},
        {IDC_PANEL_SUCCESS_RATE_LABEL, ControlKind::Static, "成功率:", 466, 85, 36, 10, S::kNone},
        {IDC_PANEL_SUCCESS_RATE, ControlKind::Edit, "", 504, 83, 41, 13, S::kAutoHScroll},
        {IDC_PANEL_SUCCESS_COUNT_LABEL, ControlKind::Static, "成功次数:", 552, 85, 44, 10, S::kNone},
        {IDC_PANEL_SUCCESS_COUNT, ControlKind::Edit, "", 598, 83, 41, 13, S::kAutoHScroll},
        {IDC_PANEL_KEY_MODE_LABEL, ControlKind::Static, "key_mode:", 16, 66, 44, 10, S::kNone},
        {IDC_PANEL_KEY_MODE_COMBO, ControlKind::ComboDropDown, "", 62, 64, 70, 80, kCombo},
        {IDC_PANEL_BRD_DELAY_LABEL, ControlKind::Static, "brd delay:", 370, 66, 48, 10, S::kNone},
        {IDC_PANEL_BRD_DELAY, ControlKind::Edit, "", 420, 64, 30, 14, S::kAutoHScroll},
        {IDC_PANEL_RESP_TIMES_LABEL, ControlKind::Static, "resp times:", 455, 66, 50, 10, S::kNone},
        {IDC_PANEL_RESP_TIMES, ControlKind::Edit, "", 507, 64, 30, 14, S::kAutoHScroll},
        {IDC_PANEL_DATA_LEN_LABEL, ControlKind::Static, "data len:", 542, 66, 42, 10, S::kNone},
        {IDC_PANEL_DATA_LEN, ControlKind::Edit, "", 586, 64, 30, 14, S::kAutoHScroll},
        {IDC_PANEL_BRD_DSN_LABEL, ControlKind::Static, "brd dsn:", 621, 66, 34, 10, S::kNone},
        {IDC_PANEL_BRD_DSN, ControlKind::Edit, "", 656, 64, 28, 14, S::kAutoHScroll},
        {IDC_PANEL_SEND_COUNT_LABEL, ControlKind::Static, "发送次数：", 16, 66, 44, 10, S::kNone},
        {IDC_PANEL_PANID_LABEL, ControlKind::Static, "PANID:", 16, 66, 44, 10, S::kNone},
        {IDC_PANEL_PAIRING_TIME_LABEL, ControlKind::Static, "配对时间:", 16, 66, 44, 10, S::kNone},
        {IDC_PANEL_DATA_LENGTH_LABEL, ControlKind::Static, "数据长度:", 12, 66, 48, 10, S::kNone},
        {IDC_PANEL_NUMBER, ControlKind::Edit, "", 62, 64, 55, 14, S::kAutoHScroll},
        {IDC_PANEL_DATA_LABEL, ControlKind::Static, "数据：", 137, 66, 33, 10, S::kNone},
        {IDC_PANEL_DATA, ControlKind::Edit, "", 172, 64, 309, 14, S::kAutoHScroll},
        {IDC_PANEL_REMOTE_PANID_LABEL, ControlKind::Static, "PANID:", 137, 66, 33, 10, S::kNone},
        {IDC_PANEL_REMOTE_PANID, ControlKind::Edit, "", 172, 64, 55, 14, S::kAutoHScroll},
        {IDC_PANEL_PAIRING_SCOPE_LABEL, ControlKind::Static, "规则：", 137, 66, 33, 10, S::kNone},
        {IDC_PANEL_PAIRING_SCOPE_COMBO, ControlKind::ComboDropDown, "", 172, 64, 103, 80, kCombo},
        // Upgrade-image preparation: a page without the frame header.
        {IDC_PANEL_UPGRADE_VERSION_LABEL, ControlKind::Static, "版本号：", 16, 45, 44, 10, S::kNone},
        {IDC_PANEL_UPGRADE_VERSION, ControlKind::Edit, "", 62, 43, 62, 14, S::kAutoHScroll},
        {IDC_PANEL_CHOOSE_UPGRADE_FILE, ControlKind::PushButton, "选取升级文件", 130, 42, 69, 16, S::kNone},
        {IDC_PANEL_BOOT_FILE, ControlKind::PushButton, "BOOT文件处理", 206, 42, 82, 16, S::kNone},
        {IDC_PANEL_SEC_HIGH_FILE, ControlKind::PushButton, "Sec high文件处理", 295, 42, 103, 16, S::kNone},
    }};

const DialogTemplate kSendConsole = {
    IDD_SEND_CONSOLE, "", TemplateUnits::DialogUnits, 461, 315, "System", 10, kDlgSystemMenu | kDlgMinimizeBox, 0,
    {
        {IDC_CONSOLE_FRAME_LABEL, ControlKind::Static, "报文：", 13, 15, 27, 8, S::kNone},
        {IDC_CONSOLE_FRAME_TEXT, ControlKind::Edit, "", 42, 16, 317, 51, S::kMultiline | S::kVScroll},
        {IDC_CONSOLE_SEND, ControlKind::PushButton, "发送", 365, 18, 29, 10, S::kNone},
        {IDC_CONSOLE_CLEAR, ControlKind::PushButton, "清除报文", 402, 18, 39, 11, S::kNone},
        {IDC_CONSOLE_TEST_DATA_LABEL, ControlKind::Static, "测试数据：", 8, 73, 44, 9, S::kNone},
        {IDC_CONSOLE_PANE, ControlKind::RichEdit, "", 7, 83, 437, 102, S::kMultiline | S::kVScroll},
        {IDC_CONSOLE_LOG_LIST, ControlKind::ListReport, "", 7, 194, 440, 102, S::kSingleSel},
        {IDC_CONSOLE_AUTO_UPDATE, ControlKind::CheckBox, "自动更新", 15, 298, 52, 10, S::kNone},
    }};

const DialogTemplate kBroadcastReplyTest = {
    IDD_BROADCAST_REPLY_TEST, "广播应答测试", TemplateUnits::DialogUnits, 595, 326, kFont, 10,
    kDlgSystemMenu | kDlgMinimizeBox, 0,
    {
        {IDC_BROADCAST_TEST_DSN_LABEL, ControlKind::Static, " 查找序列号：", 13, 24, 55, 8, S::kNone},
        {IDC_BROADCAST_TEST_DSN, ControlKind::Edit, "", 69, 20, 40, 14, S::kAutoHScroll},
        {IDC_BROADCAST_TEST_STATISTICS, ControlKind::PushButton, "统计", 141, 20, 50, 14, S::kNone},
        {IDC_BROADCAST_TEST_EXPORT, ControlKind::PushButton, "数据导出", 211, 20, 50, 14, S::kNone},
        {IDC_BROADCAST_TEST_IMPORT, ControlKind::PushButton, "数据导入", 279, 20, 50, 14, S::kNone},
        {IDC_BROADCAST_TEST_CLEAR, ControlKind::PushButton, "清空", 345, 21, 50, 14, S::kNone},
        {IDC_BROADCAST_TEST_LIST, ControlKind::ListReport, "List1", 7, 49, 462, 270, S::kNone},
        {IDC_BROADCAST_TEST_PANE, ControlKind::RichEdit, "", 472, 8, 116, 306,
         S::kMultiline | S::kWantReturn | S::kVScroll},
    }};

const DialogTemplate kFrameDetail = {
    IDD_FRAME_DETAIL, "", TemplateUnits::DialogUnits, 212, 117, kFont, 9, kTool | kDlgMinimizeBox, 0,
    {{IDC_DETAIL_TEXT, ControlKind::Edit, "", 7, 7, 198, 103, S::kMultiline | S::kWantReturn | S::kVScroll}}};

const DialogTemplate kParseFrame = {
    IDD_PARSE_FRAME, "解析报文", TemplateUnits::DialogUnits, 473, 479, kFont, 9, kDlgSystemMenu, 0,
    {
        {IDC_PARSER_PHYSICAL_LAYER, ControlKind::RadioButton, "物理帧", 13, 17, 42, 10, S::kGroup},
        {IDC_PARSER_NETWORK_LAYER, ControlKind::RadioButton, "网络帧", 61, 17, 42, 10, S::kNone},
        {IDC_PARSER_APP_LAYER, ControlKind::RadioButton, "应用帧", 109, 17, 42, 10, S::kNone},
        {IDC_PARSER_MODULE_PROTOCOL, ControlKind::RadioButton, "79协议", 155, 17, 43, 10, S::kNone},
        {IDC_PARSER_INPUT1, ControlKind::Edit, "", 26, 45, 166, 130, S::kMultiline | S::kVScroll},
        {IDC_PARSER_BUTTON1, ControlKind::DefPushButton, "》》", 212, 92, 29, 22, S::kNone},
        {IDC_PARSER_INPUT2, ControlKind::Edit, "", 26, 194, 166, 127, S::kMultiline | S::kVScroll},
        {IDC_PARSER_BUTTON2, ControlKind::PushButton, "》》", 211, 246, 29, 22, S::kNone},
        {IDC_PARSER_INPUT3, ControlKind::Edit, "", 27, 332, 166, 122, S::kMultiline | S::kVScroll},
        {IDC_PARSER_BUTTON3, ControlKind::PushButton, "》》", 214, 371, 29, 22, S::kNone},
        {IDC_PARSER_RESULT_PANE, ControlKind::RichEdit, "", 263, 7, 203, 465, S::kMultiline | S::kVScroll},
    }};

const DialogTemplate kTimedSend = {
    IDD_TIMED_SEND, "定时发送", TemplateUnits::DialogUnits, 287, 150, kFont, 9, kDlgSystemMenu | kDlgMinimizeBox, 0,
    {
        {-1, ControlKind::Static, "时间间隔", 10, 20, 33, 8, S::kRight},
        {IDC_TIMED_INTERVAL, ControlKind::Edit, "", 46, 18, 51, 14, S::kAutoHScroll},
        {-1, ControlKind::Static, "ms", 99, 19, 11, 8, S::kNone},
        {-1, ControlKind::Static, "发送次数", 110, 20, 33, 8, S::kRight},
        {IDC_TIMED_COUNT, ControlKind::Edit, "", 147, 18, 47, 14, S::kAutoHScroll},
        {-1, ControlKind::Static, "发送信道", 197, 20, 33, 8, S::kNone},
        {IDC_TIMED_CHANNEL, ControlKind::Edit, "", 232, 18, 40, 14, S::kAutoHScroll},
        {-1, ControlKind::Static, "MAC报文", 6, 58, 34, 8, S::kRight},
        {IDC_TIMED_FRAME_TEXT, ControlKind::Edit, "", 47, 54, 228, 50, S::kMultiline | S::kVScroll},
        {IDC_TIMED_START_STOP, ControlKind::PushButton, "开始", 50, 120, 41, 14, S::kNone},
        {IDC_TIMED_FLOOD, ControlKind::CheckBox, "泛洪", 96, 122, 34, 10, S::kNone},
        {kIdCancel, ControlKind::PushButton, "关闭", 137, 119, 50, 14, S::kNone},
        {IDC_TIMED_STATUS, ControlKind::Static, "", 219, 123, 59, 8, S::kNone},
    }};

const DialogTemplate kSerialSettings = {
    IDD_SERIAL_SETTINGS, "串口设置", TemplateUnits::DialogUnits, 170, 150, kFont, 9, kDlgSystemMenu, 0,
    {
        {-1, ControlKind::Static, "串口号", 12, 12, 36, 10, S::kNone},
        {IDC_SERIAL_PORT_COMBO, ControlKind::ComboDropList, "", 52, 10, 100, 120, S::kVScroll},
        {-1, ControlKind::Static, "波特率", 12, 30, 36, 10, S::kNone},
        {IDC_SERIAL_BAUD_COMBO, ControlKind::ComboDropList, "", 52, 28, 100, 120, S::kVScroll},
        {-1, ControlKind::Static, "校验位", 12, 48, 36, 10, S::kNone},
        {IDC_SERIAL_PARITY_COMBO, ControlKind::ComboDropList, "", 52, 46, 100, 80, S::kNone},
        {-1, ControlKind::Static, "数据位", 12, 66, 36, 10, S::kNone},
        {IDC_SERIAL_DATA_BITS_COMBO, ControlKind::ComboDropList, "", 52, 64, 100, 80, S::kNone},
        {-1, ControlKind::Static, "停止位", 12, 84, 36, 10, S::kNone},
        {IDC_SERIAL_STOP_BITS_COMBO, ControlKind::ComboDropList, "", 52, 82, 100, 80, S::kNone},
        {IDC_SERIAL_STATUS, ControlKind::Static, "", 12, 102, 146, 12, S::kSunken},
        {IDC_SERIAL_OPEN_CLOSE, ControlKind::DefPushButton, "打开串口", 20, 124, 56, 16, S::kNone},
        {kIdCancel, ControlKind::PushButton, "关闭", 94, 124, 56, 16, S::kNone},
    }};

const DialogTemplate kNetworkSettings = {
    IDD_NETWORK_SETTINGS, "网口设置", TemplateUnits::DialogUnits, 250, 130, kFont, 9, kDlgSystemMenu, 0,
    {
        {-1, ControlKind::Static, "适配器名称:", 10, 12, 50, 10, S::kNone},
        {IDC_NET_ADAPTER_COMBO, ControlKind::ComboDropList, "", 62, 10, 176, 100, S::kVScroll},
        {-1, ControlKind::Static, "本机IP:", 10, 32, 50, 10, S::kNone},
        {IDC_NET_LOCAL_IP, ControlKind::IpAddress, "", 62, 30, 100, 13, S::kNone},
        {-1, ControlKind::Static, "端口:", 168, 32, 22, 10, S::kNone},
        {IDC_NET_LOCAL_PORT, ControlKind::Edit, "", 192, 30, 46, 13, S::kAutoHScroll},
        {-1, ControlKind::Static, "对方IP:", 10, 50, 50, 10, S::kNone},
        {IDC_NET_REMOTE_IP, ControlKind::IpAddress, "", 62, 48, 100, 13, S::kNone},
        {-1, ControlKind::Static, "端口：", 166, 50, 25, 10, S::kNone},
        {IDC_NET_REMOTE_PORT, ControlKind::Edit, "", 192, 48, 46, 13, S::kAutoHScroll},
        {-1, ControlKind::GroupBox, " 协议类型", 10, 66, 228, 28, S::kNone},
        {IDC_NET_TCP_SERVER, ControlKind::RadioButton, "TCP Server", 20, 78, 60, 10, S::kGroup},
        {IDC_NET_TCP_CLIENT, ControlKind::RadioButton, "TCP Client", 92, 78, 60, 10, S::kNone},
        {IDC_NET_UDP, ControlKind::RadioButton, "UDP", 164, 78, 40, 10, S::kNone},
        {IDC_NET_INIT_ADAPTER, ControlKind::PushButton, "初始化", 20, 104, 56, 16, S::kNone},
        {IDC_NET_START_STOP, ControlKind::PushButton, "开始", 96, 104, 56, 16, S::kNone},
        {IDC_NET_CLOSE, ControlKind::PushButton, "关闭", 172, 104, 56, 16, S::kNone},
    }};

const DialogTemplate kMacPage = {
    IDD_MAC_FRAME_PAGE, "", TemplateUnits::DialogUnits, 400, 200, kFont, 9, kDlgChild, 0,
    {{IDC_RECEPTION_LIST, ControlKind::ListReport, "", 0, 0, 400, 200, S::kNone}}};
const DialogTemplate kNetPage = {
    IDD_NET_FRAME_PAGE, "", TemplateUnits::DialogUnits, 400, 200, kFont, 9, kDlgChild, 0,
    {{IDC_RECEPTION_LIST, ControlKind::ListReport, "", 0, 0, 400, 200, S::kNone}}};
const DialogTemplate kAppPage = {
    IDD_APP_FRAME_PAGE, "", TemplateUnits::DialogUnits, 400, 200, kFont, 9, kDlgChild, 0,
    {{IDC_RECEPTION_LIST, ControlKind::ListReport, "", 0, 0, 400, 200, S::kNone}}};

// The text wraps: the longest warnings take three lines.
const DialogTemplate kWarning = {
    IDD_WARNING, "警告", TemplateUnits::DialogUnits, 111, 63, kFont, 10, kDlgSystemMenu, 0,
    {
        {IDC_WARNING_PICTURE, ControlKind::Picture, "195", 10, 11, 22, 21, S::kNone},  // IDR_WARNING_BITMAP
        {IDC_WARNING_TEXT, ControlKind::Static, "WARN", 34, 9, 74, 31, S::kMultiline},
        {IDC_WARNING_OK, ControlKind::PushButton, "确定", 35, 42, 50, 14, S::kNone},
    }};

// The three input groups side by side above the list; the range group shows start, step, count
// and group address from top to bottom.
const DialogTemplate kMeterManage = {
    IDD_METER_MANAGE, "电表管理", TemplateUnits::DialogUnits, 570, 285, kFont, 9, kDlgSystemMenu, 0,
    {
        {-1, ControlKind::GroupBox, "增加一个地址", 11.4, 5.7, 193.8, 91.2, S::kNone},
        {-1, ControlKind::Static, "设备地址：", 22.8, 35.2, 45, 10, S::kNone},
        {IDC_METER_ADDRESS, ControlKind::Edit, "", 68.4, 34.2, 85.5, 11.4, S::kAutoHScroll},
        {-1, ControlKind::Static, "组播地址：", 22.8, 58, 45, 10, S::kNone},
        {IDC_METER_GROUP, ControlKind::Edit, "", 68.4, 57, 85.5, 11.4, S::kAutoHScroll},
        {IDC_METER_ADD, ControlKind::PushButton, "添加", 148.2, 79.8, 34.2, 11.4, S::kNone},
        {-1, ControlKind::GroupBox, "增加一组地址", 205.2, 5.7, 193.8, 91.2, S::kNone},
        {-1, ControlKind::Static, "地址数目：", 228, 63.7, 45, 10, S::kNone},
        {IDC_METER_RANGE_COUNT, ControlKind::Edit, "", 273.6, 62.7, 85.5, 11.4, S::kAutoHScroll},
        {-1, ControlKind::Static, "起始地址：", 228, 23.8, 45, 10, S::kNone},
        {IDC_METER_RANGE_START, ControlKind::Edit, "", 273.6, 22.8, 85.5, 11.4, S::kAutoHScroll},
        {-1, ControlKind::Static, "地址增量：", 228, 43.7, 45, 10, S::kNone},
        {IDC_METER_RANGE_STEP, ControlKind::Edit, "", 273.6, 42.7, 85.5, 11.4, S::kAutoHScroll},
        {-1, ControlKind::Static, "组播地址：", 228, 78, 45, 10, S::kNone},
        {IDC_METER_RANGE_GROUP, ControlKind::Edit, "", 273.6, 77, 85.5, 11.4, S::kAutoHScroll},
        {IDC_METER_ADD_RANGE, ControlKind::PushButton, "添加", 364.8, 79.8, 22.8, 11.4, S::kNone},
        {-1, ControlKind::GroupBox, "地址导入", 399, 5.7, 159.6, 91.2, S::kNone},
        {IDC_METER_IMPORT, ControlKind::PushButton, "地址导入", 410.4, 22.8, 45.6, 11.4, S::kNone},
        {IDC_METER_LIST, ControlKind::ListReport, "", 11.4, 108.3, 524.4, 142.5, S::kCheckBoxes},
        {IDC_METER_DELETE, ControlKind::PushButton, "删除", 102.6, 256.5, 34.2, 10, S::kNone},
        {IDC_METER_SELECT_ALL, ControlKind::CheckBox, "全选", 11.4, 256.5, 45.6, 10, S::kNone},
        {IDC_METER_INVERT_SELECTION, ControlKind::CheckBox, "反选", 57, 256.5, 45.6, 10, S::kNone},
        {IDC_METER_EXIT, ControlKind::PushButton, "退出", 518.7, 79.8, 34.2, 11.4, S::kNone},
    }};
const DialogTemplate kChecksum = {
    IDD_CHECKSUM, "计算校验", TemplateUnits::DialogUnits, 240, 130, kFont, 9, kDlgSystemMenu, 0,
    {
        {-1, ControlKind::Static, "报文", 10, 12, 20, 8, S::kNone},
        {IDC_CHECKSUM_FRAME, ControlKind::Edit, "", 34, 10, 196, 40, S::kMultiline | S::kVScroll},
        {IDC_CHECKSUM_SUM, ControlKind::RadioButton, "和校验", 34, 58, 50, 10, S::kGroup},
        {IDC_CHECKSUM_XOR, ControlKind::RadioButton, "异或校验", 90, 58, 50, 10, S::kNone},
        {IDC_CHECKSUM_PHYSICAL, ControlKind::RadioButton, "物理层校验", 150, 58, 60, 10, S::kNone},
        {-1, ControlKind::Static, "结果", 10, 80, 20, 8, S::kNone},
        {IDC_CHECKSUM_RESULT, ControlKind::Edit, "", 34, 78, 100, 12, S::kAutoHScroll},
        {IDC_CHECKSUM_COMPUTE, ControlKind::PushButton, "计算", 120, 106, 50, 14, S::kNone},
        {kIdCancel, ControlKind::PushButton, "取消", 180, 106, 50, 14, S::kNone},
    }};
const DialogTemplate kFrameType = {
    IDD_FRAME_TYPE, "", TemplateUnits::DialogUnits, 410, 450, kFont, 9, kDlgSystemMenu, 0,
    {
        {-1, ControlKind::GroupBox, "帧类型", 10, 8, 390, 30, S::kNone},
        {IDC_FRAME_TYPE_NON_BEACON, ControlKind::RadioButton, "非时间基标帧", 20, 20, 70, 10, S::kGroup},
        {IDC_FRAME_TYPE_BEACON, ControlKind::RadioButton, "时间基标帧", 110, 20, 70, 10, S::kNone},
        {IDC_FRAME_TYPE_BROADCAST, ControlKind::RadioButton, "广播通知帧", 200, 20, 70, 10, S::kNone},
        {IDC_FRAME_TYPE_REVERSE, ControlKind::RadioButton, "Reverse", 290, 20, 60, 10, S::kNone},
        {-1, ControlKind::GroupBox, "Phy帧头", 10, 44, 390, 120, S::kNone},
        {-1, ControlKind::Static, "PB type:", 20, 58, 40, 8, S::kNone},
        {IDC_FRAME_TYPE_PB_TYPE_LIST, ControlKind::ComboDropList, "", 64, 56, 80, 60, S::kVScroll},
        {-1, ControlKind::Static, "TMI:", 160, 58, 30, 8, S::kNone},
        {IDC_FRAME_TYPE_TMI, ControlKind::Edit, "", 194, 56, 60, 12, S::kAutoHScroll},
        {-1, ControlKind::Static, "PB数目:", 270, 58, 34, 8, S::kNone},
        {IDC_FRAME_TYPE_PB_COUNT, ControlKind::ComboDropList, "", 308, 56, 80, 60, S::kVScroll},
        {-1, ControlKind::Static, "BTS:", 20, 78, 40, 8, S::kNone},
        {IDC_FRAME_TYPE_BTS, ControlKind::Edit, "", 64, 76, 80, 12, S::kAutoHScroll},
        {-1, ControlKind::Static, "FDO:", 160, 78, 30, 8, S::kNone},
        {IDC_FRAME_TYPE_FDO, ControlKind::Edit, "", 194, 76, 60, 12, S::kAutoHScroll},
        {-1, ControlKind::Static, "源地址:", 20, 98, 40, 8, S::kNone},
        {IDC_FRAME_TYPE_SRC, ControlKind::Edit, "", 64, 96, 80, 12, S::kAutoHScroll},
        {-1, ControlKind::Static, "Dst Addr:", 152, 98, 42, 8, S::kNone},
        {IDC_FRAME_TYPE_DST, ControlKind::Edit, "", 194, 96, 60, 12, S::kAutoHScroll},
        {-1, ControlKind::Static, "SFO&&SEQ:", 262, 98, 46, 8, S::kNone},
        {IDC_FRAME_TYPE_SFO_SEQ, ControlKind::ComboDropList, "", 310, 96, 78, 60, S::kVScroll},
        {-1, ControlKind::Static, "Reverse:", 20, 118, 40, 8, S::kNone},
        {IDC_FRAME_TYPE_RESERVED, ControlKind::Edit, "", 64, 116, 80, 12, S::kAutoHScroll},
        {-1, ControlKind::Static, "CRC24:", 160, 118, 30, 8, S::kNone},
        {IDC_FRAME_TYPE_CRC24, ControlKind::Edit, "", 194, 116, 60, 12, S::kAutoHScroll},
        {-1, ControlKind::Static, "SFCACK:", 20, 138, 40, 8, S::kNone},
        {IDC_FRAME_TYPE_SFCACK, ControlKind::ComboDropList, "", 64, 136, 80, 60, S::kVScroll},
        {-1, ControlKind::Static, "pbcrc:", 160, 138, 30, 8, S::kNone},
        {IDC_FRAME_TYPE_PBCRC, ControlKind::ComboDropList, "", 194, 136, 60, 60, S::kVScroll},
        {IDC_FRAME_TYPE_PB_TYPE, ControlKind::ComboDropList, "", 308, 136, 80, 60, S::kVScroll},
        {-1, ControlKind::GroupBox, "非时间信标帧", 10, 170, 390, 270, S::kNone},
        {-1, ControlKind::Static, "非时间信标帧载荷", 20, 184, 80, 8, S::kNone},
        {IDC_FRAME_TYPE_PAYLOAD, ControlKind::Edit, "", 20, 196, 370, 110, S::kMultiline | S::kVScroll},
        {IDC_FRAME_TYPE_PHY_TEXT, ControlKind::Edit, "", 20, 314, 370, 110, S::kMultiline | S::kVScroll},
    }};
// The synchronisation above, the channel group below.
const DialogTemplate kLocalSettings = {
    IDD_LOCAL_SETTINGS, "本地设置", TemplateUnits::DialogUnits, 303, 169, kFont, 9, kDlgSystemMenu, 0,
    {
        {IDC_LOCAL_SYNC_GROUP, ControlKind::GroupBox, "", 12, 7, 279, 68, S::kNone},
        {-1, ControlKind::Static, "表地址：", 24, 16, 34, 8, S::kNone},
        {IDC_LOCAL_METER_ADDRESS, ControlKind::Edit, "", 58, 14, 61, 12, S::kAutoHScroll},
        {IDC_LOCAL_AUTO_SYNC, ControlKind::PushButton, "自动同步", 130, 13, 50, 14, S::kNone},
        {-1, ControlKind::Static, "同步结果：", 24, 28, 44, 8, S::kNone},
        {IDC_LOCAL_SYNC_RESULT, ControlKind::Edit, "", 24, 37, 258, 34, S::kMultiline | S::kReadOnly | S::kVScroll},
        {IDC_LOCAL_CHANNEL_GROUP, ControlKind::GroupBox, "", 12, 75, 279, 68, S::kNone},
        {-1, ControlKind::Static, "信道组：", 24, 84, 34, 8, S::kNone},
        {IDC_LOCAL_CHANNEL, ControlKind::Edit, "", 58, 82, 30, 12, S::kAutoHScroll},
        {IDC_LOCAL_SET_CHANNEL, ControlKind::PushButton, "设置信道组", 130, 81, 55, 14, S::kNone},
        {IDC_LOCAL_READ_CHANNEL, ControlKind::PushButton, "读信道组", 195, 81, 50, 14, S::kNone},
        {-1, ControlKind::Static, "设置信道组结果：", 24, 96, 70, 8, S::kNone},
        {IDC_LOCAL_CHANNEL_RESULT, ControlKind::Edit, "", 24, 105, 258, 34,
         S::kMultiline | S::kReadOnly | S::kVScroll},
    }};
const DialogTemplate kContinuousSend = {
    IDD_CONTINUOUS_SEND, "连续发送", TemplateUnits::DialogUnits, 187, 96, kFont, 10, kDlgSystemMenu, 0,
    {
        {IDC_CONT_SEND_ENABLE, ControlKind::CheckBox, "是否启用连续发送", 8, 15, 92, 10, S::kNone},
        {IDC_CONT_SEND_RESTART_COUNT, ControlKind::CheckBox, "是否重新计数", 110, 15, 75, 10, S::kNone},
        {IDC_CONT_SEND_INTERVAL, ControlKind::Edit, "", 8, 37, 44, 14, S::kAutoHScroll},
        {-1, ControlKind::Static, "秒", 56, 40, 57, 9, S::kNone},
        {-1, ControlKind::Static, "发送总次数：", 8, 65, 53, 9, S::kNone},
        {IDC_CONT_SEND_TOTAL, ControlKind::Edit, "", 62, 63, 40, 12, S::kAutoHScroll},
        {kIdOk, ControlKind::DefPushButton, "确定", 125, 38, 44, 13, S::kNone},
    }};
const DialogTemplate kTestContinuousSend = {
    IDD_TEST_CONTINUOUS_SEND, "连续发送", TemplateUnits::DialogUnits, 202, 81, kFont, 10, kDlgSystemMenu, 0,
    {
        {IDC_TEST_SEND_INTERVAL, ControlKind::Edit, "", 12, 18, 44, 14, S::kAutoHScroll},
        {-1, ControlKind::Static, "毫秒（至少为300毫秒）", 57, 21, 94, 10, S::kNone},
        {IDC_TEST_SEND_START, ControlKind::PushButton, "开始", 155, 17, 26, 13, S::kNone},
        {-1, ControlKind::Static, "发送总次数：", 12, 46, 53, 9, S::kNone},
        {IDC_TEST_SEND_TOTAL, ControlKind::Edit, "", 66, 44, 40, 12, S::kAutoHScroll},
        {-1, ControlKind::Static, "成功次数：", 110, 46, 44, 9, S::kNone},
        {IDC_TEST_SEND_SUCCESS, ControlKind::Edit, "", 155, 44, 32, 12, S::kAutoHScroll},
    }};
// The fields of one record in two rows above the list of records.
const DialogTemplate kAddDevice = {
    IDD_ADD_DEVICE, "添加设备", TemplateUnits::DialogUnits, 464, 271, kFont, 9, kDlgSystemMenu, 0,
    {
        {-1, ControlKind::Static, "Mac地址：", 10, 14, 40, 8, S::kNone},
        {IDC_ADD_DEVICE_MAC, ControlKind::Edit, "", 52, 12, 80, 12, S::kAutoHScroll},
        {-1, ControlKind::Static, "组播:", 145, 14, 24, 8, S::kNone},
        {IDC_ADD_DEVICE_GROUP, ControlKind::Edit, "", 172, 12, 50, 12, S::kAutoHScroll},
        {-1, ControlKind::Static, "属性：", 234, 14, 26, 8, S::kNone},
        {IDC_ADD_DEVICE_ATTRIBUTE, ControlKind::Edit, "", 262, 12, 192, 12, S::kAutoHScroll},
        {-1, ControlKind::Static, "网络状态：", 10, 34, 42, 8, S::kNone},
        {IDC_ADD_DEVICE_NET_STATE, ControlKind::ComboDropDown, "", 52, 32, 86, 80, S::kSorted | S::kVScroll},
        {-1, ControlKind::Static, "设备类别:", 145, 34, 40, 8, S::kNone},
        {IDC_ADD_DEVICE_TYPE, ControlKind::ComboDropDown, "", 186, 32, 100, 80, S::kSorted | S::kVScroll},
        {-1, ControlKind::Static, "地址模式：", 294, 34, 42, 8, S::kNone},
        {IDC_ADD_DEVICE_ADDRESS_MODE, ControlKind::ComboDropDown, "", 338, 32, 70, 60, S::kSorted | S::kVScroll},
        {IDC_ADD_DEVICE_ADD, ControlKind::PushButton, "添加", 414, 31, 40, 14, S::kNone},
        {IDC_ADD_DEVICE_LIST, ControlKind::ListReport, "", 10, 54, 444, 185, S::kCheckBoxes | S::kSingleSel},
        {IDC_ADD_DEVICE_SELECT_ALL, ControlKind::CheckBox, "全选", 12, 249, 40, 10, S::kNone},
        {IDC_ADD_DEVICE_DELETE, ControlKind::PushButton, "删除", 330, 246, 50, 14, S::kNone},
        {IDC_ADD_DEVICE_CONFIRM, ControlKind::PushButton, "确定添加", 394, 246, 60, 14, S::kNone},
    }};

const DialogTemplate* const kAll[] = {
    &kFrameMonitor, &kDeviceSearchList, &kSmartHomePage, &kTestPanel, &kSendConsole, &kBroadcastReplyTest,
    &kFrameDetail,  &kParseFrame,       &kTimedSend,     &kSerialSettings, &kMacPage, &kNetPage,
    &kAppPage,      &kWarning,          &kMeterManage,   &kChecksum,  &kFrameType, &kLocalSettings,
    &kContinuousSend, &kAddDevice, &kNetworkSettings,
    &kTestContinuousSend,
};

}  // namespace

const DialogTemplate* FindToolDialogTemplate(int id) {
    for (const DialogTemplate* t : kAll)
        if (t->id == id) return t;
    return nullptr;
}
