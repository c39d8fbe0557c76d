// Page "VIDE": shown when no file is: a stretched background, a centred presentation picture (its
// popup offers About), a hidden title picture (used by the About window) and a small white panel
// with the link to the author's home page.
#pragma once

#include <QWidget>

class QFrame;
class QLabel;
class QStackedWidget;
class TURLLabel;

class TViewPageVIDE : public QWidget
{
    Q_OBJECT
public:
    explicit TViewPageVIDE(QStackedWidget *book);
    QLabel *picBackGroundVIDE = nullptr, *picPresentation = nullptr, *picTitre = nullptr;
    QFrame *pnlHomePage = nullptr;
    QLabel *picHomePage = nullptr;
    TURLLabel *URLLabelHomePage = nullptr;
};
