#pragma once
// The small ports the window's repeats are built on: timers and captions, page texts, command
// senders and reply queues, and what the repeats need of the main window.

#include <cstdint>
#include <string>

#include "link/reply_queue.h"
#include "link/reply_source.h"
#include "platform/ui.h"

// What a repeat does to the window it runs on.
class RepeatWindow {
public:
    virtual ~RepeatWindow() = default;
    virtual void StartTimer(int id, uint32_t periodMs) = 0;
    virtual void StopTimer(int id) = 0;
    virtual void SetControlText(int id, const std::string& text) = 0;
};

// A dialog's own timers and controls.
class DialogRepeatWindow : public RepeatWindow {
public:
    explicit DialogRepeatWindow(Dialog& dialog) : m_dialog(dialog) {}
    void StartTimer(int id, uint32_t periodMs) override { m_dialog.SetTimer(id, periodMs); }
    void StopTimer(int id) override { m_dialog.KillTimer(id); }
    void SetControlText(int id, const std::string& text) override { m_dialog.SetDlgItemText(id, text); }

private:
    Dialog& m_dialog;
};

// The texts typed into a page's controls.
class PageTexts {
public:
    virtual ~PageTexts() = default;
    virtual std::string ControlText(int id) const = 0;
};

// The commands of a page's buttons, each built from the page as it stands and sent as a click
// sends it. False when refused (its message shown).
class CommandSender {
public:
    virtual ~CommandSender() = default;
    virtual bool OnCommandButton(int button) = 0;
};

// A repeat's reply queue: besides emptying it, a tick lowers its arrival flag and leaves the
// replies in it.
class RepeatReplySource : public ReplySource {
public:
    virtual void LowerArrived() = 0;
};

// A RepeatReplySource over one of the link's queues and the flag it raises.
class QueueRepeatReplySource final : public RepeatReplySource {
public:
    QueueRepeatReplySource(ReplyQueue<ReplyEntry>& queue, ArrivedFlag& arrived)
        : m_source(queue, arrived), m_arrived(arrived) {}
    void Flush() override { m_source.Flush(); }
    bool Arrived() const override { return m_source.Arrived(); }
    bool Pop(ReplyEntry& reply) override { return m_source.Pop(reply); }
    void LowerArrived() override { m_arrived = 0; }

private:
    QueueReplySource m_source;
    ArrivedFlag& m_arrived;
};

// What the repeats need of the main window beyond its controls, timers and channel.
class RepeatHost : public CommandSender {
public:
    // Runs a settings dialog modally over the window.
    virtual int RunModal(Dialog& dialog) = 0;
    // The search log into a file named by the local time.
    virtual void SaveSearchLog() = 0;
};
