#pragma once
// Pages of the main window: the codes carried by the function tree, the control tables that
// each code shows, and the items of the tree.

// Item data of a tree item. The tree carries the live codes; the others have no item.
enum FunctionPageCode : int {
    // Live codes.
    PAGE_READ_NETWORK_PARAMS = 2,
    PAGE_LOCAL_ROOT = 7,
    PAGE_MODULE_RESTART = 8,
    PAGE_READ_VERSION = 9,
    PAGE_READ_MAC = 10,
    PAGE_READ_COMM_ADDRESS = 11,
    PAGE_SET_NETWORK_PARAMS = 12,
    PAGE_SEND_DATA = 13,
    PAGE_START_SEARCH = 14,
    PAGE_REMOTE_PASSWORD_SET = 15,
    PAGE_ANSWER_SEARCH = 37,
    PAGE_REMOTE_ROOT = 46,
    PAGE_REMOTE_READ_VERSION = 49,
    PAGE_REMOTE_READ_MAC = 50,
    PAGE_REMOTE_READ_NETWORK_PARAMS = 51,
    PAGE_SET_COMM_ADDRESS = 53,
    PAGE_ROUND_READING = 101,
    PAGE_PASS_THROUGH = 102,
    PAGE_CUSTOM_FRAME = 103,
    PAGE_READ_USER_PASSWORD = 111,
    PAGE_SET_USER_PASSWORD = 112,

    // Dormant codes with a control table of the main window.
    PAGE_EXEC_STATE_REPORT = 3,
    PAGE_START_CONNECTION = 4,
    PAGE_LINK_STATE_REPORT = 5,
    PAGE_DELETE_CONNECTION = 6,
    PAGE_BROADCAST = 16,
    PAGE_DEVICE_REPORT = 17,
    PAGE_REQUEST_SEARCH_ATTRIBUTES = 18,
    PAGE_ANSWER_REMOTE_PASSWORD = 19,
    PAGE_SLAVE_PASSWORD_REPLY = 21,
    PAGE_LOCAL_TONE = 23,
    PAGE_REMOTE_BACKBONE_REQUEST = 24,
    PAGE_SLAVE_BACKBONE_REQUEST = 25,
    PAGE_REMOTE_BACKBONE_REPLY = 26,
    PAGE_SLAVE_BACKBONE_REPLY = 27,
    PAGE_REMOTE_MULTICAST_REQUEST = 28,
    PAGE_REMOTE_MULTICAST_REPLY = 30,
    PAGE_ENABLE_TCPIP = 31,
    PAGE_READ_NETPORT = 32,
    PAGE_SET_NETPORT = 33,
    PAGE_DNS_RESOLVE = 34,
    PAGE_DNS_REPORT = 35,
    PAGE_TCP_STATE_REPORT = 36,
    PAGE_TCP_STATE_QUERY = 38,
    PAGE_TCP_CONNECT = 40,
    PAGE_TCP_DISCONNECT = 41,
    PAGE_TCP_SEND_DATA = 42,
    PAGE_TCP_RECEIVE_DATA = 43,
    PAGE_REPEATED_SEARCH = 44,
    PAGE_RAW_SEND = 45,
    PAGE_FRAME_TEST = 52,
    PAGE_DATA_TEST = 54,
    PAGE_UPGRADE = 60,
    PAGE_REMOTE_POINT_READ = 65,
    PAGE_AUTO_POINT_READ = 66,
    PAGE_RESET_INFO = 67,
    PAGE_CONFIG_PARAMS = 68,
    PAGE_IMAGE_COMPARE = 69,
    PAGE_STOP_SEARCH = 70,
    PAGE_ADDRESS_LIST = 74,

    // Dormant codes with neither a table nor a group of the module test panel.
    PAGE_DORMANT_75 = 75,
    PAGE_DORMANT_77 = 77,

    // Dormant codes served by a control group of the module test panel.
    PAGE_PANEL_NONE = 47,
    PAGE_REMOTE_SET_LWIP = 48,
    PAGE_FREQUENCY_OFFSET = 56,
    PAGE_TEST_DATA = 57,
    PAGE_READ_GAIN = 58,
    PAGE_READ_LOCAL_RESET = 61,
    PAGE_CLEAR_LOCAL_RESET = 62,
    PAGE_READ_REMOTE_RESET = 63,
    PAGE_CLEAR_REMOTE_RESET = 64,
    PAGE_UPGRADE_FILE = 71,
    PAGE_BROADCAST_REPLY_TEST = 72,
    PAGE_NET_PORT_TEST = 79,
    PAGE_THROUGHPUT_TEST = 80,
    PAGE_READ_LOCAL_PAIRING = 82,
    PAGE_SET_LOCAL_PAIRING = 83,
    PAGE_SET_PAIRING_WAIT = 84,
    PAGE_START_AUTO_PAIRING = 85,
    PAGE_PAIRING_SEARCH = 86,
    PAGE_COMM_TEST_REQUEST = 87,
    PAGE_COMM_TEST_REPLY = 88,
    PAGE_REMOTE_SET_PAIRING = 89,
    PAGE_CLEAR_NETWORK_PAIRING = 90,
    PAGE_PAIRING_DEVICE_SEARCH = 91,
    PAGE_REMOTE_READ_PAIRING_INTERNAL = 92,
    PAGE_READ_AVAILABLE_NETWORKS = 93,
    PAGE_CLEAR_LOCAL_PAIRING = 94,
    PAGE_REMOTE_READ_PAIRING = 95,
    PAGE_FRAME_CONTROL_ONLY = 100,
};

// Controls of the main window (IDD_MAIN_TESTER) that one page shows together, in the order
// they are shown.
struct PageTable {
    int code;
    const int* ids;
    int count;
};

// The table of a page code; nullptr when the code has none.
const PageTable* FindPageTable(int code);

// Every table (the live ones first); *count receives their number.
const PageTable* AllPageTables(int* count);

// One item of the function tree; parentCode 0 for a root.
struct TreeItemDef {
    const char* text;
    int code;
    int parentCode;
};

// The local branch, then the remote branch, each root before its children, in insertion
// order; *count receives the number of items.
const TreeItemDef* FunctionTreeItems(int* count);
