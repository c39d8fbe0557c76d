#include "shell/The_Icon.h"

#include "shell/App.h"
#include "shell/Artwork.h"
#include "shell/Language.h"
#include "shell/Libry.h"

#include <QLabel>

namespace {
const char *const kTypeNames[13] = {"",    "ANI", "AVI", "BMP", "JPG", "MID", "WAV",
                                    "GIF", "PCX", "TIF", "WMF", "EMF", "ICO"};
const char *const kDriveNames[6] = {"Floppy", "Hard", "Network", "CdRom", "Ram", "Unknown"};
} // namespace

TfrmIcons::TfrmIcons(QWidget *parent) : QWidget(parent)
{
    setObjectName("frmIcons");
    for (int t = 1; t <= 12; ++t) {
        picType[t] = new QLabel(this);
        picType[t]->setObjectName(QStringLiteral("pic_") + kTypeNames[t]);
        picType[t]->setPixmap(ArtPixmap(QStringLiteral("types/") + kTypeNames[t], QSize(32, 32)));
    }
    for (int k = 0; k < 6; ++k) {
        picDrive[k] = new QLabel(this);
        picDrive[k]->setObjectName(QStringLiteral("pic_") + kDriveNames[k]);
        picDrive[k]->setPixmap(ArtPixmap(QStringLiteral("drivekinds/") + kDriveNames[k], QSize(32, 32)));
    }
}

QPixmap MediaTypePicture(App &app, int mediaType)
{
    if (mediaType < 1 || mediaType > 12)
        InternalError(app, 24, SelectText("Erreur type de fichier", "File type error."));
    return app.frmIcons->picType[mediaType]->pixmap();
}

QPixmap DriveKindPicture(App &app, int index)
{
    if (index < 0 || index > 4)
        index = 5;
    return app.frmIcons->picDrive[index]->pixmap();
}
