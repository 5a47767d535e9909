#pragma once
// Cuts a gathered block of received bytes into checked 0x79 frames, finds the meter answer
// that a meter-reading round waits for, and hands on what is left as a raw chunk.

#include <functional>
#include <string>

#include "link/byte_string.h"

// Modes of a block handed to the classifier.
constexpr int kRawChunk = 0;
constexpr int kCheckedFrame = 1;

// DL/T 645 frames start and end their header with this byte.
constexpr unsigned char kMeterFrameStart = 0x68;

struct SplitSettings {
    bool showAllReceived = false;   // the check box "显示所有串口接收报文"
    bool meterPassEnabled = false;  // meter-reading rounds are running
    ByteString meterAddress;        // address of the meter being read, 6 bytes in frame order
};

struct SplitHandlers {
    // The classifier: a checked frame (kCheckedFrame) or a raw chunk (kRawChunk).
    std::function<void(const ByteString& bytes, int mode)> classify;
    // A meter answer from the meter being read: store it and wake the round.
    std::function<void(const ByteString& meterFrame)> meterFrame;
    // Asked for every checked frame: true when this frame is the first after the port opened
    // (the flag was clear and is now set). That frame is not classified; it gives the version
    // text instead. Empty: no capture.
    std::function<bool()> claimVersionCapture;
    // Receives the captured version text.
    std::function<void(const std::string& text)> setVersionText;
};

// Scans one block. Every checked frame is handed on in order, frames inside another frame's
// data included. When a frame ends the block the scan stops there and nothing more goes out as
// a raw chunk; during meter rounds the first meter answer from the meter being read is still
// handed on. Otherwise, during meter rounds, that answer is handed on with the bytes before and
// after it as raw chunks; failing that the whole block goes out as one raw chunk (unless the
// check box already sent it). Linear in the block: each start byte costs the same.
void SplitReceivedStream(const ByteString& block, const SplitSettings& settings, const SplitHandlers& handlers);

// Where the frame that the end of the block cuts off starts: the first 0x79 at or after the end
// of the last checked frame whose length reaches past the block (a 0x79 inside a whole meter
// frame is none), or, when earlier, an unfinished DL/T 645 frame at the end: the first 0x68
// that can still open a whole meter frame (68, address, 68, control, length, data, sum) and
// lies inside no whole frame, with up to four FE wake-up bytes before it (or such bytes alone at
// the end). The block's size when there is none. A block taken before the line went quiet is split up to here; the rest waits
// for the bytes that complete it. Linear in the block.
size_t IncompleteFrameStart(const ByteString& block);
size_t IncompleteFrameStart(const unsigned char* bytes, size_t count);

// The version text of the first frame after opening: "版本号:" alone for any command but 0x02;
// for a version reply the vendor, chip type, product and version. False (text untouched) for a
// version reply with fewer than 7 data bytes: it must not change the label.
bool VersionTextFromFrame(const ByteString& frame, std::string& text);
