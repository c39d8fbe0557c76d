// One conversion: an input file, the folder its output goes into and the format, turned into a
// finished output file or a failure with its reason. The command line and the window both run
// their jobs through convertFile.
// Rules: the input is decoded completely before anything is written; the output goes through
// AtomicOutput (temporary name, the input's modification time, never over an existing file).
// A failure of kind Io means the destination cannot take the output (unwritable folder, full
// disk): callers stop there rather than fail every remaining file the same way.
#pragma once

#include "platform/Result.h"

#include <QString>

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
};

// Answers the output's path.
platform::ErrorOr<QString> convertFile(const Job &job, const Options &options);

// Whether a job decodes through a widget (a BMP through TPicture), so must run on the interface
// thread; every other job may run on any thread, several at once.
bool needsInterfaceThread(const Job &job);

} // namespace convert
