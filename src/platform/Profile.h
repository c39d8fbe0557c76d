// Private-profile (INI) functions with the semantics of the system ones the program was designed on:
// section and key names compare without regard to case; a value read is trimmed and loses one pair of
// surrounding quotes and is cut to 1023 characters; a written key replaces its own line and keeps every
// other line of the file (other sections, unknown keys, comments) as it was; a new key goes at the end
// of its section, a new section at the end of the file. Each call opens the file anew and closes it.
// Every write replaces the file atomically (temporary file and rename), so a crash never leaves half a
// settings file behind.
//
// A bare file name ("LUMA.INI") resolves in the settings folder: $LUMAVISTA_CONFIG_DIR when set, else
// $XDG_CONFIG_HOME/Lumavista (~/.config/Lumavista).
#pragma once

#include "platform/Result.h"

#include <QString>

namespace platform {

constexpr int kProfileValueMax = 1023;

// The folder where bare profile names resolve (created on the first write).
QString profileFolder();
// The full path a profile name resolves to.
QString profilePath(const QString &fileName);

// The value of key in section, or def when the file, the section or the key is missing.
QString GetPrivateProfileString(const QString &section, const QString &key, const QString &def,
                                const QString &fileName);

// Writes key=value into section. A failure (Kind::Io) carries the system's reason. The file on disk
// is either the old one or the new one, never a mix.
Status WritePrivateProfileString(const QString &section, const QString &key, const QString &value,
                                 const QString &fileName);

// Pure text transformations behind the two calls above (also used by the fuzz target).
QString profileLookup(const QString &text, const QString &section, const QString &key, bool *found);
QString profileUpdate(const QString &text, const QString &section, const QString &key, const QString &value);

} // namespace platform
