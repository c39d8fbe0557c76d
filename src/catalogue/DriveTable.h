// The drive table Disks (rows 1..26 = A..Z) and the drive buttons tbA .. tbZ. Drives are detected once
// at start-up through the drive map; a pressed button marks its drive for the next drive scan. The
// scan counts media files and their bytes per drive (64-bit).
#pragma once

#include "app/DriveText.h"

#include <QString>

class App;
class CataloguePane;
class QToolButton;

// The drive table without windows: every row's letter, then the drives from First_Drive_Number on
// read from the drive map (ReadDrive). InitDiskTable does the same and shows the drive buttons.
void ReadDriveTable(App &app);
// Reads drive n into its row: type, presence, volume, and whether its kind is scanned by default.
// False when it is no drive (type 0 or 1).
bool ReadDrive(App &app, int n);
void InitDiskTable(CataloguePane &pane);
void DetectDrives(CataloguePane &pane);
void DetectDrive(CataloguePane &pane, int n);
void HideDrive(CataloguePane &pane, const QString &letter);
void ShowDrive(CataloguePane &pane, const QString &letter);
// The button of a letter A..Z (any case); anything else ends the program with internal error 1.
QToolButton *DriveButton(CataloguePane &pane, const QString &letter);
int DriveTypeOfPath(App &app, const QString &path);
void tbAClick(CataloguePane &pane, QToolButton *button);
// Whether a drive button is shown on its bar.
bool DriveButtonShown(QToolButton *button);
