// Analyzers of the remote multicast-group setting and the printers of its words.

#include "analyzer/remote_multicast_analyzers.h"

#include "analyzer/analyzer_common.h"
#include "analyzer/remote_password_analyzers.h"
#include "link/field_tables.h"
#include "link/word_layouts.h"

using analyzer_detail::Branch;
using analyzer_detail::ReadBranch;

namespace {

// What tells the four frames apart. The frame that carries data goes in dataDirection with a
// normal reply bit; the other direction carries the answer, normal or abnormal.
struct MulticastFrameLayout {
    int dataDirection;
    bool reportWord;    // the module's word with depth, else the host's
    bool modifyResult;  // a modify-result byte after the address
    bool groupList;     // then a group list
    const char* success;
    const char* abnormal;
};

constexpr MulticastFrameLayout kRequest{0, false, false, true, "远程设置组播地址成功",
                                        "远程设置组播地址请求异常回复帧"};
constexpr MulticastFrameLayout kReply{0, false, true, false, "远程设置组播地址回复成功",
                                      "远程设置组播地址回复异常回复帧"};
constexpr MulticastFrameLayout kRequestReport{1, true, true, true, "远程设置组播地址请求上报成功",
                                              "远程设置组播地址请求上报异常"};
constexpr MulticastFrameLayout kReplyReport{1, true, true, false, "远程设置组播地址回复上报成功",
                                            "远程设置组播地址回复上报异常"};

// Word, multicast address when flagged, destination address and tail. Only the address is
// checked against the end of the frame; false after the incomplete-frame text.
bool PrintData(FrameReader& in, std::string& text, const MulticastFrameLayout& layout) {
    const uint16_t word = in.Word16OrZero();
    uint8_t multicast = 0;
    if (layout.reportWord) {
        MulticastReportFields fields;
        PrintMulticastReportWord(word, text, &fields);
        multicast = fields.multicastFlag;
    } else {
        MulticastRequestFields fields;
        PrintMulticastRequestWord(word, text, &fields);
        multicast = fields.multicastFlag;
    }
    if (multicast == 1) PrintMulticastAddress(in, text);
    text += "DST ADDR: ";
    if (!PrintAddressChecked(in, text)) return false;
    if (layout.modifyResult) PrintModifyResult(in.ByteOrZero(), text);
    if (layout.groupList) PrintGroupIdList(in, text);
    return true;
}

bool AnalyzeMulticastFrame(const ByteString& frame, std::string& text, const MulticastFrameLayout& layout) {
    const Branch b = ReadBranch(frame);
    if (b.dir == layout.dataDirection) {
        if (b.resp == 0) {
            FrameReader in(frame, text);
            if (!in.Need(1)) return true;
            if (!PrintData(in, text, layout)) return false;
        }
    } else if (b.resp == 0) {
        if (b.length == 0) text += layout.success;
    } else {
        text += layout.abnormal;
    }
    text += kCrLf;
    return true;
}

}  // namespace

bool PrintMulticastRequestWord(uint16_t word, std::string& text, MulticastRequestFields* fields) {
    using namespace multicast_request_word;
    fields->sourceMode = kSourceMode.Get(word);
    fields->targetMode = kTargetMode.Get(word);
    fields->multicastFlag = kMulticast.Get(word);
    PrintSourceDeviceMode(fields->sourceMode, text);
    PrintTargetDeviceMode(fields->targetMode, text);
    PrintMulticastFlag(fields->multicastFlag, text);
    return true;
}

void PrintMulticastReportWord(uint16_t word, std::string& text, MulticastReportFields* fields) {
    using namespace multicast_report_word;
    fields->sourceMode = kSourceMode.Get(word);
    fields->targetMode = kTargetMode.Get(word);
    fields->depth = kDepth.Get(word);
    fields->multicastFlag = kMulticast.Get(word);
    PrintSourceDeviceMode(fields->sourceMode, text);
    PrintTargetDeviceMode(fields->targetMode, text);
    text += "Depth:    ";
    PrintNumberLine(fields->depth, text);
    PrintMulticastFlag(fields->multicastFlag, text);
}

void PrintUpgradeBinType(uint8_t value, std::string& text) {
    text += "升级Bin类型： ";
    text += TextOfCode(kUpgradeBinTypeNames, value, "升级类型出错");
    text += kCrLf;
}

bool AnalyzeRemoteSetMulticastRequest(const ByteString& frame, std::string& text) {
    return AnalyzeMulticastFrame(frame, text, kRequest);
}

bool AnalyzeRemoteSetMulticastReply(const ByteString& frame, std::string& text) {
    return AnalyzeMulticastFrame(frame, text, kReply);
}

bool AnalyzeRemoteSetMulticastRequestReport(const ByteString& frame, std::string& text) {
    return AnalyzeMulticastFrame(frame, text, kRequestReport);
}

bool AnalyzeRemoteSetMulticastReplyReport(const ByteString& frame, std::string& text) {
    return AnalyzeMulticastFrame(frame, text, kReplyReport);
}
