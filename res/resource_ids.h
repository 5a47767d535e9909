#pragma once
// Named ids of the resources of this folder: dialog templates, their controls, the menu,
// the string table and the images; and the ids of the main window's timers.
//
// Control ids belong to one dialog: the same number can be different controls in different
// dialogs, and each of them has its own name here. Plain labels that nothing reaches keep the
// id -1; the OK and Cancel buttons are kIdOk and kIdCancel of platform/ui.h.

// Dialog templates.
constexpr int IDD_ABOUTBOX             = 100;  // about box
constexpr int IDD_MAIN_TESTER          = 102;  // main window
constexpr int IDD_METER_MANAGE         = 103;  // meter management
constexpr int IDD_FRAME_MONITOR        = 132;  // frame monitor
constexpr int IDD_CHECKSUM             = 140;  // checksum calculator
constexpr int IDD_MAC_FRAME_PAGE       = 148;  // reception page of MAC-layer frames
constexpr int IDD_TIMED_SEND           = 158;  // timed send
constexpr int IDD_SERIAL_SETTINGS      = 165;  // serial port settings
constexpr int IDD_SMART_HOME_MONITOR   = 180;  // smart-home monitor page
constexpr int IDD_NET_FRAME_PAGE       = 182;  // reception page of network-layer frames
constexpr int IDD_PARSE_FRAME          = 187;  // frame parser
constexpr int IDD_APP_FRAME_PAGE       = 189;  // reception page of application-layer frames
constexpr int IDD_FRAME_DETAIL         = 191;  // frame detail viewer
constexpr int IDD_TEST_PANEL           = 193;  // module test panel
constexpr int IDD_WARNING              = 194;  // warning box
constexpr int IDD_DEVICE_SEARCH_LIST   = 198;  // device search list
constexpr int IDD_FRAME_TYPE           = 207;  // frame type
constexpr int IDD_LOCAL_SETTINGS       = 210;  // local settings
constexpr int IDD_CONTINUOUS_SEND      = 214;  // continuous send settings
constexpr int IDD_TEST_CONTINUOUS_SEND = 197;  // continuous send of the test panel
constexpr int IDD_ADD_DEVICE           = 217;  // device adding
constexpr int IDD_BROADCAST_REPLY_TEST = 219;  // broadcast reply test
constexpr int IDD_SEND_CONSOLE         = 220;  // send console

// Menu of the main window and its commands.
constexpr int IDR_MAIN_MENU         = 129;
constexpr int IDM_SERIAL_SETTINGS   = 3771;
constexpr int IDM_IMPORT_FRAMES     = 3773;
constexpr int IDM_EXPORT_FRAMES     = 3774;
constexpr int IDM_CLEAR_FRAME_LISTS = 3776;

// About command of the main window's system menu.
constexpr int IDM_ABOUTBOX = 0x10;

// Ids of the main window's timers.
enum MainTimerId {
    TIMER_WAIT_MODE_REFRESH = 1,
    TIMER_UNUSED_2 = 2,
    TIMER_UNUSED_3 = 3,
    TIMER_CONTINUOUS_SEND = 4,
    TIMER_SEND_TEST_STEP = 5,
    TIMER_CONTINUOUS_SEARCH = 6,
    TIMER_PORT_TEST = 7,
    TIMER_CONTINUOUS_BROADCAST = 8,
    TIMER_PASS_THROUGH_SEND = 9,
    TIMER_VERSION_WAIT = 10,
    TIMER_TIMED_SEND = 11,
    TIMER_DEBUGGER_CLOCK = 12,
};

// Timer of the module test panel: the network-port test's ticks.
enum PanelTimerId {
    PANEL_TIMER_NET_PORT_TEST = 7,
};

// Timers of the local settings page.
enum LocalSettingsTimerId {
    LOCAL_TIMER_AUTO_SYNC = 12,     // the synchronisation's first phase
    LOCAL_TIMER_SYNC_CHANNEL = 13,  // its second phase
    LOCAL_TIMER_SYNC_REPLY = 14,
    LOCAL_TIMER_SET_CHANNEL = 16,
    LOCAL_TIMER_READ_CHANNEL = 17,
};

// String table.
constexpr int IDS_ABOUTBOX   = 101;  // caption of the about command
constexpr int IDS_MAIN_TITLE = 102;  // title text of the main window

// Images.
constexpr int IDR_MAIN_ICON         = 128;  // window icon
constexpr int IDR_WARNING_BITMAP    = 195;  // picture of the warning box
constexpr int IDR_BACKGROUND_BITMAP = 204;  // background of the main window

// ---- Controls of the main window (IDD_MAIN_TESTER) ----

// General controls outside the pages.
constexpr int IDC_FUNCTION_TREE      = 1265;
constexpr int IDC_TITLE_TEXT         = 1013;
constexpr int IDC_RECEIVE_TABS       = 1047;
constexpr int IDC_TOGGLE_RECEIVE     = 1001;
constexpr int IDC_SHOW_FRAME_MONITOR = 1021;
constexpr int IDC_CLEAR_RECORDS      = 1232;
constexpr int IDC_BUILD_FRAME        = 1033;
constexpr int IDC_PARSE_FRAME        = 1034;
constexpr int IDC_IMPORT_RECORDS     = 1044;
constexpr int IDC_EXPORT_RECORDS     = 1045;
constexpr int IDC_TIMED_SEND         = 1046;
constexpr int IDC_PORT_STATUS        = 1227;
constexpr int IDC_VERSION_TEXT       = 3042;
constexpr int IDC_SPARE_STATUS_TEXT  = 1338;

// Frame logs, the analysis pane and the auto-update switch, shared by many pages.
constexpr int IDC_FRAME_LOG             = 1272;
constexpr int IDC_SEARCH_LOG            = 1629;
constexpr int IDC_DATA_LOG              = 1630;
constexpr int IDC_DATA_REPLY_LOG        = 1636;
constexpr int IDC_PASSWORD_LOG          = 1637;
constexpr int IDC_PASSWORD_REPLY_LOG    = 1641;
constexpr int IDC_RECEIVED_DATA_LABEL   = 3047;
constexpr int IDC_PASSWORD_NOTICE_LABEL = 3048;
constexpr int IDC_ANALYSIS_PANE         = 1012;
constexpr int IDC_AUTO_UPDATE           = 1008;

// Frame-control group at the head of the pages.
constexpr int IDC_FRAME_CONTROL_GROUP = 1524;
constexpr int IDC_DIRECTION_LABEL     = 1517;
constexpr int IDC_DIRECTION_COMBO     = 1518;
constexpr int IDC_INITIATOR_LABEL     = 1797;
constexpr int IDC_INITIATOR_COMBO     = 1798;
constexpr int IDC_REPLY_STATUS_LABEL  = 1520;
constexpr int IDC_REPLY_STATUS_COMBO  = 1521;
constexpr int IDC_CHANNEL_TYPE_LABEL  = 1522;
constexpr int IDC_CHANNEL_TYPE_COMBO  = 1523;

// Address fields shared by the command pages.
constexpr int IDC_SRC_MODE_LABEL       = 3002;
constexpr int IDC_SRC_MODE_COMBO       = 3003;
constexpr int IDC_DST_MODE_LABEL       = 1541;
constexpr int IDC_DST_MODE_COMBO       = 1542;
constexpr int IDC_DST_ADDR_LABEL       = 1545;
constexpr int IDC_DST_ADDR             = 1546;
constexpr int IDC_MULTICAST_MODE_LABEL = 1594;
constexpr int IDC_MULTICAST_MODE_COMBO = 1595;
constexpr int IDC_BROADCAST_LINK_LABEL = 1596;
constexpr int IDC_BROADCAST_LINK_COMBO = 1597;
constexpr int IDC_PRIORITY_LABEL       = 1598;
constexpr int IDC_PRIORITY_COMBO       = 1599;
constexpr int IDC_KEY_MODE_LABEL       = 1939;
constexpr int IDC_KEY_MODE_COMBO       = 1940;
constexpr int IDC_MULTICAST_ADDR_LABEL = 1634;
constexpr int IDC_MULTICAST_ADDR       = 1640;
constexpr int IDC_USER_DATA_LABEL      = 1635;
constexpr int IDC_USER_DATA            = 1639;
constexpr int IDC_TASK_ID_LABEL        = 1883;
constexpr int IDC_TASK_ID              = 1884;

// Meter reading in rounds.
constexpr int IDC_METER_READ_LIST          = 3032;
constexpr int IDC_ROUND_START              = 3016;
constexpr int IDC_ROUND_STOP               = 3017;
constexpr int IDC_ROUND_DATA_ID_LABEL      = 3033;
constexpr int IDC_ROUND_DATA_ID            = 3034;
constexpr int IDC_ROUND_START_ADDR_LABEL   = 3006;
constexpr int IDC_ROUND_START_ADDR         = 3007;
constexpr int IDC_ROUND_END_ADDR_LABEL     = 3008;
constexpr int IDC_ROUND_END_ADDR           = 3009;
constexpr int IDC_ROUND_COUNT_LABEL        = 3010;
constexpr int IDC_ROUND_COUNT              = 3011;
constexpr int IDC_ROUND_WAIT_MODE_COMBO    = 3012;
constexpr int IDC_ROUND_WAIT_TIME          = 3013;
constexpr int IDC_ROUND_SEND_DELAY_LABEL   = 3014;
constexpr int IDC_ROUND_SEND_DELAY         = 3015;
constexpr int IDC_ROUND_SENT_LABEL         = 3018;
constexpr int IDC_ROUND_SENT               = 3019;
constexpr int IDC_ROUND_REPLIES_LABEL      = 3020;
constexpr int IDC_ROUND_REPLIES            = 3021;
constexpr int IDC_ROUND_SUCCESS_RATE_LABEL = 3022;
constexpr int IDC_ROUND_SUCCESS_RATE       = 3023;
constexpr int IDC_ROUND_AVG_TIME_LABEL     = 3024;
constexpr int IDC_ROUND_AVG_TIME           = 3025;
constexpr int IDC_ROUND_TOTAL_TIME_LABEL   = 3026;
constexpr int IDC_ROUND_TOTAL_TIME         = 3027;
constexpr int IDC_ROUND_MAX_TIME_LABEL     = 3028;
constexpr int IDC_ROUND_MAX_TIME           = 3029;
constexpr int IDC_ROUND_MIN_TIME_LABEL     = 3030;
constexpr int IDC_ROUND_MIN_TIME           = 3031;

// Pass-through.
constexpr int IDC_PASS_THROUGH_LIST = 3037;
constexpr int IDC_PASS_THROUGH_SEND = 3035;
constexpr int IDC_PASS_THROUGH_DATA = 3036;
constexpr int IDC_SHOW_ALL_RECEIVED = 1402;

// Frame text generation.
constexpr int IDC_FRAME_GEN_START_BYTE   = 3049;
constexpr int IDC_FRAME_GEN_CMD_LABEL    = 3050;
constexpr int IDC_FRAME_GEN_CMD          = 3052;
constexpr int IDC_FRAME_GEN_DATA_LABEL   = 3053;
constexpr int IDC_FRAME_GEN_DATA         = 3054;
constexpr int IDC_FRAME_GEN_BUILD        = 3055;
constexpr int IDC_FRAME_GEN_OUTPUT_LABEL = 3056;
constexpr int IDC_FRAME_GEN_OUTPUT       = 3057;

// Network and serial parameters of the module.
constexpr int IDC_SET_NETWORK_PARAMS             = 1591;
constexpr int IDC_PASS_THROUGH_LEVEL_LIMIT_LABEL = 1587;
constexpr int IDC_PASS_THROUGH_LEVEL_LIMIT       = 1588;
constexpr int IDC_BAUD_RATE_LABEL                = 1745;
constexpr int IDC_BAUD_RATE_COMBO                = 1977;
constexpr int IDC_PARITY_LABEL                   = 2008;
constexpr int IDC_PARITY_COMBO                   = 2009;
constexpr int IDC_STOP_BITS_LABEL                = 1992;
constexpr int IDC_STOP_BITS_COMBO                = 1993;
constexpr int IDC_BAND_LABEL                     = 1933;
constexpr int IDC_BAND_COMBO                     = 1543;
constexpr int IDC_TX_POWER_LABEL                 = 1858;
constexpr int IDC_TX_POWER_COMBO                 = 1859;

// Send data and its continuous sending.
constexpr int IDC_SEND_DATA            = 1601;
constexpr int IDC_CONTINUOUS_SEND_DATA = 1500;
constexpr int IDC_INTERRUPT_SEND       = 1317;
constexpr int IDC_DEPTH_LABEL          = 3004;
constexpr int IDC_DEPTH                = 3005;
constexpr int IDC_SEND_DST_ADDR_LABEL  = 1631;
constexpr int IDC_SEND_DST_ADDR        = 1638;

// Execution-state report.
constexpr int IDC_EXEC_STATE_REPORT      = 1553;
constexpr int IDC_EXEC_STATE_DATA1_LABEL = 1547;
constexpr int IDC_EXEC_STATE_DATA1       = 1548;
constexpr int IDC_EXEC_STATE_DATA2_LABEL = 1549;
constexpr int IDC_EXEC_STATE_DATA2       = 1550;
constexpr int IDC_EXEC_STATE_MODE_LABEL  = 1527;
constexpr int IDC_EXEC_STATE_MODE_COMBO  = 1528;

// Connections.
constexpr int IDC_START_CONNECTION  = 1616;
constexpr int IDC_LINK_STATE_REPORT = 1860;
constexpr int IDC_DELETE_CONNECTION = 1622;
constexpr int IDC_PROTOCOL_LABEL    = 1619;
constexpr int IDC_PROTOCOL_COMBO    = 1856;

// Broadcast.
constexpr int IDC_BROADCAST                 = 1803;
constexpr int IDC_CONTINUOUS_BROADCAST      = 2072;
constexpr int IDC_STOP_CONTINUOUS_BROADCAST = 2075;
constexpr int IDC_RADIUS_LABEL              = 1893;
constexpr int IDC_RADIUS                    = 1894;

// Device search, its attributes and the device report.
constexpr int IDC_START_SEARCH               = 1607;
constexpr int IDC_STOP_SEARCH                = 1816;
constexpr int IDC_SHOW_SEARCH_LIST           = 1834;
constexpr int IDC_CONTINUOUS_SEARCH          = 1869;
constexpr int IDC_STOP_CONTINUOUS_SEARCH     = 1870;
constexpr int IDC_SEARCH_DEPTH_LABEL         = 1603;
constexpr int IDC_SEARCH_DEPTH               = 1604;
constexpr int IDC_SEARCH_SCOPE_LABEL         = 1812;
constexpr int IDC_SEARCH_SCOPE_COMBO         = 1814;
constexpr int IDC_REPEAT_PERIOD_LABEL        = 2073;
constexpr int IDC_REPEAT_PERIOD              = 1868;
constexpr int IDC_REQUEST_SEARCH_ATTRIBUTES  = 1879;
constexpr int IDC_REPLY_SEARCH_ATTRIBUTES    = 1880;
constexpr int IDC_SEARCH_PARTICIPATION_LABEL = 1881;
constexpr int IDC_SEARCH_PARTICIPATION_COMBO = 1882;
constexpr int IDC_DEVICE_REPORT              = 1565;
constexpr int IDC_ADD_REPORT_DEVICE          = 1564;
constexpr int IDC_DEVICE_COUNT_LABEL         = 1562;
constexpr int IDC_DEVICE_COUNT               = 1563;

// Network passwords.
constexpr int IDC_SET_USER_PASSWORD        = 1608;
constexpr int IDC_REMOTE_PASSWORD_SET      = 1609;
constexpr int IDC_ANSWER_REMOTE_PASSWORD   = 1809;
constexpr int IDC_SLAVE_PASSWORD_REPLY     = 1817;
constexpr int IDC_REMOTE_BACKBONE_REQUEST  = 1986;
constexpr int IDC_REMOTE_BACKBONE_REPLY    = 1987;
constexpr int IDC_SLAVE_BACKBONE_REQUEST   = 1984;
constexpr int IDC_SLAVE_BACKBONE_REPLY     = 1985;
constexpr int IDC_PASSWORD_DST_ADDR_LABEL  = 1804;
constexpr int IDC_PASSWORD_DST_ADDR        = 1805;
constexpr int IDC_PASSWORD_MULTICAST_LABEL = 1980;
constexpr int IDC_PASSWORD_MULTICAST       = 1981;
constexpr int IDC_OLD_PSK_LEN_LABEL        = 1555;
constexpr int IDC_OLD_PSK_LEN              = 1556;
constexpr int IDC_OLD_PSK_LABEL            = 1557;
constexpr int IDC_OLD_PSK                  = 1558;
constexpr int IDC_NEW_PSK_LEN_LABEL        = 1610;
constexpr int IDC_NEW_PSK_LEN              = 1611;
constexpr int IDC_NEW_PSK_LABEL            = 1613;
constexpr int IDC_NEW_PSK                  = 1614;
constexpr int IDC_PASSWORD_HEX             = 1009;
constexpr int IDC_RELAY_DEPTH_LABEL        = 1822;
constexpr int IDC_RELAY_DEPTH              = 1823;
constexpr int IDC_DECRYPT_RESULT_LABEL     = 1824;
constexpr int IDC_DECRYPT_RESULT_COMBO     = 1825;
constexpr int IDC_CHANGE_CONSENT_LABEL     = 1828;
constexpr int IDC_CHANGE_CONSENT_COMBO     = 1829;

// Local network port and DNS.
constexpr int IDC_READ_LOCAL_NETPORT    = 1836;
constexpr int IDC_SET_LOCAL_NETPORT     = 1837;
constexpr int IDC_NETPORT_IP_LABEL      = 1838;
constexpr int IDC_NETPORT_IP            = 1853;
constexpr int IDC_NETPORT_MASK_LABEL    = 1841;
constexpr int IDC_NETPORT_MASK          = 1850;
constexpr int IDC_NETPORT_GATEWAY_LABEL = 1843;
constexpr int IDC_NETPORT_GATEWAY       = 1852;
constexpr int IDC_NETPORT_DNS1_LABEL    = 1845;
constexpr int IDC_NETPORT_DNS1          = 1851;
constexpr int IDC_NETPORT_DNS2_LABEL    = 1847;
constexpr int IDC_NETPORT_DNS2          = 1849;
constexpr int IDC_DNS_RESOLVE           = 1862;
constexpr int IDC_DNS_RESOLVE_REPORT    = 1866;
constexpr int IDC_DOMAIN_NAME_LABEL     = 1864;
constexpr int IDC_DOMAIN_NAME           = 1865;
constexpr int IDC_DNS_SPARE_LABEL       = 1861;

// Local tone and remote multicast groups.
constexpr int IDC_SET_LOCAL_TONE           = 1936;
constexpr int IDC_TGAIN_LABEL              = 1934;
constexpr int IDC_TGAIN                    = 1935;
constexpr int IDC_TGAIN_RANGE_NOTE         = 1937;
constexpr int IDC_REMOTE_MULTICAST_REQUEST = 1999;
constexpr int IDC_REMOTE_MULTICAST_REPLY   = 2010;
constexpr int IDC_MULTICAST_SPARE_LABEL    = 1998;
constexpr int IDC_MULTICAST_COUNT_LABEL    = 2000;
constexpr int IDC_MULTICAST_COUNT          = 2001;
constexpr int IDC_MULTICAST_GROUP1_LABEL   = 2002;
constexpr int IDC_MULTICAST_GROUP1         = 2003;
constexpr int IDC_MULTICAST_GROUP2_LABEL   = 2004;
constexpr int IDC_MULTICAST_GROUP2         = 2005;
constexpr int IDC_MULTICAST_GROUP3_LABEL   = 2006;
constexpr int IDC_MULTICAST_GROUP3         = 2007;

// TCP/IP mode.
constexpr int IDC_ENABLE_TCPIP        = 1931;
constexpr int IDC_TCP_STATE_REPORT    = 1903;
constexpr int IDC_TCP_STATE_QUERY     = 1914;
constexpr int IDC_TCP_CONNECT         = 1906;
constexpr int IDC_TCP_DISCONNECT      = 1909;
constexpr int IDC_TCP_SEND_DATA       = 1910;
constexpr int IDC_TCP_RECEIVE_DATA    = 1913;
constexpr int IDC_TCP_SRC_IP_LABEL    = 1899;
constexpr int IDC_TCP_SRC_IP          = 1900;
constexpr int IDC_TCP_SRC_PORT_LABEL  = 1901;
constexpr int IDC_TCP_SRC_PORT        = 1902;
constexpr int IDC_TCP_DST_IP_LABEL    = 1895;
constexpr int IDC_TCP_DST_IP          = 1896;
constexpr int IDC_TCP_DST_PORT_LABEL  = 1897;
constexpr int IDC_TCP_DST_PORT        = 1898;
constexpr int IDC_TCP_STATE_LABEL     = 1904;
constexpr int IDC_TCP_STATE_COMBO     = 1905;
constexpr int IDC_TCP_TYPE_LABEL      = 1907;
constexpr int IDC_TCP_TYPE_COMBO      = 1908;
constexpr int IDC_TCP_USER_DATA_LABEL = 1911;
constexpr int IDC_TCP_USER_DATA       = 1912;

// Address list and the batch tests over it.
constexpr int IDC_ADDRESS_LIST       = 1015;
constexpr int IDC_ADDRESS_LIST_LABEL = 1271;
constexpr int IDC_ADD_ADDRESS        = 1267;
constexpr int IDC_DELETE_ADDRESSES   = 1059;
constexpr int IDC_CLEAR_TEST_RESULTS = 1022;
constexpr int IDC_EXPORT_RESULTS     = 1917;
constexpr int IDC_INVERT_CHECKS      = 1409;
constexpr int IDC_SELECT_FAILED      = 1916;
constexpr int IDC_START_DATA_TEST    = 1651;

// Upgrade and version test.
constexpr int IDC_UPGRADE_CHOOSE_FILE    = 1269;
constexpr int IDC_UPGRADE_START          = 1268;
constexpr int IDC_UPGRADE_STOP           = 1408;
constexpr int IDC_VERSION_TEST           = 1491;
constexpr int IDC_EXPECTED_VERSION_LABEL = 1445;
constexpr int IDC_EXPECTED_VERSION       = 1446;

// Point reading and reset information.
constexpr int IDC_REMOTE_POINT_READ          = 1754;
constexpr int IDC_POINT_READ_SPARE_LABEL     = 2045;
constexpr int IDC_POINT_READ_LENGTH_LABEL    = 1752;
constexpr int IDC_POINT_READ_LENGTH          = 1753;
constexpr int IDC_POINT_READ_MULTICAST_LABEL = 1994;
constexpr int IDC_POINT_READ_MULTICAST       = 1995;
constexpr int IDC_AUTO_POINT_READ_GROUP      = 1755;
constexpr int IDC_AUTO_POINT_READ            = 1756;
constexpr int IDC_STOP_POINT_READ            = 1796;
constexpr int IDC_POINT_READ_STATISTICS      = 1793;
constexpr int IDC_POINT_READ_INTERVAL_LABEL  = 1794;
constexpr int IDC_POINT_READ_INTERVAL        = 1795;
constexpr int IDC_READ_RESET_INFO            = 1971;
constexpr int IDC_AUTO_CLEAR_RESET           = 1976;

// Raw send and frame test.
constexpr int IDC_RAW_SEND              = 1833;
constexpr int IDC_RAW_SEND_LABEL        = 1831;
constexpr int IDC_RAW_SEND_DATA         = 1832;
constexpr int IDC_FRAME_TEST            = 1892;
constexpr int IDC_FRAME_TEST_CMD_LABEL  = 1889;
constexpr int IDC_FRAME_TEST_CMD        = 1890;
constexpr int IDC_FRAME_TEST_DATA_LABEL = 1891;
constexpr int IDC_FRAME_TEST_DATA       = 1014;

// Parameter configuration.
constexpr int IDC_CONFIG_PARAMS      = 2038;
constexpr int IDC_CONFIG_INDEX_LABEL = 1516;
constexpr int IDC_CONFIG_INDEX       = 2037;
constexpr int IDC_CONFIG_DATA_LABEL  = 1178;
constexpr int IDC_CONFIG_DATA        = 1294;

// Image comparison.
constexpr int IDC_CHOOSE_MASTER_IMAGE  = 2041;
constexpr int IDC_CHOOSE_COMPARE_IMAGE = 2042;
constexpr int IDC_COMPARE_IMAGES       = 2044;
constexpr int IDC_COMPARE_RESULT       = 2043;

// ---- Controls of the tool dialogs and pages ----

// IDD_FRAME_MONITOR: frame monitor.
constexpr int IDC_MONITOR_LIST          = 1006;
constexpr int IDC_MONITOR_ANALYSIS_PANE = 1007;
constexpr int IDC_MONITOR_AUTO_REFRESH  = 1009;
constexpr int IDC_MONITOR_ELAPSED       = 1248;

// IDD_DEVICE_SEARCH_LIST: device search list.
constexpr int IDC_SEARCH_DEVICE_LIST       = 1006;
constexpr int IDC_SEARCH_LIST_PANE         = 1246;
constexpr int IDC_SEARCH_LIST_COUNT_STATES = 1018;
constexpr int IDC_SEARCH_LIST_COUNT_DEPTHS = 1262;
constexpr int IDC_SEARCH_LIST_EXPORT       = 1260;
constexpr int IDC_SEARCH_LIST_IMPORT       = 1044;
constexpr int IDC_SEARCH_LIST_DELETE       = 1250;
constexpr int IDC_SEARCH_LIST_CLEAR        = 1240;

// IDD_TEST_PANEL: module test panel.
constexpr int IDC_PANEL_LOG_LIST            = 1006;
constexpr int IDC_PANEL_RESULT_PANE         = 1007;
constexpr int IDC_PANEL_AUTO_UPDATE         = 1008;
constexpr int IDC_PANEL_FRAME_CONTROL_GROUP = 1923;
constexpr int IDC_PANEL_DIRECTION_LABEL     = 1517;
constexpr int IDC_PANEL_DIRECTION_COMBO     = 1924;
constexpr int IDC_PANEL_INITIATOR_LABEL     = 1797;
constexpr int IDC_PANEL_INITIATOR_COMBO     = 1925;
constexpr int IDC_PANEL_REPLY_STATUS_LABEL  = 1926;
constexpr int IDC_PANEL_REPLY_STATUS_COMBO  = 1927;
constexpr int IDC_PANEL_CHANNEL_TYPE_LABEL  = 1324;
constexpr int IDC_PANEL_CHANNEL_TYPE_COMBO  = 1928;
// Address fields: the destination, the address mode and the multicast address.
constexpr int IDC_PANEL_DST_ADDR_LABEL       = 1919;
constexpr int IDC_PANEL_DST_ADDR             = 1920;
constexpr int IDC_PANEL_ADDRESS_MODE_LABEL   = 1988;
constexpr int IDC_PANEL_ADDRESS_MODE_COMBO   = 1989;
constexpr int IDC_PANEL_MULTICAST_ADDR_LABEL = 1028;
constexpr int IDC_PANEL_MULTICAST_ADDR       = 1978;
// Commands to the local module.
constexpr int IDC_PANEL_MODULE_RESTART       = 1569;
constexpr int IDC_PANEL_READ_VERSION         = 1571;
constexpr int IDC_PANEL_READ_MAC             = 1573;
constexpr int IDC_PANEL_COMMAND_09           = 1990;  // a command id without a control
constexpr int IDC_PANEL_READ_COMM_ADDRESS    = 1799;
constexpr int IDC_PANEL_SET_COMM_ADDRESS     = 1932;
constexpr int IDC_PANEL_READ_NET_PARAMS      = 1525;
constexpr int IDC_PANEL_READ_USER_PASSWORD   = 1944;
constexpr int IDC_PANEL_SET_USER_PASSWORD    = 1943;
// Commands to a remote device.
constexpr int IDC_PANEL_REMOTE_RESTART         = 1242;
constexpr int IDC_PANEL_REMOTE_SET_LWIP        = 1241;
constexpr int IDC_PANEL_LWIP_MODE_LABEL        = 1921;
constexpr int IDC_PANEL_LWIP_MODE_COMBO        = 1922;
constexpr int IDC_PANEL_REMOTE_READ_VERSION    = 1240;
constexpr int IDC_PANEL_REMOTE_READ_MAC        = 1929;
constexpr int IDC_PANEL_REMOTE_READ_NET_PARAMS = 1930;
// Test-tool and reset-information commands.
constexpr int IDC_PANEL_READ_GAIN            = 1945;
constexpr int IDC_PANEL_READ_FREQ_OFFSET     = 1963;
constexpr int IDC_PANEL_GET_TESTED_ADDRESS   = 1966;
constexpr int IDC_PANEL_CLEAR_TESTED_ADDRESS = 1967;
constexpr int IDC_PANEL_READ_LOCAL_RESET     = 1972;
constexpr int IDC_PANEL_CLEAR_LOCAL_RESET    = 1973;
constexpr int IDC_PANEL_READ_REMOTE_RESET    = 1974;
constexpr int IDC_PANEL_CLEAR_REMOTE_RESET   = 1975;
// Continuous send test: modulation, copies, FEC rate, PB blocks, success counts.
constexpr int IDC_PANEL_MODULATION_LABEL     = 1946;
constexpr int IDC_PANEL_MODULATION_COMBO     = 1947;
constexpr int IDC_PANEL_COPIES_LABEL         = 1948;
constexpr int IDC_PANEL_COPIES_COMBO         = 1954;
constexpr int IDC_PANEL_FEC_LABEL            = 1950;
constexpr int IDC_PANEL_FEC_COMBO            = 1951;
constexpr int IDC_PANEL_PB_COUNT_LABEL       = 1659;
constexpr int IDC_PANEL_PB_COUNT             = 1952;
constexpr int IDC_PANEL_PB_TYPE_LABEL        = 1656;
constexpr int IDC_PANEL_PB_TYPE_COMBO        = 1953;
constexpr int IDC_PANEL_SUCCESS_RATE_LABEL   = 1960;
constexpr int IDC_PANEL_SUCCESS_RATE         = 1961;
constexpr int IDC_PANEL_SUCCESS_COUNT_LABEL  = 1964;
constexpr int IDC_PANEL_SUCCESS_COUNT        = 1965;
constexpr int IDC_PANEL_CONTINUOUS_SEND      = 1500;
constexpr int IDC_PANEL_STOP_CONTINUOUS_SEND = 1024;
// Upgrade-image preparation.
constexpr int IDC_PANEL_UPGRADE_VERSION_LABEL = 1445;
constexpr int IDC_PANEL_UPGRADE_VERSION       = 2011;
constexpr int IDC_PANEL_CHOOSE_UPGRADE_FILE   = 2012;
constexpr int IDC_PANEL_BOOT_FILE             = 2013;
constexpr int IDC_PANEL_SEC_HIGH_FILE         = 2014;
// Broadcast reply test.
constexpr int IDC_PANEL_BRD_DSN_LABEL        = 2018;
constexpr int IDC_PANEL_BRD_DSN              = 2019;
constexpr int IDC_PANEL_BRD_DELAY_LABEL      = 2017;
constexpr int IDC_PANEL_BRD_DELAY            = 2020;
constexpr int IDC_PANEL_RESP_TIMES_LABEL     = 2021;
constexpr int IDC_PANEL_RESP_TIMES           = 2022;
constexpr int IDC_PANEL_DATA_LEN_LABEL       = 2023;
constexpr int IDC_PANEL_DATA_LEN             = 2024;
constexpr int IDC_PANEL_KEY_MODE_LABEL       = 2026;
constexpr int IDC_PANEL_KEY_MODE_COMBO       = 2027;
constexpr int IDC_PANEL_BROADCAST_REPLY_TEST = 2025;
constexpr int IDC_PANEL_BROADCAST_REPLY_INFO = 2028;
// Network-port test and throughput request. The number edit also takes a PANID, a pairing time
// or a data length on the pairing pages.
constexpr int IDC_PANEL_NET_PORT_TEST        = 2045;
constexpr int IDC_PANEL_STOP_NET_PORT_TEST   = 2046;
constexpr int IDC_PANEL_THROUGHPUT_TEST      = 2047;
constexpr int IDC_PANEL_SEND_COUNT_LABEL     = 2048;
constexpr int IDC_PANEL_NUMBER               = 2049;
// Pairing.
constexpr int IDC_PANEL_READ_LOCAL_PAIRING      = 2050;
constexpr int IDC_PANEL_SET_LOCAL_PAIRING       = 2051;
constexpr int IDC_PANEL_PANID_LABEL             = 2052;
constexpr int IDC_PANEL_PAIRING_TIME_LABEL      = 1867;
constexpr int IDC_PANEL_SET_PAIRING_WAIT        = 2053;
constexpr int IDC_PANEL_START_AUTO_PAIRING      = 2054;
constexpr int IDC_PANEL_PAIRING_SEARCH          = 2055;
constexpr int IDC_PANEL_DATA_LENGTH_LABEL       = 1752;
constexpr int IDC_PANEL_DATA_LABEL              = 1178;
constexpr int IDC_PANEL_DATA                    = 2036;
constexpr int IDC_PANEL_COMM_TEST_REQUEST       = 2056;
constexpr int IDC_PANEL_COMM_TEST_REPLY         = 2057;
constexpr int IDC_PANEL_REMOTE_SET_PAIRING      = 2058;
constexpr int IDC_PANEL_REMOTE_PANID_LABEL      = 2059;
constexpr int IDC_PANEL_REMOTE_PANID            = 2060;
constexpr int IDC_PANEL_PAIRING_CODE_31         = 2061;  // a command id without a control
constexpr int IDC_PANEL_CLEAR_NETWORK_PAIRING   = 2062;
constexpr int IDC_PANEL_PAIRING_DEVICE_SEARCH   = 2063;
constexpr int IDC_PANEL_REMOTE_READ_PAIRING_INT = 2064;
constexpr int IDC_PANEL_PAIRING_SCOPE_LABEL     = 2066;
constexpr int IDC_PANEL_PAIRING_SCOPE_COMBO     = 2067;
constexpr int IDC_PANEL_READ_AVAILABLE_NETWORKS = 2070;
constexpr int IDC_PANEL_CLEAR_LOCAL_PAIRING     = 2071;
constexpr int IDC_PANEL_REMOTE_READ_PAIRING     = 2076;

// IDD_SEND_CONSOLE: send console.
constexpr int IDC_CONSOLE_LOG_LIST        = 1006;
constexpr int IDC_CONSOLE_PANE            = 1007;
constexpr int IDC_CONSOLE_AUTO_UPDATE     = 1008;
constexpr int IDC_CONSOLE_FRAME_LABEL     = 2034;
constexpr int IDC_CONSOLE_FRAME_TEXT      = 2036;
constexpr int IDC_CONSOLE_SEND            = 1833;
constexpr int IDC_CONSOLE_CLEAR           = 1018;
constexpr int IDC_CONSOLE_TEST_DATA_LABEL = 2035;

// IDD_BROADCAST_REPLY_TEST: broadcast reply test.
constexpr int IDC_BROADCAST_TEST_LIST       = 1006;
constexpr int IDC_BROADCAST_TEST_PANE       = 1246;
constexpr int IDC_BROADCAST_TEST_DSN_LABEL  = 2030;
constexpr int IDC_BROADCAST_TEST_DSN        = 2031;
constexpr int IDC_BROADCAST_TEST_STATISTICS = 2029;
constexpr int IDC_BROADCAST_TEST_EXPORT     = 1968;
constexpr int IDC_BROADCAST_TEST_IMPORT     = 2032;
constexpr int IDC_BROADCAST_TEST_CLEAR      = 2033;

// IDD_FRAME_DETAIL: frame detail viewer.
constexpr int IDC_DETAIL_TEXT = 1010;

// IDD_WARNING: warning box.
constexpr int IDC_WARNING_PICTURE = 195;
constexpr int IDC_WARNING_TEXT    = 1235;
constexpr int IDC_WARNING_OK      = 1018;

// IDD_METER_MANAGE: meter management, its list kept row for row with the main window's
// address list.
constexpr int IDC_METER_ADDRESS          = 1031;
constexpr int IDC_METER_GROUP            = 1978;
constexpr int IDC_METER_ADD              = 1000;
constexpr int IDC_METER_RANGE_COUNT      = 1004;
constexpr int IDC_METER_RANGE_START      = 1005;
constexpr int IDC_METER_RANGE_STEP       = 1036;
constexpr int IDC_METER_RANGE_GROUP      = 1997;
constexpr int IDC_METER_ADD_RANGE        = 1038;
constexpr int IDC_METER_IMPORT           = 1056;
constexpr int IDC_METER_LIST             = 1037;
constexpr int IDC_METER_DELETE           = 1059;
constexpr int IDC_METER_SELECT_ALL       = 1401;
constexpr int IDC_METER_INVERT_SELECTION = 1407;
constexpr int IDC_METER_EXIT             = 1410;

// IDD_PARSE_FRAME: frame parser, with a layer choice and three input boxes, each with its parse
// button.
constexpr int IDC_PARSER_PHYSICAL_LAYER  = 1036;
constexpr int IDC_PARSER_NETWORK_LAYER   = 1020;
constexpr int IDC_PARSER_APP_LAYER       = 1026;
constexpr int IDC_PARSER_MODULE_PROTOCOL = 1019;
constexpr int IDC_PARSER_INPUT1          = 1010;
constexpr int IDC_PARSER_BUTTON1         = 1018;
constexpr int IDC_PARSER_INPUT2          = 1011;
constexpr int IDC_PARSER_BUTTON2         = 1021;
constexpr int IDC_PARSER_INPUT3          = 1012;
constexpr int IDC_PARSER_BUTTON3         = 1029;
constexpr int IDC_PARSER_RESULT_PANE     = 1007;

// IDD_TIMED_SEND: timed send.
constexpr int IDC_TIMED_INTERVAL   = 1010;
constexpr int IDC_TIMED_COUNT      = 1012;
constexpr int IDC_TIMED_FRAME_TEXT = 1011;
constexpr int IDC_TIMED_START_STOP = 1018;
constexpr int IDC_TIMED_CHANNEL    = 1257;
constexpr int IDC_TIMED_FLOOD      = 1008;
constexpr int IDC_TIMED_STATUS     = 1078;

// IDD_CONTINUOUS_SEND: continuous send settings (OK closes it).
constexpr int IDC_CONT_SEND_ENABLE        = 1508;
constexpr int IDC_CONT_SEND_RESTART_COUNT = 1509;
constexpr int IDC_CONT_SEND_INTERVAL      = 1514;
constexpr int IDC_CONT_SEND_TOTAL         = 1011;

// IDD_TEST_CONTINUOUS_SEND: continuous send of the test panel.
constexpr int IDC_TEST_SEND_INTERVAL = 1957;
constexpr int IDC_TEST_SEND_START    = 1503;
constexpr int IDC_TEST_SEND_TOTAL    = 1045;
constexpr int IDC_TEST_SEND_SUCCESS  = 1026;

// IDD_SERIAL_SETTINGS: serial port settings (its close button is kIdCancel).
constexpr int IDC_SERIAL_PORT_COMBO      = 1076;
constexpr int IDC_SERIAL_BAUD_COMBO      = 1006;
constexpr int IDC_SERIAL_PARITY_COMBO    = 1007;
constexpr int IDC_SERIAL_DATA_BITS_COMBO = 1008;
constexpr int IDC_SERIAL_STOP_BITS_COMBO = 1009;
constexpr int IDC_SERIAL_STATUS          = 1077;
constexpr int IDC_SERIAL_OPEN_CLOSE      = 1021;

// IDD_NETWORK_SETTINGS: network settings, the window command that opens it (no menu item or
// control carries it), its timer (it closes the notice of a finished adapter set-up) and the
// message the socket sends the main window when it has data.
constexpr int IDD_NETWORK_SETTINGS    = 218;
constexpr int IDM_NETWORK_SETTINGS    = 3775;
// Sets the carrier debugger's clock; no menu item or control carries it either.
constexpr int IDM_DEBUGGER_CLOCK      = 3779;
// Window commands of the user password setting under code 0x0A and of command 0xF3 with data 1
// and 0; no menu item or control carries them.
constexpr int IDM_COMMAND_0A          = 1991;
constexpr int IDM_COMMAND_F3_ON       = 3777;
constexpr int IDM_COMMAND_F3_OFF      = 3778;
constexpr int IDC_NET_ADAPTER_COMBO   = 1642;
constexpr int IDC_NET_LOCAL_IP        = 1643;
constexpr int IDC_NET_REMOTE_IP       = 1644;
constexpr int IDC_NET_INIT_ADAPTER    = 1645;
constexpr int IDC_NET_START_STOP      = 1646;
constexpr int IDC_NET_CLOSE           = 1647;
constexpr int IDC_NET_LOCAL_PORT      = 1648;
constexpr int IDC_NET_REMOTE_PORT     = 1649;
constexpr int IDC_NET_TCP_SERVER      = 1019;
constexpr int IDC_NET_TCP_CLIENT      = 1020;
constexpr int IDC_NET_UDP             = 1026;
constexpr int TIMER_NET_INIT_NOTICE   = 1;
constexpr unsigned WM_NETWORK_READ    = 0x401;

// IDD_MAC_FRAME_PAGE, IDD_NET_FRAME_PAGE, IDD_APP_FRAME_PAGE: reception pages of the three frame
// layers, one list each, served by one class.
constexpr int IDC_RECEPTION_LIST = 1006;

// IDD_ADD_DEVICE: device adding.
constexpr int IDC_ADD_DEVICE_NET_STATE    = 1625;
constexpr int IDC_ADD_DEVICE_TYPE         = 1818;
constexpr int IDC_ADD_DEVICE_ADDRESS_MODE = 1983;
constexpr int IDC_ADD_DEVICE_MAC          = 1618;
constexpr int IDC_ADD_DEVICE_GROUP        = 1978;
constexpr int IDC_ADD_DEVICE_ATTRIBUTE    = 1627;
constexpr int IDC_ADD_DEVICE_ADD          = 1249;
constexpr int IDC_ADD_DEVICE_LIST         = 1006;
constexpr int IDC_ADD_DEVICE_SELECT_ALL   = 1008;
constexpr int IDC_ADD_DEVICE_CONFIRM      = 1628;
constexpr int IDC_ADD_DEVICE_DELETE       = 1059;

// IDD_SMART_HOME_MONITOR: smart-home monitor page.
constexpr int IDC_SMART_HOME_EXPORT = 1968;
constexpr int IDC_SMART_HOME_CLEAR  = 1970;
constexpr int IDC_SMART_HOME_LIST   = 1015;
constexpr int IDC_SMART_HOME_GROUP  = 1969;

// IDD_LOCAL_SETTINGS: local settings page.
constexpr int IDC_LOCAL_SYNC_GROUP       = 1339;
constexpr int IDC_LOCAL_CHANNEL_GROUP    = 1344;
constexpr int IDC_LOCAL_METER_ADDRESS    = 1341;
constexpr int IDC_LOCAL_CHANNEL          = 1346;
constexpr int IDC_LOCAL_SYNC_RESULT      = 1011;
constexpr int IDC_LOCAL_CHANNEL_RESULT   = 1013;
constexpr int IDC_LOCAL_AUTO_SYNC        = 1342;
constexpr int IDC_LOCAL_SET_CHANNEL      = 1347;
constexpr int IDC_LOCAL_READ_CHANNEL     = 1378;

// The dormant tool dialogs.
constexpr int IDD_SEND_FRAME      = 137;  // send frame
constexpr int IDD_RADIO_CONFIG    = 205;  // radio configuration page
constexpr int IDD_RELAY_ADDRESS   = 211;  // relay addresses
constexpr int IDD_FIND_METER      = 212;  // find meter address
constexpr int IDD_ACQ_UNIT        = 213;  // acquisition unit address

// IDD_CHECKSUM: checksum calculator.
constexpr int IDC_CHECKSUM_FRAME    = 1010;
constexpr int IDC_CHECKSUM_SUM      = 1019;
constexpr int IDC_CHECKSUM_XOR      = 1020;
constexpr int IDC_CHECKSUM_PHYSICAL = 1026;
constexpr int IDC_CHECKSUM_COMPUTE  = 1018;
constexpr int IDC_CHECKSUM_RESULT   = 1011;

// IDD_RELAY_ADDRESS: relay addresses.
constexpr int IDC_RELAY_ADDRESS     = 1010;
constexpr int IDC_RELAY_USE         = 1008;
constexpr int IDC_RELAY_ADD         = 1249;
constexpr int IDC_RELAY_LIST        = 1400;
constexpr int IDC_RELAY_SELECT_ALL  = 1009;
constexpr int IDC_RELAY_DELETE      = 1059;
constexpr int IDC_RELAY_CONFIRM     = 1405;
constexpr int IDC_RELAY_INDEX_CHECK = 1013;
constexpr int IDC_RELAY_INDEX       = 1406;

// IDD_FRAME_TYPE: frame type page.
constexpr int IDC_FRAME_TYPE_NON_BEACON = 1654;
constexpr int IDC_FRAME_TYPE_BEACON     = 1653;
constexpr int IDC_FRAME_TYPE_BROADCAST  = 1655;
constexpr int IDC_FRAME_TYPE_REVERSE    = 1036;
constexpr int IDC_FRAME_TYPE_PB_TYPE    = 1005;
constexpr int IDC_FRAME_TYPE_READ       = 1378;
constexpr int IDC_FRAME_TYPE_PB_TYPE_LIST = 1076;
constexpr int IDC_FRAME_TYPE_TMI = 1658;
constexpr int IDC_FRAME_TYPE_PB_COUNT = 1660;
constexpr int IDC_FRAME_TYPE_BTS = 1662;
constexpr int IDC_FRAME_TYPE_FDO = 1664;
constexpr int IDC_FRAME_TYPE_SRC = 1014;
constexpr int IDC_FRAME_TYPE_DST = 1015;
constexpr int IDC_FRAME_TYPE_SFO_SEQ = 1668;
constexpr int IDC_FRAME_TYPE_RESERVED = 1677;
constexpr int IDC_FRAME_TYPE_CRC24 = 1679;
constexpr int IDC_FRAME_TYPE_SFCACK = 1790;
constexpr int IDC_FRAME_TYPE_PBCRC = 1792;
constexpr int IDC_FRAME_TYPE_PAYLOAD = 1017;
constexpr int IDC_FRAME_TYPE_PHY_TEXT = 1675;

// IDD_FIND_METER: find meter address.
constexpr int IDC_FIND_METER_SHORT  = 1010;
constexpr int IDC_FIND_METER_FIND   = 1485;
constexpr int IDC_FIND_METER_RESULT = 1007;

// IDD_ACQ_UNIT: acquisition unit address.
constexpr int IDC_ACQ_UNIT_ADDRESS  = 1010;
constexpr int IDC_ACQ_UNIT_READ_VIA = 1505;
constexpr int IDC_ACQ_UNIT_POSITION = 1507;
constexpr int IDC_ACQ_UNIT_CONFIRM  = 1503;

// IDD_RADIO_CONFIG: radio configuration page.
constexpr int IDC_RADIO_LOG     = 1254;
constexpr int IDC_RADIO_POWER   = 1005;
constexpr int IDC_RADIO_CHANNEL = 1010;
constexpr int IDC_RADIO_READ    = 1019;  // the radio group: read, set channel, set power
constexpr int IDC_RADIO_SET_CHANNEL = 1020;
constexpr int IDC_RADIO_SET_POWER   = 1021;

// IDD_SEND_FRAME: send frame.
constexpr int IDC_SEND_FRAME_TEXT    = 1010;
constexpr int IDC_SEND_FRAME_CHANNEL = 1257;
constexpr int IDC_SEND_FRAME_SEND    = 1018;
constexpr int IDC_SEND_FRAME_CANCEL  = 1019;
