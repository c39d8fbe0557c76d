#include "viewers/View_BMP.h"

#include "components/TPicture.h"
#include "viewers/pages/PageKit.h"

#include <QLabel>
#include <QStackedWidget>

TViewPageBMP::TViewPageBMP(QStackedWidget *book) : QWidget(book)
{
    pagekit::becomePage(this, book, "BMP");
    scrollBMP = pagekit::scrollBox(this, "scrollBMP", QColor(0xD1, 0xEB, 0xFE));
    picBMP = pagekit::pictureIn<TPicture>(scrollBMP, "picBMP", false);
}

TViewPageJPG::TViewPageJPG(QStackedWidget *book) : QWidget(book)
{
    pagekit::becomePage(this, book, "JPG");
    scrollJPG = pagekit::scrollBox(this, "scrollJPG", QColor(0xFD, 0xFD, 0xC1));
    picJPG = pagekit::pictureIn<TPicture>(scrollJPG, "picJPG", false);
    lblProgressJPG = new QLabel(this);
    lblProgressJPG->setObjectName("lblProgressJPG");
    lblProgressJPG->setAlignment(Qt::AlignCenter);
    lblProgressJPG->setStyleSheet("background: yellow;");
    QFont big = lblProgressJPG->font();
    big.setPixelSize(16);
    lblProgressJPG->setFont(big);
    lblProgressJPG->move(8, 13);
    lblProgressJPG->setVisible(false);
}
