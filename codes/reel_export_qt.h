#pragma once

#include <QObject>
#include <QThread>

#include <atomic>
#include <memory>

#include "reels/reel_writer.h"

namespace corvane {

// Runs one reel export on a thread of its own, the one place besides the player library where
// the program leaves the interface thread: the writer gets a copy of everything it needs, so the
// windows and the program state stay the interface thread's alone. Progress and the end arrive
// as signals on the interface thread. Destroying the object cancels the export and waits for it.
class ReelExportJob : public QObject {
    Q_OBJECT

public:
    explicit ReelExportJob(ReelJob job, QObject* parent = nullptr);
    ~ReelExportJob() override;

    void start();
    void cancel() { cancelled_.store(true); }
    bool running() const { return thread_ && thread_->isRunning(); }

Q_SIGNALS:
    void progressed(int clip, int clipCount, double secondsDone, double secondsTotal);
    void finished(int status, const QString& detail);

private:
    ReelJob job_;
    std::atomic<bool> cancelled_{false};
    std::unique_ptr<QThread> thread_;
};

}  // namespace corvane
