// lumavista-info: one describer per kind of file registers itself here; main() picks the
// describer of each file's three-letter type and prints what it filled in as one JSON line.
#pragma once

#include <QJsonObject>
#include <QString>
#include <functional>

namespace info {

struct Options
{
    int jpegScale = 0;
    bool jpegGray = false;
    bool jpegFast = false;
    bool jpeg8bit = false;
    QString renderPath; // --render OUT.png; empty: no picture written
};

// Fills obj with what the components report; returns whether the file loaded. On failure it puts
// the message into obj["error"].
using Describer = std::function<bool(const QString &path, const Options &opts, QJsonObject &obj)>;

// Registers a describer for a type ("BMP", "WAV" ...). Used by static registrars in each file.
bool registerDescriber(const QString &type, Describer describer);

} // namespace info
