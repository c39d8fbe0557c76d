// Shared routines: message dialogs, the internal-error box, the status bar, the busy cursor, tiling,
// and the path and formatting routines (LibryFormat.cpp). Sizes are 64-bit throughout.
#pragma once

#include "platform/Ui.h"

#include <QDateTime>
#include <QString>
#include <cstdint>

class App;
class QLabel;
class QLocale;
class QPixmap;

// Beeps the kind's sound when Beep_On_Error_Message is set, then shows the modal message box with
// the kind's French caption. The button pressed is returned for callers that ask a question.
int ShowMessageDlg(App &app, const QString &text, platform::MsgKind kind, int buttons, int helpContext = 0);

// Shows the irrecoverable-internal-error box and ends the process at once with a non-zero status:
// nothing is saved and no close handler runs.
[[noreturn]] void InternalError(App &app, int number, const QString &text);

// The standard box of an error that ends a command (caption "Lumavista", the text ending with a
// full stop); the program goes on afterwards.
void ShowException(App &app, const QString &message);

// Writes panel 0, 1 or 2 of the main status bar and repaints it at once (nothing without one).
void SetStatusText(App &app, int panel, const QString &text);
void SetBusyCursor(bool on);
// Runs the viewer's Stop command when it can act (unless a resize is only re-laying out).
void StopPlaybackIfActive(App &app);
// Clears target, then covers it with copies of source from the top-left corner, row by row.
void TileImage(const QPixmap &source, QLabel *target);

// The folder access error box: "Erreur accès dossier:", a line break and the folder.
void ShowFolderAccessError(App &app, const QString &path);
// The file access error box of the viewers: "Erreur accès fichier.".
void ShowFileAccessError(App &app);

// Path routines.
namespace platform {
struct SearchEntry;
}
// One directory search for the entry a path names (any attribute): its result code, and the entry
// when found.
int SearchOne(App &app, const QString &path, platform::SearchEntry *entry);
QString StripTrailingBackslash(const QString &path);
QString NormaliseFolderPath(const QString &path);
int64_t FileSizeOf(App &app, const QString &path);
QString FolderNameOnDisk(App &app, const QString &path);

// Formatting routines.
QString FormatGroupedNumber(int64_t n);
QString FormatBytes(int64_t n);
QString FormatKilobytes(int64_t n);
QString FormatMegabytes(int64_t n);
QString FormatShortSize(int64_t n);
QString FormatDuration(int64_t ms);
QString FormatFileDateTime(App &app, const QString &path);
// A file's modification time as the lists show it: short date, blank, short time (two-second steps).
QString FormatFileTime(const QDateTime &time);
QString FormatFolderDate(App &app, const QString &path, bool withTime);
// The locale dates are written in: the system's when it speaks French, else the French of France
// (the program speaks French whatever the system's language).
QLocale DateLocale();
// The long date, a blank and the long time without its zone ("mardi 8 décembre 2026 23:10:05").
QString FormatLongDateTime(const QDateTime &time);
