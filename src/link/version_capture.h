#pragma once
// The capture of the module's version reply after the port opens: armed before the request
// goes out, it takes the first checked frame. It stays armed until the window's wait has ended
// and a block received after the arming has been split, whichever is later, but never longer
// than the bound: a module that does not answer still ends it.

#include <atomic>
#include <chrono>
#include <mutex>

class VersionCapture {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::milliseconds kBound{500};

    void Arm(Clock::time_point now = Clock::now());
    // Ends the capture at once.
    void End();
    // The window's wait is over: the capture ends now when a block has been split since the
    // arming, else after the next one.
    void EndWait();
    // A received block has gone through the splitter.
    void BlockSplit();
    // True, and the capture ends, when it is armed at now: the frame in hand gives the version.
    bool Claim(Clock::time_point now = Clock::now());
    bool IsArmed(Clock::time_point now = Clock::now()) const;

private:
    mutable std::mutex m_lock;
    std::atomic<bool> m_armed{false};  // read without the lock on every frame
    bool m_waitOver = false;
    bool m_blockSplit = false;
    Clock::time_point m_deadline;
};
