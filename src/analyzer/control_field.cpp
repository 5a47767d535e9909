// The control byte's lines.

#include "analyzer/control_field.h"

#include "analyzer/field_printers.h"
#include "link/field_tables.h"
#include "link/word_layouts.h"

DecodedControlField DecodeControlField(const ByteString& frame) {
    const uint8_t c = FrameByte(frame, 3);
    DecodedControlField cf;
    cf.direction = control_byte::kDirection.Get(c);
    cf.startFlag = control_byte::kInitiator.Get(c);
    cf.respFlag = control_byte::kReplyStatus.Get(c);
    cf.channelType = control_byte::kChannelType.Get(c);
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

int GetDirectionBit(const ByteString& frame) { return control_byte::kDirection.Get(FrameByte(frame, 3)); }

int GetRespBit(const ByteString& frame) { return control_byte::kReplyStatus.Get(FrameByte(frame, 3)); }
