#include "convert/window/ConvertChoices.h"

#include "app/Language.h"
#include "app/Settings.h"
#include "convert/AnimationConverter.h"
#include "convert/Formats.h"

#include <QFileInfo>

namespace convert {

namespace {

QString pair(const char *fr, const char *en)
{
    return SelectText(QString::fromUtf8(fr), QString::fromUtf8(en));
}

// The settings member of each kind, in kind order.
constexpr std::array<QString Settings::*, kKindCount> kFormatKeys = {
    &Settings::Convert_Picture_Format, &Settings::Convert_Animation_Format, &Settings::Convert_Drawing_Format,
    &Settings::Convert_Sound_Format,   &Settings::Convert_Tune_Format,      &Settings::Convert_Video_Format};

} // namespace

bool kindOfFile(const QString &path, Kind &kind)
{
    switch (sourceOf(path)) {
    case Source::Picture:
        kind = Kind::Picture;
        return true;
    case Source::MayAnimate:
        kind = isAnimatedPicture(path) ? Kind::Animation : Kind::Picture;
        return true;
    case Source::Ani:
        kind = Kind::Animation;
        return true;
    case Source::Metafile:
        kind = Kind::Drawing;
        return true;
    case Source::Wave:
        kind = Kind::Sound;
        return true;
    case Source::Midi:
        kind = Kind::Tune;
        return true;
    case Source::Video:
        kind = Kind::Video;
        return true;
    case Source::None:
        break;
    }
    return false;
}

QStringList formatsOfKind(Kind kind)
{
    switch (kind) {
    case Kind::Picture:
        return formatsOf(Source::Picture);
    case Kind::Animation:
        return formatsOf(Source::Ani);
    case Kind::Drawing:
        return formatsOf(Source::Metafile);
    case Kind::Sound:
        return formatsOf(Source::Wave);
    case Kind::Tune:
        return formatsOf(Source::Midi);
    case Kind::Video:
        return formatsOf(Source::Video);
    }
    return {};
}

QString kindCaption(Kind kind)
{
    switch (kind) {
    case Kind::Picture:
        return pair("&Images :", "&Pictures:");
    case Kind::Animation:
        return pair("&Animations :", "&Animations:");
    case Kind::Drawing:
        return pair("&Dessins (WMF, EMF) :", "&Drawings (WMF, EMF):");
    case Kind::Sound:
        return pair("&Sons (WAV) :", "&Sounds (WAV):");
    case Kind::Tune:
        return pair("&Musiques (MIDI) :", "&Tunes (MIDI):");
    case Kind::Video:
        return pair("&Vidéos (AVI) :", "&Videos (AVI):");
    }
    return {};
}

QString formatCaption(Kind kind, const QString &format)
{
    if (format == u"png")
        return kind == Kind::Animation ? pair("PNG animé (APNG)", "Animated PNG (APNG)")
                                       : pair("PNG (sans perte)", "PNG (lossless)");
    if (format == u"webp")
        return kind == Kind::Animation ? pair("WebP animé (sans perte)", "Animated WebP (lossless)")
                                       : pair("WebP (sans perte)", "WebP (lossless)");
    if (format == u"svg")
        return pair("SVG (vectoriel)", "SVG (vector)");
    if (format == u"flac")
        return pair("FLAC (sans perte)", "FLAC (lossless)");
    if (format == u"opus")
        return pair("Ogg Opus", "Ogg Opus");
    if (format == u"ogg")
        return pair("Ogg Vorbis", "Ogg Vorbis");
    if (format == u"wav")
        return pair("WAV (PCM)", "WAV (PCM)");
    if (format == u"mp4")
        return pair("MP4 (H.264 + AAC)", "MP4 (H.264 + AAC)");
    if (format == u"webm")
        return pair("WebM (VP9 + Opus)", "WebM (VP9 + Opus)");
    return format;
}

Choices choicesFromSettings(const Settings &s)
{
    Choices c;
    for (Kind kind : kKinds) {
        const QString kept = (s.*kFormatKeys[static_cast<size_t>(kind)]).trimmed().toLower();
        const QStringList formats = formatsOfKind(kind);
        c.format(kind) = formats.contains(kept) ? kept : formats.first();
    }
    c.width = ClampSetting(s, "Convert_Drawing_Width");
    c.folder = s.Convert_Folder.trimmed();
    c.toFolder = ClampSetting(s, "Convert_Destination") == 1 && !c.folder.isEmpty();
    return c;
}

void storeChoices(Settings &s, const Choices &c)
{
    for (Kind kind : kKinds)
        s.*kFormatKeys[static_cast<size_t>(kind)] = c.format(kind);
    s.Convert_Drawing_Width = c.width;
    s.Convert_Destination = c.toFolder ? 1 : 0;
    s.Convert_Folder = c.folder;
}

std::array<int, kKindCount> countKinds(const QStringList &files)
{
    std::array<int, kKindCount> counts{};
    Kind kind;
    for (const QString &file : files)
        if (kindOfFile(file, kind))
            ++counts[static_cast<size_t>(kind)];
    return counts;
}

QList<Job> jobsFor(const QStringList &files, const Choices &choices)
{
    QList<Job> jobs;
    Kind kind;
    for (const QString &file : files) {
        if (!kindOfFile(file, kind) || alreadyInFormat(file, choices.format(kind)))
            continue;
        const QString folder = choices.toFolder ? choices.folder : QFileInfo(file).absolutePath();
        jobs.append(Job{file, folder, choices.format(kind)});
    }
    return jobs;
}

} // namespace convert
