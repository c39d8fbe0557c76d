#include "platform/media/MediaLength.h"

#include "platform/media/FfmpegInput.h"
#include "platform/media/MciTypes.h"
#include "platform/media/MidiFile.h"

#include <QFile>

namespace platform::media {

namespace {

int64_t midiLengthMs(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > qint64(MidiFile::kMaxFileSize))
        return 0;
    const QByteArray bytes = file.readAll();
    MidiFile midi;
    if (!midi.parse(reinterpret_cast<const uint8_t *>(bytes.constData()), size_t(bytes.size())))
        return 0;
    return midi.lengthMs();
}

// The streams are those the device would open: the wave device wants sound, the video device
// both (either may be missing).
int64_t streamLengthMs(const QString &path, bool wantVideo)
{
    FfmpegInput input;
    if (!input.open(path, mciDemuxerFor(path), true, wantVideo).ok())
        return 0;
    return input.durationMs();
}

} // namespace

int64_t probeMediaLengthMs(const QString &nativePath)
{
    switch (mciDeviceTypeFor(nativePath)) {
    case MciDeviceType::Sequencer:
        return midiLengthMs(nativePath);
    case MciDeviceType::WaveAudio:
        return streamLengthMs(nativePath, false);
    case MciDeviceType::AviVideo:
        return streamLengthMs(nativePath, true);
    case MciDeviceType::None:
        break;
    }
    return 0;
}

} // namespace platform::media
