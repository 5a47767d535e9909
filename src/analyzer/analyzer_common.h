#pragma once
// Helpers shared by the command analyzers; not part of the analyzer's interface.

#include <string>

#include "analyzer/analyzer.h"
#include "analyzer/field_printers.h"

namespace analyzer_detail {

// The bits and the data length that pick an analyzer's branch.
struct Branch {
    int dir;
    int resp;
    unsigned length;
};

inline Branch ReadBranch(const ByteString& frame) {
    return Branch{GetDirectionBit(frame), GetRespBit(frame), FrameDataLength(frame)};
}

// The status of an abnormal reply when L is 1, else the given error text.
inline void PrintStatusOr(const ByteString& frame, std::string& text, unsigned length, const char* error) {
    if (length == 1)
        PrintStatusLine(frame, text);
    else
        text += error;
}

// The multicast address (when the flag says so), then the label and the 6-byte address, each
// tested against the frame's length; the cursor moves past both. False after the
// incomplete-frame text.
inline bool PrintCheckedMulticastAndAddress(const ByteString& frame, std::string& text, int& cursor,
                                            bool multicast, const char* addressLabel) {
    if (multicast) {
        if (!FieldInside(frame, cursor, 2)) {
            text += kIncompleteFrameText;
            return false;
        }
        PrintMulticastAddress(frame, text, &cursor);
    }
    if (!FieldInside(frame, cursor, 6)) {
        text += kIncompleteFrameText;
        return false;
    }
    text += addressLabel;
    PrintAddress(frame, text, &cursor);
    cursor += 6;
    return true;
}

// count bytes from position from, each shown as a character of the GBK code page; a zero
// byte adds nothing.
void AppendByteCharacters(const ByteString& frame, std::string& text, long long from, unsigned count);

// The pass-through level, serial and carrier lines of a network-parameter reply whose three
// bytes start at position p.
void PrintNetworkParamLines(const ByteString& frame, std::string& text, long long p);

}  // namespace analyzer_detail
