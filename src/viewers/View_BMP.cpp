#include "viewers/View_BMP.h"

#include "app/App.h"
#include "app/Libry.h"
#include "components/TPicture.h"
#include "viewers/ViewerPane.h"
#include "viewers/pages/PageKit.h"

#include <QScrollArea>
#include <QStackedWidget>

TViewPageBMP::TViewPageBMP(ViewerPane &pane, QStackedWidget *book) : QWidget(book), m_pane(pane)
{
    pagekit::becomePage(this, book, "BMP");
    scrollBMP = pagekit::scrollBox(this, "scrollBMP", QColor(0xD1, 0xEB, 0xFE));
    picBMP = pagekit::pictureIn<TPicture>(scrollBMP, "picBMP", false);
    pagekit::showPictureIn(scrollBMP, picBMP, false);
}

void TViewPageBMP::LoadBMP(const QString &path)
{
    App &app = m_pane.app;
    if (!app.st.FormReady)
        return;
    pagekit::BusyCursor busy;
    m_pane.showViewerPage(QStringLiteral("BMP"));
    pagekit::scrollToOrigin(scrollBMP);
    if (!picBMP->loadFromFile(pagekit::nativePath(app, path)).ok()) {
        busy.release();
        ShowFileAccessError(app);
        picBMP->clear();
    }
    ViewedPictureRecord &r = app.st.ViewedBMP;
    r.Width = picBMP->pictureWidth();
    r.Height = picBMP->pictureHeight();
    r.Path = path;
    r.FileName = pagekit::nameOf(path);
    r.Monochrome = picBMP->isMonochrome();
    pagekit::showPictureIn(scrollBMP, picBMP, picBMP->stretch());
}
