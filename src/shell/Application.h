// TApplication: the application object. An exception that no command caught ends that command only:
// it is shown in the standard exception box and the program goes on. It loads Qt's French texts.
#pragma once

#include <QApplication>

class App;

class TApplication : public QApplication
{
    Q_OBJECT
public:
    TApplication(int &argc, char **argv);
    void setApp(App *app) { m_app = app; }
    bool notify(QObject *receiver, QEvent *event) override;

private:
    App *m_app = nullptr;
};
