#include "app/DriveText.h"

#include "app/Language.h"

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

int DriveTypeOfImage(int imageIndex)
{
    if (imageIndex >= 2 && imageIndex <= 6)
        return imageIndex;
    if (imageIndex >= 9 && imageIndex <= 13)
        return imageIndex - 7;
    return 0;
}
