#include "shell/Application.h"

#include "app/App.h"
#include "app/Libry.h"

#include <exception>

TApplication::TApplication(int &argc, char **argv) : QApplication(argc, argv) {}

bool TApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &error) {
        // Nothing should reach here (commands report their own failures); if something does, the
        // command ends with the standard box and the program goes on.
        if (m_app)
            ShowException(*m_app, QString::fromUtf8(error.what()));
    }
    return false;
}
