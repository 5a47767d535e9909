// Analyzers of the device-search commands 0x17-0x1B.

#include "analyzer/search_analyzers.h"

#include "analyzer/analyzer_common.h"
#include "analyzer/field_printers.h"
#include "link/field_tables.h"
#include "link/word_layouts.h"
#include "platform/text_format.h"

using analyzer_detail::Branch;
using analyzer_detail::ReadBranch;

namespace {

// The "SrcAddr", task id and multicast address of 0x1A and 0x1B, after their word. Returns
// false after the incomplete-frame text.
bool PrintAttributeHead(FrameReader& in, std::string& text, uint8_t multicastFlag) {
    if (!in.Need(6)) return false;
    text += "SrcAddr:       ";
    PrintAddress(in, text);
    if (!in.Need(1)) return false;
    AppendFormat(text, "task id:  0x %02x\r\n", in.ByteOrZero());
    return multicastFlag != 1 || PrintMulticastAddressChecked(in, text);
}

}  // namespace

DeviceInfoWord UnpackDeviceInfoWord(uint16_t word) {
    DeviceInfoWord w;
    using namespace device_info_word;
    w.depth = kDepth.Get(word);
    w.netState = kNetState.Get(word);
    w.deviceType = kDeviceType.Get(word);
    w.multicastFlag = kMulticast.Get(word);
    w.reserved = kReserved.Get(word);
    return w;
}

void PrintSearchRange(uint8_t value, std::string& text) {
    text += "搜索范围：    ";
    text += TextOfCode(kSearchScopeNames, value, "");
    text += kCrLf;
}

void PrintNetState(uint8_t value, std::string& text) {
    text += "NetState:  ";
    text += TextOfCode(kNetStateNames, value, "");
    text += kCrLf;
}

void PrintAttributeReplyState(uint8_t value, std::string& text) {
    text += "属性回复状态：    ";
    text += TextOfCode(kSearchParticipationNames, value, "");
    text += kCrLf;
}

void PrintSearchParams(uint16_t word, std::string& text, SearchParamWord& fields) {
    using namespace search_param_word;
    fields.sourceMode = kSourceMode.Get(word);
    fields.targetMode = kTargetMode.Get(word);
    fields.radius = kRadius.Get(word);
    fields.range = kRange.Get(word);
    fields.multicastFlag = kMulticast.Get(word);
    PrintSourceDeviceMode(fields.sourceMode, text);
    PrintTargetDeviceMode(fields.targetMode, text);
    AppendFormat(text, "搜索半径：    %d\r\n", fields.radius);
    PrintSearchRange(fields.range, text);
    PrintMulticastFlag(fields.multicastFlag, text);
}

DeviceInfoWord PrintDeviceInfoWord(uint16_t word, std::string& text) {
    const DeviceInfoWord fields = UnpackDeviceInfoWord(word);
    AppendFormat(text, "DEPTH:     %02d\r\n", fields.depth);
    PrintNetState(fields.netState, text);
    PrintTargetDeviceMode(fields.deviceType, text);
    PrintMulticastFlag(fields.multicastFlag, text);
    return fields;
}

void PrintAttributeRequestWord(uint16_t word, std::string& text, AttributeRequestWord& fields) {
    using namespace attribute_request_word;
    fields.sourceMode = kSourceMode.Get(word);
    fields.targetMode = kTargetMode.Get(word);
    fields.multicastFlag = kMulticast.Get(word);
    PrintSourceDeviceMode(fields.sourceMode, text);
    PrintTargetDeviceMode(fields.targetMode, text);
    PrintMulticastFlag(fields.multicastFlag, text);
}

void UnpackAttributeReplyWord(uint16_t word, AttributeReplyWord& fields) {
    using namespace attribute_reply_word;
    fields.sourceMode = kSourceMode.Get(word);
    fields.targetMode = kTargetMode.Get(word);
    fields.replyState = kReplyState.Get(word);
    fields.multicastFlag = kMulticast.Get(word);
}

bool PrintAttribute(FrameReader& in, std::string& text) {
    const unsigned n = in.Byte();
    if (!in.ok()) return false;
    AppendFormat(text, "属性长度: %u\r\n", n);
    const ByteString attribute = in.Bytes(n);
    if (!in.ok()) return false;
    text += "属性: ";
    AppendByteCharacters(attribute, text);
    text += "(0x";
    AppendHexReversed(attribute, text);
    text += ")";
    text += kCrLf;
    return true;
}

int AnalyzeStartSearch(const ByteString& frame, std::string& text) {
    const Branch b = ReadBranch(frame);
    FrameReader in(frame, text);
    text += "发起设备搜索帧";
    text += kCrLf;
    if (b.dir == 1 && b.resp == 1) {
        if (b.length == 1) {
            text += "发起设备搜索帧异常状态为： ";
            PrintErrorStatus(b.status, text);
        } else {
            text += "其他异常帧";
        }
    } else if (b.dir == 1) {
        if (b.length == 0) text += "发起设备搜索成功";
    } else if (b.resp == 0) {
        if (b.length >= 3) {
            SearchParamWord params;
            PrintSearchParams(in.Word16OrZero(), text, params);
            if (params.multicastFlag == 1 && !PrintMulticastAddressChecked(in, text)) return -1;
            const unsigned n = in.Byte();
            if (!in.ok()) return -1;
            AppendFormat(text, "属性长度: %u\r\n", n);
            const ByteString attribute = in.Bytes(n);
            if (!in.ok()) return -1;
            text += "属性: 0x";
            AppendHex(attribute, text);
        } else {
            text += "回复帧错误";
        }
    }
    text += kCrLf;
    return in.Position();
}

void AnalyzeStopSearch(const ByteString& frame, std::string& text) {
    const Branch b = ReadBranch(frame);
    text += "停止设备搜索帧";
    text += kCrLf;
    if (b.dir == 1 && b.resp == 1) {
        if (b.length == 1) {
            text += "发起设备搜索帧异常状态为： ";
            PrintErrorStatus(b.status, text);
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
    if (b.normalAnswer) {
        // The count is one byte, so the loop ends after at most 255 devices; zeros stand for
        // what the frame lacks. Each device has a reader of its own, so an attribute that does
        // not fit is reported for its device and the next device is read after it.
        FrameReader count(frame, text);
        const unsigned n = count.ByteOrZero();
        AppendFormat(text, "设备数目：    %02u\r\n", n);
        int next = count.Position();
        for (unsigned k = 1; k <= n; ++k) {
            FrameReader in(frame, text, next);
            AppendFormat(text, "设备%u: \r\n", k);
            text += "MAC地址： ";
            PrintAddress(in, text);
            const DeviceInfoWord info = PrintDeviceInfoWord(in.Word16OrZero(), text);
            if (info.multicastFlag == 1) PrintMulticastAddress(in, text);
            PrintAttribute(in, text);
            next = in.Position();
        }
    } else if (b.dir == 0 && b.resp == 1) {
        if (b.length == 1) {
            text += "设备上报异常状态为：   ";
            PrintErrorStatus(b.status, text);
        }
    } else if (b.dir == 0 && b.length == 0) {
        text += "设备上报成功";
    }
    text += kCrLf;
}

int AnalyzeRequestSearchAttribute(const ByteString& frame, std::string& text) {
    const Branch b = ReadBranch(frame);
    FrameReader in(frame, text);
    text += "申请设备搜索属性帧";
    text += kCrLf;
    if (b.normalAnswer) {
        if (b.length < 10) return in.Position();
        const uint16_t word = in.Word16();
        if (!in.ok()) return -1;
        AttributeRequestWord fields;
        PrintAttributeRequestWord(word, text, fields);
        if (!PrintAttributeHead(in, text, fields.multicastFlag)) return -1;
        PrintAttribute(in, text);
    } else if (b.dir == 0 && b.resp == 0) {
        if (b.length == 0) {
            text += "申请设备属性成功";
            text += kCrLf;
        }
    } else if (b.dir == 0) {
        if (b.length == 1) PrintStatusLine(b.status, text);
    }
    return in.Position();
}

int AnalyzeReplySearchAttribute(const ByteString& frame, std::string& text) {
    const Branch b = ReadBranch(frame);
    FrameReader in(frame, text);
    text += "回复设备搜索属性帧";
    text += kCrLf;
    if (b.dir == 0 && b.resp == 0) {
        if (b.length < 9) return in.Position();
        const uint16_t word = in.Word16();
        if (!in.ok()) return -1;
        AttributeReplyWord fields;
        UnpackAttributeReplyWord(word, fields);
        PrintSourceDeviceMode(fields.sourceMode, text);
        PrintTargetDeviceMode(fields.targetMode, text);
        PrintAttributeReplyState(fields.replyState, text);
        PrintMulticastFlag(fields.multicastFlag, text);
        if (!PrintAttributeHead(in, text, fields.multicastFlag)) return -1;
        if (fields.replyState == 1) PrintAttribute(in, text);
    } else if (b.normalAnswer) {
        text += b.length == 0 ? "回复设备属性成功" : "回复设备属性帧失败";
    } else if (b.dir == 1) {
        if (b.length == 1)
            PrintStatusLine(b.status, text);
        else
            text += "回复设备属性异常帧错误";
    }
    return in.Position();
}
