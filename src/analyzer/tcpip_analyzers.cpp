// TCP/IP mode frames: the module's local network port, DNS resolution and TCP or UDP
// connections. Every field printer here reads through a reader of its own, so each field that
// does not fit reports itself and the explanation goes on.

#include "analyzer/tcpip_analyzers.h"

#include "analyzer/analyzer_common.h"
#include "link/field_tables.h"

using namespace analyzer_detail;

namespace {

constexpr int kFirst = static_cast<int>(FrameReader::kFirstDataByte);

bool Inside(const ByteString& frame, int position) {
    return position >= 0 && static_cast<size_t>(position) < frame.size();
}

// An IPv4 address at p, which moves by 4 when it fits.
void PrintIpv4At(const ByteString& frame, std::string& text, int& p) {
    FrameReader in(frame, text, p);
    PrintIpv4Address(in, text);
    p = in.Position();
}

// A port at p, read without a check.
void PrintPortAt(const ByteString& frame, std::string& text, int& p) {
    PrintNumberLine(FrameWord(frame, p), text);
    p += 2;
}

void PrintSocketPairLines(const ByteString& frame, std::string& text, int& p) {
    text += "Src IP:       ";
    PrintIpv4At(frame, text, p);
    text += "Src port: ";
    PrintPortAt(frame, text, p);
    text += "Dst IP:       ";
    PrintIpv4At(frame, text, p);
    text += "Dst port: ";
    PrintPortAt(frame, text, p);
}

void PrintLocalPortLines(const ByteString& frame, std::string& text, int& p) {
    static const char* const labels[] = {"IP:       ", "子网掩码：    ", "网关地址：    ", "首选DNS:  ", "备用DNS:  "};
    for (const char* label : labels) {
        text += label;
        PrintIpv4At(frame, text, p);
    }
}

// The socket pair, then the payload at p.
void PrintSocketPairAndPayload(const ByteString& frame, std::string& text, int& p) {
    PrintSocketPairLines(frame, text, p);
    FrameReader in(frame, text, p);
    PrintPayload(in, text);
    p = in.Position();
}

// An answer that carries no data: ok when L is 0, else failed.
void PrintEmptyAnswer(const Branch& b, std::string& text, const char* ok, const char* failed) {
    text += b.length == 0 ? ok : failed;
}

// An abnormal answer: the label and the status when L is 1, else error.
void PrintAbnormalAnswer(const Branch& b, std::string& text, const char* label, const char* error) {
    if (b.length == 1) {
        text += label;
        PrintErrorStatus(b.status, text);
    } else {
        text += error;
    }
}

Branch BeginTitled(const ByteString& frame, std::string& text, const char* title) {
    text += title;
    text += kCrLf;
    return ReadBranch(frame);
}

// Texts of the commands that open, close and send on a connection, and of the data the module
// receives on one.
struct ConnectionTexts {
    const char* title;
    const char* ok;
    const char* failed;
    const char* statusLabel;
    const char* abnormalError;
};

// The frame that starts the exchange is sent in direction `from` and, when L fits, prints its
// fields; its abnormal form prints nothing. The other direction answers.
template <typename PrintFields>
int AnalyzeConnectionFrame(const ByteString& frame, std::string& text, const ConnectionTexts& t, int from,
                           bool fits, PrintFields printFields) {
    const Branch b = BeginTitled(frame, text, t.title);
    int p = kFirst;
    if (b.dir == from) {
        if (b.resp == 0 && fits) printFields(p);
    } else if (b.resp == 0) {
        PrintEmptyAnswer(b, text, t.ok, t.failed);
    } else {
        PrintAbnormalAnswer(b, text, t.statusLabel, t.abnormalError);
    }
    return p;
}

}  // namespace

void PrintSocketStatus(uint8_t code, std::string& text) {
    text += "status:       ";
    text += TextOfCode(kTcpStateNames, code, "保留");
    text += kCrLf;
}

void PrintTcpConnectionType(uint8_t code, std::string& text) {
    text += "TCP/IP连接类型：  ";
    text += TextOfCode(kTransportNames, code, "保留");
    text += kCrLf;
}

int PrintDomainName(const ByteString& frame, std::string& text, int& position) {
    FrameReader in(frame, text, position);
    const unsigned n = in.Byte();
    if (!in.ok()) return -1;
    text += "域名长度：    ";
    PrintNumberLine(static_cast<uint16_t>(n), text);
    position = in.Position();
    if (!in.Need(n)) return -1;
    text += "域名：    ";
    AppendByteCharacters(frame.substr(static_cast<size_t>(position), n), text);
    text += kCrLf;
    position += static_cast<int>(n);
    return position;
}

int PrintSocketList(const ByteString& frame, std::string& text, int position) {
    if (!Inside(frame, position)) {
        text += kIncompleteFrameText;
        return -1;
    }
    const unsigned n = FrameByte(frame, position++);
    text += "套接字数目：  ";
    PrintNumberLine(static_cast<uint16_t>(n), text);
    for (unsigned i = 1; i <= n; ++i) {
        text += "套接字";
        text += std::to_string(i);
        text += ":\r\n";
        PrintSocketPairLines(frame, text, position);
        if (!Inside(frame, position)) {
            text += kIncompleteFrameText;
            return -1;
        }
        PrintSocketStatus(FrameByte(frame, position++), text);
    }
    return position;
}

int AnalyzeEnableTcpipMode(const ByteString& frame, std::string& text) {
    const Branch b = BeginTitled(frame, text, "使能TCP模式帧");
    int p = kFirst;
    if (b.dir == 0 && b.resp == 0) {
        text += b.length == 0 ? "使能TCP模式帧" : "使能TCP模式帧出错";
    } else if (b.dir == 0) {
        text += "使能TCP模式帧异常";
    } else if (b.resp == 0) {
        PrintEmptyAnswer(b, text, "使能TCP模式回复成功", "使能TCP模式回复失败");
    } else {
        text += "使能TCP模式回复异常帧\r\n";
        if (b.length == 1) {
            text += "使能TCP模式回复异常状态为：   ";
            PrintErrorStatus(b.status, text);
            p = kFirst + 1;
        }
    }
    text += kCrLf;
    return p;
}

int AnalyzeReadLocalNetPort(const ByteString& frame, std::string& text) {
    const Branch b = BeginTitled(frame, text, "读取本地网口信息帧");
    int p = kFirst;
    if (b.dir == 0 && b.resp == 0) {
        text += b.length == 0 ? "读取本地网口信息帧" : "读取本地网口信息帧出错";
    } else if (b.dir == 1 && b.resp == 0) {
        if (b.length == 20)
            PrintLocalPortLines(frame, text, p);
        else
            text += "读取本地网口信息帧出错";
    } else if (b.dir == 1) {
        PrintStatusOr(b, text, "回复帧出错");
    }
    text += kCrLf;
    return p;
}

int AnalyzeSetLocalNetPort(const ByteString& frame, std::string& text) {
    const Branch b = BeginTitled(frame, text, "设置本地网口信息帧");
    int p = kFirst;
    if (b.dir == 0 && b.resp == 0) {
        if (b.length == 20)
            PrintLocalPortLines(frame, text, p);
        else
            text += "设置本地网口信息帧出错";
    } else if (b.dir == 1 && b.resp == 0) {
        PrintEmptyAnswer(b, text, "设置本地网口信息帧成功", "设置本地网口信息帧出错");
    } else if (b.dir == 1) {
        PrintStatusOr(b, text, "回复帧出错");
    }
    text += kCrLf;
    return p;
}

int AnalyzeDnsResolve(const ByteString& frame, std::string& text) {
    const Branch b = BeginTitled(frame, text, "解析DNS帧");
    int p = kFirst;
    if (b.dir == 0 && b.resp == 0) {
        PrintDomainName(frame, text, p);
        text += kCrLf;
    } else if (b.dir == 1 && b.resp == 0) {
        PrintEmptyAnswer(b, text, "解析DNS成功", "解析DNS回复帧出错");
    } else if (b.dir == 1) {
        PrintStatusOr(b, text, "解析DNS异常回复帧出错");
    }
    return p;
}

int AnalyzeDnsResolveReport(const ByteString& frame, std::string& text) {
    const Branch b = BeginTitled(frame, text, "解析DNS上报帧");
    int p = kFirst;
    if (b.dir == 0 && b.resp == 0) {
        PrintEmptyAnswer(b, text, "解析DNS上报成功", "解析DNS上报回复出错");
    } else if (b.dir == 0) {
        PrintStatusOr(b, text, "解析DNS上报异常回复帧出错");
    } else if (b.resp == 0) {
        PrintDomainName(frame, text, p);
        text += "IP:   ";
        PrintIpv4At(frame, text, p);
    } else {
        text += "解析DNS上报帧出错";
    }
    return p;
}

int AnalyzeTcpStateReport(const ByteString& frame, std::string& text) {
    const Branch b = BeginTitled(frame, text, "TCP连接状态上报帧");
    int p = kFirst;
    if (b.dir == 0 && b.resp == 0) {
        PrintEmptyAnswer(b, text, "TCP/IP套接字状态上报成功", "TCP/IP套接字状态上报回复帧失败");
    } else if (b.dir == 0) {
        PrintAbnormalAnswer(b, text, "TCP/IP套接字状态上报异常状态为：   ", "TCP/IP套接字状态上报异常回复帧出错");
    } else if (b.resp == 0 && b.length == 13) {
        PrintSocketPairLines(frame, text, p);
        PrintSocketStatus(FrameByte(frame, p++), text);
    } else {
        text += "TCP/IP套接字状态上报帧出错";
    }
    return p;
}

void AnalyzeTcpStateQuery(const ByteString& frame, std::string& text) {
    const Branch b = BeginTitled(frame, text, "TCP连接状态查询帧");
    int p = kFirst;
    if (b.dir == 0 && b.resp == 0) {
        if (b.length == 12) PrintSocketPairLines(frame, text, p);
    } else if (b.dir == 1 && b.resp == 0) {
        PrintSocketList(frame, text, p);
    } else if (b.dir == 1) {
        PrintAbnormalAnswer(b, text, "TCP连接状态查询异常状态为：    ", "TCP连接状态查询异常回复帧出错");
    }
}

int AnalyzeTcpConnect(const ByteString& frame, std::string& text) {
    static const ConnectionTexts t{"TCP建立连接帧", "TCP/IP建立连接成功", "TCP/IP建立连接回复帧失败",
                                   "TCP/IP建立连接异常状态为： ", "TCP/IP建立连接异常回复帧出错"};
    return AnalyzeConnectionFrame(frame, text, t, 0, FrameDataLength(frame) == 13, [&](int& p) {
        PrintTcpConnectionType(FrameByte(frame, p++), text);
        PrintSocketPairLines(frame, text, p);
    });
}

int AnalyzeTcpDisconnect(const ByteString& frame, std::string& text) {
    static const ConnectionTexts t{"TCP删除连接帧", "TCP/IP删除连接成功", "TCP/IP删除连接回复帧失败",
                                   "TCP/IP删除连接异常状态为： ", "TCP/IP删除连接异常回复帧出错"};
    return AnalyzeConnectionFrame(frame, text, t, 0, FrameDataLength(frame) == 12,
                                  [&](int& p) { PrintSocketPairLines(frame, text, p); });
}

int AnalyzeTcpSendData(const ByteString& frame, std::string& text) {
    static const ConnectionTexts t{"TCP发送数据帧", "TCP/IP发送数据成功", "TCP/IP发送数据回复帧失败",
                                   "TCP/IP发送数据异常状态为： ", "TCP/IP发送数据异常回复帧出错"};
    return AnalyzeConnectionFrame(frame, text, t, 0, FrameDataLength(frame) >= 14,
                                  [&](int& p) { PrintSocketPairAndPayload(frame, text, p); });
}

int AnalyzeTcpReceiveData(const ByteString& frame, std::string& text) {
    static const ConnectionTexts t{"TCP接收数据帧", "TCP/IP接收数据成功", "TCP/IP接收数据回复帧失败",
                                   "TCP/IP接收数据异常状态为： ", "TCP/IP接收数据异常回复帧出错"};
    return AnalyzeConnectionFrame(frame, text, t, 1, FrameDataLength(frame) >= 14,
                                  [&](int& p) { PrintSocketPairAndPayload(frame, text, p); });
}
