#include "viewers/View_ICO.h"

#include "app/App.h"
#include "app/Libry.h"
#include "components/TPicture.h"
#include "viewers/ViewerPane.h"
#include "viewers/pages/PageKit.h"

#include <QFrame>
#include <QLabel>
#include <QStackedWidget>

TViewPageICO::TViewPageICO(ViewerPane &pane, QStackedWidget *book) : QWidget(book), m_pane(pane)
{
    pagekit::becomePage(this, book, "ICO");
    picBackgroundICO = pagekit::backgroundPicture(this, "picBackgroundICO");
    pnlICO = pagekit::sunkenFrame(this, "pnlICO");
    picICO = new TPicture(pnlICO);
    picICO->setObjectName("picICO");
    picICO->setGeometry(2, 2, 96, 96);
    picICO->setCenter(true);
}

void TViewPageICO::LoadICO(const QString &path)
{
    App &app = m_pane.app;
    if (!app.st.FormReady)
        return;
    pagekit::BusyCursor busy;
    m_pane.showViewerPage(QStringLiteral("ICO"));
    if (!picICO->loadFromFile(pagekit::nativePath(app, path)).ok()) {
        busy.release();
        ShowFileAccessError(app);
        picICO->clear();
    }
    ViewedSizeRecord &r = app.st.ViewedICO;
    r.Width = picICO->pictureWidth();
    r.Height = picICO->pictureHeight();
    r.Path = path;
}
