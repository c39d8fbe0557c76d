// Opening a file with the desktop's default application for its type, as the shell's "open" verb
// does for the Execute command.
//
// Rules:
// - The file's type is the MIME type QMimeDatabase finds from its name and content; its application
//   is GIO's default for that type or, failing one, for a type it derives from: the default that
//   mimeapps.list names, else the first application associated with the type (mimeapps.list's
//   added associations, then the desktop database, mimeinfo.cache), read from $XDG_CONFIG_HOME,
//   $XDG_CONFIG_DIRS, $XDG_DATA_HOME/applications and $XDG_DATA_DIRS/applications.
// - The application is started with the file as its argument (a path or a file: URI, as its Exec line
//   asks), without a shell, and without waiting for it. The file itself is never run, even when it is
//   a program or a script that has no application: that is "no application" (31).
// - Failures carry the shell's result code in Error::code: 2 the file is missing, 3 a folder on the
//   way is missing, 5 the file or a folder on the way cannot be read, 31 no application for the
//   type, 27 an application is named but cannot be started. shellOpenCode() gives the code of any
//   answer, above 32 when the application started.
#pragma once

#include "platform/Result.h"

#include <QString>

namespace platform {

enum ShellOpenCode : int {
    SE_ERR_FNF = 2,
    SE_ERR_PNF = 3,
    SE_ERR_ACCESSDENIED = 5,
    SE_ERR_ASSOCINCOMPLETE = 27,
    SE_ERR_NOASSOC = 31,
    SHELL_OPEN_STARTED = 42 // any value above 32 means success
};

struct DefaultApplication
{
    QString mimeType; // of the file
    QString id;       // the application's desktop file id ("org.gnome.eog.desktop")
    QString name;     // its name as the desktop shows it
};

// The application that would open nativePath, without starting it.
ErrorOr<DefaultApplication> defaultApplicationFor(const QString &nativePath);
// Starts the default application on nativePath; the answer names the application started.
ErrorOr<DefaultApplication> openWithDefaultApplication(const QString &nativePath);
// SHELL_OPEN_STARTED for a success, else the failure's code.
int shellOpenCode(const ErrorOr<DefaultApplication> &answer);

} // namespace platform
