// Clips, sounds and tunes: a frame from a tenth into the clip, a waveform, a piano roll.
#include "platform/media/FfmpegInput.h"
#include "platform/media/MciTypes.h"
#include "platform/media/MidiFile.h"
#include "thumbnails/ThumbnailTypes.h"

#include <QPainter>
#include <array>
#include <vector>

namespace thumbs {

using platform::media::FfmpegInput;

namespace {

// Sounds longer than this are read in short samples, one per column, rather than whole.
constexpr int64_t kWholeSoundMs = 20 * 60 * 1000;
constexpr int kSampleMs = 60;

class FirstPicture : public FfmpegInput::Sink
{
public:
    explicit FirstPicture(const Budget &budget) : m_budget(budget) {}
    bool audio(const float *, int) override { return m_budget.ok(); }
    bool video(const QImage &picture, int64_t) override
    {
        m_picture = picture.copy();
        return false;
    }
    QImage m_picture;

private:
    const Budget &m_budget;
};

// The smallest and largest sample of each channel in each column.
class WaveColumns : public FfmpegInput::Sink
{
public:
    WaveColumns(int columns, int channels, int64_t expectedFrames, const Budget &budget)
        : m_columns(columns), m_channels(channels), m_expected(std::max<int64_t>(1, expectedFrames)),
          m_low(size_t(columns * channels), 1.f), m_high(size_t(columns * channels), -1.f), m_budget(budget)
    {
    }
    // While sampling, every frame delivered goes to this column.
    void setColumn(int column) { m_fixed = column; }
    bool audio(const float *frames, int count) override
    {
        for (int i = 0; i < count; ++i, ++m_frame) {
            const int column = m_fixed >= 0
                                   ? m_fixed
                                   : int(std::min<int64_t>(m_columns - 1, m_frame * m_columns / m_expected));
            for (int c = 0; c < m_channels; ++c) {
                const float v = frames[i * m_channels + c];
                const size_t at = size_t(column * m_channels + c);
                m_low[at] = std::min(m_low[at], v);
                m_high[at] = std::max(m_high[at], v);
            }
        }
        m_taken += count;
        return m_budget.ok() && (m_fixed < 0 || m_taken < m_sampleFrames);
    }
    bool video(const QImage &, int64_t) override { return m_budget.ok(); }
    void startSample(int column, int64_t frames)
    {
        m_fixed = column;
        m_taken = 0;
        m_sampleFrames = frames;
    }
    int64_t framesSeen() const { return m_frame; }
    float low(int column, int channel) const { return m_low[size_t(column * m_channels + channel)]; }
    float high(int column, int channel) const { return m_high[size_t(column * m_channels + channel)]; }

private:
    int m_columns, m_channels;
    int64_t m_expected;
    std::vector<float> m_low, m_high;
    const Budget &m_budget;
    int64_t m_frame = 0;
    int m_fixed = -1;
    int64_t m_taken = 0, m_sampleFrames = 0;
};

QImage drawWave(const WaveColumns &wave, int columns, int channels, int height)
{
    QImage img(columns, height, QImage::Format_ARGB32);
    img.fill(QColor(0xf4, 0xf6, 0xfa));
    QPainter p(&img);
    const double lane = double(height) / channels;
    for (int c = 0; c < channels; ++c) {
        const double top = c * lane, mid = top + lane / 2, half = lane / 2 - 1;
        p.setPen(QColor(0xc8, 0xd0, 0xdc));
        p.drawLine(QPointF(0, mid), QPointF(columns, mid));
        if (c > 0) {
            p.setPen(QColor(0x90, 0x98, 0xa8));
            p.drawLine(QPointF(0, top), QPointF(columns, top));
        }
        p.setPen(QColor(0x1e, 0x50, 0xa0));
        for (int x = 0; x < columns; ++x) {
            const float lo = wave.low(x, c), hi = wave.high(x, c);
            if (lo > hi)
                continue; // no sound reached this column
            const double y1 = mid - std::clamp(double(hi), -1.0, 1.0) * half;
            const double y2 = mid - std::clamp(double(lo), -1.0, 1.0) * half;
            p.drawLine(QPointF(x + 0.5, y1), QPointF(x + 0.5, std::max(y2, y1 + 1)));
        }
    }
    return img;
}

// One colour per MIDI channel, drum channel 10 grey.
QColor channelColour(int channel)
{
    static const std::array<QRgb, 16> colours = {
        0xffe6194b, 0xff3cb44b, 0xffffe119, 0xff4363d8, 0xfff58231, 0xff911eb4, 0xff46f0f0, 0xfff032e6,
        0xffbcf60c, 0xffa0a0a0, 0xff008080, 0xffe6beff, 0xff9a6324, 0xfffffac8, 0xffaaffc3, 0xffffd8b1};
    return QColor::fromRgba(colours[size_t(channel & 15)]);
}

} // namespace

platform::ErrorOr<Made> videoThumbnail(const QString &path, int, const Budget &budget)
{
    FfmpegInput input;
    const platform::MciResult opened = input.open(path, platform::mciDemuxerFor(path), false, true);
    if (!opened.ok() || !input.hasVideo())
        return damaged(opened.ok() ? QStringLiteral("no video stream") : opened.english);
    const QSize size = input.videoSize();
    if (platform::Status allowed = budget.allowPicture(size.width(), size.height()); !allowed)
        return allowed.error();
    const int64_t at = input.durationMs() / 10;
    FirstPicture sink(budget);
    const auto readPicture = [&] {
        while (sink.m_picture.isNull() && budget.ok() && input.step(sink) == FfmpegInput::Step::More) {
        }
    };
    if (at > 0 && input.seekMs(at))
        readPicture();
    // A clip that cannot seek there, or ends before, shows its first picture instead.
    if (sink.m_picture.isNull() && budget.ok() && (at == 0 || input.seekMs(0)))
        readPicture();
    if (!budget.ok())
        return budget.stopped();
    if (sink.m_picture.isNull())
        return damaged(QStringLiteral("no picture could be decoded"));
    Made m;
    m.image = std::move(sink.m_picture);
    m.pictureSize = size;
    return m;
}

platform::ErrorOr<Made> waveThumbnail(const QString &path, int box, const Budget &budget)
{
    FfmpegInput input;
    const platform::MciResult opened = input.open(path, platform::mciDemuxerFor(path), true, false);
    if (!opened.ok() || !input.hasAudio())
        return damaged(opened.ok() ? QStringLiteral("no sound stream") : opened.english);
    const int rate = input.audioRate();
    const int channels = std::clamp(input.audioChannels(), 1, 8);
    if (rate <= 0 || input.durationMs() <= 0)
        return damaged(QStringLiteral("a sound without length"));
    input.setAudioTarget(rate, channels);
    const int columns = box;
    const int64_t expected = input.durationMs() * rate / 1000;
    WaveColumns wave(columns, channels, expected, budget);
    if (input.durationMs() <= kWholeSoundMs) {
        while (budget.ok() && input.step(wave) == FfmpegInput::Step::More) {
        }
    } else {
        for (int x = 0; x < columns && budget.ok(); ++x) {
            if (!input.seekMs(input.durationMs() * x / columns))
                break;
            wave.startSample(x, int64_t(rate) * kSampleMs / 1000);
            while (budget.ok() && input.step(wave) == FfmpegInput::Step::More) {
            }
        }
    }
    if (!budget.ok())
        return budget.stopped();
    if (wave.framesSeen() == 0)
        return damaged(QStringLiteral("no sound could be decoded"));
    Made m;
    m.image = drawWave(wave, columns, channels, box * 3 / 4);
    return m;
}

platform::ErrorOr<Made> midiThumbnail(const QByteArray &data, int box, const Budget &budget)
{
    platform::media::MidiFile tune;
    std::string error;
    if (size_t(data.size()) > platform::media::MidiFile::kMaxFileSize)
        return platform::makeError(platform::Error::Kind::TooLarge, QStringLiteral("tune too large"));
    if (!tune.parse(reinterpret_cast<const uint8_t *>(data.constData()), size_t(data.size()), &error))
        return damaged(QString::fromStdString(error));
    struct Note
    {
        int64_t start, end;
        int pitch, channel;
    };
    std::vector<Note> notes;
    std::array<int64_t, 16 * 128> open{};
    open.fill(-1);
    int low = 127, high = 0;
    int64_t last = 0;
    size_t counter = 0;
    for (const platform::media::MidiEvent &e : tune.events()) {
        if ((++counter & 0xfff) == 0 && !budget.ok())
            return budget.stopped();
        const int kind = e.status & 0xf0, channel = e.status & 0x0f, pitch = e.data1 & 0x7f;
        const size_t at = size_t(channel * 128 + pitch);
        const bool on = kind == 0x90 && e.data2 > 0, off = kind == 0x80 || (kind == 0x90 && e.data2 == 0);
        if ((on || off) && open[at] >= 0) {
            notes.push_back({open[at], e.timeUs, pitch, channel});
            open[at] = -1;
        }
        if (on) {
            open[at] = e.timeUs;
            low = std::min(low, pitch);
            high = std::max(high, pitch);
        }
        last = std::max(last, e.timeUs);
    }
    const int64_t length = std::max<int64_t>({tune.lengthUs(), last, 1});
    for (size_t at = 0; at < open.size(); ++at)
        if (open[at] >= 0) // a note never released lasts to the end
            notes.push_back({open[at], length, int(at % 128), int(at / 128)});
    if (notes.empty())
        return damaged(QStringLiteral("a tune without notes"));
    // A little room above and below the notes played, at least an octave in all.
    if (high - low < 12) {
        const int grow = (12 - (high - low) + 1) / 2;
        low = std::max(0, low - grow);
        high = std::min(127, high + grow);
    }
    const int w = box, h = box * 3 / 4;
    QImage img(w, h, QImage::Format_ARGB32);
    img.fill(QColor(0x1c, 0x1c, 0x28));
    QPainter p(&img);
    const double row = double(h) / (high - low + 1);
    p.setPen(QColor(0x2c, 0x2c, 0x3c));
    for (int pitch = low; pitch <= high; ++pitch)
        if (pitch % 12 == 0) // each C
            p.drawLine(QPointF(0, h - (pitch - low) * row), QPointF(w, h - (pitch - low) * row));
    p.setPen(Qt::NoPen);
    for (const Note &n : notes) {
        const double x1 = double(n.start) * w / length, x2 = double(n.end) * w / length;
        const double y = h - (n.pitch - low + 1) * row;
        p.fillRect(QRectF(x1, y, std::max(1.0, x2 - x1), std::max(1.0, row)), channelColour(n.channel));
    }
    p.end();
    Made m;
    m.image = std::move(img);
    return m;
}

} // namespace thumbs
