#include "catalogue/DriveTable.h"

#include "app/Artwork.h"
#include "app/Language.h"
#include "app/Libry.h"
#include "catalogue/CataloguePane.h"
#include "platform/drives/DriveMap.h"

#include <QAction>
#include <QToolBar>
#include <QToolButton>

void InitDiskTable(CataloguePane &pane)
{
    for (int n = 1; n <= 26; ++n) {
        pane.tbDrive[n]->setProperty("Tag", n);
        pane.app.st.Disks[n].Letter = QString(QChar('A' + n - 1));
    }
    DetectDrives(pane);
}

void DetectDrives(CataloguePane &pane)
{
    App &app = pane.app;
    for (int n = 1; n <= 26; ++n)
        HideDrive(pane, app.st.Disks[n].Letter);
    pane.tbDisk->repaint();
    for (int n = qMax(1, app.st.settings.First_Drive_Number); n <= 26; ++n)
        DetectDrive(pane, n);
}

void ReadDriveTable(App &app)
{
    for (int n = 1; n <= 26; ++n) {
        app.st.Disks[n].Letter = QString(QChar('A' + n - 1));
        app.st.Disks[n].Present = false;
    }
    for (int n = qMax(1, app.st.settings.First_Drive_Number); n <= 26; ++n)
        ReadDrive(app, n);
}

bool ReadDrive(App &app, int n)
{
    AppState &st = app.st;
    DiskRecord &disk = st.Disks[n];
    const QString letter = disk.Letter;
    int type = 0;
    platform::VolumeInfo volume;
    if (st.settings.DontTestAWhenStarting && n == 1) {
        type = platform::DRIVE_REMOVABLE;
        volume.ok = true;
        volume.maxComponentLength = 0;
    } else {
        const platform::DriveMap &map = app.drives();
        type = map.driveType(letter[0]);
        if (type >= 2)
            volume = map.volumeInfo(letter[0]);
    }
    disk.DriveType = type;
    if (type == 0 || type == 1) {
        disk.Present = false;
        return false;
    }
    disk.Present = true;
    const Settings &s = st.settings;
    switch (type) {
    case 2:
        disk.Selected = s.Scan_Removable_Drive;
        break;
    case 3:
        disk.Selected = s.Scan_Fixed_Drive;
        break;
    case 4:
        disk.Selected = s.Scan_Network_Drive;
        break;
    case 5:
        disk.Selected = s.Scan_CDRom_Drive;
        break;
    case 6:
        disk.Selected = s.Scan_Ram_Drive;
        break;
    default:
        disk.Selected = false;
        break;
    }
    disk.VolumeLabel = volume.label;
    disk.SerialNumber = volume.serialNumber;
    disk.FileSystemFlags = volume.fileSystemFlags;
    disk.FileSystemName = volume.fileSystemName;
    return true;
}

void DetectDrive(CataloguePane &pane, int n)
{
    App &app = pane.app;
    const QString letter = app.st.Disks[n].Letter;
    if (!ReadDrive(app, n)) {
        HideDrive(pane, letter);
        return;
    }
    const int type = app.st.Disks[n].DriveType;
    ShowDrive(pane, letter);
    QToolButton *button = DriveButton(pane, letter);
    const QString hint = letter + ": " + DriveTypeText(type);
    button->setToolTip(hint);
    button->setAccessibleName(hint);
    button->setIcon(app.images().disks[size_t(type)]);
    button->setText(letter);
    button->setChecked(app.st.Disks[n].Selected);
    tbAClick(pane, button);
}

namespace {
// Buttons in a tool bar are shown and hidden through the bar's action for them.
void setButtonShown(QToolButton *button, bool shown)
{
    if (auto *action = qobject_cast<QAction *>(button->property("toolbarAction").value<QObject *>()))
        action->setVisible(shown);
    else
        button->setVisible(shown);
}
} // namespace

bool DriveButtonShown(QToolButton *button)
{
    if (auto *action = qobject_cast<QAction *>(button->property("toolbarAction").value<QObject *>()))
        return action->isVisible();
    return button->isVisible();
}

void HideDrive(CataloguePane &pane, const QString &letter)
{
    setButtonShown(DriveButton(pane, letter), false);
    pane.app.st.Disks[DriveNumber(letter)].Present = false;
}

void ShowDrive(CataloguePane &pane, const QString &letter)
{
    setButtonShown(DriveButton(pane, letter), true);
    pane.app.st.Disks[DriveNumber(letter)].Present = true;
}

QToolButton *DriveButton(CataloguePane &pane, const QString &letter)
{
    const QString l = letter.left(1).toUpper();
    if (l.isEmpty() || l[0] < 'A' || l[0] > 'Z')
        InternalError(pane.app, 1, SelectText("Unité invalide:", "Invalid drive: " + l));
    return pane.tbDrive[l[0].unicode() - 'A' + 1];
}

int DriveTypeOfPath(App &app, const QString &path)
{
    const int n = DriveNumber(path);
    if (n < 1 || n > 26)
        return 0;
    return app.st.Disks[n].DriveType;
}

void tbAClick(CataloguePane &pane, QToolButton *button)
{
    const int n = button->property("Tag").toInt();
    if (n >= 1 && n <= 26)
        pane.app.st.Disks[n].Selected = button->isChecked();
}
