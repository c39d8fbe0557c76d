// A list of jobs run on a small pool of threads (at most one a core), reported back on the thread
// that owns the run: which job started, which ended and how, and the end of the run.
// Rules: cancel() raises the jobs' flag: a running job stops at its next block and leaves nothing,
// a job not yet started is skipped. A job that fails with an Io error (the destination cannot take
// its output: full disk, no write access) stops the run the same way, and stopReason() keeps that
// failure. The destructor cancels and waits, so no job outlives its run.
#pragma once

#include "convert/Converter.h"

#include <QList>
#include <QObject>
#include <QThreadPool>
#include <atomic>
#include <optional>

namespace convert {

struct JobOutcome
{
    enum class State { Pending, Converted, Failed, Skipped };
    State state = State::Pending;
    QString output;        // Converted: the output's path
    platform::Error error; // Failed: why
};

class BatchRun : public QObject
{
    Q_OBJECT
public:
    // threads: 0 for one a core; never more than there are jobs.
    BatchRun(QList<Job> jobs, Options options, int threads = 0, QObject *parent = nullptr);
    ~BatchRun() override;
    BatchRun(const BatchRun &) = delete;
    BatchRun &operator=(const BatchRun &) = delete;

    void start();
    void cancel();
    // Blocks until every started job has ended (their reports are still delivered as events).
    void wait();

    const QList<Job> &jobs() const { return m_jobs; }
    const QList<JobOutcome> &outcomes() const { return m_outcomes; }
    int total() const { return int(m_jobs.size()); }
    int ended() const { return m_ended; } // jobs converted, failed or skipped so far
    bool isFinished() const { return m_started && m_ended == total(); }
    bool cancelRequested() const { return m_userCancel; }
    const std::optional<platform::Error> &stopReason() const { return m_stopReason; }
    int threadCount() const { return m_pool.maxThreadCount(); }

signals:
    void jobStarted(int index);
    void jobEnded(int index);
    void finished();

private:
    void run(int index);
    void report(int index, JobOutcome outcome);

    QList<Job> m_jobs;
    Options m_options;
    QList<JobOutcome> m_outcomes;
    QThreadPool m_pool;
    std::atomic<bool> m_cancel{false};
    std::atomic<bool> m_stopping{false};
    bool m_userCancel = false;
    bool m_started = false;
    int m_ended = 0;
    std::optional<platform::Error> m_stopReason;
};

} // namespace convert
