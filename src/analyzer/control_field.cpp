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

void PrintDirection(const DecodedControlField& cf, TextPieces& out) {
    out << "帧方向：  " << TextOfCode(kDirectionNames, cf.direction, "") << ",\r\n";
}

void PrintStartFlag(const DecodedControlField& cf, TextPieces& out) {
    out << "启动标志位：  " << TextOfCode(kInitiatorNames, cf.startFlag, "") << "\r\n";
}

void PrintRespFlag(const DecodedControlField& cf, TextPieces& out) {
    out << "RESP:     " << TextOfCode(kReplyStatusNames, cf.respFlag, "") << "帧，\r\n";
}

void PrintChannelType(const DecodedControlField& cf, TextPieces& out) {
    out << "CHAN TYPE:    " << TextOfCode(kChannelTypeNames, cf.channelType, "") << "\r\n\r\n";
}

void PrintControlField(const ByteString& frame, std::string& text) {
    const DecodedControlField cf = DecodeControlField(frame);
    TextPieces out(text);
    out << "控制域解析信息：\r\n";
    PrintDirection(cf, out);
    PrintStartFlag(cf, out);
    PrintRespFlag(cf, out);
    PrintChannelType(cf, out);
}

int GetDirectionBit(const ByteString& frame) { return ReceivedFrame(frame).Direction(); }

int GetRespBit(const ByteString& frame) { return ReceivedFrame(frame).ReplyStatus(); }
