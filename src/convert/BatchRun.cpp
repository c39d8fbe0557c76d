#include "convert/BatchRun.h"

#include <QThread>
#include <algorithm>

namespace convert {

BatchRun::BatchRun(QList<Job> jobs, Options options, int threads, QObject *parent)
    : QObject(parent), m_jobs(std::move(jobs)), m_options(options)
{
    m_options.cancel = &m_cancel;
    m_outcomes.resize(m_jobs.size());
    const int cores = std::max(1, QThread::idealThreadCount());
    const int wanted = threads > 0 ? std::min(threads, cores) : cores;
    m_pool.setMaxThreadCount(std::max(1, std::min(wanted, int(m_jobs.size()))));
}

BatchRun::~BatchRun()
{
    m_cancel = true;
    m_pool.clear();
    m_pool.waitForDone();
}

void BatchRun::start()
{
    if (m_started)
        return;
    m_started = true;
    if (m_jobs.isEmpty()) {
        QMetaObject::invokeMethod(this, &BatchRun::finished, Qt::QueuedConnection);
        return;
    }
    for (int i = 0; i < m_jobs.size(); ++i)
        m_pool.start([this, i] { run(i); });
}

void BatchRun::cancel()
{
    m_userCancel = true;
    m_cancel = true;
}

void BatchRun::wait()
{
    m_pool.waitForDone();
}

void BatchRun::run(int index)
{
    // On a worker thread: only the flags and the job's own data are touched here; the outcome
    // goes to the owner's thread as an event.
    if (m_cancel) {
        report(index, JobOutcome{JobOutcome::State::Skipped, {}, {}});
        return;
    }
    QMetaObject::invokeMethod(
        this, [this, index] { emit jobStarted(index); }, Qt::QueuedConnection);
    platform::ErrorOr<QString> done = convertFile(m_jobs.at(index), m_options);
    JobOutcome outcome;
    if (done) {
        outcome.state = JobOutcome::State::Converted;
        outcome.output = *done;
    } else if (isCancelledError(done.error())) {
        outcome.state = JobOutcome::State::Skipped;
    } else {
        outcome.state = JobOutcome::State::Failed;
        outcome.error = done.error();
        // The next outputs would fail the same way: the running ones stop, the rest are skipped.
        if (outcome.error.kind == platform::Error::Kind::Io && !m_stopping.exchange(true))
            m_cancel = true;
    }
    report(index, std::move(outcome));
}

void BatchRun::report(int index, JobOutcome outcome)
{
    QMetaObject::invokeMethod(
        this,
        [this, index, outcome = std::move(outcome)] {
            if (outcome.state == JobOutcome::State::Failed &&
                outcome.error.kind == platform::Error::Kind::Io && !m_stopReason)
                m_stopReason = outcome.error;
            m_outcomes[index] = outcome;
            ++m_ended;
            emit jobEnded(index);
            if (m_ended == total())
                emit finished();
        },
        Qt::QueuedConnection);
}

} // namespace convert
