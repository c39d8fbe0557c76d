#include "viewers/View_ANI.h"

#include "app/App.h"
#include "app/Libry.h"
#include "components/TAniIcon.h"
#include "viewers/ViewerPane.h"
#include "viewers/pages/PageKit.h"

#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QStackedWidget>

TViewPageANI::TViewPageANI(ViewerPane &pane, QStackedWidget *book) : QWidget(book), m_pane(pane)
{
    pagekit::becomePage(this, book, "ANI");
    picBackgroundANI = pagekit::backgroundPicture(this, "picBackgroundANI");
    pnlANI = pagekit::sunkenFrame(this, "pnlANI");
    picANI = new TAniIcon(pnlANI);
    picANI->setObjectName("picANI");
    picANI->setGeometry(34, 34, 32, 32);
}

void TViewPageANI::LoadANI(const QString &path)
{
    App &app = m_pane.app;
    if (!app.st.FormReady)
        return;
    pagekit::BusyCursor busy;
    picANI->setVisible(true);
    m_pane.showViewerPage(QStringLiteral("ANI"));
    picANI->setAnimated(true);
    const QString native = pagekit::nativePath(app, path);
    // The cursor object quietly refuses a name that is not a cursor's or a file that is not there,
    // keeping the cursor it had: here that is a failure like any other.
    const QFileInfo file(native);
    const bool loaded = file.isFile() &&
                        file.suffix().compare(QLatin1String("ani"), Qt::CaseInsensitive) == 0 &&
                        picANI->aniFile()->loadFromFile(native).ok();
    if (!loaded) {
        busy.release();
        ShowFileAccessError(app);
        picANI->setVisible(false);
        picANI->setAnimated(false);
    }
    // A cursor that could not be shown has no size: the player's is the previous cursor's.
    ViewedSizeRecord &r = app.st.ViewedANI;
    r.Width = loaded ? picANI->width() : 0;
    r.Height = loaded ? picANI->height() : 0;
    r.Path = path;
}

void TViewPageANI::StopANI()
{
    picANI->setAnimated(false);
}
