#include "viewers/Backgrnd.h"

#include "app/Artwork.h"

#include <QLabel>

namespace {
QLabel *store(QWidget *parent, const char *name, const char *art, int size)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->setPixmap(ArtPixmap(QStringLiteral("backgrounds/") + art, QSize(size, size)));
    label->resize(size, size);
    return label;
}
} // namespace

TfrmStoreBackground::TfrmStoreBackground(QWidget *parent) : QWidget(parent)
{
    setObjectName("frmStoreBackground");
    picStoreANI = store(this, "picStoreANI", "tile_ANI", 100);
    PicStoreAVI = store(this, "PicStoreAVI", "tile_AVI", 32);
    PicStoreMID = store(this, "PicStoreMID", "tile_MID", 200);
    PicStoreWAV = store(this, "PicStoreWAV", "tile_WAV", 100);
    picStoreICO = store(this, "picStoreICO", "tile_ICO", 96);
}
