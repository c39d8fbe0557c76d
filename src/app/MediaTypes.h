// Lookups from a file name or a type code to the type's facts (extension, list picture,
// description, pattern), and the test of a file against the enabled types. An unknown name or code
// gives None, picture 5, the "unknown" description, "*.???", false. A type of several extensions has
// the pattern of each, joined by semicolons ("*.PNG;*.APNG").
#pragma once

#include "app/MediaType.h"

#include <QString>

struct AppState;

MediaType TypeOfFile(const QString &fileName);
// The type of an upper-cased extension with its dot (".PNG", ".OPUS"), None when no type has it.
MediaType TypeOfExtension(const QString &upperExtension);
int ListImageOfFile(const QString &fileName);
QString DescriptionOfFile(const QString &fileName);
QString DescriptionOfType(MediaType type);
QString PatternOfType(MediaType type);
bool FileMatchesType(const AppState &st, const QString &fileName, MediaType type);
bool ScanFileFlag(const AppState &st, MediaType type);
// The upper-cased extension of a name with its dot (".BMP"), empty when the name has none.
QString UpperExtension(const QString &fileName);
