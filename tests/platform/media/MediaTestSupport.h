// What the media tests share: a temporary folder, waiting on the event loop, and the SDL "disk"
// driver capturing what would be heard.
#pragma once

#include <QTemporaryDir>
#include <functional>
#include <vector>

namespace mediatest {

// Runs the event loop until pred() holds or timeoutMs passes; returns pred().
bool waitUntil(const std::function<bool()> &pred, int timeoutMs = 30000);

// While alive, SDL audio goes to a raw float file instead of the dummy driver. The devices must be
// closed (the output released) before samples() is read, so that SDL has flushed the file.
class DiskCapture
{
public:
    explicit DiskCapture(const QString &folder);
    ~DiskCapture();
    std::vector<float> samples() const; // interleaved, 2 channels, 44100 Hz
    static constexpr int kRate = 44100;
    static constexpr int kChannels = 2;

private:
    QString m_file;
};

struct Sound
{
    double startSec = 0;
    double durationSec = 0; // from the first to the last sample above the threshold
    double frequency = 0;   // from rising zero crossings inside that span
    double rms = 0;
};
Sound analyse(const std::vector<float> &interleaved, int channels, int rate, float threshold = 0.01f);

// Threads and open descriptors of this process, to see that nothing piles up.
int threadCount();
int openFileCount();

} // namespace mediatest
