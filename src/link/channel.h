#pragma once
// The line to the module. The serial port is one kind of channel; a socket channel is a sibling
// of it, never a branch inside it.

#include <cstddef>
#include <functional>
#include <string>

class Channel {
public:
    // Every block of bytes read, on the channel's reader thread.
    using ReceiveHandler = std::function<void(const unsigned char* bytes, size_t count)>;
    // The line went away; called on the reader thread, which must not close the channel.
    using HangUpHandler = std::function<void()>;

    virtual ~Channel() = default;

    // Opens with the settings the channel holds: 0 on success, else the channel's error code.
    virtual int Open() = 0;
    virtual int Close() = 0;
    // The number of bytes written, or the channel's error code when it is not open.
    virtual int Write(const unsigned char* bytes, size_t count) = 0;
    // Writes the bytes and says how many of them went out: 0 when none did, -1 when the channel
    // cannot say (a stream's failed write).
    virtual int Send(const unsigned char* bytes, size_t count) = 0;
    // True for a byte stream, whose reads may end inside a frame; false for datagrams.
    virtual bool IsStream() const = 0;
    virtual bool IsOpen() const = 0;
    // True once the line hung up while open, until the next open.
    virtual bool HasHungUp() const = 0;
    // What went wrong last, in words for the user ("" when nothing did).
    virtual std::string LastErrorText() const = 0;
    // Both handlers are set before the channel opens.
    virtual void SetReceiveHandler(ReceiveHandler handler) = 0;
    virtual void SetHangUpHandler(HangUpHandler handler) = 0;
};
