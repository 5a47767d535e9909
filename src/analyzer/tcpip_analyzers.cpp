// TCP/IP mode frames: the module's local network port, DNS resolution and TCP or UDP
// connections. Every field here is checked on its own, so each field that does not fit reports
// itself and the explanation goes on. The lines gather in a TextPieces of the analyzer's.

#include "analyzer/tcpip_analyzers.h"

#include "analyzer/analyzer_common.h"
#include "analyzer/text_pieces.h"
#include "link/field_tables.h"

using namespace analyzer_detail;

namespace {

constexpr int kFirst = static_cast<int>(FrameReader::kFirstDataByte);

// An IPv4 address at p, last byte first, in dotted decimal; p moves by 4 when it fits.
void Ipv4At(const ByteString& frame, TextPieces& out, int& p) {
    if (!FrameCursor(frame, p).Has(4)) {
        out << kIncompleteFrameText;
        return;
    }
    char* end = out.Reserve(sizeof "255.255.255.255\r\n");
    for (int i = 3; i >= 0; --i) {
        end = TextPieces::PutByteDecimal(end, FrameByte(frame, p + i));
        *end++ = i ? '.' : '\r';
    }
    *end++ = '\n';
    out.Commit(end);
    p += 4;
}

// A port at p, read without a check.
void PortAt(const ByteString& frame, TextPieces& out, int& p) {
    out.Decimal(FrameWord(frame, p)) << kCrLf;
    p += 2;
}

void SocketPairLines(const ByteString& frame, TextPieces& out, int& p) {
    out << "Src IP:       ";
    Ipv4At(frame, out, p);
    out << "Src port: ";
    PortAt(frame, out, p);
    out << "Dst IP:       ";
    Ipv4At(frame, out, p);
    out << "Dst port: ";
    PortAt(frame, out, p);
}

void LocalPortLines(const ByteString& frame, TextPieces& out, int& p) {
    static const char* const labels[] = {"IP:       ", "子网掩码：    ", "网关地址：    ", "首选DNS:  ", "备用DNS:  "};
    for (const char* label : labels) {
        out << label;
        Ipv4At(frame, out, p);
    }
}

void SocketStatusLine(uint8_t code, TextPieces& out) {
    out << "status:       " << TextOfCode(kTcpStateNames, code, "保留") << kCrLf;
}

// The socket pair, then the payload at p.
void SocketPairAndPayload(const ByteString& frame, std::string& text, TextPieces& out, int& p) {
    SocketPairLines(frame, out, p);
    out.Flush();
    FrameReader in(frame, text, p);
    PrintPayload(in, text);
    p = in.Position();
}

int DomainName(const ByteString& frame, TextPieces& out, int& position) {
    if (!FrameCursor(frame, position).Has(1)) {
        out << kIncompleteFrameText;
        return -1;
    }
    const unsigned n = FrameByte(frame, position);
    (out << "域名长度：    ").Decimal(n) << kCrLf;
    ++position;
    if (!FrameCursor(frame, position).Has(n)) {
        out << kIncompleteFrameText;
        return -1;
    }
    out << "域名：    ";
    AppendByteCharacters(frame.data() + position, n, out);
    out << kCrLf;
    position += static_cast<int>(n);
    return position;
}

int SocketList(const ByteString& frame, TextPieces& out, int position) {
    if (!FrameCursor(frame, position).Has(1)) {
        out << kIncompleteFrameText;
        return -1;
    }
    const unsigned n = FrameByte(frame, position++);
    (out << "套接字数目：  ").Decimal(n) << kCrLf;
    for (unsigned i = 1; i <= n; ++i) {
        (out << "套接字").Decimal(i) << ":\r\n";
        SocketPairLines(frame, out, position);
        if (!FrameCursor(frame, position).Has(1)) {
            out << kIncompleteFrameText;
            return -1;
        }
        SocketStatusLine(FrameByte(frame, position++), out);
    }
    return position;
}

// An answer that carries no data: ok when L is 0, else failed.
void PrintEmptyAnswer(const Branch& b, TextPieces& out, const char* ok, const char* failed) {
    out << (b.length == 0 ? ok : failed);
}

// An abnormal answer: the label and the status when L is 1, else error.
void PrintAbnormalAnswer(const Branch& b, TextPieces& out, const char* label, const char* error) {
    if (b.length == 1) {
        out << label;
        PrintErrorStatus(b.status, out);
    } else {
        out << error;
    }
}

// The status of an abnormal reply when L is 1, else the error text.
void PrintStatusOr(const Branch& b, TextPieces& out, const char* error) {
    if (b.length == 1)
        PrintStatusLine(b.status, out);
    else
        out << error;
}

Branch BeginTitled(const ByteString& frame, TextPieces& out, const char* title) {
    out << title << kCrLf;
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
    TextPieces out(text);
    const Branch b = BeginTitled(frame, out, t.title);
    int p = kFirst;
    if (b.dir == from) {
        if (b.resp == 0 && fits) printFields(out, p);
    } else if (b.resp == 0) {
        PrintEmptyAnswer(b, out, t.ok, t.failed);
    } else {
        PrintAbnormalAnswer(b, out, t.statusLabel, t.abnormalError);
    }
    return p;
}

}  // namespace

void PrintSocketStatus(uint8_t code, std::string& text) {
    TextPieces out(text);
    SocketStatusLine(code, out);
}

void PrintTcpConnectionType(uint8_t code, std::string& text) {
    TextPieces(text) << "TCP/IP连接类型：  " << TextOfCode(kTransportNames, code, "保留") << kCrLf;
}

int PrintDomainName(const ByteString& frame, std::string& text, int& position) {
    TextPieces out(text);
    return DomainName(frame, out, position);
}

int PrintSocketList(const ByteString& frame, std::string& text, int position) {
    TextPieces out(text);
    return SocketList(frame, out, position);
}

int AnalyzeEnableTcpipMode(const ByteString& frame, std::string& text) {
    TextPieces out(text);
    const Branch b = BeginTitled(frame, out, "使能TCP模式帧");
    int p = kFirst;
    if (b.dir == 0 && b.resp == 0) {
        out << (b.length == 0 ? "使能TCP模式帧" : "使能TCP模式帧出错");
    } else if (b.dir == 0) {
        out << "使能TCP模式帧异常";
    } else if (b.resp == 0) {
        PrintEmptyAnswer(b, out, "使能TCP模式回复成功", "使能TCP模式回复失败");
    } else {
        out << "使能TCP模式回复异常帧\r\n";
        if (b.length == 1) {
            out << "使能TCP模式回复异常状态为：   ";
            PrintErrorStatus(b.status, out);
            p = kFirst + 1;
        }
    }
    out << kCrLf;
    return p;
}

int AnalyzeReadLocalNetPort(const ByteString& frame, std::string& text) {
    TextPieces out(text);
    const Branch b = BeginTitled(frame, out, "读取本地网口信息帧");
    int p = kFirst;
    if (b.dir == 0 && b.resp == 0) {
        out << (b.length == 0 ? "读取本地网口信息帧" : "读取本地网口信息帧出错");
    } else if (b.normalAnswer) {
        if (b.length == 20)
            LocalPortLines(frame, out, p);
        else
            out << "读取本地网口信息帧出错";
    } else if (b.dir == 1) {
        PrintStatusOr(b, out, "回复帧出错");
    }
    out << kCrLf;
    return p;
}

int AnalyzeSetLocalNetPort(const ByteString& frame, std::string& text) {
    TextPieces out(text);
    const Branch b = BeginTitled(frame, out, "设置本地网口信息帧");
    int p = kFirst;
    if (b.dir == 0 && b.resp == 0) {
        if (b.length == 20)
            LocalPortLines(frame, out, p);
        else
            out << "设置本地网口信息帧出错";
    } else if (b.normalAnswer) {
        PrintEmptyAnswer(b, out, "设置本地网口信息帧成功", "设置本地网口信息帧出错");
    } else if (b.dir == 1) {
        PrintStatusOr(b, out, "回复帧出错");
    }
    out << kCrLf;
    return p;
}

int AnalyzeDnsResolve(const ByteString& frame, std::string& text) {
    TextPieces out(text);
    const Branch b = BeginTitled(frame, out, "解析DNS帧");
    int p = kFirst;
    if (b.dir == 0 && b.resp == 0) {
        DomainName(frame, out, p);
        out << kCrLf;
    } else if (b.normalAnswer) {
        PrintEmptyAnswer(b, out, "解析DNS成功", "解析DNS回复帧出错");
    } else if (b.dir == 1) {
        PrintStatusOr(b, out, "解析DNS异常回复帧出错");
    }
    return p;
}

int AnalyzeDnsResolveReport(const ByteString& frame, std::string& text) {
    TextPieces out(text);
    const Branch b = BeginTitled(frame, out, "解析DNS上报帧");
    int p = kFirst;
    if (b.dir == 0 && b.resp == 0) {
        PrintEmptyAnswer(b, out, "解析DNS上报成功", "解析DNS上报回复出错");
    } else if (b.dir == 0) {
        PrintStatusOr(b, out, "解析DNS上报异常回复帧出错");
    } else if (b.resp == 0) {
        DomainName(frame, out, p);
        out << "IP:   ";
        Ipv4At(frame, out, p);
    } else {
        out << "解析DNS上报帧出错";
    }
    return p;
}

int AnalyzeTcpStateReport(const ByteString& frame, std::string& text) {
    TextPieces out(text);
    const Branch b = BeginTitled(frame, out, "TCP连接状态上报帧");
    int p = kFirst;
    if (b.dir == 0 && b.resp == 0) {
        PrintEmptyAnswer(b, out, "TCP/IP套接字状态上报成功", "TCP/IP套接字状态上报回复帧失败");
    } else if (b.dir == 0) {
        PrintAbnormalAnswer(b, out, "TCP/IP套接字状态上报异常状态为：   ", "TCP/IP套接字状态上报异常回复帧出错");
    } else if (b.resp == 0 && b.length == 13) {
        SocketPairLines(frame, out, p);
        SocketStatusLine(FrameByte(frame, p++), out);
    } else {
        out << "TCP/IP套接字状态上报帧出错";
    }
    return p;
}

void AnalyzeTcpStateQuery(const ByteString& frame, std::string& text) {
    TextPieces out(text);
    const Branch b = BeginTitled(frame, out, "TCP连接状态查询帧");
    int p = kFirst;
    if (b.dir == 0 && b.resp == 0) {
        if (b.length == 12) SocketPairLines(frame, out, p);
    } else if (b.normalAnswer) {
        SocketList(frame, out, p);
    } else if (b.dir == 1) {
        PrintAbnormalAnswer(b, out, "TCP连接状态查询异常状态为：    ", "TCP连接状态查询异常回复帧出错");
    }
}

int AnalyzeTcpConnect(const ByteString& frame, std::string& text) {
    static const ConnectionTexts t{"TCP建立连接帧", "TCP/IP建立连接成功", "TCP/IP建立连接回复帧失败",
                                   "TCP/IP建立连接异常状态为： ", "TCP/IP建立连接异常回复帧出错"};
    return AnalyzeConnectionFrame(frame, text, t, 0, FrameDataLength(frame) == 13, [&](TextPieces& out, int& p) {
        out << "TCP/IP连接类型：  " << TextOfCode(kTransportNames, FrameByte(frame, p++), "保留") << kCrLf;
        SocketPairLines(frame, out, p);
    });
}

int AnalyzeTcpDisconnect(const ByteString& frame, std::string& text) {
    static const ConnectionTexts t{"TCP删除连接帧", "TCP/IP删除连接成功", "TCP/IP删除连接回复帧失败",
                                   "TCP/IP删除连接异常状态为： ", "TCP/IP删除连接异常回复帧出错"};
    return AnalyzeConnectionFrame(frame, text, t, 0, FrameDataLength(frame) == 12,
                                  [&](TextPieces& out, int& p) { SocketPairLines(frame, out, p); });
}

int AnalyzeTcpSendData(const ByteString& frame, std::string& text) {
    static const ConnectionTexts t{"TCP发送数据帧", "TCP/IP发送数据成功", "TCP/IP发送数据回复帧失败",
                                   "TCP/IP发送数据异常状态为： ", "TCP/IP发送数据异常回复帧出错"};
    return AnalyzeConnectionFrame(frame, text, t, 0, FrameDataLength(frame) >= 14,
                                  [&](TextPieces& out, int& p) { SocketPairAndPayload(frame, text, out, p); });
}

int AnalyzeTcpReceiveData(const ByteString& frame, std::string& text) {
    static const ConnectionTexts t{"TCP接收数据帧", "TCP/IP接收数据成功", "TCP/IP接收数据回复帧失败",
                                   "TCP/IP接收数据异常状态为： ", "TCP/IP接收数据异常回复帧出错"};
    return AnalyzeConnectionFrame(frame, text, t, 1, FrameDataLength(frame) >= 14,
                                  [&](TextPieces& out, int& p) { SocketPairAndPayload(frame, text, out, p); });
}
