#pragma once
// Helpers shared by the command analyzers; not part of the analyzer's interface.

#include <string>

#include "analyzer/control_field.h"
#include "analyzer/field_printers.h"
#include "analyzer/frame_reader.h"

namespace analyzer_detail {

// The bits and the data length that pick an analyzer's branch, and d0, the status of an
// abnormal reply.
struct Branch {
    int dir;
    int resp;
    unsigned length;
    uint8_t status;
    bool normalAnswer;  // the module's answer with a normal status
};

inline Branch ReadBranch(const ByteString& frame) {
    const ReceivedFrame f(frame);
    return Branch{f.Direction(), f.ReplyStatus(), f.DeclaredLength(), f.SubCommand(), f.IsNormalAnswer()};
}

// The status of an abnormal reply when L is 1, else the given error text.
inline void PrintStatusOr(const Branch& b, std::string& text, const char* error) {
    if (b.length == 1)
        PrintStatusLine(b.status, text);
    else
        text += error;
}

// The multicast address (when the flag says so), then the label and the 6-byte address, each
// wanted inside the frame. False after the incomplete-frame text.
inline bool PrintCheckedMulticastAndAddress(FrameReader& in, std::string& text, bool multicast,
                                            const char* addressLabel) {
    if (multicast && !PrintMulticastAddressChecked(in, text)) return false;
    if (!in.Need(6)) return false;
    text += addressLabel;
    PrintAddress(in, text);
    return true;
}

// The pass-through level, serial and carrier lines of a network-parameter reply's three bytes.
void PrintNetworkParamLines(FrameReader& in, std::string& text);

}  // namespace analyzer_detail
