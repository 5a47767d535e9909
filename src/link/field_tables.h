#pragma once
// The codes of the frames' fields and their texts: one table per field, in code order (see
// link/code_text.h), shared by the analyzers and the combo boxes. The control byte's tables are
// in link/header_fields.h.

#include "link/code_text.h"
#include "link/header_fields.h"

// The status byte of an abnormal reply.
inline constexpr CodeText kErrorStatusNames[] = {{0, "错误的格式"}, {1, "错误的数据单元"}, {2, "错误的长度"},
                                                 {3, "指令字无效"}, {4, "RAM空间不足"},    {5, "错误的状态"}};

// Source and target device modes.
inline constexpr CodeText kDeviceModeNames[] = {{0, "不区分设备类型"},
                                                {1, "网关"},
                                                {2, "云服务器"},
                                                {3, "TRM5281/82 MAC地址", "TRM5281/82MAC地址"},
                                                {4, "TRM5207 MAC地址", "RM5207MAC地址"},
                                                {5, "Bluetooth MAC地址", "BLEMAC地址"}};

inline constexpr CodeText kPasswordModeNames[] = {{0, "初始网络口令", "00: 初始网络口令"},
                                                  {1, "用户网络口令", "01: 用户网络口令"}};
inline constexpr CodeText kMulticastFlagNames[] = {{0, "非组播", "00: 非组播"}, {1, "组播", "01: 组播地址"}};
inline constexpr CodeText kPriorityNames[] = {{0, "低", "Normal"}, {1, "高", "High"}};

// Device search.
inline constexpr CodeText kSearchScopeNames[] = {
    {0, "搜索所有设备"}, {1, "搜索同网设备"}, {2, "搜索未入网设备"}, {6, "RSV"}};
inline constexpr CodeText kNetStateNames[] = {{0, "不在网"}, {1, "属于自己的网络"}, {2, "属于其他网络"}, {3, "未知"}};
inline constexpr CodeText kSearchParticipationNames[] = {{0, "不参与设备搜索", "不参与搜索"},
                                                         {1, "参与设备搜索", "参与搜索"}};

// Remote network password.
inline constexpr CodeText kDecryptResultNames[] = {{0, "无法解密"}, {1, "解密新密钥成功"}, {2, "解密老密钥成功"}};
inline constexpr CodeText kChangeResultNames[] = {{0, "修改失败", "拒绝修改"}, {1, "修改成功", "同意修改"}};

// Network parameters: serial line and carrier.
inline constexpr CodeText kBaudRateNames[] = {{0, "600"},    {1, "1200"},   {2, "2400"},  {3, "4800"},
                                              {4, "9600"},   {5, "14400"},  {6, "19200"}, {7, "38400"},
                                              {8, "56000"},  {9, "57600"},  {10, "115200"}};
inline constexpr CodeText kParityNames[] = {{0, "None"}, {1, "Even"}, {2, "Odd"}};
inline constexpr CodeText kStopBitsNames[] = {{0, "1"}, {1, "2"}};
inline constexpr CodeText kBandNames[] = {{0, "131"}, {1, "411"}};
inline constexpr CodeText kPowerLevelNames[] = {{0, "0 档"}, {1, "1 档"}, {2, "2 档"}, {3, "3 档"}};

// Module restart.
inline constexpr CodeText kRestartResultNames[] = {{0, "重启失败"}, {1, "重启成功"}};
inline constexpr CodeText kRestartFailureNames[] = {{1, "升级中"}};

// Remote commands.
// The LWIP mode set on a remote device.
inline constexpr CodeText kSetTypeNames[] = {{0, "关闭", "0: 关闭"}, {1, "打开", "1: 打开"}};
inline constexpr CodeText kVersionTypeNames[] = {{0, "boot版本"}, {1, "固件版本"}, {2, "分层应用版本"}, {3, "其他版本"}};
// The kind of an upgrade image.
inline constexpr CodeText kUpgradeBinTypeNames[] = {
    {0, "升级boot"}, {1, "升级分层编译固件"}, {2, "升级分开编译上层应用"}, {3, "升级非分层编译程序"}};

// Execution-state report.
inline constexpr CodeText kExceptionCodeNames[] = {{0, "无效路径"}, {1, "csma失败"}, {2, "通信失败回复错误帧"}};

// Connection management: the link state, the IP flag, the transfer mode and the phase (each
// phase name six GBK bytes, blanks included). The connection type is the protocol's table.
inline constexpr CodeText kConnectionStateNames[] = {{0, "无法连接"}, {1, "连接丢失"}, {2, "连接成功"}};
inline constexpr CodeText kIpFlagNames[] = {{0, "MAC寻址报文"}, {1, "IP报文"}};
inline constexpr CodeText kTransferModeNames[] = {{0, "广播"}, {1, "连接"}};
inline constexpr CodeText kPhaseNames[] = {{0, "未知  "}, {1, "A相   "}, {2, "B相   "}, {3, "C相   "}};

// Connection pages.
inline constexpr CodeText kProtocolNames[] = {{0, "不区分", "0:不区分"}, {1, "UDP", "1:UDP"}, {2, "TCP", "2:TCP"}};
// A TCP/IP connection's type and its socket's state (the analyzer's texts keep their blanks).
inline constexpr CodeText kTransportNames[] = {{0, "UDP", "0:UDP"}, {1, "TCP", "1:TCP"}};
inline constexpr CodeText kTcpStateNames[] = {{0, "SOCKET 不存在", "不存在"},
                                              {1, " Socket连接中", "连接中"},
                                              {2, " Socket无法建立连接", "无法建立连接"},
                                              {3, "Socket连接丢失", "连接丢失"},
                                              {4, " Socket建立连接成功", "建立连接成功"}};

// Test data: the modulation word and the PB byte.
inline constexpr CodeText kModulationNames[] = {
    {1, "MM_BPSK", "1:MM_BPSK"}, {2, "MM_QPSK", "2:MM_QPSK"}, {3, "MM_8QAM", "3:MM_8QAM"}, {4, "MM_16QAM", "4:MM_16QAM"}};
inline constexpr CodeText kCopiesNames[] = {{1, "1"}, {2, "2"}, {4, "4"}, {5, "5"}, {7, "7"}, {11, "11"}};
inline constexpr CodeText kFecRateNames[] = {{0, "FEC_RATE_1_2"}, {1, "FEC_RATE_16_21"}, {2, "FEC_RATE_16_18"}};
inline constexpr CodeText kPbBlockNames[] = {{0, "136pb块", "0:136pb块"}, {1, "520pb块", "1:520pb块"}};

// Pairing: the automatic pairing report's result, the host's verdict on a pairing search request,
// and the device search's rule (the panel's rule combo offers the choice texts).
inline constexpr CodeText kAutoPairResultNames[] = {{0, "配对成功"}, {1, "等待配对超2个"}};
inline constexpr CodeText kPairSearchVerdictNames[] = {{0, "不符合搜索规则，不回复"}, {1, "符合搜索规则，回复"}};
inline constexpr CodeText kPairingSearchRuleNames[] = {
    {0, "搜索所有配对到PANID的节点", "0x00 所有配对节点"},
    {1, "搜索所有未配对过得节点", "0x01 所有未配过节点"},
    {2, "搜索所有配对过，但是不属于本PANID的节点", "0x02: 所有配过，但不属于本PANID"}};
