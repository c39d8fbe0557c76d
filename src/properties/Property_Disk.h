// The disk properties window TfrmProperty_Disk: the drive's volume facts as read at start-up, its
// space now, and what the last scan found on it.
//
// Rules: sizes are 64-bit; the used share is (used div 1024) x 100 div (total div 1024), the free
// share 100 minus it, and a drive under 1024 bytes shows 0 % used. A drive whose space cannot be
// read within a few seconds (gone, no medium, a hung network mount) gets an error box instead of
// a window.
#pragma once

#include "properties/PropertyWindow.h"

#include <chrono>

class QLabel;
class QLineEdit;
class QProgressBar;

class TfrmProperty_Disk : public TPropertyWindow
{
    Q_OBJECT
public:
    explicit TfrmProperty_Disk(App &app);

    QLabel *picIcon = nullptr;
    QLineEdit *txtVolumeID = nullptr;
    QLineEdit *txtDiskSerial = nullptr;
    QLabel *lblFileSystem = nullptr;
    QLabel *lblTotalByte = nullptr, *lblTotalMeg = nullptr;
    QLabel *lblUsedByte = nullptr, *lblUsedMeg = nullptr;
    QLabel *lblFreeByte = nullptr, *lblFreeMeg = nullptr;
    QLabel *lblPercentUsed = nullptr, *lblPercentFree = nullptr;
    QProgressBar *pbDiskSpace = nullptr; // the used share as a bar
    propkit::FoundFiles found;
};

// nodeText: a drive node's text, "(C:)".
void ShowDiskProperties(App &app, const QString &nodeText);
// The used share in percent of a drive, 0 when the total is under 1024 bytes.
int UsedPercent(uint64_t total, uint64_t free);

// How long the window waits for the drive's space.
inline constexpr std::chrono::milliseconds kDiskSpaceTimeout{5000};
