// One conversion: an input file, the folder its output goes into and the format, turned into a
// finished output file or a failure with its reason. The command line and the window both run
// their jobs through convertFile.
// Rules: the input is decoded completely before anything is written; the output goes through
// AtomicOutput (temporary name, the input's modification time, never over an existing file).
// A failure of kind Io means the destination cannot take the output (unwritable folder, full
// disk): callers stop there rather than fail every remaining file the same way.
// Any thread may run a job, several at once. A job whose cancel flag is raised while it runs
// stops at its next block of data and fails with cancelledError(); nothing of it is left.
#pragma once

#include "platform/Result.h"

#include <QString>
#include <atomic>

namespace convert {

struct Job
{
    QString input;
    QString outFolder;
    QString format; // a format the input's kind can become
};

struct Options
{
    int width = 0; // drawings (WMF, EMF) to pixels: output width; 0 keeps the drawing's own size
    const std::atomic<bool> *cancel = nullptr; // raised: the job stops as soon as it can
};

// Whether the flag is raised (a null flag never is).
inline bool isCancelled(const std::atomic<bool> *cancel)
{
    return cancel && cancel->load(std::memory_order_relaxed);
}
platform::Error cancelledError();
bool isCancelledError(const platform::Error &error);

// Answers the output's path.
platform::ErrorOr<QString> convertFile(const Job &job, const Options &options);

} // namespace convert
