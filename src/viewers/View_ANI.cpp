#include "viewers/View_ANI.h"

#include "components/TAniIcon.h"
#include "viewers/pages/PageKit.h"

#include <QFrame>
#include <QLabel>
#include <QStackedWidget>

TViewPageANI::TViewPageANI(QStackedWidget *book) : QWidget(book)
{
    pagekit::becomePage(this, book, "ANI");
    picBackgroundANI = pagekit::backgroundPicture(this, "picBackgroundANI");
    pnlANI = pagekit::sunkenFrame(this, "pnlANI");
    picANI = new TAniIcon(pnlANI);
    picANI->setObjectName("picANI");
    picANI->setGeometry(34, 34, 32, 32);
}
