// The About window TfrmAbout: the title picture, the program's icon, name, version and rights, and
// two links (mail and home page) the desktop opens. Enter and Escape close it from any control.
#pragma once

#include <QDialog>

class App;
class QLabel;
class QPixmap;
class QPushButton;
class TURLLabel;

class TfrmAbout : public QDialog
{
    Q_OBJECT
public:
    TfrmAbout(App &app, const QPixmap &title);

    QLabel *picAbout = nullptr;
    QLabel *PicAppIcon = nullptr;
    QLabel *lblVersion = nullptr;
    TURLLabel *URLLabelEMAIL = nullptr;
    TURLLabel *URLLabelHomePage = nullptr;
    QPushButton *btnOK = nullptr;
};

// title: the main window's title picture (picTitre).
void ShowAboutWindow(App &app, const QPixmap &title);

// The maker's data the window shows.
inline constexpr const char *kProgramVersion = "1.20";
inline constexpr const char *kMailAddress = "lumavista@example.org";
inline constexpr const char *kHomePage = "lumavista.example.org/";
