#pragma once
// Watches a socket for data and tells a dialog through a window message: wParam is the socket,
// lParam kSocketReadEvent. After the message the socket is watched again, so a socket that
// still holds data posts the next one.

#include <cstdint>
#include <memory>

class Dialog;

class SocketNotifier {
public:
    static constexpr intptr_t kSocketReadEvent = 1;

    // On the user-interface thread; the dialog outlives the notifier.
    SocketNotifier(Dialog& target, int fd, uint32_t message);
    // Stops watching; call it before the socket closes.
    ~SocketNotifier();
    SocketNotifier(const SocketNotifier&) = delete;
    SocketNotifier& operator=(const SocketNotifier&) = delete;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};
