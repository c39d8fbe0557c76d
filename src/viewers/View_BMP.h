// Pages "BMP" and "JPG": a coloured scroll box holding the picture; the JPEG page also holds the
// hidden progress label shown while a picture decodes.
#pragma once

#include <QWidget>

class QLabel;
class QScrollArea;
class QStackedWidget;
class TPicture;

class TViewPageBMP : public QWidget
{
    Q_OBJECT
public:
    explicit TViewPageBMP(QStackedWidget *book);
    QScrollArea *scrollBMP = nullptr;
    TPicture *picBMP = nullptr;
};

class TViewPageJPG : public QWidget
{
    Q_OBJECT
public:
    explicit TViewPageJPG(QStackedWidget *book);
    QScrollArea *scrollJPG = nullptr;
    TPicture *picJPG = nullptr;
    QLabel *lblProgressJPG = nullptr;
};
