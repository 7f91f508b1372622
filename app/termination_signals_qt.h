#pragma once

#include <QObject>

#include <functional>

class QSocketNotifier;

namespace corvane {

// SIGTERM, SIGINT and SIGHUP (a logout, Ctrl+C in the terminal, a service manager stopping the
// program) end the run the way closing the main window does, instead of killing the process in
// the middle of a write. The signal handler only writes a byte into a pipe; the action runs on
// the user-interface thread. One object per process; the default actions come back with its end.
class TerminationSignals : public QObject {
public:
    explicit TerminationSignals(std::function<void()> onSignal, QObject* parent = nullptr);
    ~TerminationSignals() override;
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

private:
    std::function<void()> onSignal_;
    QSocketNotifier* notifier_ = nullptr;
};

// What a stop request does in the player: the exports under way end at once (their partial
// output removed, no message), the windows close as the user would close them, and the run ends.
void stopTheRun();

}  // namespace corvane
