#include "viewers/ViewerPage.h"

#include "app/App.h"
#include "app/Language.h"
#include "viewers/ViewerPane.h"
#include "viewers/pages/PageKit.h"
#include "viewers/zoom/ZoomPicture.h"

#include <QStackedWidget>

ViewerPage::ViewerPage(ViewerPane &pane, QStackedWidget *book, const char *name, MediaType type)
    : QWidget(book), m_pane(pane), m_type(type)
{
    pagekit::becomePage(this, book, name);
    // Its controls leave the right click to the page: anywhere on it offers the viewer popup.
    pane.offerPopup(this);
}

QString ViewerPage::playCaption() const
{
    return SelectText("&Rafraîchir l'image", "&Refresh image");
}

std::unique_ptr<ZoomPicture> ViewerPage::zoomPicture()
{
    return nullptr;
}

QColor ViewerPage::zoomBackground() const
{
    return palette().color(QPalette::Window);
}

App &ViewerPage::app() const
{
    return m_pane.app;
}

ViewedRecord &ViewerPage::record() const
{
    return app().st.Viewed[m_type];
}
