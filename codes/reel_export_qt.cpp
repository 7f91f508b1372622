#include "codes/reel_export_qt.h"

namespace corvane {

ReelExportJob::ReelExportJob(ReelJob job, QObject* parent) : QObject(parent), job_(std::move(job)) {}

ReelExportJob::~ReelExportJob() {
    cancel();
    if (thread_) thread_->wait();
}

void ReelExportJob::start() {
    if (thread_) return;
    // The signals are emitted on the export's thread and queued to this object's.
    thread_.reset(QThread::create([this] {
        const ReelResult result = writeReel(
            job_,
            [this](const ReelProgress& p) { Q_EMIT progressed(p.clip, p.clipCount, p.secondsDone, p.secondsTotal); },
            cancelled_);
        Q_EMIT finished(static_cast<int>(result.status), QString::fromStdString(result.detail));
    }));
    thread_->setObjectName(QStringLiteral("reel export"));
    thread_->start(QThread::LowPriority);
}

}  // namespace corvane
