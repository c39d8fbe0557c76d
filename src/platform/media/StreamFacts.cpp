#include "platform/media/StreamFacts.h"

#include "platform/media/FfmpegInput.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <mutex>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/dict.h>
}

namespace platform::media {

namespace {

// How far before the header's end the packets are read back, and how many at most: a file whose
// index is missing may land the seek much earlier, and reading all of it is not worth a window.
constexpr int64_t kTailUs = 5 * int64_t(AV_TIME_BASE);
constexpr int kMaxTailPackets = 20000;
constexpr int64_t kMaxTailBytes = 16 << 20;
// A tag longer than this is cut: a label of megabytes helps no one.
constexpr int kMaxTagChars = 1024;

void quietLogs()
{
    static std::once_flag once; // global: the library's log level is process-wide
    std::call_once(once, [] {
        if (qEnvironmentVariableIsEmpty("LUMAVISTA_MEDIA_DEBUG"))
            av_log_set_level(AV_LOG_QUIET);
    });
}

struct Input
{
    AVFormatContext *fmt = nullptr;
    ~Input() { avformat_close_input(&fmt); }
};

QString tag(const AVFormatContext *fmt, const AVStream *audio, const char *key, const char *alternative)
{
    for (const AVDictionary *dict : {static_cast<const AVDictionary *>(fmt->metadata),
                                     audio ? static_cast<const AVDictionary *>(audio->metadata) : nullptr}) {
        for (const char *k : {key, alternative}) {
            if (!dict || !k)
                continue;
            // Keys compare without case: ID3 frames, Vorbis comments and Matroska tags spell them apart.
            if (const AVDictionaryEntry *e = av_dict_get(dict, k, nullptr, 0); e && e->value && *e->value)
                return QString::fromUtf8(e->value).left(kMaxTagChars);
        }
    }
    return {};
}

double rate(AVRational r)
{
    return r.num > 0 && r.den > 0 ? av_q2d(r) : 0.0;
}

int64_t endMs(const AVPacket *p, const AVStream *st)
{
    const int64_t ts = p->pts != AV_NOPTS_VALUE ? p->pts : p->dts;
    if (ts == AV_NOPTS_VALUE)
        return -1;
    return av_rescale_q(ts + std::max<int64_t>(p->duration, 0), st->time_base, AVRational{1, 1000});
}

// Whether the packets reach the length the header claims; false also for a read error on the way.
// A length guessed from the bit rate claims nothing.
bool tailComplete(AVFormatContext *fmt, int64_t lengthMs, const AVStream *a, const AVStream *v)
{
    if (lengthMs <= 0 || fmt->duration_estimation_method == AVFMT_DURATION_FROM_BITRATE || !fmt->pb)
        return true;
    const int64_t start = fmt->start_time != AV_NOPTS_VALUE ? fmt->start_time : 0;
    const int64_t target = start + std::max<int64_t>(0, lengthMs * 1000 - kTailUs);
    if (av_seek_frame(fmt, -1, target, AVSEEK_FLAG_BACKWARD) < 0)
        return true; // cannot tell
    AVPacket *packet = av_packet_alloc();
    if (!packet)
        return true;
    int64_t last = -1;
    int result = 0;
    int n = 0;
    int64_t bytes = 0;
    for (; n < kMaxTailPackets && bytes < kMaxTailBytes && (result = av_read_frame(fmt, packet)) >= 0; ++n) {
        for (const AVStream *st : {a, v})
            if (st && packet->stream_index == st->index)
                last = std::max(last, endMs(packet, st));
        bytes += packet->size;
        av_packet_unref(packet);
    }
    av_packet_free(&packet);
    if (n == kMaxTailPackets || bytes >= kMaxTailBytes)
        return true; // the seek landed too early to tell
    if (result < 0 && result != AVERROR_EOF)
        return false;
    const int64_t startMs = start / 1000;
    // Packets carry no duration in some containers: a margin of a few frames or packets.
    const int64_t margin = std::max<int64_t>(250, lengthMs / 50);
    return last >= 0 && last - startMs + margin >= lengthMs;
}

} // namespace

StreamFacts probeStreamFacts(const QString &nativePath)
{
    quietLogs();
    StreamFacts f;
    const QFileInfo info(nativePath);
    if (!info.isFile() || info.size() == 0)
        return f;
    Input in;
    // Probed among the media demuxers, the file alone (see openMediaFile).
    const int opened = openMediaFile(&in.fmt, nativePath, nullptr);
    if (opened < 0) {
        in.fmt = nullptr;
        return f;
    }
    f.opened = true;
    AVFormatContext *fmt = in.fmt;
    if (avformat_find_stream_info(fmt, nullptr) < 0)
        f.damaged = true;

    const AVStream *audio = nullptr, *video = nullptr;
    for (unsigned i = 0; i < fmt->nb_streams; ++i) {
        const AVStream *st = fmt->streams[i];
        const AVCodecParameters *par = st->codecpar;
        if (!audio && par->codec_type == AVMEDIA_TYPE_AUDIO)
            audio = st;
        else if (!video && par->codec_type == AVMEDIA_TYPE_VIDEO &&
                 !(st->disposition & AV_DISPOSITION_ATTACHED_PIC))
            video = st;
    }
    if (audio) {
        const AVCodecParameters *par = audio->codecpar;
        f.audioCodec = QString::fromLatin1(avcodec_get_name(par->codec_id));
        f.channels = std::max(0, par->ch_layout.nb_channels);
        f.sampleRate = std::max(0, par->sample_rate);
        if (par->bit_rate > 0)
            f.bitRate = par->bit_rate;
    }
    if (f.bitRate == 0 && fmt->bit_rate > 0)
        f.bitRate = fmt->bit_rate;
    if (video) {
        const AVCodecParameters *par = video->codecpar;
        f.videoCodec = QString::fromLatin1(avcodec_get_name(par->codec_id));
        f.width = std::max(0, par->width);
        f.height = std::max(0, par->height);
        f.frameRate = rate(video->avg_frame_rate);
        if (f.frameRate == 0)
            f.frameRate = rate(video->r_frame_rate);
    }
    if (!audio && !video)
        f.damaged = true;

    if (fmt->duration != AV_NOPTS_VALUE && fmt->duration > 0) {
        f.lengthMs = av_rescale(fmt->duration, 1000, AV_TIME_BASE);
    } else {
        for (const AVStream *st : {audio, video})
            if (st && st->duration != AV_NOPTS_VALUE && st->duration > 0)
                f.lengthMs =
                    std::max(f.lengthMs, av_rescale_q(st->duration, st->time_base, AVRational{1, 1000}));
    }

    f.title = tag(fmt, audio, "title", nullptr);
    f.artist = tag(fmt, audio, "artist", nullptr);
    f.album = tag(fmt, audio, "album", nullptr);
    f.date = tag(fmt, audio, "date", "year");

    if (!tailComplete(fmt, f.lengthMs, audio, video))
        f.damaged = true;
    return f;
}

} // namespace platform::media
