#include "platform/socket_notifier.h"

#include <QPointer>
#include <QSocketNotifier>

#include "platform/ui.h"

struct SocketNotifier::Impl {
    QPointer<QSocketNotifier> notifier;
    // False once the notifier is gone: a message still queued does not wake it again.
    std::shared_ptr<bool> live = std::make_shared<bool>(true);
};

SocketNotifier::SocketNotifier(Dialog& target, int fd, uint32_t message) : impl_(new Impl) {
    auto* notifier = new QSocketNotifier(fd, QSocketNotifier::Read);
    impl_->notifier = notifier;
    std::shared_ptr<bool> live = impl_->live;
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [notifier, live, &target, fd, message] {
        // Quiet until the message has been handled: the handler reads what is there.
        notifier->setEnabled(false);
        QPointer<QSocketNotifier> watch(notifier);
        target.PostTask([watch, live, &target, fd, message] {
            target.SendMessage(message, static_cast<uintptr_t>(fd), kSocketReadEvent);
            if (watch && *live) watch->setEnabled(true);
        });
    });
}

SocketNotifier::~SocketNotifier() {
    *impl_->live = false;
    if (QSocketNotifier* n = impl_->notifier.data()) {
        // It may be in the middle of its own signal: it goes once the event loop is back.
        n->setEnabled(false);
        n->deleteLater();
    }
}
