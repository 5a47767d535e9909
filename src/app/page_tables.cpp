// Control tables of the pages and the items of the function tree.

#include "app/page_tables.h"

#include <cstddef>

namespace {

template <typename T, std::size_t N>
constexpr int Count(const T (&)[N]) {
    return static_cast<int>(N);
}

// Group box, labels and combo boxes of the frame header; every page but the pass-through
// page begins with it.
#define FRAME_CONTROL_GROUP 1524, 1517, 1797, 1520, 1522, 1518, 1798, 1521, 1523
// Address list with its label, buttons and check boxes.
#define ADDRESS_LIST_BLOCK 1015, 1271, 1267, 1059, 1022, 1917, 1409, 1916
// Source and destination IP address and port of a TCP/IP connection.
#define SOCKET_PAIR 1899, 1900, 1901, 1902, 1895, 1896, 1897, 1898

// Live pages: the tree carries their codes.

// Meter reading in rounds.
const int kRoundReading[] = {
    FRAME_CONTROL_GROUP, 1008, 3032, 3016, 3017, 3033, 3034, 3006, 3007, 3008, 3009, 3010,
    3011, 3012, 3013, 3014, 3015, 3018, 3019, 3020, 3021, 3022, 3023, 3024, 3025, 3026, 3027,
    3028, 3029, 3030, 3031,
};

// Pass-through; the one page without the frame-control group.
const int kPassThrough[] = {
    1008, 3035, 3036, 3037, 1402,
};

// Frame text generation.
const int kCustomFrame[] = {
    FRAME_CONTROL_GROUP, 3049, 3050, 3052, 3053, 3054, 3055, 3056, 3057,
};

// Network parameters.
const int kSetNetworkParams[] = {
    FRAME_CONTROL_GROUP, 1272, 1008, 1591, 1012, 1587, 1588, 1745, 1977, 2008, 2009, 1992,
    1993, 1933, 1543, 1858, 1859,
};

// Send data.
const int kSendData[] = {
    FRAME_CONTROL_GROUP, 3047, 1630, 1636, 1008, 1601, 1541, 1542, 3002, 3003, 1939, 1940,
    3004, 3005, 1639, 1631, 1638, 1635, 1500, 1317, 1012,
};

// Device search.
const int kStartSearch[] = {
    FRAME_CONTROL_GROUP, 1629, 1008, 1012, 1603, 1604, 1812, 1814, 1635, 1639, 1834, 1607,
    1816,
};

// Reply of the search attributes.
const int kAnswerSearch[] = {
    FRAME_CONTROL_GROUP, 1629, 1008, 1012, 1880, 1545, 1546, 1635, 1639, 1881, 1882, 1883,
    1884,
};

// Remote user password setting.
const int kRemotePasswordSet[] = {
    FRAME_CONTROL_GROUP, 3048, 1637, 1641, 1008, 1012, 1609, 1804, 1805, 1555, 1556, 1557,
    1558, 1610, 1611, 1613, 1614, 1009,
};

// User network password; list 1637 is stretched when the page is shown.
const int kSetUserPassword[] = {
    FRAME_CONTROL_GROUP, 1008, 1012, 1608, 1637, 1610, 1611, 1613, 1614, 1009,
};

// Dormant pages: one per command of the main window that the live pages do not show,
// each with the fields its sender reads and the log it writes.

// Execution-state report (0x10).
const int kExecStateReport[] = {
    FRAME_CONTROL_GROUP, 1272, 1008, 1012, 1553, 1541, 1542, 3002, 3003, 1545, 1546, 1547,
    1548, 1549, 1550, 1527, 1528,
};

// Start connection (0x11).
const int kStartConnection[] = {
    FRAME_CONTROL_GROUP, 1272, 1008, 1012, 1616, 1541, 1542, 3002, 3003, 1545, 1546, 1619,
    1856,
};

// Link state report (0x12).
const int kLinkStateReport[] = {
    FRAME_CONTROL_GROUP, 1272, 1008, 1012, 1860, 1541, 1542, 3002, 3003, 1545, 1546,
};

// Delete connection (0x13).
const int kDeleteConnection[] = {
    FRAME_CONTROL_GROUP, 1272, 1008, 1012, 1622, 1541, 1542, 3002, 3003, 1545, 1546,
};

// Broadcast (0x16), single and repeated.
const int kBroadcast[] = {
    FRAME_CONTROL_GROUP, 3047, 1630, 1636, 1008, 1012, 1803, 2072, 2075, 1541, 1542, 3002,
    3003, 1939, 1940, 1594, 1595, 1598, 1599, 1596, 1597, 1893, 1894, 1634, 1640, 1635, 1639,
    2073, 1868,
};

// Device report (0x19).
const int kDeviceReport[] = {
    FRAME_CONTROL_GROUP, 1272, 1008, 1012, 1565, 1564, 1562, 1563,
};

// Request of the search attributes (0x1A).
const int kRequestSearchAttributes[] = {
    FRAME_CONTROL_GROUP, 1629, 1008, 1012, 1879, 1541, 1542, 3002, 3003, 1545, 1546, 1594,
    1595, 1883, 1884, 1634, 1640, 1635, 1639,
};

// Answer to a remote password setting (0x1E).
const int kAnswerRemotePassword[] = {
    FRAME_CONTROL_GROUP, 3048, 1637, 1641, 1008, 1012, 1809, 1541, 1542, 3002, 3003, 1598,
    1599, 1594, 1595, 1980, 1981, 1804, 1805, 1828, 1829,
};

// Slave reply to a remote password setting (0x1F).
const int kSlavePasswordReply[] = {
    FRAME_CONTROL_GROUP, 1272, 1008, 1012, 1817, 1541, 1542, 3002, 3003, 1822, 1823, 1804,
    1805, 1828, 1829,
};

// Local tone (0x20).
const int kLocalTone[] = {
    FRAME_CONTROL_GROUP, 1272, 1008, 1012, 1936, 1933, 1543, 1934, 1935, 1937,
};

// Remote backbone password request (0x21).
const int kRemoteBackboneRequest[] = {
    FRAME_CONTROL_GROUP, 3047, 1630, 1636, 1008, 1012, 1986, 1804, 1805, 1555, 1556, 1557,
    1558, 1610, 1611, 1613, 1614, 1009,
};

// Slave backbone password request (0x22).
const int kSlaveBackboneRequest[] = {
    FRAME_CONTROL_GROUP, 3047, 1630, 1636, 1008, 1012, 1984, 1541, 1542, 3002, 3003, 1822,
    1823, 1824, 1825, 1804, 1805, 1557, 1558, 1009,
};

// Remote backbone password reply (0x23).
const int kRemoteBackboneReply[] = {
    FRAME_CONTROL_GROUP, 1272, 1008, 1012, 1987, 1541, 1542, 3002, 3003, 1598, 1599, 1594,
    1595, 1980, 1981, 1804, 1805, 1828, 1829,
};

// Slave backbone password reply (0x24).
const int kSlaveBackboneReply[] = {
    FRAME_CONTROL_GROUP, 1272, 1008, 1012, 1985, 1541, 1542, 3002, 3003, 1822, 1823, 1804,
    1805, 1828, 1829,
};

// Remote multicast group request (0x25).
const int kRemoteMulticastRequest[] = {
    FRAME_CONTROL_GROUP, 3047, 1630, 1636, 1008, 1012, 1998, 1999, 1541, 1542, 3002, 3003,
    1594, 1595, 1883, 1884, 1545, 1546, 2000, 2001, 2002, 2003, 2004, 2005, 2006, 2007,
};

// Remote multicast group reply (0x27).
const int kRemoteMulticastReply[] = {
    FRAME_CONTROL_GROUP, 3047, 1630, 1636, 1008, 1012, 2010, 1541, 1542, 3002, 3003, 1594,
    1595, 1883, 1884, 1545, 1546, 1881, 1882,
};

// TCP/IP mode (0x30).
const int kEnableTcpip[] = {
    FRAME_CONTROL_GROUP, 1272, 1008, 1012, 1931,
};

// Read the local network port (0x31).
const int kReadNetport[] = {
    FRAME_CONTROL_GROUP, 1272, 1008, 1012, 1836,
};

// Set the local network port (0x32).
const int kSetNetport[] = {
    FRAME_CONTROL_GROUP, 3047, 1630, 1636, 1008, 1012, 1837, 1838, 1853, 1841, 1850, 1843,
    1852, 1845, 1851, 1847, 1849,
};

// DNS resolution (0x33).
const int kDnsResolve[] = {
    FRAME_CONTROL_GROUP, 1272, 1008, 1012, 1861, 1862, 1864, 1865,
};

// DNS resolution report (0x34).
const int kDnsReport[] = {
    FRAME_CONTROL_GROUP, 1272, 1008, 1012, 1866, 1864, 1865, 1838, 1853,
};

// TCP connection state report (0x35).
const int kTcpStateReport[] = {
    FRAME_CONTROL_GROUP, 1272, 1008, 1012, 1903, SOCKET_PAIR, 1904, 1905,
};

// TCP connection state query (0x36).
const int kTcpStateQuery[] = {
    FRAME_CONTROL_GROUP, 1272, 1008, 1012, 1914, SOCKET_PAIR,
};

// TCP connect (0x37).
const int kTcpConnect[] = {
    FRAME_CONTROL_GROUP, 1272, 1008, 1012, 1906, 1907, 1908, SOCKET_PAIR,
};

// TCP disconnect (0x38).
const int kTcpDisconnect[] = {
    FRAME_CONTROL_GROUP, 1272, 1008, 1012, 1909, SOCKET_PAIR,
};

// TCP/IP send data (0x39).
const int kTcpSendData[] = {
    FRAME_CONTROL_GROUP, 1272, 1008, 1012, 1910, SOCKET_PAIR, 1911, 1912,
};

// TCP receive data (0x3A).
const int kTcpReceiveData[] = {
    FRAME_CONTROL_GROUP, 1272, 1008, 1012, 1913, SOCKET_PAIR, 1911, 1912,
};

// Device search with the repeated search.
const int kRepeatedSearch[] = {
    FRAME_CONTROL_GROUP, 1629, 1008, 1012, 1603, 1604, 1812, 1814, 1635, 1639, 1834, 1607,
    1869, 1870, 2073, 1868,
};

// Raw bytes without framing.
const int kRawSend[] = {
    FRAME_CONTROL_GROUP, 1272, 1008, 1012, 1831, 1832, 1833,
};

// Frame test from a typed command byte and data.
const int kFrameTest[] = {
    FRAME_CONTROL_GROUP, 1272, 1008, 1012, 1889, 1890, 1891, 1014, 1892,
};

// Data test over the address list.
const int kDataTest[] = {
    FRAME_CONTROL_GROUP, 3047, 1630, 1636, 1008, ADDRESS_LIST_BLOCK, 1651, 1541, 1542, 3002,
    3003, 1939, 1940, 3004, 3005, 1635, 1639,
};

// Upgrade and version test over the address list.
const int kUpgrade[] = {
    FRAME_CONTROL_GROUP, 1272, 1008, ADDRESS_LIST_BLOCK, 1269, 1268, 1408, 1491, 1445, 1446,
    1745, 1977, 2008, 2009,
};

// Single point reading.
const int kRemotePointRead[] = {
    FRAME_CONTROL_GROUP, 1272, 1008, 1012, 1754, 2045, 1752, 1753, 1994, 1995, 1545, 1546,
    1594, 1595, 1992, 1993,
};

// Automatic point reading over the address list.
const int kAutoPointRead[] = {
    FRAME_CONTROL_GROUP, 1272, 1008, ADDRESS_LIST_BLOCK, 1755, 1756, 1796, 1794, 1795, 1793,
    1971, 1752, 1753, 1594, 1595, 1992, 1993,
};

// Reset information reading and clearing over the address list.
const int kResetInfo[] = {
    FRAME_CONTROL_GROUP, 1272, 1008, ADDRESS_LIST_BLOCK, 1971, 1976, 1796, 1794, 1795, 1594,
    1595,
};

// Parameter configuration over the address list.
const int kConfigParams[] = {
    FRAME_CONTROL_GROUP, 1272, 1008, ADDRESS_LIST_BLOCK, 2038, 1516, 2037, 1178, 1294,
};

// Image comparison; its result pane leaves no room for the frame-control group.
const int kImageCompare[] = {
    2041, 2042, 2044, 2043,
};

// Stop search (0x18).
const int kStopSearch[] = {
    FRAME_CONTROL_GROUP, 1629, 1008, 1012, 1816,
};

// Address list alone.
const int kAddressList[] = {
    FRAME_CONTROL_GROUP, ADDRESS_LIST_BLOCK,
};

#undef FRAME_CONTROL_GROUP
#undef ADDRESS_LIST_BLOCK
#undef SOCKET_PAIR

const PageTable kPageTables[] = {
    {PAGE_ROUND_READING, kRoundReading, Count(kRoundReading)},
    {PAGE_PASS_THROUGH, kPassThrough, Count(kPassThrough)},
    {PAGE_CUSTOM_FRAME, kCustomFrame, Count(kCustomFrame)},
    {PAGE_SET_NETWORK_PARAMS, kSetNetworkParams, Count(kSetNetworkParams)},
    {PAGE_SEND_DATA, kSendData, Count(kSendData)},
    {PAGE_START_SEARCH, kStartSearch, Count(kStartSearch)},
    {PAGE_ANSWER_SEARCH, kAnswerSearch, Count(kAnswerSearch)},
    {PAGE_REMOTE_PASSWORD_SET, kRemotePasswordSet, Count(kRemotePasswordSet)},
    {PAGE_SET_USER_PASSWORD, kSetUserPassword, Count(kSetUserPassword)},
    {PAGE_EXEC_STATE_REPORT, kExecStateReport, Count(kExecStateReport)},
    {PAGE_START_CONNECTION, kStartConnection, Count(kStartConnection)},
    {PAGE_LINK_STATE_REPORT, kLinkStateReport, Count(kLinkStateReport)},
    {PAGE_DELETE_CONNECTION, kDeleteConnection, Count(kDeleteConnection)},
    {PAGE_BROADCAST, kBroadcast, Count(kBroadcast)},
    {PAGE_DEVICE_REPORT, kDeviceReport, Count(kDeviceReport)},
    {PAGE_REQUEST_SEARCH_ATTRIBUTES, kRequestSearchAttributes, Count(kRequestSearchAttributes)},
    {PAGE_ANSWER_REMOTE_PASSWORD, kAnswerRemotePassword, Count(kAnswerRemotePassword)},
    {PAGE_SLAVE_PASSWORD_REPLY, kSlavePasswordReply, Count(kSlavePasswordReply)},
    {PAGE_LOCAL_TONE, kLocalTone, Count(kLocalTone)},
    {PAGE_REMOTE_BACKBONE_REQUEST, kRemoteBackboneRequest, Count(kRemoteBackboneRequest)},
    {PAGE_SLAVE_BACKBONE_REQUEST, kSlaveBackboneRequest, Count(kSlaveBackboneRequest)},
    {PAGE_REMOTE_BACKBONE_REPLY, kRemoteBackboneReply, Count(kRemoteBackboneReply)},
    {PAGE_SLAVE_BACKBONE_REPLY, kSlaveBackboneReply, Count(kSlaveBackboneReply)},
    {PAGE_REMOTE_MULTICAST_REQUEST, kRemoteMulticastRequest, Count(kRemoteMulticastRequest)},
    {PAGE_REMOTE_MULTICAST_REPLY, kRemoteMulticastReply, Count(kRemoteMulticastReply)},
    {PAGE_ENABLE_TCPIP, kEnableTcpip, Count(kEnableTcpip)},
    {PAGE_READ_NETPORT, kReadNetport, Count(kReadNetport)},
    {PAGE_SET_NETPORT, kSetNetport, Count(kSetNetport)},
    {PAGE_DNS_RESOLVE, kDnsResolve, Count(kDnsResolve)},
    {PAGE_DNS_REPORT, kDnsReport, Count(kDnsReport)},
    {PAGE_TCP_STATE_REPORT, kTcpStateReport, Count(kTcpStateReport)},
    {PAGE_TCP_STATE_QUERY, kTcpStateQuery, Count(kTcpStateQuery)},
    {PAGE_TCP_CONNECT, kTcpConnect, Count(kTcpConnect)},
    {PAGE_TCP_DISCONNECT, kTcpDisconnect, Count(kTcpDisconnect)},
    {PAGE_TCP_SEND_DATA, kTcpSendData, Count(kTcpSendData)},
    {PAGE_TCP_RECEIVE_DATA, kTcpReceiveData, Count(kTcpReceiveData)},
    {PAGE_REPEATED_SEARCH, kRepeatedSearch, Count(kRepeatedSearch)},
    {PAGE_RAW_SEND, kRawSend, Count(kRawSend)},
    {PAGE_FRAME_TEST, kFrameTest, Count(kFrameTest)},
    {PAGE_DATA_TEST, kDataTest, Count(kDataTest)},
    {PAGE_UPGRADE, kUpgrade, Count(kUpgrade)},
    {PAGE_REMOTE_POINT_READ, kRemotePointRead, Count(kRemotePointRead)},
    {PAGE_AUTO_POINT_READ, kAutoPointRead, Count(kAutoPointRead)},
    {PAGE_RESET_INFO, kResetInfo, Count(kResetInfo)},
    {PAGE_CONFIG_PARAMS, kConfigParams, Count(kConfigParams)},
    {PAGE_IMAGE_COMPARE, kImageCompare, Count(kImageCompare)},
    {PAGE_STOP_SEARCH, kStopSearch, Count(kStopSearch)},
    {PAGE_ADDRESS_LIST, kAddressList, Count(kAddressList)},
};

const TreeItemDef kTreeItems[] = {
    {"本地功能调试", PAGE_LOCAL_ROOT, 0},
    {"轮抄", PAGE_ROUND_READING, PAGE_LOCAL_ROOT},
    {"透明传输", PAGE_PASS_THROUGH, PAGE_LOCAL_ROOT},
    {"自组报文", PAGE_CUSTOM_FRAME, PAGE_LOCAL_ROOT},
    {"模块重启", PAGE_MODULE_RESTART, PAGE_LOCAL_ROOT},
    {"读取版本信息", PAGE_READ_VERSION, PAGE_LOCAL_ROOT},
    {"读取MAC地址", PAGE_READ_MAC, PAGE_LOCAL_ROOT},
    {"读取通信地址", PAGE_READ_COMM_ADDRESS, PAGE_LOCAL_ROOT},
    {"设置通信地址", PAGE_SET_COMM_ADDRESS, PAGE_LOCAL_ROOT},
    {"读取用户网络口令", PAGE_READ_USER_PASSWORD, PAGE_LOCAL_ROOT},
    {"设置用户网络口令", PAGE_SET_USER_PASSWORD, PAGE_LOCAL_ROOT},
    {"读取网络参数", PAGE_READ_NETWORK_PARAMS, PAGE_LOCAL_ROOT},
    {"设置网络参数", PAGE_SET_NETWORK_PARAMS, PAGE_LOCAL_ROOT},
    {"发送数据", PAGE_SEND_DATA, PAGE_LOCAL_ROOT},
    {"发起设备搜索", PAGE_START_SEARCH, PAGE_LOCAL_ROOT},
    {"响应设备搜索", PAGE_ANSWER_SEARCH, PAGE_LOCAL_ROOT},
    {"发起远程用户口令设置", PAGE_REMOTE_PASSWORD_SET, PAGE_LOCAL_ROOT},
    {"远程调试功能", PAGE_REMOTE_ROOT, 0},
    {"远程读取版本信息", PAGE_REMOTE_READ_VERSION, PAGE_REMOTE_ROOT},
    {"远程读取MAC地址", PAGE_REMOTE_READ_MAC, PAGE_REMOTE_ROOT},
    {"远程读取网络参数", PAGE_REMOTE_READ_NETWORK_PARAMS, PAGE_REMOTE_ROOT},
};

}  // namespace

const PageTable* FindPageTable(int code) {
    for (const PageTable& t : kPageTables) {
        if (t.code == code) return &t;
    }
    return nullptr;
}

const PageTable* AllPageTables(int* count) {
    if (count) *count = Count(kPageTables);
    return kPageTables;
}

const TreeItemDef* FunctionTreeItems(int* count) {
    if (count) *count = Count(kTreeItems);
    return kTreeItems;
}
