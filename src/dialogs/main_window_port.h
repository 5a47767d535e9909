#pragma once
// What the tool dialogs and the test panel need of the main window.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "analyzer/analyzer_sink.h"
#include "link/byte_string.h"
#include "link/frame_history.h"
#include "platform/local_time.h"
#include "platform/ui.h"

// The relays the main window's requests go through, as the relay dialog sets them.
struct RelaySettings {
    static constexpr int kMaxRelays = 6;
    std::string addresses[kMaxRelays];  // 12 digits each, the first count in use
    int count = 0;
    bool enabled = false;
    bool indexOn = false;
    std::string indexText;
};

// Reading meters through an acquisition unit, as its dialog sets it.
struct AcqUnitSettings {
    bool readVia = false;
    ByteString address = ByteString(6, 0);  // least significant byte first
    uint8_t position = 0;                   // the 485 address in the data field: 1 head, 0 tail
};

// Explaining a frame in a tool dialog changes the window as it does anywhere: the port is the
// explanations' sink.
class MainWindowPort : public AnalyzerSink {
public:
    // Writes the frame on the open channel and records it in the frame history as sent.
    virtual void SendFrame(ByteString frame) = 0;
    // Enables a control of the main window again (the button that showed a tool dialog).
    virtual void EnableControl(int id) = 0;
    // Shows the hex text of the list's selected row in the main window's frame detail viewer.
    virtual void ShowRowDetail(ListView list) = 0;
    // Shows the text in the main window's frame detail viewer.
    virtual void ShowDetailText(const std::string& /*text*/) {}
    // What the test panel needs besides; a window without them keeps these defaults.
    // True from the opening of the port until its version reply is taken or its wait has ended.
    virtual bool IsVersionCaptureArmed() { return false; }
    // The broadcast reply test dialog: shown, or emptied before a new request's answers come.
    virtual void ShowBroadcastReplyTest() {}
    virtual void ClearBroadcastReplyList() {}
    // The test panel's continuous send test: started after its settings dialog, and stopped.
    virtual void OnPanelContinuousSend() {}
    virtual void OnPanelStopContinuousSend() {}
    // DL/T 645 answers of the device at address (6 bytes in frame order), watched apart from the
    // meter rounds: while watched, the latest one is kept; each call forgets the one kept.
    // TakeNodeAnswer: the one kept, then forgotten, or empty.
    virtual void WatchNodeAnswer(bool /*on*/, const ByteString& /*address*/) {}
    virtual ByteString TakeNodeAnswer() { return ByteString(); }
    // The window's relay and acquisition-unit settings, which the requests read.
    RelaySettings& Relays() { return m_relays; }
    AcqUnitSettings& AcqUnit() { return m_acqUnit; }
    // Calls visit for every record of the frame history in order, numbered from 0. Recording
    // waits meanwhile, so visit may add monitor rows as the recording routines do.
    virtual void VisitHistory(const std::function<void(uint32_t index, const MonitorRecord&)>& visit) = 0;

    enum class RecordView { Found, Missing, Busy };
    // The times of the history record at position: when it was put into the history and when its
    // monitor row was first selected (stamped now on the first call). Busy while the history is
    // held elsewhere: the caller tries again later rather than wait.
    virtual RecordView ViewHistoryRecord(intptr_t position, SystemTime& shown, SystemTime& viewed) = 0;
    // Stamps the records at positions first to last as ViewHistoryRecord does, without reading
    // them back: rows shown together count as selected one after the other.
    virtual void ViewHistoryRecords(intptr_t first, intptr_t last) = 0;
    // Position of the oldest record the history keeps: its bound has dropped those before it.
    virtual intptr_t FirstHistoryPosition() { return 0; }

protected:
    ~MainWindowPort() = default;

private:
    RelaySettings m_relays;
    AcqUnitSettings m_acqUnit;
};
