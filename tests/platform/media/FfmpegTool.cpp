#include "FfmpegTool.h"

#include <QProcess>
#include <QStringList>

namespace mediatest {

namespace {

bool run(const QString &program, const QStringList &args, QByteArray *out = nullptr)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForStarted(10000) || !p.waitForFinished(120000))
        return false;
    if (out)
        *out = p.readAllStandardOutput();
    return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

bool encode(const QString &path, Encoded kind, int ms, bool fallback)
{
    const QString seconds = QString::number(ms / 1000.0, 'f', 3);
    QStringList a{
        "-hide_banner", "-loglevel", "error", "-y",
        "-f",           "lavfi",     "-i",    "sine=frequency=440:sample_rate=44100:duration=" + seconds};
    const QStringList picture{"-f", "lavfi", "-i", "testsrc=size=64x48:rate=25:duration=" + seconds};
    const QStringList h264 =
        fallback ? QStringList{"-c:v", "mpeg4"}
                 : QStringList{"-c:v", "libx264", "-preset", "ultrafast", "-pix_fmt", "yuv420p"};
    switch (kind) {
    case Encoded::Mp3:
        a << "-c:a"
          << "libmp3lame"
          << "-b:a"
          << "64k"
          << "-f"
          << "mp3";
        break;
    case Encoded::Vorbis:
        a << "-c:a"
          << "libvorbis"
          << "-f"
          << "ogg";
        break;
    case Encoded::Opus:
        a << "-c:a"
          << "libopus"
          << "-b:a"
          << "48k"
          << "-f"
          << "ogg";
        break;
    case Encoded::Flac:
        a << "-c:a"
          << "flac"
          << "-f"
          << "flac";
        break;
    case Encoded::H264Mp4:
        a << picture << h264 << "-c:a"
          << "aac"
          << "-shortest"
          << "-f"
          << "mp4";
        break;
    case Encoded::Vp9Webm:
        a << picture << "-c:v"
          << "libvpx-vp9"
          << "-deadline"
          << "realtime"
          << "-cpu-used"
          << "8"
          << "-c:a"
          << "libopus"
          << "-shortest"
          << "-f"
          << "webm";
        break;
    case Encoded::H264Mkv:
        a << picture << h264 << "-c:a"
          << "libvorbis"
          << "-shortest"
          << "-f"
          << "matroska";
        break;
    case Encoded::Mpeg4Mov:
        a << picture << "-c:v"
          << "mpeg4"
          << "-c:a"
          << "pcm_s16le"
          << "-shortest"
          << "-f"
          << "mov";
        break;
    }
    // The sine input is first: map the picture, when there is one, before it.
    if (kind == Encoded::H264Mp4 || kind == Encoded::Vp9Webm || kind == Encoded::H264Mkv ||
        kind == Encoded::Mpeg4Mov)
        a << "-map"
          << "1:v"
          << "-map"
          << "0:a";
    return run("ffmpeg", a << path);
}

} // namespace

bool ffmpegMake(const QString &path, Encoded kind, int ms)
{
    if (encode(path, kind, ms, false))
        return true;
    return (kind == Encoded::H264Mp4 || kind == Encoded::H264Mkv) && encode(path, kind, ms, true);
}

double ffprobeDurationMs(const QString &path)
{
    QByteArray out;
    if (!run("ffprobe", {"-v", "error", "-show_entries", "format=duration", "-of", "default=nw=1:nk=1", path},
             &out))
        return -1;
    bool ok = false;
    const double seconds = out.trimmed().toDouble(&ok);
    return ok ? seconds * 1000.0 : -1;
}

} // namespace mediatest
