#include "MediaTestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <cmath>

namespace mediatest {

namespace {
// Tests never need a sound card: the silent real-time driver unless a test picks another.
const bool silentDriver = [] {
    if (qEnvironmentVariableIsEmpty("SDL_AUDIODRIVER"))
        qputenv("SDL_AUDIODRIVER", "dummy");
    return true;
}();
} // namespace

bool waitUntil(const std::function<bool()> &pred, int timeoutMs)
{
    QElapsedTimer t;
    t.start();
    while (!pred()) {
        if (t.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(2);
    }
    return true;
}

DiskCapture::DiskCapture(const QString &folder) : m_file(folder + "/heard.raw")
{
    qputenv("SDL_AUDIODRIVER", "disk");
    qputenv("SDL_DISKAUDIOFILE", QFile::encodeName(m_file));
}

DiskCapture::~DiskCapture()
{
    qputenv("SDL_AUDIODRIVER", "dummy");
    qunsetenv("SDL_DISKAUDIOFILE");
}

std::vector<float> DiskCapture::samples() const
{
    QFile f(m_file);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = f.readAll();
    std::vector<float> out(size_t(bytes.size()) / sizeof(float));
    memcpy(out.data(), bytes.constData(), out.size() * sizeof(float));
    return out;
}

Sound analyse(const std::vector<float> &interleaved, int channels, int rate, float threshold)
{
    Sound s;
    const size_t frames = interleaved.size() / size_t(channels);
    size_t first = frames, last = 0;
    for (size_t i = 0; i < frames; ++i) {
        if (std::fabs(interleaved[i * channels]) > threshold) {
            first = std::min(first, i);
            last = i;
        }
    }
    if (first >= frames)
        return s;
    int crossings = 0;
    double sum = 0;
    for (size_t i = first; i <= last; ++i) {
        const float x = interleaved[i * channels];
        sum += double(x) * x;
        if (i > first && interleaved[(i - 1) * channels] < 0 && x >= 0)
            ++crossings;
    }
    s.startSec = double(first) / rate;
    s.durationSec = double(last - first + 1) / rate;
    s.frequency = crossings / s.durationSec;
    s.rms = std::sqrt(sum / double(last - first + 1));
    return s;
}

int threadCount()
{
    return int(QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size());
}

int openFileCount()
{
    return int(QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::Files | QDir::System).size());
}

} // namespace mediatest
