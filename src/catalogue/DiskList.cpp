#include "catalogue/DiskList.h"

#include "platform/drives/DriveMap.h"
#include "shell/App.h"
#include "shell/Artwork.h"
#include "shell/Language.h"
#include "shell/Libry.h"
#include "shell/Main.h"

#include <QAction>
#include <QToolBar>
#include <QToolButton>

void InitDiskTable(App &app)
{
    for (int n = 1; n <= 26; ++n) {
        app.frmMain->tbDrive[n]->setProperty("Tag", n);
        app.st.Disks[n].Letter = QString(QChar('A' + n - 1));
    }
    DetectDrives(app);
}

void DetectDrives(App &app)
{
    for (int n = 1; n <= 26; ++n)
        HideDrive(app, app.st.Disks[n].Letter);
    app.frmMain->tbDisk->repaint();
    for (int n = qMax(1, app.st.settings.First_Drive_Number); n <= 26; ++n)
        DetectDrive(app, n);
}

void DetectDrive(App &app, int n)
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
        const platform::DriveMap &map = platform::DriveMap::current();
        type = map.driveType(letter[0]);
        if (type >= 2)
            volume = map.volumeInfo(letter[0]);
    }
    disk.DriveType = type;
    if (type == 0 || type == 1) {
        HideDrive(app, letter);
        return;
    }
    ShowDrive(app, letter);
    QToolButton *button = DriveButton(app, letter);
    const QString hint = letter + ": " + DriveTypeText(type);
    button->setToolTip(hint);
    button->setAccessibleName(hint);
    button->setIcon(Images().disks[type]);
    button->setText(letter);
    const Settings &s = st.settings;
    bool pressed = false;
    switch (type) {
    case 2:
        pressed = s.Scan_Removable_Drive;
        break;
    case 3:
        pressed = s.Scan_Fixed_Drive;
        break;
    case 4:
        pressed = s.Scan_Network_Drive;
        break;
    case 5:
        pressed = s.Scan_CDRom_Drive;
        break;
    case 6:
        pressed = s.Scan_Ram_Drive;
        break;
    }
    button->setChecked(pressed);
    tbAClick(app, button);
    disk.VolumeLabel = volume.label;
    disk.SerialNumber = volume.serialNumber;
    disk.FileSystemFlags = volume.fileSystemFlags;
    disk.FileSystemName = volume.fileSystemName;
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

void HideDrive(App &app, const QString &letter)
{
    setButtonShown(DriveButton(app, letter), false);
    app.st.Disks[DriveNumber(letter)].Present = false;
}

void ShowDrive(App &app, const QString &letter)
{
    setButtonShown(DriveButton(app, letter), true);
    app.st.Disks[DriveNumber(letter)].Present = true;
}

QToolButton *DriveButton(App &app, const QString &letter)
{
    const QString l = letter.left(1).toUpper();
    if (l.isEmpty() || l[0] < 'A' || l[0] > 'Z')
        InternalError(app, 1, SelectText("Unité invalide:", "Invalid drive: " + l));
    return app.frmMain->tbDrive[l[0].unicode() - 'A' + 1];
}

int DriveNumber(const QString &text)
{
    if (text.isEmpty())
        return 0;
    return text[0].toUpper().unicode() - 64;
}

QString DriveTypeText(int type)
{
    switch (type) {
    case 0:
        return SelectText("Type indéterminé", "Undefined type");
    case 2:
        return SelectText("Disque amovible", "Removable disk");
    case 3:
        return SelectText("Disque fixe", "Fixed disk");
    case 4:
        return SelectText("Unité réseau", "Network drive");
    case 5:
        return SelectText("Unité CD-ROM", "CD-ROM drive");
    case 6:
        return SelectText("Disque RAM", "RAM disk");
    default:
        return SelectText("Type de disque indéterminé", "Undefined disk type");
    }
}

int DriveTypeOfPath(App &app, const QString &path)
{
    const int n = DriveNumber(path);
    if (n < 1 || n > 26)
        return 0;
    return app.st.Disks[n].DriveType;
}

int DriveTypeOfImage(int imageIndex)
{
    if (imageIndex >= 2 && imageIndex <= 6)
        return imageIndex;
    if (imageIndex >= 9 && imageIndex <= 13)
        return imageIndex - 7;
    return 0;
}

void tbAClick(App &app, QToolButton *button)
{
    const int n = button->property("Tag").toInt();
    if (n >= 1 && n <= 26)
        app.st.Disks[n].Selected = button->isChecked();
}
