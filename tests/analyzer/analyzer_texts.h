#pragma once
// The control-field block, spelled out apart from the analyzer.

#include <string>

namespace analyzer_texts {

inline std::string Header(unsigned char control) {
    static const char* const chan[] = {"TRM5281PLC", "Bluetooth", "WIFI", "TRM5207plc"};
    std::string s = "控制域解析信息：\r\n";
    s += (control & 0x80) ? "帧方向：  从机发出帧,\r\n" : "帧方向：  主机发出帧,\r\n";
    s += (control & 0x40) ? "启动标志位：  主动发起\r\n" : "启动标志位：  命令回应\r\n";
    s += (control & 0x20) ? "RESP:     异常应答帧，\r\n" : "RESP:     正常应答帧，\r\n";
    s += std::string("CHAN TYPE:    ") + chan[(control >> 3) & 3] + "\r\n\r\n";
    return s;
}

}  // namespace analyzer_texts
