// Analyzers of the remote network-password exchange, 0x1C-0x1F.

#include "analyzer/remote_password_analyzers.h"

#include "analyzer/analyzer_common.h"
#include "analyzer/field_printers.h"
#include "link/field_tables.h"
#include "link/word_layouts.h"
#include "platform/text_format.h"

using analyzer_detail::Branch;
using analyzer_detail::ReadBranch;

namespace {

// The password as characters, then open, the bytes as hex in frame order, ")" and CRLF.
void PrintPassword(const ByteString& password, std::string& text, const char* open) {
    AppendByteCharacters(password, text);
    text += open;
    AppendHex(password, text);
    text += ")";
    text += kCrLf;
}

// The common head of the module's word in 0x1D and 0x1F: source and target mode and depth.
void PrintModesAndDepth(uint16_t word, std::string& text) {
    using namespace password_request_word;
    static_assert(kDepth.shift == password_reply_word::kDepth.shift, "0x1D and 0x1F share their head");
    PrintSourceDeviceMode(kSourceMode.Get(word), text);
    PrintTargetDeviceMode(kTargetMode.Get(word), text);
    AppendFormat(text, "Depth:        %d\r\n", kDepth.Get(word));
}

}  // namespace

uint16_t PackModeWord(const RemotePasswordParams& params) {
    using namespace remote_password_word;
    return static_cast<uint16_t>(kSourceMode.Put(params.sourceMode) | kTargetMode.Put(params.targetMode) |
                                 kPriority.Put(params.priority) | kMulticast.Put(params.multicastFlag) |
                                 kReserved.Put(params.reserved));
}

void PrintPriority(uint8_t value, std::string& text) {
    text += "优先级：";
    text += TextOfCode(kPriorityNames, value, "");
    text += kCrLf;
}

void PrintDecryptState(uint8_t value, std::string& text) {
    text += "解密状态：    ";
    text += TextOfCode(kDecryptResultNames, value, "");
    text += kCrLf;
}

void PrintModifyResult(uint8_t value, std::string& text) {
    text += "状态：        ";
    text += TextOfCode(kChangeResultNames, value, "");
    text += kCrLf;
}

void PrintRequestModeWord(uint16_t word, std::string& text, RemotePasswordParams* params) {
    using namespace remote_password_word;
    params->sourceMode = kSourceMode.Get(word);
    params->targetMode = kTargetMode.Get(word);
    params->priority = kPriority.Get(word);
    params->multicastFlag = kMulticast.Get(word);
    PrintSourceDeviceMode(params->sourceMode, text);
    PrintTargetDeviceMode(params->targetMode, text);
    PrintPriority(params->priority, text);
    PrintMulticastFlag(params->multicastFlag, text);
}

void AnalyzeRemoteSetPassword(const ByteString& frame, std::string& text) {
    const Branch b = ReadBranch(frame);
    FrameReader in(frame, text);
    text += "远程设置网络口令请求帧";
    text += kCrLf;
    if (b.dir == 1 && b.resp == 1) {
        if (b.length == 1) {
            text += "远程设置网络口令主机请求异常状态为：   ";
            PrintErrorStatus(b.status, text);
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
            PrintRequestModeWord(in.Word16OrZero(), text, &params);
            text += "通信地址:  ";
            PrintAddress(in, text);
            params.psk1.length = in.ByteOrZero();
            AppendFormat(text, "口令1长度：   %d\r\n", params.psk1.length);
            text += "PSK1:      ";
            PrintPassword(in.BytesOrZero(params.psk1.length), text, "(Ox ");
            params.psk2.length = in.ByteOrZero();
            AppendFormat(text, "口令2长度：   %d\r\n", params.psk2.length);
            text += "PSK2:      ";
            PrintPassword(in.BytesOrZero(params.psk2.length), text, "(Ox ");
            text += kCrLf;
        }
    } else {
        if (b.length == 1) {
            text += "远程设置网络口令从机请求异常状态为：   ";
            PrintErrorStatus(b.status, text);
        }
    }
    text += kCrLf;
}

bool PrintPasswordSlaveRequest(FrameReader& in, std::string& text) {
    const uint16_t word = in.Word16OrZero();
    // The two bytes after the word must be there whether or not they are a multicast address.
    if (!in.Need(2)) return false;
    const uint8_t decryptState = password_request_word::kDecryptState.Get(word);
    const uint8_t multicastFlag = password_request_word::kMulticast.Get(word);
    PrintModesAndDepth(word, text);
    PrintDecryptState(decryptState, text);
    PrintMulticastFlag(multicastFlag, text);
    if (multicastFlag == 1) PrintMulticastAddress(in, text);

    if (!in.Need(6)) return false;
    text += "src addr: ";
    PrintAddress(in, text);
    if (!in.Need(1)) return false;
    if (decryptState == 1) {
        const unsigned n = in.ByteOrZero();
        AppendFormat(text, "新口令长度：  %u\r\n", n);
        const ByteString password = in.Bytes(n);
        if (!in.ok()) return false;
        text += "新口令：  ";
        PrintPassword(password, text, "(0x ");
    }
    return true;
}

void AnalyzeRemoteSetPasswordSlaveRequest(const ByteString& frame, std::string& text) {
    const Branch b = ReadBranch(frame);
    FrameReader in(frame, text);
    if (b.normalAnswer) {
        if (b.length >= 8) PrintPasswordSlaveRequest(in, text);
    } else if (b.dir == 0 && b.resp == 0) {
        if (b.length == 0) text += "远程设置网络口令从机请求成功";
    }
}

void AnalyzeRemoteSetPasswordReply(const ByteString& frame, std::string& text) {
    const Branch b = ReadBranch(frame);
    FrameReader in(frame, text);
    text += "远程设置网络口令回复帧";
    text += kCrLf;
    if (b.dir == 1 && b.resp == 1) {
        if (b.length == 1) {
            text += "远程设置网络口令主机回复异常状态为：   ";
            PrintErrorStatus(b.status, text);
        }
    } else if (b.dir == 1) {
        text += b.length == 0 ? "远程设置网络口令回复成功" : "帧错误";
    } else if (b.resp == 0) {
        if (b.length < 9) {
            text += "帧错误";
        } else {
            RemotePasswordParams params;
            PrintRequestModeWord(in.Word16OrZero(), text, &params);
            if (params.multicastFlag == 1) PrintMulticastAddress(in, text);
            text += "通信地址:  ";
            PrintAddress(in, text);
            PrintModifyResult(in.ByteOrZero(), text);
        }
    } else {
        if (b.length == 1) {
            text += "远程设置网络口令从机机回复异常状态为： ";
            PrintErrorStatus(b.status, text);
        } else {
            text += "帧错误";
        }
    }
}

void PrintPasswordReplyReport(FrameReader& in, std::string& text) {
    const uint16_t word = in.Word16OrZero();
    const uint8_t multicastFlag = password_reply_word::kMulticast.Get(word);
    PrintModesAndDepth(word, text);
    PrintMulticastFlag(multicastFlag, text);
    if (multicastFlag == 1) PrintMulticastAddress(in, text);
    text += "src addr: ";
    PrintAddress(in, text);
    PrintModifyResult(in.ByteOrZero(), text);
}

void AnalyzeRemoteSetPasswordReplyReport(const ByteString& frame, std::string& text) {
    const Branch b = ReadBranch(frame);
    FrameReader in(frame, text);
    text += "远程设置网络口令回复上报帧";
    text += kCrLf;
    if (b.normalAnswer) {
        if (b.length >= 9) PrintPasswordReplyReport(in, text);
    } else if (b.dir == 0 && b.resp == 0) {
        if (b.length == 0) text += "远程设置网络口令从机回复成功";
    } else if (b.dir == 0) {
        if (b.length == 1) {
            text += "远程设置网络口令从机机回复异常状态为： ";
            PrintErrorStatus(b.status, text);
        }
    }
}
