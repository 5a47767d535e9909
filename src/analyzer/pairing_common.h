#pragma once
// The shape every pairing analyzer shares; not part of the analyzer's interface.
//
// A pairing frame is explained as: its title and CRLF; then the branch of a host frame (DIR 0,
// RESP 0) or of a module frame (DIR 1, RESP 0), if any; then the closing CRLF, where the
// sub-code has one. An abnormal answer matches no branch. The fields start after the sub-code
// and are read through a FrameReader whose reads past the frame give zeros.

#include <cstdint>
#include <string>

#include "analyzer/frame_reader.h"
#include "link/byte_string.h"

namespace pairing_detail {

// One branch: the data length L (sub-code included) and the fields at the cursor.
using PairingBranch = void (*)(FrameReader& in, unsigned length, std::string& text);

struct PairingShape {
    const char* title;
    PairingBranch host;    // nullptr: nothing
    PairingBranch module;  // nullptr: nothing
    bool closingCrLf;
};

void AnalyzePairing(const ByteString& frame, std::string& text, const PairingShape& shape);

// The field printers of the family: 6-byte MAC and 2-byte PANID last byte first, a byte in
// decimal, and bytes in frame order.
void PrintMac(FrameReader& in, std::string& text);
void PrintPanId(FrameReader& in, std::string& text);
void PrintDecimal(uint8_t value, std::string& text);
void PrintDecimal(FrameReader& in, std::string& text);
void PrintBytes(FrameReader& in, size_t n, std::string& text);
// The bytes from the cursor to the last data byte (frame position 5 + L), in frame order.
void PrintToLastDataByte(FrameReader& in, unsigned length, std::string& text);

}  // namespace pairing_detail

// Branches of one text: always, or when the frame holds the sub-code alone (L = 1).
#define PAIRING_TEXT(name, fixed) \
    void name(FrameReader&, unsigned, std::string& text) { text += fixed; }
#define PAIRING_TEXT_IF_L1(name, success) \
    void name(FrameReader&, unsigned length, std::string& text) { \
        if (length == 1) text += success; \
    }
