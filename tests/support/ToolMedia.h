// Media files made at test time by other tools (ImageMagick, libwebp's cwebp and img2webp,
// ffmpeg), and what ffprobe and identify read from them: the references our facts readers are
// held to. scripts/install-deps installs every tool named here.
#pragma once

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QString>
#include <QStringList>

namespace toolmedia {

// Runs a tool to its end; its standard output, or a null array when it failed.
inline QByteArray run(const QString &program, const QStringList &args)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::SeparateChannels);
    p.start(program, args);
    if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return {};
    QByteArray out = p.readAllStandardOutput();
    return out.isNull() ? QByteArray("") : out;
}

inline bool made(const QString &program, const QStringList &args)
{
    return !run(program, args).isNull();
}

// ffmpeg quietly, overwriting.
inline bool ffmpeg(QStringList args)
{
    args.prepend(QStringLiteral("-y"));
    args.prepend(QStringLiteral("error"));
    args.prepend(QStringLiteral("-v"));
    return made(QStringLiteral("ffmpeg"), args);
}

// Whether this ffmpeg has an encoder ("libx264").
inline bool hasEncoder(const QString &name)
{
    const QByteArray list = run(QStringLiteral("ffmpeg"), {"-v", "error", "-hide_banner", "-encoders"});
    return list.contains(" " + name.toLatin1() + " ");
}

// ffprobe's view of a file: its "format" and first audio and video streams.
struct Probe
{
    bool ok = false;
    QJsonObject format, audio, video;

    QString formatTag(const QString &key) const
    {
        const QString own = format.value("tags").toObject().value(key).toString();
        return own.isEmpty() ? audio.value("tags").toObject().value(key).toString() : own;
    }
    // Seconds as milliseconds.
    static int64_t ms(const QJsonValue &seconds) { return qRound64(seconds.toString().toDouble() * 1000); }
    // "30000/1001" as a number.
    static double ratio(const QJsonValue &v)
    {
        const QStringList parts = v.toString().split('/');
        return parts.size() == 2 && parts[1].toDouble() != 0 ? parts[0].toDouble() / parts[1].toDouble() : 0;
    }
};

inline Probe ffprobe(const QString &path, bool countFrames = false)
{
    QStringList args = {"-v", "error", "-show_format", "-show_streams", "-of", "json"};
    if (countFrames)
        args << "-count_frames";
    const QByteArray out = run(QStringLiteral("ffprobe"), args << path);
    Probe p;
    const QJsonObject all = QJsonDocument::fromJson(out).object();
    p.ok = !all.isEmpty();
    p.format = all.value("format").toObject();
    for (const QJsonValue &s : all.value("streams").toArray()) {
        const QJsonObject o = s.toObject();
        if (o.value("codec_type") == "audio" && p.audio.isEmpty())
            p.audio = o;
        else if (o.value("codec_type") == "video" && p.video.isEmpty())
            p.video = o;
    }
    return p;
}

// identify's width, height, depth, alpha and frame count of a picture ("40 30 8 True 1" for
// its first frame).
inline QStringList identify(const QString &path)
{
    const QByteArray out = run(QStringLiteral("identify"), {"-format", "%w %h %z %A %n\\n", path});
    return QString::fromUtf8(out).split('\n').value(0).split(' ');
}

} // namespace toolmedia
