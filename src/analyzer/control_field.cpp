// The control byte's lines.

#include "analyzer/control_field.h"

#include "analyzer/field_printers.h"
#include "analyzer/text_pieces.h"
#include "link/field_tables.h"
#include "link/received_frame.h"

DecodedControlField DecodeControlField(const ByteString& frame) {
    const ReceivedFrame f(frame);
    return DecodedControlField{f.Direction(), f.Initiator(), f.ReplyStatus(), f.ChannelType()};
}

namespace {

void DirectionLine(const DecodedControlField& cf, TextPieces& out) {
    out << "帧方向：  " << TextOfCode(kDirectionNames, cf.direction, "") << ",\r\n";
}

void StartFlagLine(const DecodedControlField& cf, TextPieces& out) {
    out << "启动标志位：  " << TextOfCode(kInitiatorNames, cf.startFlag, "") << "\r\n";
}

void RespFlagLine(const DecodedControlField& cf, TextPieces& out) {
    out << "RESP:     " << TextOfCode(kReplyStatusNames, cf.respFlag, "") << "帧，\r\n";
}

void ChannelTypeLines(const DecodedControlField& cf, TextPieces& out) {
    out << "CHAN TYPE:    " << TextOfCode(kChannelTypeNames, cf.channelType, "") << "\r\n\r\n";
}

}  // namespace

void PrintControlField(const ByteString& frame, std::string& text) {
    const DecodedControlField cf = DecodeControlField(frame);
    TextPieces out(text);
    out << "控制域解析信息：\r\n";
    DirectionLine(cf, out);
    StartFlagLine(cf, out);
    RespFlagLine(cf, out);
    ChannelTypeLines(cf, out);
}

void PrintDirection(const DecodedControlField& cf, std::string& text) {
    TextPieces out(text);
    DirectionLine(cf, out);
}

void PrintStartFlag(const DecodedControlField& cf, std::string& text) {
    TextPieces out(text);
    StartFlagLine(cf, out);
}

void PrintRespFlag(const DecodedControlField& cf, std::string& text) {
    TextPieces out(text);
    RespFlagLine(cf, out);
}

void PrintChannelType(const DecodedControlField& cf, std::string& text) {
    TextPieces out(text);
    ChannelTypeLines(cf, out);
}

int GetDirectionBit(const ByteString& frame) { return ReceivedFrame(frame).Direction(); }

int GetRespBit(const ByteString& frame) { return ReceivedFrame(frame).ReplyStatus(); }
