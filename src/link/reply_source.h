#pragma once
// What a batch run or a repeat needs of one reply queue: empty it, know whether a reply has
// arrived since, and take the oldest. Jobs hold this, not the queue and its flag.

#include "link/reply_queue.h"

class ReplySource {
public:
    virtual ~ReplySource() = default;
    // Empties the queue, then lowers its arrival flag.
    virtual void Flush() = 0;
    // A reply was filed since the last Flush.
    virtual bool Arrived() const = 0;
    // Takes the oldest reply; false, with reply untouched, when there is none.
    virtual bool Pop(ReplyEntry& reply) = 0;
};

// A ReplySource over one of the link's queues and the flag it raises.
class QueueReplySource final : public ReplySource {
public:
    QueueReplySource(ReplyQueue<ReplyEntry>& queue, ArrivedFlag& arrived) : m_queue(queue), m_arrived(arrived) {}
    void Flush() override {
        m_queue.Clear();
        m_arrived = 0;
    }
    bool Arrived() const override { return m_arrived == 1; }
    bool Pop(ReplyEntry& reply) override { return m_queue.Pop(reply); }

private:
    ReplyQueue<ReplyEntry>& m_queue;
    ArrivedFlag& m_arrived;
};
