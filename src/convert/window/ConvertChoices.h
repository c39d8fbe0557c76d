// What the convert window offers and remembers, without a window: the six kinds of files it
// converts (a GIF is a picture or an animation by its frames), the formats of each, default
// first, with their captions, the choices kept in the settings, and the jobs a list of files and
// the choices make.
// Rules: a remembered format its kind cannot become (hand-edited settings) reads as the kind's
// default; the width and the destination mode are brought into their ranges; the folder mode
// without a remembered folder reads as "beside each file".
#pragma once

#include "convert/Converter.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <array>

struct Settings;

namespace convert {

enum class Kind { Picture, Animation, Drawing, Sound, Tune, Video };
inline constexpr int kKindCount = 6;
inline constexpr std::array<Kind, kKindCount> kKinds = {Kind::Picture, Kind::Animation, Kind::Drawing,
                                                        Kind::Sound,   Kind::Tune,      Kind::Video};

// The kind of a file by its extension (a GIF by its frames: the file is read); false when none.
bool kindOfFile(const QString &path, Kind &kind);
// The formats a kind becomes here, the default first.
QStringList formatsOfKind(Kind kind);
QString kindCaption(Kind kind);                          // "&Images :"
QString formatCaption(Kind kind, const QString &format); // "PNG", "SVG (vectoriel)" ...

struct Choices
{
    std::array<QString, kKindCount> formats; // by kind, each one of formatsOfKind
    int width = 0;                           // drawings made pictures; 0: their own size
    bool toFolder = false;                   // false: each output beside its file
    QString folder;                          // native; with toFolder
    const QString &format(Kind kind) const { return formats[static_cast<size_t>(kind)]; }
    QString &format(Kind kind) { return formats[static_cast<size_t>(kind)]; }
};

inline constexpr int kMaxDrawingWidth = 65535;

Choices choicesFromSettings(const Settings &settings);
void storeChoices(Settings &settings, const Choices &choices);

// How many of the files are of each kind (files of none are not counted).
std::array<int, kKindCount> countKinds(const QStringList &files);

// One job a file, in the order given; files of no kind, or already in their kind's format, are left out.
QList<Job> jobsFor(const QStringList &files, const Choices &choices);

} // namespace convert
