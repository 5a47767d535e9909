// The control byte's lines.

#include "analyzer/control_field.h"

#include "analyzer/field_printers.h"
#include "link/field_tables.h"

DecodedControlField DecodeControlField(const ByteString& frame) {
    const uint8_t c = FrameByte(frame, 3);
    DecodedControlField cf;
    cf.direction = (c >> 7) & 1;
    cf.startFlag = (c >> 6) & 1;
    cf.respFlag = (c >> 5) & 1;
    cf.channelType = (c >> 3) & 3;
    return cf;
}

void PrintControlField(const ByteString& frame, std::string& text) {
    const DecodedControlField cf = DecodeControlField(frame);
    text += "控制域解析信息：\r\n";
    PrintDirection(cf, text);
    PrintStartFlag(cf, text);
    PrintRespFlag(cf, text);
    PrintChannelType(cf, text);
}

void PrintDirection(const DecodedControlField& cf, std::string& text) {
    text += "帧方向：  ";
    text += TextOfCode(kDirectionNames, cf.direction, "");
    text += ",";
    text += kCrLf;
}

void PrintStartFlag(const DecodedControlField& cf, std::string& text) {
    text += "启动标志位：  ";
    text += TextOfCode(kInitiatorNames, cf.startFlag, "");
    text += kCrLf;
}

void PrintRespFlag(const DecodedControlField& cf, std::string& text) {
    text += "RESP:     ";
    text += TextOfCode(kReplyStatusNames, cf.respFlag, "");
    text += "帧，";
    text += kCrLf;
}

void PrintChannelType(const DecodedControlField& cf, std::string& text) {
    text += "CHAN TYPE:    ";
    text += TextOfCode(kChannelTypeNames, cf.channelType, "");
    text += "\r\n\r\n";
}

int GetDirectionBit(const ByteString& frame) { return (FrameByte(frame, 3) >> 7) & 1; }

int GetRespBit(const ByteString& frame) { return (FrameByte(frame, 3) >> 5) & 1; }
