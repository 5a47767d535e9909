// Analyzers of the device-search commands 0x17-0x1B.

#include "analyzer/search_analyzers.h"

#include "analyzer/analyzer.h"
#include "analyzer/analyzer_common.h"
#include "analyzer/field_printers.h"
#include "platform/text_format.h"

using analyzer_detail::Branch;
using analyzer_detail::ReadBranch;

namespace {

// The "SrcAddr", task id and multicast address of 0x1A and 0x1B, after their word. Returns
// false after the incomplete-frame text.
bool PrintAttributeHead(const ByteString& frame, std::string& text, int& cursor, uint8_t multicastFlag) {
    if (!FieldInside(frame, cursor, 6)) {
        text += kIncompleteFrameText;
        return false;
    }
    text += "SrcAddr:       ";
    PrintAddress(frame, text, &cursor);
    cursor += 6;

    if (!FieldInside(frame, cursor, 1)) {
        text += kIncompleteFrameText;
        return false;
    }
    AppendFormat(text, "task id:  0x %02x\r\n", FrameByte(frame, cursor));
    cursor += 1;

    if (multicastFlag == 1) {
        if (!FieldInside(frame, cursor, 2)) {
            text += kIncompleteFrameText;
            return false;
        }
        PrintMulticastAddress(frame, text, &cursor);
    }
    return true;
}

}  // namespace

DeviceInfoWord UnpackDeviceInfoWord(uint16_t word) {
    DeviceInfoWord w;
    w.depth = word & 0x0F;
    w.netState = (word >> 4) & 0x0F;
    w.deviceType = (word >> 8) & 0x0F;
    w.multicastFlag = (word >> 12) & 1;
    w.reserved = (word >> 13) & 7;
    return w;
}

void PrintSearchRange(uint8_t value, std::string& text) {
    text += "搜索范围：    ";
    switch (value) {
        case 0: text += "搜索所有设备"; break;
        case 1: text += "搜索同网设备"; break;
        case 2: text += "搜索未入网设备"; break;
        case 6: text += "RSV"; break;
        default: break;
    }
    text += kCrLf;
}

void PrintNetState(uint8_t value, std::string& text) {
    text += "NetState:  ";
    switch (value) {
        case 0: text += "不在网"; break;
        case 1: text += "属于自己的网络"; break;
        case 2: text += "属于其他网络"; break;
        case 3: text += "未知"; break;
        default: break;
    }
    text += kCrLf;
}

void PrintAttributeReplyState(uint8_t value, std::string& text) {
    text += "属性回复状态：    ";
    if (value == 0)
        text += "不参与设备搜索";
    else if (value == 1)
        text += "参与设备搜索";
    text += kCrLf;
}

void PrintSearchParams(const ByteString& frame, int position, std::string& text, SearchParamWord& fields) {
    const uint16_t word = FrameWord(frame, position);
    fields.sourceMode = word & 0x0F;
    fields.targetMode = (word >> 4) & 0x0F;
    fields.radius = (word >> 8) & 0x0F;
    fields.range = (word >> 12) & 7;
    fields.multicastFlag = (word >> 15) & 1;
    PrintSourceDeviceMode(fields.sourceMode, text);
    PrintTargetDeviceMode(fields.targetMode, text);
    AppendFormat(text, "搜索半径：    %d\r\n", fields.radius);
    PrintSearchRange(fields.range, text);
    PrintMulticastFlag(fields.multicastFlag, text);
}

void PrintDeviceInfoWord(std::string& text, const ByteString& frame, int& cursor, DeviceInfoWord& fields) {
    fields = UnpackDeviceInfoWord(FrameWord(frame, cursor));
    AppendFormat(text, "DEPTH:     %02d\r\n", fields.depth);
    PrintNetState(fields.netState, text);
    PrintTargetDeviceMode(fields.deviceType, text);
    PrintMulticastFlag(fields.multicastFlag, text);
    cursor += 2;
}

void PrintAttributeRequestWord(uint16_t word, std::string& text, AttributeRequestWord& fields) {
    fields.sourceMode = word & 0x0F;
    fields.targetMode = (word >> 4) & 0x0F;
    fields.multicastFlag = (word >> 8) & 1;
    PrintSourceDeviceMode(fields.sourceMode, text);
    PrintTargetDeviceMode(fields.targetMode, text);
    PrintMulticastFlag(fields.multicastFlag, text);
}

void UnpackAttributeReplyWord(uint16_t word, AttributeReplyWord& fields) {
    fields.sourceMode = word & 0x0F;
    fields.targetMode = (word >> 4) & 0x0F;
    fields.replyState = (word >> 8) & 1;
    fields.multicastFlag = (word >> 9) & 1;
}

int PrintAttribute(const ByteString& frame, std::string& text, int& cursor) {
    if (!FieldInside(frame, cursor, 1)) {
        text += kIncompleteFrameText;
        return -1;
    }
    const unsigned n = FrameByte(frame, cursor);
    AppendFormat(text, "属性长度: %u\r\n", n);
    cursor += 1;
    if (!FieldInside(frame, cursor, n)) {
        text += kIncompleteFrameText;
        return -1;
    }
    text += "属性: ";
    analyzer_detail::AppendByteCharacters(frame, text, cursor, n);
    text += "(0x";
    AppendReversedHex(frame, text, cursor, n);
    text += ")";
    text += kCrLf;
    cursor += static_cast<int>(n);
    return cursor;
}

int AnalyzeStartSearch(const ByteString& frame, std::string& text) {
    const Branch b = ReadBranch(frame);
    int cursor = 5;
    text += "发起设备搜索帧";
    text += kCrLf;
    if (b.dir == 1 && b.resp == 1) {
        if (b.length == 1) {
            text += "发起设备搜索帧异常状态为： ";
            PrintErrorStatus(FrameByte(frame, 5), text);
        } else {
            text += "其他异常帧";
        }
    } else if (b.dir == 1) {
        if (b.length == 0) text += "发起设备搜索成功";
    } else if (b.resp == 0) {
        if (b.length >= 3) {
            SearchParamWord params;
            PrintSearchParams(frame, cursor, text, params);
            cursor += 2;
            if (params.multicastFlag == 1) {
                if (!FieldInside(frame, cursor, 2)) {
                    text += kIncompleteFrameText;
                    return -1;
                }
                PrintMulticastAddress(frame, text, &cursor);
            }
            if (!FieldInside(frame, cursor, 1)) {
                text += kIncompleteFrameText;
                return -1;
            }
            const unsigned n = FrameByte(frame, cursor);
            AppendFormat(text, "属性长度: %u\r\n", n);
            cursor += 1;
            if (!FieldInside(frame, cursor, n)) {
                text += kIncompleteFrameText;
                return -1;
            }
            text += "属性: 0x";
            AppendHexRange(frame, text, cursor, n);
            cursor += static_cast<int>(n);
        } else {
            text += "回复帧错误";
        }
    }
    text += kCrLf;
    return cursor;
}

void AnalyzeStopSearch(const ByteString& frame, std::string& text) {
    const Branch b = ReadBranch(frame);
    text += "停止设备搜索帧";
    text += kCrLf;
    if (b.dir == 1 && b.resp == 1) {
        if (b.length == 1) {
            text += "发起设备搜索帧异常状态为： ";
            PrintErrorStatus(FrameByte(frame, 5), text);
        } else {
            text += "发起设备搜索帧异常回复帧错误";
        }
    } else if (b.dir == 1 && b.length == 0) {
        text += "停止设备搜索成功";
        text += kCrLf;
    }
}

void AnalyzeSearchReport(const ByteString& frame, std::string& text) {
    const Branch b = ReadBranch(frame);
    text += "设备搜索上报帧";
    text += kCrLf;
    if (b.dir == 1 && b.resp == 0) {
        // The count is one byte, so the loop ends after at most 255 devices; each reads
        // through FrameByte and zeros stand for what the frame lacks.
        const unsigned n = FrameByte(frame, 5);
        AppendFormat(text, "设备数目：    %02u\r\n", n);
        int cursor = 6;
        for (unsigned k = 1; k <= n; ++k) {
            AppendFormat(text, "设备%u: \r\n", k);
            text += "MAC地址： ";
            PrintAddress(frame, text, &cursor);
            cursor += 6;
            DeviceInfoWord info;
            PrintDeviceInfoWord(text, frame, cursor, info);
            if (info.multicastFlag == 1) PrintMulticastAddress(frame, text, &cursor);
            PrintAttribute(frame, text, cursor);
        }
    } else if (b.dir == 0 && b.resp == 1) {
        if (b.length == 1) {
            text += "设备上报异常状态为：   ";
            PrintErrorStatus(FrameByte(frame, 5), text);
        }
    } else if (b.dir == 0 && b.length == 0) {
        text += "设备上报成功";
    }
    text += kCrLf;
}

int AnalyzeRequestSearchAttribute(const ByteString& frame, std::string& text) {
    const Branch b = ReadBranch(frame);
    int cursor = 5;
    text += "申请设备搜索属性帧";
    text += kCrLf;
    if (b.dir == 1 && b.resp == 0) {
        if (b.length < 10) return cursor;
        if (!FieldInside(frame, cursor, 2)) {
            text += kIncompleteFrameText;
            return -1;
        }
        AttributeRequestWord word;
        PrintAttributeRequestWord(FrameWord(frame, cursor), text, word);
        cursor += 2;
        if (!PrintAttributeHead(frame, text, cursor, word.multicastFlag)) return -1;
        PrintAttribute(frame, text, cursor);
    } else if (b.dir == 0 && b.resp == 0) {
        if (b.length == 0) {
            text += "申请设备属性成功";
            text += kCrLf;
        }
    } else if (b.dir == 0) {
        if (b.length == 1) PrintStatusLine(frame, text);
    }
    return cursor;
}

int AnalyzeReplySearchAttribute(const ByteString& frame, std::string& text) {
    const Branch b = ReadBranch(frame);
    int cursor = 5;
    text += "回复设备搜索属性帧";
    text += kCrLf;
    if (b.dir == 0 && b.resp == 0) {
        if (b.length < 9) return cursor;
        if (!FieldInside(frame, cursor, 2)) {
            text += kIncompleteFrameText;
            return -1;
        }
        AttributeReplyWord word;
        UnpackAttributeReplyWord(FrameWord(frame, cursor), word);
        PrintSourceDeviceMode(word.sourceMode, text);
        PrintTargetDeviceMode(word.targetMode, text);
        PrintAttributeReplyState(word.replyState, text);
        PrintMulticastFlag(word.multicastFlag, text);
        cursor += 2;
        if (!PrintAttributeHead(frame, text, cursor, word.multicastFlag)) return -1;
        if (word.replyState == 1) PrintAttribute(frame, text, cursor);
    } else if (b.dir == 1 && b.resp == 0) {
        text += b.length == 0 ? "回复设备属性成功" : "回复设备属性帧失败";
    } else if (b.dir == 1) {
        if (b.length == 1)
            PrintStatusLine(frame, text);
        else
            text += "回复设备属性异常帧错误";
    }
    return cursor;
}
