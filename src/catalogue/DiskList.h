// The drive table Disks (rows 1..26 = A..Z) and the drive buttons tbA .. tbZ. Drives are detected once
// at start-up through the drive map; a pressed button marks its drive for the next drive scan. The
// scan counts media files and their bytes per drive (64-bit).
#pragma once

#include <QString>

struct App;
class QToolButton;

void InitDiskTable(App &app);
void DetectDrives(App &app);
void DetectDrive(App &app, int n);
void HideDrive(App &app, const QString &letter);
void ShowDrive(App &app, const QString &letter);
// The button of a letter A..Z (any case); anything else ends the program with internal error 1.
QToolButton *DriveButton(App &app, const QString &letter);
// Character code of the first character, upper-cased, minus 64 (A gives 1, Z 26).
int DriveNumber(const QString &text);
QString DriveTypeText(int type);
int DriveTypeOfPath(App &app, const QString &path);
int DriveTypeOfImage(int imageIndex);
void tbAClick(App &app, QToolButton *button);
// Whether a drive button is shown on its bar.
bool DriveButtonShown(QToolButton *button);
