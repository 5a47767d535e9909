// Analyzers of the remote network-password exchange, 0x1C-0x1F.

#include "analyzer/remote_password_analyzers.h"

#include "analyzer/analyzer.h"
#include "analyzer/analyzer_common.h"
#include "analyzer/field_printers.h"
#include "platform/text_format.h"

using analyzer_detail::Branch;
using analyzer_detail::ReadBranch;

namespace {

// count bytes from position from as characters, then open, the bytes as hex in frame order,
// ")" and CRLF.
void PrintPassword(const ByteString& frame, std::string& text, long long from, unsigned count, const char* open) {
    analyzer_detail::AppendByteCharacters(frame, text, from, count);
    text += open;
    AppendHexRange(frame, text, from, count);
    text += ")";
    text += kCrLf;
}

// The common head of the module's word in 0x1D and 0x1F: source and target mode and depth.
void PrintModesAndDepth(uint16_t word, std::string& text) {
    PrintSourceDeviceMode(word & 0x0F, text);
    PrintTargetDeviceMode((word >> 4) & 0x0F, text);
    AppendFormat(text, "Depth:        %d\r\n", (word >> 8) & 0x0F);
}

}  // namespace

uint16_t PackModeWord(const RemotePasswordParams& params) {
    return static_cast<uint16_t>((params.sourceMode & 0x0F) | (params.targetMode & 0x0F) << 4 |
                                 (params.priority & 1) << 8 | (params.multicastFlag & 1) << 9 |
                                 (params.reserved & 0x3F) << 10);
}

void PrintPriority(uint8_t value, std::string& text) {
    text += "优先级：";
    if (value == 0)
        text += "低";
    else if (value == 1)
        text += "高";
    text += kCrLf;
}

void PrintDecryptState(uint8_t value, std::string& text) {
    text += "解密状态：    ";
    switch (value) {
        case 0: text += "无法解密"; break;
        case 1: text += "解密新密钥成功"; break;
        case 2: text += "解密老密钥成功"; break;
        default: break;
    }
    text += kCrLf;
}

void PrintModifyResult(uint8_t value, std::string& text) {
    text += "状态：        ";
    if (value == 0)
        text += "修改失败";
    else if (value == 1)
        text += "修改成功";
    text += kCrLf;
}

void PrintRequestModeWord(uint16_t word, std::string& text, RemotePasswordParams* params) {
    params->sourceMode = word & 0x0F;
    params->targetMode = (word >> 4) & 0x0F;
    params->priority = (word >> 8) & 1;
    params->multicastFlag = (word >> 9) & 1;
    PrintSourceDeviceMode(params->sourceMode, text);
    PrintTargetDeviceMode(params->targetMode, text);
    PrintPriority(params->priority, text);
    PrintMulticastFlag(params->multicastFlag, text);
}

void AnalyzeRemoteSetPassword(const ByteString& frame, std::string& text) {
    const Branch b = ReadBranch(frame);
    text += "远程设置网络口令请求帧";
    text += kCrLf;
    if (b.dir == 1 && b.resp == 1) {
        if (b.length == 1) {
            text += "远程设置网络口令主机请求异常状态为：   ";
            PrintErrorStatus(FrameByte(frame, 5), text);
        }
    } else if (b.dir == 1) {
        if (b.length == 0) {
            text += "远程设置网络口令请求成功";
        } else {
            text += "远程设置网络口令请求回复失败";
            text += kCrLf;
        }
    } else if (b.resp == 0) {
        if (b.length <= 9) {
            text += "帧错误";
        } else {
            // Each password length is one byte; bytes past the end of the frame read as 0.
            RemotePasswordParams params;
            PrintRequestModeWord(FrameWord(frame, 5), text, &params);
            int cursor = 7;
            text += "通信地址:  ";
            PrintAddress(frame, text, &cursor);
            cursor += 6;
            params.psk1.length = FrameByte(frame, cursor);
            AppendFormat(text, "口令1长度：   %d\r\n", params.psk1.length);
            cursor += 1;
            text += "PSK1:      ";
            PrintPassword(frame, text, cursor, params.psk1.length, "(Ox ");
            cursor += params.psk1.length;
            params.psk2.length = FrameByte(frame, cursor);
            AppendFormat(text, "口令2长度：   %d\r\n", params.psk2.length);
            cursor += 1;
            text += "PSK2:      ";
            PrintPassword(frame, text, cursor, params.psk2.length, "(Ox ");
            text += kCrLf;
        }
    } else {
        if (b.length == 1) {
            text += "远程设置网络口令从机请求异常状态为：   ";
            PrintErrorStatus(FrameByte(frame, 5), text);
        }
    }
    text += kCrLf;
}

int PrintPasswordSlaveRequest(const ByteString& frame, std::string& text, int* cursor) {
    const uint16_t word = FrameWord(frame, *cursor);
    *cursor += 2;
    if (!FieldInside(frame, *cursor, 2)) {
        text += kIncompleteFrameText;
        return -1;
    }
    const uint8_t decryptState = (word >> 12) & 3;
    const uint8_t multicastFlag = (word >> 14) & 1;
    PrintModesAndDepth(word, text);
    PrintDecryptState(decryptState, text);
    PrintMulticastFlag(multicastFlag, text);
    if (multicastFlag == 1) PrintMulticastAddress(frame, text, cursor);

    if (!FieldInside(frame, *cursor, 6)) {
        text += kIncompleteFrameText;
        return -1;
    }
    text += "src addr: ";
    PrintAddress(frame, text, cursor);
    *cursor += 6;
    if (!FieldInside(frame, *cursor, 1)) {
        text += kIncompleteFrameText;
        return -1;
    }
    if (decryptState == 1) {
        const unsigned n = FrameByte(frame, *cursor);
        AppendFormat(text, "新口令长度：  %u\r\n", n);
        *cursor += 1;
        if (!FieldInside(frame, *cursor, n)) {
            text += kIncompleteFrameText;
            return -1;
        }
        text += "新口令：  ";
        PrintPassword(frame, text, *cursor, n, "(0x ");
        *cursor += static_cast<int>(n);
    }
    return *cursor;
}

void AnalyzeRemoteSetPasswordSlaveRequest(const ByteString& frame, std::string& text) {
    const Branch b = ReadBranch(frame);
    int cursor = 5;
    if (b.dir == 1 && b.resp == 0) {
        if (b.length >= 8) PrintPasswordSlaveRequest(frame, text, &cursor);
    } else if (b.dir == 0 && b.resp == 0) {
        if (b.length == 0) text += "远程设置网络口令从机请求成功";
    }
}

void AnalyzeRemoteSetPasswordReply(const ByteString& frame, std::string& text) {
    const Branch b = ReadBranch(frame);
    text += "远程设置网络口令回复帧";
    text += kCrLf;
    if (b.dir == 1 && b.resp == 1) {
        if (b.length == 1) {
            text += "远程设置网络口令主机回复异常状态为：   ";
            PrintErrorStatus(FrameByte(frame, 5), text);
        }
    } else if (b.dir == 1) {
        text += b.length == 0 ? "远程设置网络口令回复成功" : "帧错误";
    } else if (b.resp == 0) {
        if (b.length < 9) {
            text += "帧错误";
        } else {
            RemotePasswordParams params;
            PrintRequestModeWord(FrameWord(frame, 5), text, &params);
            int cursor = 7;
            if (params.multicastFlag == 1) PrintMulticastAddress(frame, text, &cursor);
            text += "通信地址:  ";
            PrintAddress(frame, text, &cursor);
            cursor += 6;
            PrintModifyResult(FrameByte(frame, cursor), text);
        }
    } else {
        if (b.length == 1) {
            text += "远程设置网络口令从机机回复异常状态为： ";
            PrintErrorStatus(FrameByte(frame, 5), text);
        } else {
            text += "帧错误";
        }
    }
}

void PrintPasswordReplyReport(const ByteString& frame, std::string& text, int* cursor) {
    const uint16_t word = FrameWord(frame, *cursor);
    const uint8_t multicastFlag = (word >> 12) & 1;
    PrintModesAndDepth(word, text);
    PrintMulticastFlag(multicastFlag, text);
    *cursor += 2;
    if (multicastFlag == 1) PrintMulticastAddress(frame, text, cursor);
    text += "src addr: ";
    PrintAddress(frame, text, cursor);
    *cursor += 6;
    PrintModifyResult(FrameByte(frame, *cursor), text);
    *cursor += 1;
}

void AnalyzeRemoteSetPasswordReplyReport(const ByteString& frame, std::string& text) {
    const Branch b = ReadBranch(frame);
    int cursor = 5;
    text += "远程设置网络口令回复上报帧";
    text += kCrLf;
    if (b.dir == 1 && b.resp == 0) {
        if (b.length >= 9) PrintPasswordReplyReport(frame, text, &cursor);
    } else if (b.dir == 0 && b.resp == 0) {
        if (b.length == 0) text += "远程设置网络口令从机回复成功";
    } else if (b.dir == 0) {
        if (b.length == 1) {
            text += "远程设置网络口令从机机回复异常状态为： ";
            PrintErrorStatus(FrameByte(frame, 5), text);
        }
    }
}
