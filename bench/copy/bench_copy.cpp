// Copy benchmark program: one copy with the copy engine, as the file commands make it.
//
//   bench_copy SOURCE TARGET
//
// An existing TARGET is replaced without a question. Prints nothing on success; on a failure,
// the engine's report and exit status 1. bench/copy/run.sh times it against cp.
#include "platform/files/CopyEngine.h"

#include <cstdio>

namespace {

class Unattended : public platform::CopyObserver
{
public:
    platform::ReplaceAnswer confirmReplace(const QString &, const QString &) override
    {
        return platform::ReplaceAnswer::Yes;
    }
    bool progress(const platform::CopyProgress &) override { return true; }
};

} // namespace

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: bench_copy SOURCE TARGET\n");
        return 2;
    }
    Unattended observer;
    const platform::CopyResult result = platform::CopyEngine(observer).copyFile(
        QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2]));
    if (result.files.front().outcome != platform::CopyOutcome::Copied) {
        std::fprintf(stderr, "bench_copy: %s\n", qPrintable(result.files.front().status.message()));
        return 1;
    }
    return 0;
}
