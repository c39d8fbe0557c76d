#include "platform/media/AnimationClip.h"

#include <QFile>
#include <cmath>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

namespace platform::media {

namespace {

constexpr size_t kQueue = 4;

struct FormatCloser
{
    AVFormatContext *ctx = nullptr;
    ~FormatCloser() { avformat_close_input(&ctx); }
};

} // namespace

AnimationClipInfo probeAnimationClip(const QString &path)
{
    AnimationClipInfo info;
    // The header decides; FfmpegInput::open reports missing, empty and unreadable files.
    FfmpegInput input;
    const MciResult r = input.open(path, "avi", false, true);
    if (!r.ok()) {
        info.reason = r.english;
        return info;
    }
    FormatCloser f;
    const QByteArray native = QFile::encodeName(path);
    if (avformat_open_input(&f.ctx, native.constData(), av_find_input_format("avi"), nullptr) < 0) {
        info.reason = QStringLiteral("not an AVI file");
        return info;
    }
    int videos = 0;
    const AVCodecParameters *video = nullptr;
    for (unsigned i = 0; i < f.ctx->nb_streams; ++i) {
        const AVCodecParameters *par = f.ctx->streams[i]->codecpar;
        if (par->codec_type == AVMEDIA_TYPE_AUDIO) {
            info.reason = QStringLiteral("the clip has sound");
            return info;
        }
        if (par->codec_type == AVMEDIA_TYPE_VIDEO) {
            ++videos;
            video = par;
        }
    }
    if (videos != 1 || !input.hasVideo()) {
        info.reason = QStringLiteral("not exactly one video stream");
        return info;
    }
    const bool raw = video->codec_id == AV_CODEC_ID_RAWVIDEO;
    const bool rle8 = video->codec_id == AV_CODEC_ID_MSRLE && video->bits_per_coded_sample == 8;
    if (!raw && !rle8) {
        info.reason = QStringLiteral("compressed video");
        return info;
    }
    info.accepted = true;
    info.size = input.videoSize();
    info.frameRate = input.frameRate() > 0 ? input.frameRate() : 15.0;
    info.frameCount = input.frameCount();
    return info;
}

AnimationClip::~AnimationClip()
{
    stop();
}

bool AnimationClip::open(const QString &path)
{
    close();
    m_info = probeAnimationClip(path);
    if (!m_info.accepted)
        return false;
    if (!m_input.open(path, "avi", false, true).ok()) {
        m_info.accepted = false;
        m_info.reason = QStringLiteral("cannot be decoded");
        return false;
    }
    return true;
}

void AnimationClip::close()
{
    stop();
    m_input.close();
    m_info = {};
}

void AnimationClip::start(int from, int count, bool loop)
{
    stop();
    if (!m_info.accepted)
        return;
    m_cancel = false;
    m_done = false;
    m_worker = std::thread([this, from, count, loop] { run(from, count, loop); });
}

void AnimationClip::stop()
{
    {
        std::lock_guard lock(m_mutex);
        m_cancel = true;
    }
    m_space.notify_all();
    if (m_worker.joinable())
        m_worker.join();
    std::lock_guard lock(m_mutex);
    m_queue.clear();
    m_done = true;
}

bool AnimationClip::push(Picture picture)
{
    std::unique_lock lock(m_mutex);
    m_space.wait(lock, [this] { return m_cancel || m_queue.size() < kQueue; });
    if (m_cancel)
        return false;
    m_queue.push_back(std::move(picture));
    return true;
}

void AnimationClip::run(int from, int count, bool loop)
{
    struct Sink : FfmpegInput::Sink
    {
        AnimationClip &clip;
        double rate;
        int left;
        int produced = 0;
        explicit Sink(AnimationClip &c, double r, int n) : clip(c), rate(r), left(n) {}
        bool audio(const float *, int) override { return true; }
        bool video(const QImage &image, int64_t ptsMs) override
        {
            if (left == 0)
                return false;
            if (left > 0)
                --left;
            ++produced;
            const int index = static_cast<int>(std::llround(double(ptsMs) * rate / 1000.0));
            return clip.push(Picture{index, image});
        }
    } sink(*this, m_info.frameRate, count);

    int start = from;
    for (;;) {
        m_input.seekMs(static_cast<int64_t>(std::llround(start * 1000.0 / m_info.frameRate)));
        sink.produced = 0;
        FfmpegInput::Step step;
        do {
            step = m_input.step(sink);
        } while (step == FfmpegInput::Step::More);
        // A pass that decoded nothing would loop forever on a damaged clip.
        if (step == FfmpegInput::Step::Stopped || !loop || sink.left == 0 || sink.produced == 0)
            break;
        start = 0;
    }
    std::lock_guard lock(m_mutex);
    m_done = true;
}

bool AnimationClip::take(Picture &out)
{
    bool got = false;
    {
        std::lock_guard lock(m_mutex);
        if (!m_queue.empty()) {
            out = std::move(m_queue.front());
            m_queue.pop_front();
            got = true;
        }
    }
    if (got)
        m_space.notify_all();
    return got;
}

bool AnimationClip::finished()
{
    std::lock_guard lock(m_mutex);
    return m_done && m_queue.empty();
}

} // namespace platform::media
