#include "viewers/View_ANI.h"

#include "app/App.h"
#include "app/Language.h"
#include "app/Libry.h"
#include "components/TAniIcon.h"
#include "viewers/Backgrnd.h"
#include "viewers/ViewerPane.h"
#include "viewers/pages/PageKit.h"
#include "viewers/zoom/ZoomPicture.h"

#include <QFileInfo>
#include <QFrame>
#include <QLabel>

TViewPageANI::TViewPageANI(ViewerPane &pane, QStackedWidget *book) : ViewerPage(pane, book, "ANI", mtANI)
{
    picBackgroundANI = pagekit::backgroundPicture(this, "picBackgroundANI");
    pnlANI = pagekit::sunkenFrame(this, "pnlANI");
    picANI = new TAniIcon(pnlANI);
    picANI->setObjectName("picANI");
    picANI->setGeometry(34, 34, 32, 32);
}

platform::Status TViewPageANI::load(const QString &path)
{
    pagekit::BusyCursor busy;
    picANI->setVisible(true);
    m_pane.showViewerPage(this);
    picANI->setAnimated(true);
    const QString native = pagekit::nativePath(app(), path);
    // The cursor object quietly refuses a name that is not a cursor's or a file that is not there,
    // keeping the cursor it had: here that is a failure like any other.
    const QFileInfo file(native);
    platform::Status status = !file.isFile() ? platform::makeError(platform::Error::Kind::FileOpen, native)
                              : file.suffix().compare(QLatin1String("ani"), Qt::CaseInsensitive) != 0
                                  ? platform::makeError(platform::Error::Kind::InvalidData, native)
                                  : picANI->aniFile()->loadFromFile(native);
    if (!status.ok()) {
        picANI->setVisible(false);
        picANI->setAnimated(false);
    }
    // A cursor that could not be shown has no size: the player's is the previous cursor's.
    ViewedRecord &r = record();
    r.Width = status.ok() ? picANI->width() : 0;
    r.Height = status.ok() ? picANI->height() : 0;
    r.Path = path;
    return status;
}

void TViewPageANI::stop()
{
    picANI->setAnimated(false);
}

QString TViewPageANI::playCaption() const
{
    return SelectText("&Jouer le fichier", "&Play file");
}

void TViewPageANI::applyBackground()
{
    TfrmStoreBackground store;
    TileImage(store.picStoreANI->pixmap(), picBackgroundANI);
}

void TViewPageANI::placeFrames()
{
    pagekit::centreAtAThird(pnlANI, m_pane.notebookSize());
}

std::unique_ptr<ZoomPicture> TViewPageANI::zoomPicture()
{
    if (!picANI->isVisible() || picANI->aniFile()->isEmpty())
        return nullptr;
    TAniIcon *player = picANI;
    auto picture = ZoomPicture::frames(player->aniFile()->stepImage(0).size(), [player] {
        return player->aniFile()->stepImage(player->currentStep());
    });
    connect(player, &TAniIcon::stepChanged, picture.get(), &ZoomPicture::changed);
    return picture;
}
