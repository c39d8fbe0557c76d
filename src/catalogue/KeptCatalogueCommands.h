// Keeping the catalogue between runs: the kept file is written after each completed scan and put
// back at the next start, as if its scan had just ended (trees, non-empty tabs, the drives' media
// counts and bytes, the scan mode); the status bar's panel 3 says when it was made.
//
// Rules:
// - Only with Keep_Catalogue set; switched off, the file and the in-memory index go.
// - Never after a cancelled or failed scan: the file keeps the last complete one.
// - A kept file is put back only when it fits this run: the same media types enabled, the same
//   folder (folder mode) or the same drives walked with the same native roots and volume serials
//   and the same start folder of C: (drive mode). Otherwise, or when it is unreadable, damaged or of
//   another format, one line on standard error says why and the program starts empty, as without.
// - The file is a cache: failing to write it costs a line on standard error, never a message box;
//   it is written on a thread of its own (Catalogue::writer), read only once that write is done.
#pragma once

#include "catalogue/store/KeptCatalogue.h"

#include <QString>

class CataloguePane;
struct Catalogue;

// The header a save of the catalogue on show now would write.
KeptHeader CurrentKeptHeader(const Catalogue &cat, int64_t madeMsecs);
// Writes the kept file of the catalogue on show (the scan just completed), on the writer's thread.
bool SaveCatalogueNow(Catalogue &cat, int64_t madeMsecs);
// Starts reading the kept file on a thread of its own while the window is being built; the next
// restore takes what it read (a file written since is read again there).
void PreloadKeptCatalogue(Catalogue &cat);
// Puts the kept file back into the store, the index, the drive counts and the scan mode when it
// fits this run (see the rules); the reason it was not used otherwise (empty when there is no file,
// and then nothing is said). The header it came with in *header.
bool RestoreCatalogueStore(Catalogue &cat, KeptHeader *header, QString *why);
// The file and the index go (the option switched off).
void ForgetKeptCatalogue(Catalogue &cat);
// "Catalogue du 10/12/2026 à 14:03".
QString CatalogueMadeText(int64_t madeMsecs);

// The scan command's end: after a completed scan, keeps it and shows its date; otherwise the date
// goes from the status bar.
void KeepScannedCatalogue(CataloguePane &pane, bool completed);
// The start-up's end: the kept catalogue back on show, when there is one that fits.
bool RestoreKeptCatalogue(CataloguePane &pane);
// The program's end: a kept catalogue the live follow changed since is written again (with the
// date of its scan). False when nothing was written.
bool KeepChangedCatalogue(Catalogue &cat);
