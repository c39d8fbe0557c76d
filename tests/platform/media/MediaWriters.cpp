#include "MediaWriters.h"

#include <QFile>
#include <cmath>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
}

namespace mediatest {

namespace {

// Owns what one FFmpeg encode needs, freed on every path.
struct Muxer
{
    AVFormatContext *oc = nullptr;
    std::vector<AVCodecContext *> codecs;
    AVPacket *pkt = av_packet_alloc();
    AVFrame *frame = av_frame_alloc();
    ~Muxer()
    {
        for (AVCodecContext *c : codecs)
            avcodec_free_context(&c);
        if (oc && oc->pb)
            avio_closep(&oc->pb);
        avformat_free_context(oc);
        av_packet_free(&pkt);
        av_frame_free(&frame);
    }
    AVStream *add(AVCodecContext *ctx)
    {
        codecs.push_back(ctx);
        if (oc->oformat->flags & AVFMT_GLOBALHEADER)
            ctx->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
        if (avcodec_open2(ctx, ctx->codec, nullptr) < 0)
            return nullptr;
        AVStream *st = avformat_new_stream(oc, nullptr);
        if (!st || avcodec_parameters_from_context(st->codecpar, ctx) < 0)
            return nullptr;
        st->time_base = ctx->time_base;
        return st;
    }
    bool send(AVCodecContext *ctx, AVStream *st, AVFrame *f)
    {
        if (avcodec_send_frame(ctx, f) < 0)
            return false;
        while (avcodec_receive_packet(ctx, pkt) == 0) {
            av_packet_rescale_ts(pkt, ctx->time_base, st->time_base);
            pkt->stream_index = st->index;
            if (av_interleaved_write_frame(oc, pkt) < 0)
                return false;
        }
        return true;
    }
};

void putSample(AVFrame *f, int ch, int i, double v)
{
    const auto fmt = static_cast<AVSampleFormat>(f->format);
    const bool planar = av_sample_fmt_is_planar(fmt);
    const int channels = f->ch_layout.nb_channels;
    const int idx = planar ? i : i * channels + ch;
    uint8_t *base = f->data[planar ? ch : 0];
    switch (av_get_packed_sample_fmt(fmt)) {
    case AV_SAMPLE_FMT_U8:
        base[idx] = static_cast<uint8_t>(std::lround(128 + 127 * v));
        break;
    case AV_SAMPLE_FMT_S16:
        reinterpret_cast<int16_t *>(base)[idx] = static_cast<int16_t>(std::lround(32767 * v));
        break;
    case AV_SAMPLE_FMT_S32:
        reinterpret_cast<int32_t *>(base)[idx] = static_cast<int32_t>(std::lround(2147483000.0 * v));
        break;
    case AV_SAMPLE_FMT_FLT:
        reinterpret_cast<float *>(base)[idx] = static_cast<float>(v);
        break;
    case AV_SAMPLE_FMT_DBL:
        reinterpret_cast<double *>(base)[idx] = v;
        break;
    default:
        break;
    }
}

AVCodecContext *audioEncoder(const char *name, int rate, int channels)
{
    const AVCodec *codec = avcodec_find_encoder_by_name(name);
    if (!codec)
        return nullptr;
    AVCodecContext *ctx = avcodec_alloc_context3(codec);
    ctx->sample_fmt = codec->sample_fmts ? codec->sample_fmts[0] : AV_SAMPLE_FMT_S16;
    ctx->sample_rate = codec->id == AV_CODEC_ID_GSM_MS ? 8000 : rate;
    av_channel_layout_default(&ctx->ch_layout, codec->id == AV_CODEC_ID_GSM_MS ? 1 : channels);
    ctx->time_base = AVRational{1, ctx->sample_rate};
    ctx->bit_rate = codec->id == AV_CODEC_ID_GSM_MS ? 13000 : 64000;
    return ctx;
}

// Encodes `total` samples of a sine into the audio stream; `until` limits to samples before it.
bool encodeSine(Muxer &m, AVCodecContext *ctx, AVStream *st, double frequency, int64_t &done, int64_t until)
{
    const int size = (ctx->codec->capabilities & AV_CODEC_CAP_VARIABLE_FRAME_SIZE) || ctx->frame_size == 0
                         ? 1024
                         : ctx->frame_size;
    while (done < until) {
        av_frame_unref(m.frame);
        m.frame->format = ctx->sample_fmt;
        m.frame->sample_rate = ctx->sample_rate;
        av_channel_layout_copy(&m.frame->ch_layout, &ctx->ch_layout);
        const bool variable = ctx->codec->capabilities & AV_CODEC_CAP_VARIABLE_FRAME_SIZE;
        m.frame->nb_samples = variable ? static_cast<int>(std::min<int64_t>(size, until - done)) : size;
        if (av_frame_get_buffer(m.frame, 0) < 0)
            return false;
        for (int i = 0; i < m.frame->nb_samples; ++i) {
            const int64_t n = done + i;
            const double v = n < until ? 0.5 * std::sin(2 * M_PI * frequency * n / ctx->sample_rate) : 0.0;
            for (int c = 0; c < ctx->ch_layout.nb_channels; ++c)
                putSample(m.frame, c, i, v);
        }
        m.frame->pts = done;
        done += m.frame->nb_samples;
        if (!m.send(ctx, st, m.frame))
            return false;
    }
    return true;
}

void le16(QByteArray &b, uint32_t v)
{
    b.append(char(v & 0xff)).append(char((v >> 8) & 0xff));
}
void le32(QByteArray &b, uint32_t v)
{
    le16(b, v & 0xffff);
    le16(b, v >> 16);
}
void be32(QByteArray &b, uint32_t v)
{
    b.append(char(v >> 24))
        .append(char((v >> 16) & 0xff))
        .append(char((v >> 8) & 0xff))
        .append(char(v & 0xff));
}
void vlq(QByteArray &b, uint32_t v)
{
    char bytes[4];
    int n = 0;
    bytes[n++] = char(v & 0x7f);
    while ((v >>= 7) && n < 4)
        bytes[n++] = char(0x80 | (v & 0x7f));
    while (n--)
        b.append(bytes[n]);
}
QByteArray chunk(const char *id, const QByteArray &data)
{
    QByteArray b(id, 4);
    le32(b, uint32_t(data.size()));
    b += data;
    if (data.size() & 1)
        b.append('\0');
    return b;
}
QByteArray list(const char *type, const QByteArray &data)
{
    return chunk("LIST", QByteArray(type, 4) + data);
}

} // namespace

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

bool writeSineWav(const QString &path, const char *codec, double frequency, int ms, int rate, int channels)
{
    Muxer m;
    const QByteArray native = QFile::encodeName(path);
    if (avformat_alloc_output_context2(&m.oc, nullptr, "wav", native.constData()) < 0)
        return false;
    AVCodecContext *ctx = audioEncoder(codec, rate, channels);
    if (!ctx)
        return false;
    AVStream *st = m.add(ctx);
    if (!st || avio_open(&m.oc->pb, native.constData(), AVIO_FLAG_WRITE) < 0 ||
        avformat_write_header(m.oc, nullptr) < 0)
        return false;
    int64_t done = 0;
    if (!encodeSine(m, ctx, st, frequency, done, int64_t(ctx->sample_rate) * ms / 1000) ||
        !m.send(ctx, st, nullptr))
        return false;
    return av_write_trailer(m.oc) == 0;
}

void MidiTrackBuilder::delta(uint32_t ticks)
{
    vlq(bytes, ticks);
}
void MidiTrackBuilder::tempo(uint32_t d, uint32_t usPerQuarter)
{
    delta(d);
    bytes.append("\xff\x51\x03", 3);
    bytes.append(char(usPerQuarter >> 16))
        .append(char((usPerQuarter >> 8) & 0xff))
        .append(char(usPerQuarter & 0xff));
}
void MidiTrackBuilder::program(uint32_t d, int channel, int prog)
{
    delta(d);
    bytes.append(char(0xc0 | channel)).append(char(prog));
}
void MidiTrackBuilder::noteOn(uint32_t d, int channel, int key, int velocity)
{
    delta(d);
    bytes.append(char(0x90 | channel)).append(char(key)).append(char(velocity));
}
void MidiTrackBuilder::noteOff(uint32_t d, int channel, int key)
{
    delta(d);
    bytes.append(char(0x80 | channel)).append(char(key)).append(char(64));
}
void MidiTrackBuilder::endOfTrack(uint32_t d)
{
    delta(d);
    bytes.append("\xff\x2f\x00", 3);
}

QByteArray midiFile(int format, int division, const std::vector<QByteArray> &tracks)
{
    QByteArray b("MThd", 4);
    be32(b, 6);
    b.append(char(0)).append(char(format));
    b.append(char(tracks.size() >> 8)).append(char(tracks.size() & 0xff));
    b.append(char(division >> 8)).append(char(division & 0xff));
    for (const QByteArray &t : tracks) {
        b.append("MTrk", 4);
        be32(b, uint32_t(t.size()));
        b += t;
    }
    return b;
}

QByteArray twoSecondTune(int format)
{
    MidiTrackBuilder tempo, notes;
    tempo.tempo(0, 500000);    // 120 bpm: two beats = 1 s
    tempo.tempo(960, 1000000); // 60 bpm: one beat = 1 s
    tempo.endOfTrack(480);
    notes.program(0, 0, 0);
    notes.noteOn(0, 0, 60, 100);
    notes.noteOff(480, 0, 60);
    notes.noteOn(0, 0, 64, 100);
    notes.noteOff(480, 0, 64);
    notes.noteOn(0, 0, 67, 100);
    notes.noteOff(480, 0, 67);
    notes.endOfTrack(0);
    if (format == 0) {
        // One track: the tempo events merged with the notes.
        MidiTrackBuilder one;
        one.tempo(0, 500000);
        one.program(0, 0, 0);
        one.noteOn(0, 0, 60, 100);
        one.noteOff(480, 0, 60);
        one.noteOn(0, 0, 64, 100);
        one.tempo(480, 1000000);
        one.noteOff(0, 0, 64);
        one.noteOn(0, 0, 67, 100);
        one.noteOff(480, 0, 67);
        one.endOfTrack(0);
        return midiFile(0, 480, {one.bytes});
    }
    return midiFile(1, 480, {tempo.bytes, notes.bytes});
}

QRgb paletteColour(int index)
{
    return qRgb((index * 37) & 255, (index * 91 + 13) & 255, 255 - (index & 255));
}

int paletteIndexOf(const QImage &picture)
{
    if (picture.isNull())
        return -1;
    const QRgb c = picture.pixel(picture.width() / 2, picture.height() / 2);
    const int index = 255 - qBlue(c);
    return (paletteColour(index) & 0xffffff) == (c & 0xffffff) ? index : -1;
}

QByteArray aviFile(const AviSpec &s)
{
    const bool pal = s.video != AviVideo::Raw24;
    const int bpp = pal ? 8 : 24;
    const int stride = ((s.width * bpp / 8) + 3) & ~3;
    const int audioRate = 22050;
    const int audioPerFrame = audioRate / s.fps;

    QByteArray movi("movi", 4), idx;
    auto addChunk = [&](const char *id, const QByteArray &data, bool key) {
        idx.append(id, 4);
        le32(idx, key ? 0x10 : 0);
        le32(idx, uint32_t(movi.size()));
        le32(idx, uint32_t(data.size()));
        movi += chunk(id, data);
    };
    int64_t sample = 0;
    for (int f = 0; f < s.frames; ++f) {
        QByteArray data;
        if (s.video == AviVideo::Rle8) {
            for (int y = 0; y < s.height; ++y) {
                for (int x = 0; x < s.width; x += 255) {
                    data.append(char(std::min(255, s.width - x))).append(char(f & 255));
                }
                data.append('\0').append('\0'); // end of line
            }
            data.append('\0').append('\1'); // end of picture
        } else {
            const QRgb c = paletteColour(f);
            for (int y = 0; y < s.height; ++y) {
                QByteArray row;
                for (int x = 0; x < s.width; ++x) {
                    if (pal)
                        row.append(char(f & 255));
                    else
                        row.append(char(qBlue(c))).append(char(qGreen(c))).append(char(qRed(c)));
                }
                row.append(QByteArray(stride - row.size(), '\0'));
                data += row;
            }
        }
        addChunk(s.video == AviVideo::Rle8 ? "00dc" : "00db", data, true);
        if (s.sound) {
            QByteArray pcm;
            for (int i = 0; i < audioPerFrame; ++i, ++sample)
                le16(pcm,
                     uint16_t(int16_t(std::lround(12000 * std::sin(2 * M_PI * 440.0 * sample / audioRate)))));
            addChunk("01wb", pcm, true);
        }
    }

    QByteArray avih;
    le32(avih, uint32_t(1000000 / s.fps));
    le32(avih, 0);
    le32(avih, 0);
    le32(avih, 0x10); // has an index
    le32(avih, uint32_t(s.frames));
    le32(avih, 0);
    le32(avih, s.sound ? 2 : 1);
    le32(avih, 0);
    le32(avih, uint32_t(s.width));
    le32(avih, uint32_t(s.height));
    avih += QByteArray(16, '\0');

    QByteArray strh("vids", 4);
    strh += s.video == AviVideo::Rle8 ? QByteArray("mrle", 4) : QByteArray(4, '\0');
    le32(strh, 0);
    le32(strh, 0);
    le32(strh, 0);
    le32(strh, 1);               // scale
    le32(strh, uint32_t(s.fps)); // rate
    le32(strh, 0);
    le32(strh, uint32_t(s.frames));
    le32(strh, 0);
    le32(strh, 0xffffffff);
    le32(strh, 0);
    le16(strh, 0), le16(strh, 0), le16(strh, uint32_t(s.width)), le16(strh, uint32_t(s.height));

    QByteArray strf;
    le32(strf, 40);
    le32(strf, uint32_t(s.width));
    le32(strf, uint32_t(s.height));
    le16(strf, 1);
    le16(strf, uint32_t(bpp));
    le32(strf, s.video == AviVideo::Rle8 ? 1 : 0);
    le32(strf, uint32_t(stride * s.height));
    le32(strf, 0), le32(strf, 0);
    le32(strf, pal ? 256 : 0);
    le32(strf, 0);
    if (pal) {
        for (int i = 0; i < 256; ++i) {
            const QRgb c = paletteColour(i);
            strf.append(char(qBlue(c))).append(char(qGreen(c))).append(char(qRed(c))).append('\0');
        }
    }
    QByteArray hdrl = chunk("avih", avih) + list("strl", chunk("strh", strh) + chunk("strf", strf));
    if (s.sound) {
        QByteArray ash("auds", 4);
        ash += QByteArray(4, '\0');
        le32(ash, 0), le32(ash, 0), le32(ash, 0);
        le32(ash, 2);                       // scale: block align
        le32(ash, uint32_t(audioRate * 2)); // rate: bytes per second
        le32(ash, 0);
        le32(ash, uint32_t(sample));
        le32(ash, 0), le32(ash, 0xffffffff), le32(ash, 2);
        ash += QByteArray(8, '\0');
        QByteArray asf;
        le16(asf, 1), le16(asf, 1), le32(asf, audioRate), le32(asf, audioRate * 2), le16(asf, 2),
            le16(asf, 16), le16(asf, 0);
        hdrl += list("strl", chunk("strh", ash) + chunk("strf", asf));
    }
    QByteArray body("AVI ", 4);
    body += list("hdrl", hdrl);
    body += chunk("LIST", movi);
    body += chunk("idx1", idx);
    return chunk("RIFF", body);
}

bool encodeAvi(const QString &path, const char *videoCodec, int width, int height, int fps, int frames,
               bool sound, double frequency)
{
    Muxer m;
    const QByteArray native = QFile::encodeName(path);
    if (avformat_alloc_output_context2(&m.oc, nullptr, "avi", native.constData()) < 0)
        return false;
    const AVCodec *vc = avcodec_find_encoder_by_name(videoCodec);
    if (!vc)
        return false;
    AVCodecContext *v = avcodec_alloc_context3(vc);
    v->width = width;
    v->height = height;
    v->time_base = AVRational{1, fps};
    v->framerate = AVRational{fps, 1};
    v->pix_fmt = vc->pix_fmts ? vc->pix_fmts[0] : AV_PIX_FMT_YUV420P;
    if (vc->id == AV_CODEC_ID_MJPEG)
        v->pix_fmt = AV_PIX_FMT_YUVJ420P;
    if (v->pix_fmt != AV_PIX_FMT_YUV420P && v->pix_fmt != AV_PIX_FMT_YUVJ420P)
        return false; // pictures are drawn in planar YUV only
    v->gop_size = 12;
    v->bit_rate = 2000000;
    AVStream *vs = m.add(v);
    AVCodecContext *a = nullptr;
    AVStream *as = nullptr;
    if (sound) {
        a = audioEncoder("pcm_s16le", 44100, 2);
        as = m.add(a);
    }
    if (!vs || (sound && !as) || avio_open(&m.oc->pb, native.constData(), AVIO_FLAG_WRITE) < 0 ||
        avformat_write_header(m.oc, nullptr) < 0)
        return false;
    AVFrame *pic = av_frame_alloc();
    pic->format = v->pix_fmt;
    pic->width = width;
    pic->height = height;
    av_frame_get_buffer(pic, 0);
    int64_t done = 0;
    bool ok = true;
    for (int f = 0; f < frames && ok; ++f) {
        av_frame_make_writable(pic);
        {
            const int grey = 16 + 8 * (f % 30);
            for (int y = 0; y < height; ++y)
                for (int x = 0; x < width; ++x) {
                    // Left half: the frame number; right half: a bar moving one step a frame.
                    int value = grey;
                    if (x >= width / 2)
                        value = ((x - width / 2) / 8 == f % (width / 16)) ? 235 : 16;
                    pic->data[0][y * pic->linesize[0] + x] = uint8_t(value);
                }
            for (int y = 0; y < height / 2; ++y)
                for (int x = 0; x < width / 2; ++x) {
                    pic->data[1][y * pic->linesize[1] + x] = 128;
                    pic->data[2][y * pic->linesize[2] + x] = 128;
                }
        }
        pic->pts = f;
        ok = m.send(v, vs, pic);
        if (sound)
            ok = ok && encodeSine(m, a, as, frequency, done, int64_t(44100) * (f + 1) / fps);
    }
    av_frame_free(&pic);
    ok = ok && m.send(v, vs, nullptr) && (!sound || m.send(a, as, nullptr));
    return ok && av_write_trailer(m.oc) == 0;
}

int greyIndexOf(const QImage &picture)
{
    if (picture.isNull())
        return -1;
    long sum = 0;
    int n = 0;
    for (int y = picture.height() / 4; y < picture.height() * 3 / 4; y += 2)
        for (int x = picture.width() / 8; x < picture.width() * 3 / 8; x += 2, ++n)
            sum += qGray(picture.pixel(x, y));
    if (n == 0)
        return -1;
    // Full-range RGB of limited-range grey g: (g - 16) * 255 / 219.
    const double g = double(sum) / n * 219.0 / 255.0 + 16.0;
    const int index = static_cast<int>(std::lround((g - 16.0) / 8.0));
    return index >= 0 && index < 30 ? index : -1;
}

} // namespace mediatest
