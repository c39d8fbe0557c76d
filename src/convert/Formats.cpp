#include "convert/Formats.h"

#include <QFileInfo>

namespace convert {

Source sourceOf(const QString &path)
{
    const QString ext = QFileInfo(path).suffix().toLower();
    if (ext == u"bmp" || ext == u"ico" || ext == u"jpg" || ext == u"jpeg" || ext == u"jpe" || ext == u"pcx" ||
        ext == u"tif" || ext == u"tiff")
        return Source::Picture;
    if (ext == u"gif" || ext == u"png" || ext == u"apng" || ext == u"webp")
        return Source::MayAnimate;
    if (ext == u"ani")
        return Source::Ani;
    if (ext == u"wmf" || ext == u"emf")
        return Source::Metafile;
    if (ext == u"wav" || ext == u"mp3" || ext == u"ogg" || ext == u"oga" || ext == u"opus" || ext == u"flac")
        return Source::Wave;
    if (ext == u"mid")
        return Source::Midi;
    if (ext == u"avi" || ext == u"mp4" || ext == u"m4v" || ext == u"mov" || ext == u"mkv" || ext == u"webm")
        return Source::Video;
    return Source::None;
}

const QStringList &formatNames()
{
    static const QStringList names{"png", "webp", "svg", "flac", "opus", "ogg", "wav", "mp4", "webm"};
    return names;
}

bool isFormatName(const QString &format)
{
    return formatNames().contains(format);
}

QStringList formatsOf(Source source)
{
    switch (source) {
    case Source::Picture:
    case Source::MayAnimate:
        return {"png", "webp"};
    case Source::Metafile:
        return {"svg", "png", "webp"};
    case Source::Wave:
        return {"flac", "opus", "ogg"};
    case Source::Midi:
        return {"flac", "wav", "ogg"};
    case Source::Video:
        return {"mp4", "webm"};
    case Source::Ani:
        return {"png", "webp"};
    case Source::None:
        break;
    }
    return {};
}

QString defaultFormat(Source source)
{
    const QStringList formats = formatsOf(source);
    return formats.isEmpty() ? QString() : formats.first();
}

bool canConvert(Source source, const QString &format)
{
    return formatsOf(source).contains(format);
}

bool alreadyInFormat(const QString &path, const QString &format)
{
    const QString ext = QFileInfo(path).suffix().toLower();
    return ext == extensionOf(format) || (format == u"png" && ext == u"apng");
}

QString extensionOf(const QString &format)
{
    return format;
}

} // namespace convert
