// Local settings that the command dispatcher does not route: the multicast group addresses
// and the local tone.

#include "analyzer/analyzer_common.h"
#include "analyzer/local_analyzers.h"
#include "analyzer/text_pieces.h"

#include <string>

using namespace analyzer_detail;

void PrintSubcarrierCount(uint8_t code, std::string& text) {
    text += "节点子载波数：    ";
    if (code == 0) text += "136tone";
    if (code == 1) text += "411tone";
    text += kCrLf;
}

void AnalyzeSetMulticastAddress(const ByteString& frame, std::string& text) {
    const Branch b = ReadBranch(frame);
    FrameReader in(frame, text);
    text += "设置组播地址帧";
    text += kCrLf;
    if (b.normalAnswer) {
        text += "设置组播地址成功";
    } else if (b.dir == 1) {
        PrintStatusOr(b, text, "回复帧错误");
    } else if (b.length == 2u * b.status + 1) {
        PrintGroupIdList(in, text);
    } else {
        text += "设置组播地址帧错误";
    }
    text += kCrLf;
}

void AnalyzeReadMulticastAddress(const ByteString& frame, std::string& text) {
    const Branch b = ReadBranch(frame);
    FrameReader in(frame, text);
    text += "读取组播地址帧";
    text += kCrLf;
    if (b.normalAnswer) {
        PrintGroupIdList(in, text);
    } else if (b.dir == 1) {
        PrintStatusOr(b, text, "回复帧错误");
    } else if (b.resp == 0) {
        if (b.length > 1) text += "读取组播地址帧错误";
    } else {
        text += "读取组播地址帧为异常帧";
    }
    text += kCrLf;
}

int AnalyzeSetLocalTone(const ByteString& frame, std::string& text) {
    const Branch b = ReadBranch(frame);
    FrameReader in(frame, text);
    text += "设置本地tone帧";
    text += kCrLf;
    if (b.dir == 0 && b.resp == 0) {
        if (b.length == 2) {
            PrintSubcarrierCount(in.ByteOrZero(), text);
            text += "Tgain:    ";
            text += std::to_string(static_cast<int8_t>(in.ByteOrZero()));
        }
    } else if (b.dir == 0) {
        text += "设置帧出错";
    } else if (b.resp == 0) {
        text += b.length == 0 ? "设置成功" : "设置失败";
    } else {
        text += "设置本地TONE失败";
        PrintStatusOr(b, text, "异常回复帧错误");
    }
    text += kCrLf;
    return in.Position();
}

void AnalyzeSetPassword(const ByteString& frame, std::string& text) {
    const Branch b = ReadBranch(frame);
    FrameReader in(frame, text);
    TextPieces out(text);
    out << "设置口令帧" << kCrLf;
    if (b.dir == 0) {
        if (b.length == 1) {
            out << "状态为：   ";
            PrintErrorStatus(b.status, out);
        } else {
            out << "回复帧错误";
        }
    } else if (b.length > 1) {
        const uint8_t n = in.ByteOrZero();
        (out << "PAKLEN:        ").ByteDecimal(n) << kCrLf;
        if (b.length == n + 1u) {
            // The key, last byte first.
            out << "PSK:      ";
            if (const unsigned char* key = in.Span(n))
                out.HexReversed(key, n);
            else
                out.HexPairs(n, [&in, n](size_t i) { return in.PeekOrZero(n - 1 - i); });
            in.Advance(n);
        } else {
            out << "帧错误";
        }
    } else {
        out << "回复帧错误";
    }
    out << kCrLf;
}

int AnalyzeSetLocalMacAddress(const ByteString& frame, std::string& text) {
    const Branch b = ReadBranch(frame);
    FrameReader in(frame, text);
    text += "设置本地MAC地址帧";
    text += kCrLf;
    if (b.dir == 0 && b.resp == 0) {
        text += "DST Addr: ";
        PrintAddress(in, text);
        text += kCrLf;
    } else if (b.dir == 1 && b.resp == 1) {
        text += "设置本地MAC地址失败";
        PrintStatusOr(b, text, "异常回复帧错误");
    } else if (b.dir == 1) {
        if (in.Position() + 5 >= static_cast<int>(frame.size())) {
            text += kIncompleteFrameText;
            return -1;
        }
        text += "SRC Addr: ";
        PrintAddress(in, text);
        text += "\r\n\r\n设置本地MAC地址成功";
    }
    text += kCrLf;
    return in.Position();
}
