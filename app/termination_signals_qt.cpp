#include "app/termination_signals_qt.h"

#include <QApplication>
#include <QSocketNotifier>

#include "codes/tfreel.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace corvane {

namespace {

// The write end of the pipe; the only thing the handler touches. A signal handler can reach
// nothing but a file-scope value: this one is written once, before the handlers are set.
volatile std::sig_atomic_t signalPipe = -1;

void onTerminationSignal(int) {
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(signalPipe, &byte, 1);
    errno = saved;
}

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

}  // namespace

TerminationSignals::TerminationSignals(std::function<void()> onSignal, QObject* parent)
    : QObject(parent), onSignal_(std::move(onSignal)) {
    int ends[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, ends) != 0) return;
    signalPipe = ends[1];
    notifier_ = new QSocketNotifier(ends[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] {
        char bytes[16];
        while (::read(static_cast<int>(notifier_->socket()), bytes, sizeof bytes) > 0) {
        }
        if (onSignal_) onSignal_();
    });
    struct sigaction action {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : kSignals) ::sigaction(signal, &action, nullptr);
}

void stopTheRun() {
    // An export's window would refuse to close until its export has cleaned up, and a refused
    // close makes the quit a no-op: the exports end first, with no message waiting for anyone.
    endReelExportsNow();
    QApplication::closeAllWindows();
    QApplication::quit();
}

TerminationSignals::~TerminationSignals() {
    if (!notifier_) return;
    for (const int signal : kSignals) std::signal(signal, SIG_DFL);
    ::close(static_cast<int>(notifier_->socket()));
    ::close(signalPipe);
    signalPipe = -1;
}

}  // namespace corvane
