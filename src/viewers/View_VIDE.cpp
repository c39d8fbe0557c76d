#include "viewers/View_VIDE.h"

#include "app/Artwork.h"
#include "components/controls/TURLLabel.h"
#include "viewers/pages/PageKit.h"

#include <QFrame>
#include <QLabel>
#include <QStackedWidget>

TViewPageVIDE::TViewPageVIDE(QStackedWidget *book) : QWidget(book)
{
    pagekit::becomePage(this, book, "VIDE");
    picBackGroundVIDE = pagekit::backgroundPicture(this, "picBackGroundVIDE");
    picBackGroundVIDE->setPixmap(ArtPixmap("backgrounds/vide", QSize(800, 600)));
    picPresentation = new QLabel(this);
    picPresentation->setObjectName("picPresentation");
    picPresentation->setPixmap(ArtPixmap("backgrounds/presentation", QSize(260, 160)));
    picPresentation->setFixedSize(260, 160);
    picPresentation->setContextMenuPolicy(Qt::CustomContextMenu);
    picTitre = new QLabel(this);
    picTitre->setObjectName("picTitre");
    picTitre->setPixmap(ArtPixmap("backgrounds/titre", QSize(337, 64)));
    picTitre->setVisible(false);
    pnlHomePage = new QFrame(this);
    pnlHomePage->setObjectName("pnlHomePage");
    pnlHomePage->setGeometry(8, 8, 185, 25);
    pnlHomePage->setAutoFillBackground(true);
    pnlHomePage->setStyleSheet("QFrame#pnlHomePage { background: white; }");
    picHomePage = new QLabel(pnlHomePage);
    picHomePage->setObjectName("picHomePage");
    picHomePage->setGeometry(4, 4, 16, 16);
    picHomePage->setPixmap(ArtPixmap("app/homepage", QSize(16, 16)));
    URLLabelHomePage = new TURLLabel(pnlHomePage);
    URLLabelHomePage->setObjectName("URLLabelHomePage");
    URLLabelHomePage->setGeometry(24, 4, 158, 17);
}
