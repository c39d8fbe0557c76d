// What each media type may be converted to. The source kind comes from the file name's extension
// (the media types, upper or lower case); each kind has a default format and a list of the
// formats it can become. A format is named as on the command line ("png", "webp", ...) and the
// output file takes the format's own extension.
#pragma once

#include <QString>
#include <QStringList>

namespace convert {

enum class Source { None, Picture, MayAnimate, Ani, Metafile, Wave, Midi, Video };
// MayAnimate: GIF, PNG (APNG) and WebP, animations or still pictures by their content.

Source sourceOf(const QString &path);

// Every format name the command line knows, whether or not a given kind can become it.
const QStringList &formatNames();
bool isFormatName(const QString &format);

// The formats a kind can become here, the default first; empty when the kind is not converted.
QStringList formatsOf(Source source);
QString defaultFormat(Source source);
bool canConvert(Source source, const QString &format);

// True when the file already is in that format (its extension is the format's, or .apng for png):
// converting it would only make a copy.
bool alreadyInFormat(const QString &path, const QString &format);

// The extension (without dot) of an output in this format.
QString extensionOf(const QString &format);

} // namespace convert
